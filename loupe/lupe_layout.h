#pragma once
// The magnifier's geometry without a widget: how much of the source fits the control, which
// scroll bars it needs, how a scroll request moves the clip origin, and which blocks a repaint
// of an area has to draw.
#include <QRect>

#include "platform/bitmap.h"
#include "platform/canvas.h"

// Scroll request codes, as scroll bars send them.
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};

struct LupeLayout {
    int SourceWidth = 0;
    int SourceHeight = 0;
    // The area showing the source, in screen pixels; always whole blocks.
    int ViewWidth = 0;
    int ViewHeight = 0;
    int VisibleCols = 0;
    int VisibleRows = 0;
    int ClipLeft = 0;
    int ClipTop = 0;
    int ClipRight = 0;
    int ClipBottom = 0;
    int LineStepX = 0;
    int LineStepY = 0;
    int PageStepX = 0;
    int PageStepY = 0;
    // Space taken by the vertical bar (at the right) and the horizontal bar (at the bottom);
    // 0 when the bar is not needed.
    int VertBarWidth = 0;
    int HorzBarHeight = 0;

    // Lays the view out for a control of width x height; the extents are the sizes a scroll
    // bar takes when it is shown.
    void Relayout(int width, int height, int power, int vertBarExtent, int horzBarExtent);

    // Moves the clip origin for a request and returns the distance actually moved, in source
    // pixels (positive: towards the end of the source).
    int ScrollVert(TScrollCode code, int position);
    int ScrollHorz(TScrollCode code, int position);

    // Largest origin the scroll bars can reach.
    int MaxClipLeft() const { return SourceWidth - VisibleCols; }
    int MaxClipTop() const { return SourceHeight - VisibleRows; }
};

// The blocks that cover area: left and top snapped down, right and bottom up to whole
// blocks, then limited to the view.
QRect SnapToBlocks(const QRect& area, int power, int viewWidth, int viewHeight);
// The source pixels that the blocks of dest show.
QRect SourceRectFor(const QRect& dest, int power, int clipLeft, int clipTop);
// Grid lines on the last pixel column and row of every block of dest.
void DrawLupeGrid(Bitmap& work, const QRect& dest, int power, const Pen& pen);
