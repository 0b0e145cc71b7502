#pragma once
// Where the tool button puts its caption, and which bevel a released button shows. Kept apart
// from the widget so that the rules can be checked without a window.
#include <QRect>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TBevelCut { bvNone, bvLowered, bvRaised };

// What a caption margin may hold: -1 (none) or more.
constexpr int ClampCaptionMargin(int margin) {
    return margin < -1 ? -1 : margin;
}

struct TCaptionRules {
    int BevelWidth = 1;
    bool Flat = false;
    TAlignment Alignment = taCenter;
    TTextLayout Layout = tlCenter;
    int MarginX = -1;
    int MarginY = -1;
    bool Pressed = false;  // the outer bevel is lowered
};

// The rectangle the caption is drawn in, inside the client rectangle.
QRect CuteCaptionRect(const QRect& client, const TCaptionRules& rules);

// The outer bevel after a left release: raised when released inside, or while the button
// keeps the focus with TabFocusUp; otherwise none.
constexpr TBevelCut ReleasedBevel(bool inside, bool tabFocusUp, bool activeControl) {
    return inside || (tabFocusUp && activeControl) ? bvRaised : bvNone;
}
