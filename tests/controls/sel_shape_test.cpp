// The selection rectangle: zones, folding, edge drags and moves within limits, and the widget's
// own handling of presses, moves and releases.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "controls/sel_shape.h"

namespace {

using Z = TSelZone;

// A drag of the zone under (px, py) to (x, y) on a rectangle in a parent of the given size.
SelBounds DragFrom(SelShapeLogic& s, SelBounds b, int px, int py, int x, int y,
                   QSize parent = QSize(300, 200)) {
    s.Release();
    s.Press(px, py, b);
    s.Move(x, y, b, parent);
    return b;
}

}  // namespace

TEST(SelShapeZones, NineZonesOfAHundredByFifty) {
    EXPECT_EQ(ClassifySelZone(3, 3, 100, 50, 5), Z::TopLeft);
    EXPECT_EQ(ClassifySelZone(50, 3, 100, 50, 5), Z::Top);
    EXPECT_EQ(ClassifySelZone(97, 3, 100, 50, 5), Z::TopRight);
    EXPECT_EQ(ClassifySelZone(3, 25, 100, 50, 5), Z::Left);
    EXPECT_EQ(ClassifySelZone(50, 25, 100, 50, 5), Z::Inside);
    EXPECT_EQ(ClassifySelZone(97, 25, 100, 50, 5), Z::Right);
    EXPECT_EQ(ClassifySelZone(3, 47, 100, 50, 5), Z::BottomLeft);
    EXPECT_EQ(ClassifySelZone(50, 47, 100, 50, 5), Z::Bottom);
    EXPECT_EQ(ClassifySelZone(97, 47, 100, 50, 5), Z::BottomRight);
    // The zone borders belong to the edges: x <= 5 and x >= 100 - 5.
    EXPECT_EQ(ClassifySelZone(5, 25, 100, 50, 5), Z::Left);
    EXPECT_EQ(ClassifySelZone(6, 25, 100, 50, 5), Z::Inside);
    EXPECT_EQ(ClassifySelZone(94, 25, 100, 50, 5), Z::Inside);
    EXPECT_EQ(ClassifySelZone(95, 25, 100, 50, 5), Z::Right);
}

TEST(SelShapeZones, TenPixelsWideHasNoMiddleColumnAndLeftWinsAtFive) {
    EXPECT_EQ(ClassifySelZone(5, 25, 10, 50, 5), Z::Left);
    EXPECT_EQ(ClassifySelZone(6, 25, 10, 50, 5), Z::Right);
    EXPECT_EQ(ClassifySelZone(5, 2, 10, 50, 5), Z::TopLeft);
}

TEST(SelShapeZones, OptionsFoldTheZones) {
    const TSelOpt noX = TSelOpt(ResizeY | MoveX | MoveY);
    EXPECT_EQ(FoldSelZone(Z::Left, noX), Z::Inside);
    EXPECT_EQ(FoldSelZone(Z::TopRight, noX), Z::Top);
    EXPECT_EQ(FoldSelZone(Z::BottomLeft, noX), Z::Bottom);
    const TSelOpt noY = TSelOpt(ResizeX | MoveX | MoveY);
    EXPECT_EQ(FoldSelZone(Z::Bottom, noY), Z::Inside);
    EXPECT_EQ(FoldSelZone(Z::BottomRight, noY), Z::Right);
    EXPECT_EQ(FoldSelZone(Z::TopLeft, noY), Z::Left);
    for (Z z : {Z::Inside, Z::Top, Z::Bottom, Z::Left, Z::Right, Z::TopLeft, Z::TopRight,
                Z::BottomLeft, Z::BottomRight})
        EXPECT_EQ(FoldSelZone(z, TSelOpt(MoveX | MoveY)), Z::Inside);
}

