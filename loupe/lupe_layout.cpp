#include "loupe/lupe_layout.h"

#include <algorithm>

#include "platform/rounding.h"

namespace {

// a rounded up to a whole number of blocks; a control smaller than nothing shows nothing.
int RoundUpToBlocks(int a, int power) {
    if (a <= 0) return 0;
    return (a + power - 1) / power * power;
}

int LineStepFor(int visible) {
    return static_cast<int>(Round(visible / 10.0 + 0.5));
}
int PageStepFor(int visible) {
    return static_cast<int>(Trunc(visible / 10.0 * 9));
}

// Keeps an origin from running past the source's end when more fits than before.
void FitClip(int& clip, int& clipEnd, int visible, int source) {
    clipEnd = clip + visible;
    if (clipEnd > source) {
        clip = source - visible;
        clipEnd = source;
    }
}

int ScrollAxis(TScrollCode code, int position, int& clip, int& clipEnd, int visible, int source,
               int lineStep, int pageStep) {
    int d = 0;
    switch (code) {
        case scLineUp:
            d = -lineStep;
            break;
        case scLineDown:
            d = lineStep;
            break;
        case scPageUp:
            d = -pageStep;
            break;
        case scPageDown:
            d = pageStep;
            break;
        case scPosition:
        case scTrack:
            d = position - clip;
            break;
        default:
            break;
    }
    clip += d;
    if (clip < 0) {
        // Only the part of the step that was possible counts.
        d -= clip;
        clip = 0;
    }
    clipEnd = clip + visible;
    if (clipEnd > source) {
        d -= clipEnd - source;
        clip = source - visible;
        clipEnd = source;
    }
    return d;
}

}  // namespace

void LupeLayout::Relayout(int width, int height, int power, int vertBarExtent, int horzBarExtent) {
    const auto fitView = [&](int sbW, int sbH) {
        ViewHeight = RoundUpToBlocks(height - sbH, power);
        ViewWidth = RoundUpToBlocks(width - sbW, power);
        VisibleRows = ViewHeight / power;
        VisibleCols = ViewWidth / power;
    };
    fitView(0, 0);
    // A bar takes room from the other direction, which may make the other bar needed too:
    // the second pass settles that.
    int sbW = 0, sbH = 0;
    for (int pass = 0; pass < 2; ++pass) {
        if (SourceHeight > VisibleRows) sbW = vertBarExtent;
        if (SourceWidth > VisibleCols) sbH = horzBarExtent;
        fitView(sbW, sbH);
    }
    if (sbW == 0) {
        VisibleRows = SourceHeight;
        ViewHeight = SourceHeight * power;
    }
    if (sbH == 0) {
        VisibleCols = SourceWidth;
        ViewWidth = SourceWidth * power;
    }
    VertBarWidth = sbW;
    HorzBarHeight = sbH;
    FitClip(ClipTop, ClipBottom, VisibleRows, SourceHeight);
    FitClip(ClipLeft, ClipRight, VisibleCols, SourceWidth);
    LineStepY = LineStepFor(VisibleRows);
    PageStepY = PageStepFor(VisibleRows);
    LineStepX = LineStepFor(VisibleCols);
    PageStepX = PageStepFor(VisibleCols);
}

int LupeLayout::ScrollVert(TScrollCode code, int position) {
    return ScrollAxis(code, position, ClipTop, ClipBottom, VisibleRows, SourceHeight, LineStepY,
                      PageStepY);
}

int LupeLayout::ScrollHorz(TScrollCode code, int position) {
    return ScrollAxis(code, position, ClipLeft, ClipRight, VisibleCols, SourceWidth, LineStepX,
                      PageStepX);
}

QRect SnapToBlocks(const QRect& area, int power, int viewWidth, int viewHeight) {
    if (area.isEmpty()) return QRect();
    const int left = std::max(area.left(), 0) / power * power;
    const int top = std::max(area.top(), 0) / power * power;
    const int right = std::min(RoundUpToBlocks(area.left() + area.width(), power), viewWidth);
    const int bottom = std::min(RoundUpToBlocks(area.top() + area.height(), power), viewHeight);
    if (right <= left || bottom <= top) return QRect();
    return QRect(left, top, right - left, bottom - top);
}

QRect SourceRectFor(const QRect& dest, int power, int clipLeft, int clipTop) {
    const int left = dest.left() / power + clipLeft;
    const int top = dest.top() / power + clipTop;
    return QRect(left, top, dest.width() / power, dest.height() / power);
}

void DrawLupeGrid(Bitmap& work, const QRect& dest, int power, const Pen& pen) {
    const int right = dest.left() + dest.width();
    const int bottom = dest.top() + dest.height();
    for (int k = dest.left() / power; k < right / power; ++k) {
        const int x = (k + 1) * power - 1;
        DrawLine(work, x, dest.top(), x, bottom, pen.Color, pen.Width());
    }
    for (int k = dest.top() / power; k < bottom / power; ++k) {
        const int y = (k + 1) * power - 1;
        DrawLine(work, dest.left(), y, right, y, pen.Color, pen.Width());
    }
}
