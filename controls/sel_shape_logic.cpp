#include "controls/sel_shape_logic.h"

#include <climits>

namespace {

enum class Band { Low, Middle, High };

Band BandOf(int v, int extent, int sense) {
    if (v <= sense) return Band::Low;
    if (v >= extent - sense) return Band::High;
    return Band::Middle;
}

bool HasTopEdge(TSelZone z) {
    return z == TSelZone::Top || z == TSelZone::TopLeft || z == TSelZone::TopRight;
}
bool HasBottomEdge(TSelZone z) {
    return z == TSelZone::Bottom || z == TSelZone::BottomLeft || z == TSelZone::BottomRight;
}
bool HasLeftEdge(TSelZone z) {
    return z == TSelZone::Left || z == TSelZone::TopLeft || z == TSelZone::BottomLeft;
}
bool HasRightEdge(TSelZone z) {
    return z == TSelZone::Right || z == TSelZone::TopRight || z == TSelZone::BottomRight;
}

}  // namespace

TSelZone ClassifySelZone(int x, int y, int width, int height, int sense) {
    static const TSelZone zones[3][3] = {
        {TSelZone::TopLeft, TSelZone::Top, TSelZone::TopRight},
        {TSelZone::Left, TSelZone::Inside, TSelZone::Right},
        {TSelZone::BottomLeft, TSelZone::Bottom, TSelZone::BottomRight},
    };
    const Band column = BandOf(x, width, sense);
    const Band row = BandOf(y, height, sense);
    return zones[static_cast<int>(row)][static_cast<int>(column)];
}

TSelZone FoldSelZone(TSelZone zone, TSelOpt options) {
    if (!options.testFlag(ResizeX)) {
        if (zone == TSelZone::Left || zone == TSelZone::Right) zone = TSelZone::Inside;
        if (zone == TSelZone::TopLeft || zone == TSelZone::TopRight) zone = TSelZone::Top;
        if (zone == TSelZone::BottomLeft || zone == TSelZone::BottomRight) zone = TSelZone::Bottom;
    }
    if (!options.testFlag(ResizeY)) {
        if (zone == TSelZone::Top || zone == TSelZone::Bottom) zone = TSelZone::Inside;
        if (zone == TSelZone::TopRight || zone == TSelZone::BottomRight) zone = TSelZone::Right;
        if (zone == TSelZone::TopLeft || zone == TSelZone::BottomLeft) zone = TSelZone::Left;
    }
    return zone;
}

Qt::CursorShape CursorForSelZone(TSelZone zone) {
    switch (zone) {
        case TSelZone::Top:
        case TSelZone::Bottom:
            return Qt::SizeVerCursor;
        case TSelZone::Left:
        case TSelZone::Right:
            return Qt::SizeHorCursor;
        case TSelZone::TopRight:
        case TSelZone::BottomLeft:
            return Qt::SizeBDiagCursor;
        case TSelZone::TopLeft:
        case TSelZone::BottomRight:
            return Qt::SizeFDiagCursor;
        case TSelZone::Inside:
            break;
    }
    return Qt::ArrowCursor;
}

void SelShapeLogic::Press(int x, int y, const SelBounds& bounds) {
    // The zone is taken where the button goes down: a rectangle shown under a resting pointer
    // has seen no hover move that could have found it.
    if (!Dragging)
        HitZone =
            FoldSelZone(ClassifySelZone(x, y, bounds.Width, bounds.Height, SizeSense), SelOption);
    Dragging = true;
    PressX = x;
    PressY = y;
}

void SelShapeLogic::Move(int x, int y, SelBounds& bounds, QSize parentClient) {
    if (!Dragging)
        HitZone = ClassifySelZone(x, y, bounds.Width, bounds.Height, SizeSense);
    else
        Drag(x - PressX, y - PressY, bounds, parentClient);
    HitZone = FoldSelZone(HitZone, SelOption);
}

int SelShapeLogic::BottomLimit(QSize parentClient) const {
    if (MaxBottom > MinTop) return MaxBottom;
    return parentClient.isValid() ? parentClient.height() : INT_MAX / 2;
}

int SelShapeLogic::RightLimit(QSize parentClient) const {
    if (MaxRight > MinLeft) return MaxRight;
    return parentClient.isValid() ? parentClient.width() : INT_MAX / 2;
}

void SelShapeLogic::Drag(int dx, int dy, SelBounds& bounds, QSize parentClient) {
    if (HitZone == TSelZone::Inside) {
        MoveBy(dx, dy, bounds, parentClient);
        return;
    }
    // Vertical first, then horizontal.
    if (HasTopEdge(HitZone)) DragTop(dy, bounds);
    if (HasBottomEdge(HitZone)) DragBottom(dy, bounds, parentClient);
    if (HasLeftEdge(HitZone)) DragLeft(dx, bounds);
    if (HasRightEdge(HitZone)) DragRight(dx, bounds, parentClient);
}

// The top and left edges move the control itself, so the local press point stays valid.
void SelShapeLogic::DragTop(int dy, SelBounds& b) const {
    if (b.Top + dy < MinTop) dy = MinTop - b.Top;
    if (b.Height - dy < MinHeight) return;
    b.Top += dy;
    b.Height -= dy;
}

void SelShapeLogic::DragLeft(int dx, SelBounds& b) const {
    if (b.Left + dx < MinLeft) dx = MinLeft - b.Left;
    if (b.Width - dx < MinWidth) return;
    b.Left += dx;
    b.Width -= dx;
}

// The bottom and right edges move away from the local press point: it follows them.
void SelShapeLogic::DragBottom(int dy, SelBounds& b, QSize parentClient) {
    if (b.Height + dy < MinHeight) return;
    const int limit = BottomLimit(parentClient);
    if (b.Top + b.Height + dy > limit) dy = limit - b.Top - b.Height;
    if (b.Height + dy < 0) dy = -b.Height;
    b.Height += dy;
    PressY += dy;
}

void SelShapeLogic::DragRight(int dx, SelBounds& b, QSize parentClient) {
    if (b.Width + dx < MinWidth) return;
    const int limit = RightLimit(parentClient);
    if (b.Left + b.Width + dx > limit) dx = limit - b.Left - b.Width;
    if (b.Width + dx < 0) dx = -b.Width;
    b.Width += dx;
    PressX += dx;
}

void SelShapeLogic::MoveBy(int dx, int dy, SelBounds& b, QSize parentClient) const {
    if (SelOption.testFlag(MoveY)) {
        if (b.Top + dy < MinTop) dy = MinTop - b.Top;
        const int limit = BottomLimit(parentClient);
        if (b.Top + b.Height + dy > limit) dy = limit - b.Top - b.Height;
        b.Top += dy;
    }
    if (SelOption.testFlag(MoveX)) {
        if (b.Left + dx < MinLeft) dx = MinLeft - b.Left;
        const int limit = RightLimit(parentClient);
        if (b.Left + b.Width + dx > limit) dx = limit - b.Left - b.Width;
        b.Left += dx;
    }
}
