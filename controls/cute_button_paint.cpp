// How the tool button draws itself.
#include <QPainter>

#include "controls/cute_button.h"

void TCuteButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (FBorderStyle == bsSingle) {
        p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect client = contentsRect();
    PaintFace(p, client);
    QRect r = client;
    PaintBevel(p, r, FBevelOuter);
    PaintBevel(p, r, FBevelInner);
    PaintCaption(p, client);
}

void TCuteButton::PaintFace(QPainter& p, const QRect& client) {
    const QColor face = FUseDisabledColor && !isEnabled() ? FDisabledColor : FColor;
    p.fillRect(client, QBrush(face, FBrushStyle));
}

// Each ring of the bevel: the top row and left column in one colour, the right column and
// bottom row (corners included) in the other. Each bevel shrinks r by its width.
void TCuteButton::PaintBevel(QPainter& p, QRect& r, TBevelCut cut) {
    if (cut == bvNone) return;
    const QColor topLeft = cut == bvLowered ? FBevelShadowColor : FBevelHighlightColor;
    const QColor bottomRight = cut == bvLowered ? FBevelHighlightColor : FBevelShadowColor;
    for (int i = 0; i < FBevelWidth && r.width() > 0 && r.height() > 0; ++i) {
        p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

namespace {

int TextFlags(TAlignment alignment, TTextLayout layout) {
    int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    flags |= alignment == taLeftJustify    ? Qt::AlignLeft
             : alignment == taRightJustify ? Qt::AlignRight
                                           : Qt::AlignHCenter;
    flags |= layout == tlTop      ? Qt::AlignTop
             : layout == tlBottom ? Qt::AlignBottom
                                  : Qt::AlignVCenter;
    return flags;
}

}  // namespace

void TCuteButton::PaintCaption(QPainter& p, const QRect& client) {
    TCaptionRules rules;
    rules.BevelWidth = FBevelWidth;
    rules.Flat = FFlat;
    rules.Alignment = FAlignment;
    rules.Layout = FLayout;
    rules.MarginX = FMarginX;
    rules.MarginY = FMarginY;
    rules.Pressed = FBevelOuter == bvLowered;
    const QRect t = CuteCaptionRect(client, rules);
    const int flags = TextFlags(FAlignment, FLayout);
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(FFontColor);
    } else {
        // Engraved: a light copy one pixel down and right, the caption itself in shadow.
        p.setPen(palette().color(QPalette::Active, QPalette::Light));
        p.drawText(t.translated(1, 1), flags, FCaption);
        p.setPen(palette().color(QPalette::Active, QPalette::Dark));
    }
    p.drawText(t, flags, FCaption);
    if (FShowFocusRect && hasFocus()) {
        p.setPen(QPen(FFontColor, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(t.adjusted(2, 2, -3, -3));
    }
}
