#include "controls/cute_button_layout.h"

QRect CuteCaptionRect(const QRect& client, const TCaptionRules& rules) {
    // A flat button has no inner bevel, so the caption may come closer to the edge.
    const int inset = rules.Flat ? rules.BevelWidth : 2 * rules.BevelWidth;
    QRect t = client.adjusted(inset, inset, -inset, -inset);
    if (rules.MarginX != -1) {
        if (rules.Alignment == taLeftJustify) t.setLeft(t.left() + rules.MarginX);
        if (rules.Alignment == taRightJustify) t.setRight(t.right() - rules.MarginX);
    }
    if (rules.MarginY != -1) {
        if (rules.Layout == tlTop) t.setTop(t.top() + rules.MarginY);
        if (rules.Layout == tlBottom) t.setBottom(t.bottom() - rules.MarginY);
    }
    // The pressed look moves the caption down and to the right.
    if (rules.Pressed) {
        t.setLeft(t.left() + 2);
        t.setTop(t.top() + 2);
    }
    return t;
}
