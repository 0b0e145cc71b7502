// The text dialog: its font starts at the interface font, the font button hands the memo's
// font to the font dialog and back, and the clear button empties the memo.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

#include "tools/text_form.h"

TEST(TextFormTest, FontRoundTripAndClear) {
    TTextForm form(nullptr);
    EXPECT_EQ(form.FontDialog1Font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form.FontDialog1Font().pixelSize(), 12);

    QFont offered;
    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPixelSize(20);
    form.RunFontDialog = [&](const QFont& f) -> std::optional<QFont> {
        offered = f;
        return chosen;
    };
    form.Button1->click();
    EXPECT_EQ(offered.pixelSize(), 12);
    EXPECT_EQ(form.Memo1->font().pixelSize(), 20);
    EXPECT_EQ(form.FontDialog1Font(), form.Memo1->font());

    // A cancelled font dialog leaves the font alone.
    form.RunFontDialog = [](const QFont&) -> std::optional<QFont> { return std::nullopt; };
    form.Button1->click();
    EXPECT_EQ(form.FontDialog1Font().pixelSize(), 20);

    form.Memo1->setPlainText(QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(form.Lines(), (QStringList{QStringLiteral("一行目"), QStringLiteral("二行目")}));
    form.Button2->click();
    EXPECT_TRUE(form.Lines().isEmpty());
}
