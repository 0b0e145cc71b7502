#include "platform/fonts.h"

#include <QStringList>

void InstallFontSubstitutes() {
    static bool done = false;
    if (done) return;
    done = true;
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP")});
}

QFont UiFont(int pixelSize, bool bold) {
    InstallFontSubstitutes();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
