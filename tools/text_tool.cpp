#include "tools/text_tool.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/rounding.h"

int TextPixelHeight(const QFont& font) {
    if (font.pixelSize() > 0) return font.pixelSize();
    return int(Round(font.pointSizeF() * 96.0 / 72.0));
}

QRect DrawTextLines(Bitmap& target, int x, int y, const TextStyle& style) {
    if (style.lines.isEmpty() || target.Empty()) return QRect();
    const int height = TextPixelHeight(style.font);
    QFont font = style.font;
    font.setPixelSize(height);
    // Plain glyph pixels: smoothed edges would mix the two colours, and a box of the layer's
    // transparent colour would leave a fringe around the letters.
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);

    QImage image = target.View();
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ToQColor(style.text));
    QRect drawn;
    for (int n = 0; n < style.lines.size(); ++n) {
        const QString& line = style.lines[n];
        const QRect box(x - 8, y - 8 + n * height, metrics.horizontalAdvance(line),
                        metrics.height());
        if (box.isEmpty()) continue;
        painter.setClipRect(box);
        painter.fillRect(box, ToQColor(style.box));
        painter.drawText(box.left(), box.top() + metrics.ascent(), line);
        drawn |= box;
    }
    return drawn & QRect(0, 0, target.Width(), target.Height());
}