TEST(SelShapeZones, CursorsFollowTheZone) {
    EXPECT_EQ(CursorForSelZone(Z::Inside), Qt::ArrowCursor);
    EXPECT_EQ(CursorForSelZone(Z::Bottom), Qt::SizeVerCursor);
    EXPECT_EQ(CursorForSelZone(Z::Left), Qt::SizeHorCursor);
    EXPECT_EQ(CursorForSelZone(Z::BottomLeft), Qt::SizeBDiagCursor);
    EXPECT_EQ(CursorForSelZone(Z::BottomRight), Qt::SizeFDiagCursor);
}

TEST(SelShapeDrag, TopEdgeIsRefusedBelowMinHeightAndStopsAtMinTop) {
    SelShapeLogic s;
    const SelBounds start{20, 30, 100, 50};
    // Down by 46 would leave 4 < MinHeight 5: that move does nothing.
    SelBounds b = DragFrom(s, start, 50, 2, 50, 48);
    EXPECT_EQ(b.Top, 30);
    EXPECT_EQ(b.Height, 50);
    b = DragFrom(s, start, 50, 2, 50, 47);
    EXPECT_EQ(b.Top, 75);
    EXPECT_EQ(b.Height, 5);
    // Up by 40 from top 30 stops at MinTop 0.
    b = DragFrom(s, start, 50, 2, 50, -38);
    EXPECT_EQ(b.Top, 0);
    EXPECT_EQ(b.Height, 80);
    EXPECT_EQ(s.PressY, 2);
    // A rectangle above MinTop: the clamp comes first, and the clamped drag of 8 would leave
    // 12 - 8 = 4 < 5, so nothing moves (checking the height first would shrink it to 4).
    s.MinTop = 10;
    b = DragFrom(s, {20, 2, 100, 12}, 50, 2, 50, 3);
    EXPECT_EQ(b.Top, 2);
    EXPECT_EQ(b.Height, 12);
}

TEST(SelShapeDrag, BottomEdgeStopsAtTheLimitAndAdvancesThePressPoint) {
    SelShapeLogic s;
    // Parent 200 high: bottom 80 + 150 stops at 200, and the press point moves by 120 only.
    SelBounds b = DragFrom(s, {20, 30, 100, 50}, 50, 48, 50, 198);
    EXPECT_EQ(b.Height, 170);
    EXPECT_EQ(s.PressY, 168);
    // A MaxBottom above MinTop replaces the parent's height.
    s.MaxBottom = 100;
    b = DragFrom(s, {20, 30, 100, 50}, 50, 48, 50, 98);
    EXPECT_EQ(b.Height, 70);
    // Shrinking below MinHeight does nothing.
    b = DragFrom(s, {20, 30, 100, 50}, 50, 48, 50, 2);
    EXPECT_EQ(b.Height, 50);
    EXPECT_EQ(s.PressY, 48);
}

TEST(SelShapeDrag, CornerDragsBothEdges) {
    SelShapeLogic s;
    SelBounds b = DragFrom(s, {20, 30, 100, 50}, 98, 48, 108, 53);
    EXPECT_EQ(b.Width, 110);
    EXPECT_EQ(b.Height, 55);
    EXPECT_EQ(s.PressX, 108);
    EXPECT_EQ(s.PressY, 53);
    // Top-left: the control moves with the pointer, the press point stays.
    s.Release();
    b = DragFrom(s, {20, 30, 100, 50}, 2, 2, -8, -3);
    EXPECT_EQ(b.Left, 10);
    EXPECT_EQ(b.Top, 25);
    EXPECT_EQ(b.Width, 110);
    EXPECT_EQ(b.Height, 55);
    EXPECT_EQ(s.PressX, 2);
}

TEST(SelShapeDrag, MoveStopsAtTheParentsRightEdgeAndAtZero) {
    SelShapeLogic s;
    SelBounds b = DragFrom(s, {150, 30, 100, 50}, 50, 25, 150, 25);
    EXPECT_EQ(b.Left, 200);  // right edge at the parent's 300
    EXPECT_EQ(b.Top, 30);
    EXPECT_EQ(b.Width, 100);
    s.Release();
    b = DragFrom(s, {150, 30, 100, 50}, 50, 25, -150, -25);
    EXPECT_EQ(b.Left, 0);
    EXPECT_EQ(b.Top, 0);
}

