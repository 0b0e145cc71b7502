#pragma once
// The rules of the rubber-band rectangle without a widget: which zone the pointer is in, how
// the zones fold when resizing is switched off, and how a drag moves the edges within limits.
#include <QFlags>
#include <QSize>
#include <Qt>

enum TSelOptFlag { ResizeX = 0x1, ResizeY = 0x2, MoveX = 0x4, MoveY = 0x8 };
Q_DECLARE_FLAGS(TSelOpt, TSelOptFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSelOpt)

enum class TSelZone {
    Inside,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight
};

// Position and size within the parent, as the rectangle's owner sees them.
struct SelBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The zone of a local position on a width x height rectangle; sense is the zone width.
TSelZone ClassifySelZone(int x, int y, int width, int height, int sense);
// Without ResizeX the left and right zones lose their horizontal part, then without ResizeY
// the top and bottom zones lose their vertical part.
TSelZone FoldSelZone(TSelZone zone, TSelOpt options);
Qt::CursorShape CursorForSelZone(TSelZone zone);

class SelShapeLogic {
  public:
    int SizeSense = 5;
    int MinWidth = 5;
    int MinHeight = 5;
    int MinTop = 0;
    int MinLeft = 0;
    int MaxBottom = 0;
    int MaxRight = 0;
    TSelOpt SelOption = TSelOpt(ResizeX | ResizeY | MoveX | MoveY);

    bool Dragging = false;
    TSelZone HitZone = TSelZone::Inside;
    int PressX = 0;
    int PressY = 0;

    // A press at a local position starts a drag of the zone under it.
    void Press(int x, int y, const SelBounds& bounds);
    void Release() { Dragging = false; }
    // A move at a local position: while hovering it finds the zone, while dragging it moves
    // the stored zone's edges. The parent's client size is the default limit.
    void Move(int x, int y, SelBounds& bounds, QSize parentClient);

  private:
    int BottomLimit(QSize parentClient) const;
    int RightLimit(QSize parentClient) const;
    void Drag(int dx, int dy, SelBounds& bounds, QSize parentClient);
    void DragTop(int dy, SelBounds& b) const;
    void DragBottom(int dy, SelBounds& b, QSize parentClient);
    void DragLeft(int dx, SelBounds& b) const;
    void DragRight(int dx, SelBounds& b, QSize parentClient);
    void MoveBy(int dx, int dy, SelBounds& b, QSize parentClient) const;
};