TEST(SelShapeDrag, WithoutResizeOptionsEveryZoneMoves) {
    SelShapeLogic s;
    s.SelOption = TSelOpt(MoveX | MoveY);
    SelBounds b{20, 30, 100, 50};
    s.Move(98, 48, b, QSize(300, 200));  // hover on the corner
    EXPECT_EQ(s.HitZone, Z::Inside);
    b = DragFrom(s, b, 98, 48, 108, 58);
    EXPECT_EQ(b.Left, 30);
    EXPECT_EQ(b.Top, 40);
    EXPECT_EQ(b.Width, 100);
    EXPECT_EQ(b.Height, 50);
    // Without MoveY only the horizontal part moves.
    s.Release();
    s.SelOption = TSelOpt(MoveX);
    b = DragFrom(s, {20, 30, 100, 50}, 50, 25, 60, 35);
    EXPECT_EQ(b.Left, 30);
    EXPECT_EQ(b.Top, 30);
}

namespace {

void Send(QWidget* w, QEvent::Type type, QPointF local, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

TEST(SelShapeWidget, HoverSetsTheCursorAndADragResizesTheControl) {
    QWidget parent;
    parent.resize(300, 200);
    TSelShape shape(&parent);
    EXPECT_EQ(shape.SizeSense(), 5);
    EXPECT_EQ(shape.MinWidth(), 5);
    shape.SetBounds(20, 30, 100, 50);
    Send(&shape, QEvent::MouseMove, QPoint(97, 25), Qt::NoButton);
    EXPECT_EQ(shape.cursor().shape(), Qt::SizeHorCursor);

    bool wasDragging = true;
    shape.OnMouseDown = [&](TSelShape* s, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers,
                            int, int) { wasDragging = s->Dragging(); };
    Send(&shape, QEvent::MouseButtonPress, QPoint(97, 25), Qt::LeftButton);
    EXPECT_FALSE(wasDragging);  // the owner hears of the press first
    Send(&shape, QEvent::MouseMove, QPoint(117, 40), Qt::LeftButton);
    EXPECT_EQ(shape.geometry(), QRect(20, 30, 120, 50));
    Send(&shape, QEvent::MouseButtonRelease, QPoint(117, 40), Qt::NoButton);
    EXPECT_FALSE(shape.Dragging());
    Send(&shape, QEvent::MouseMove, QPoint(60, 25), Qt::NoButton);
    EXPECT_EQ(shape.cursor().shape(), Qt::ArrowCursor);
}

TEST(SelShapeWidget, DraggedPointerIsHeldInsideTheParent) {
    QWidget parent;
    parent.resize(300, 200);
    TSelShape shape(&parent);
    shape.SetBounds(200, 50, 50, 40);
    shape.SetMaxRight(1000);  // beyond the parent: only the pointer's confinement stops it
    Send(&shape, QEvent::MouseButtonPress, QPoint(48, 20), Qt::LeftButton);
    ASSERT_EQ(shape.HitZone(), Z::Right);
    Send(&shape, QEvent::MouseMove, QPoint(248, 20), Qt::LeftButton);
    // The pointer stops on the parent's last column, x = 299: 51 to the right of the press.
    EXPECT_EQ(shape.Width(), 101);
}

TEST(SelShapeWidget, PositionsWithFractionsCountInThePixelThatHoldsThem) {
    QWidget parent;
    parent.resize(300, 200);
    TSelShape shape(&parent);
    shape.SetBounds(20, 30, 100, 50);
    Send(&shape, QEvent::MouseButtonPress, QPointF(97.4, 25.5), Qt::LeftButton);
    ASSERT_EQ(shape.HitZone(), Z::Right);
    // From pixel 97 to pixel 117: 20 wider (rounding would have made it 118, 21 wider).
    Send(&shape, QEvent::MouseMove, QPointF(117.6, 40.5), Qt::LeftButton);
    EXPECT_EQ(shape.Width(), 120);
}
