// The magnifier widget: bars, painting, scrolling, owner drawing and pointer translation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <vector>

#include "loupe/lupe.h"
#include "loupe/lupe_bar.h"
#include "next_frame.h"
#include "platform/clock.h"

namespace {

TColor SourceColour(int x, int y) {
    return RgbColour(x * 2, y * 3, 100);
}

Bitmap Source(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, SourceColour(x, y));
    return b;
}

TColor At(const QImage& image, int x, int y) {
    return FromQColor(image.pixelColor(x, y));
}

int Extent(const QWidget& w) {
    return w.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &w);
}

// Rows (or columns) that length - bar shows at power p, the last one partly hidden.
int Fit(int length, int bar, int p) {
    return (length - bar + p - 1) / p;
}

}  // namespace

TEST(Lupe, StartsEmptyAndLaysOutBarsForALargeSource) {
    TLupe lupe;
    EXPECT_EQ(lupe.size(), QSize(128, 128));
    EXPECT_EQ(lupe.Power(), 8);
    EXPECT_EQ(lupe.ClipWidth(), 16);
    int resized = 0, changed = 0;
    lupe.OnResize = [&](TLupe*) { ++resized; };
    lupe.OnChange = [&](TLupe*) { ++changed; };
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetBitmap(Source(100, 80));
    EXPECT_EQ(changed, 1);
    EXPECT_GE(resized, 2);
    const int e = Extent(lupe);
    const int rows = Fit(176, e, 4), cols = Fit(190, e, 4);
    EXPECT_EQ(lupe.ClipHeight(), rows);
    EXPECT_EQ(lupe.ClipWidth(), cols);
    QScrollBar* v = lupe.VertScrollBar();
    EXPECT_FALSE(v->isHidden());
    EXPECT_EQ(v->maximum(), 80 - rows);
    EXPECT_EQ(v->pageStep(), rows);
    EXPECT_EQ(v->geometry(), QRect(190 - e, 0, e, 176 - e));
    EXPECT_EQ(lupe.HorzScrollBar()->maximum(), 100 - cols);
    EXPECT_EQ(lupe.WorkBitmap().Width(), cols * 4);

    // An emptied source leaves no bars behind.
    lupe.SetBitmap(Bitmap());
    EXPECT_TRUE(v->isHidden());
    EXPECT_EQ(lupe.ClipWidth(), 48);
}

TEST(Lupe, PowerBelowTwoOrUnchangedIsIgnored) {
    TLupe lupe;
    int resized = 0;
    lupe.OnResize = [&](TLupe*) { ++resized; };
    lupe.SetPower(1);
    lupe.SetPower(8);
    EXPECT_EQ(lupe.Power(), 8);
    EXPECT_EQ(resized, 0);
}

TEST(Lupe, ClipSettersRefuseOutOfRangeAndScrollOtherwise) {
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetBitmap(Source(100, 80));
    const int maxTop = 80 - lupe.ClipHeight();
    std::vector<int> reported;
    lupe.OnScroll = [&](TLupe*, Qt::Orientation bar, TScrollCode code, int& pos) {
        EXPECT_EQ(bar, Qt::Vertical);
        EXPECT_EQ(code, scPosition);
        reported.push_back(pos);
    };
    lupe.SetClipTop(maxTop + 1);
    lupe.SetClipTop(-1);
    EXPECT_EQ(lupe.ClipTop(), 0);
    lupe.SetClipTop(20);
    EXPECT_EQ(lupe.ClipTop(), 20);
    EXPECT_EQ(lupe.VertScrollBar()->value(), 20);
    EXPECT_EQ(reported, std::vector<int>{20});
}

TEST(Lupe, ClipSizeSettersResizeTheControl) {
    TLupe lupe;
    lupe.SetPower(4);
    lupe.SetClipWidth(48);
    lupe.SetClipHeight(44);
    lupe.SetClipHeight(0);
    EXPECT_EQ(lupe.size(), QSize(192, 176));
    lupe.SetBitmap(Source(100, 80));
    // More columns than the source has: all of them, beside a vertical bar.
    lupe.SetClipWidth(500);
    EXPECT_EQ(lupe.width(), 400 + Extent(lupe));
    EXPECT_EQ(lupe.ClipWidth(), 100);
}

TEST(Lupe, SmallSourceShowsBlocksAndTheColourAround) {
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetColor(RgbColour(200, 0, 0));
    lupe.SetDrawGrid(false);
    lupe.SetBitmap(Source(10, 8));
    EXPECT_TRUE(lupe.VertScrollBar()->isHidden());
    const QImage shot = lupe.grab().toImage();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(At(shot, x, y), SourceColour(x / 4, y / 4));
    for (QPoint p : {QPoint(40, 0), QPoint(0, 32), QPoint(189, 175), QPoint(100, 20)})
        EXPECT_EQ(At(shot, p.x(), p.y()), RgbColour(200, 0, 0));
}

TEST(Lupe, GridIsTheLastPixelColumnAndRowOfEachBlock) {
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetBitmap(Source(100, 80));
    lupe.SetClipLeft(3);
    const QImage shot = lupe.grab().toImage();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool grid = x % 4 == 3 || y % 4 == 3;
            ASSERT_EQ(At(shot, x, y), grid ? clBlack : SourceColour(x / 4 + 3, y / 4))
                << x << "," << y;
        }
}

// 128 pixels at power 8 are 16 whole blocks: the empty control draws a line at 0 and at the
// last pixel of every block, 7, 15, ... 127, across and down.
TEST(Lupe, EmptyGridOfWholeBlocksEndsOnTheLastPixel) {
    TLupe lupe;
    ASSERT_EQ(lupe.size(), QSize(128, 128));
    const QImage shot = lupe.grab().toImage();
    for (int i = 0; i < 128; ++i) {
        const bool line = i == 0 || i % 8 == 7;
        EXPECT_EQ(At(shot, i, 3) == clBlack, line) << "x " << i;
        EXPECT_EQ(At(shot, 3, i) == clBlack, line) << "y " << i;
    }
}

TEST(Lupe, BlocksReachingUnderTheBarsLeaveTheirCornerAlone) {
    TLupe lupe;
    lupe.SetPower(4);
    const int e = Extent(lupe);
    lupe.resize(161 + e, 161 + e);  // the last blocks stick 3 pixels out of the client area
    lupe.SetBitmap(Source(100, 80));
    const QImage shot = lupe.grab().toImage();
    const TColor face = FromQColor(lupe.palette().color(QPalette::Window));
    EXPECT_EQ(At(shot, 161, 161), face);
    EXPECT_EQ(At(shot, 160, 160), SourceColour(40, 40));
}

TEST(Lupe, OwnerDrawsTheStagesOfTheBlocksAskedFor) {
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetBitmap(Source(100, 80));
    lupe.SetClipTop(20);
    lupe.SetStyle(lsOwnerDraw);
    std::vector<TLupeOwnerDrawState> stages;
    QRect dest, sorc;
    lupe.OnDrawLupe = [&](TLupe*, QPainter& canvas, const QRect& d, const QRect& s,
                          TLupeOwnerDrawState state, bool&) {
        stages.push_back(state);
        dest = d;
        sorc = s;
        if (state == lodAfterGrid) canvas.fillRect(QRect(6, 8, 1, 1), Qt::green);
    };
    QImage shot(190, 176, QImage::Format_RGB32);
    lupe.render(&shot, QPoint(), QRegion(5, 7, 10, 3));
    EXPECT_EQ(stages,
              (std::vector<TLupeOwnerDrawState>{lodBeforePicture, lodBeforeGrid, lodAfterGrid}));
    EXPECT_EQ(dest, QRect(4, 4, 12, 8));
    EXPECT_EQ(sorc, QRect(1, 21, 3, 2));
    // The region's corner (5, 7) lands at (0, 0) of the image.
    EXPECT_EQ(At(shot, 1, 1), RgbColour(0, 255, 0));
    EXPECT_EQ(At(shot, 0, 1), SourceColour(1, 22));

    // Refusing the picture stage leaves what the owner drew, without picture or grid.
    stages.clear();
    lupe.OnDrawLupe = [&](TLupe*, QPainter& canvas, const QRect& d, const QRect&,
                          TLupeOwnerDrawState state, bool& result) {
        stages.push_back(state);
        canvas.fillRect(d, Qt::blue);
        result = false;
    };
    shot = lupe.grab().toImage();
    EXPECT_EQ(stages, std::vector<TLupeOwnerDrawState>{lodBeforePicture});
    EXPECT_EQ(At(shot, 3, 3), RgbColour(0, 0, 255));
    EXPECT_EQ(At(shot, 1, 1), RgbColour(0, 0, 255));
}

TEST(Lupe, ScrollingRepaintsOnlyTheUncoveredStrip) {
    TLupe lupe;
    lupe.SetPower(4);
    const int e = Extent(lupe);
    lupe.resize(176 + e, 160 + e);  // a view of exactly 44 x 40 blocks
    lupe.SetBitmap(Source(100, 80));
    lupe.SetStyle(lsOwnerDraw);
    std::vector<QRect> painted;
    lupe.OnDrawLupe = [&](TLupe*, QPainter&, const QRect& d, const QRect&,
                          TLupeOwnerDrawState state, bool&) {
        if (state == lodBeforePicture) painted.push_back(d);
    };
    lupe.show();
    QApplication::processEvents();
    lupe.SetClipTop(38);
    ShowNextFrame(lupe);
    painted.clear();
    // A page is 36 rows, but only 2 are left: the pixels move by 2 blocks.
    lupe.Scroll(Qt::Vertical, scPageDown, 0);
    EXPECT_EQ(lupe.ClipTop(), 40);
    ShowNextFrame(lupe);
    EXPECT_EQ(painted, std::vector<QRect>{QRect(0, 152, 176, 8)});
    painted.clear();
    lupe.Scroll(Qt::Horizontal, scLineDown, 0);
    ShowNextFrame(lupe);
    EXPECT_EQ(painted, std::vector<QRect>{QRect(156, 0, 20, 160)});

    const QImage screen = lupe.screen()->grabWindow(lupe.winId()).toImage();
    for (int y = 0; y < 160; y += 3)
        for (int x = 0; x < 176; x += 2) {
            if (x % 4 == 3 || y % 4 == 3) continue;
            ASSERT_EQ(At(screen, x, y), SourceColour(x / 4 + 5, y / 4 + 40)) << x << "," << y;
        }
}

TEST(Lupe, PointerPositionsAreReportedInSourcePixels) {
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SetBitmap(Source(100, 80));
    lupe.SetClipLeft(3);
    lupe.SetClipTop(5);
    std::vector<QPoint> seen;
    lupe.OnSourceMouseDown = [&](TLupe*, Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers,
                                 int x, int y) {
        EXPECT_EQ(b, Qt::RightButton);
        seen.emplace_back(x, y);
    };
    lupe.OnSourceMouseMove = [&](TLupe*, Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) {
        seen.emplace_back(x, y);
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(9, 13), QPointF(9, 13), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&lupe, &press);
    // Left of the control: -3 div 4 is 0, as division truncates towards zero.
    QMouseEvent move(QEvent::MouseMove, QPointF(-3, 2), QPointF(-3, 2), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&lupe, &move);
    EXPECT_EQ(seen, (std::vector<QPoint>{QPoint(5, 8), QPoint(3, 5)}));
    // A position with fractions is in the pixel that holds it: (11, 7), not rounded to (12, 8).
    QMouseEvent fine(QEvent::MouseMove, QPointF(11.6, 7.9), QPointF(11.6, 7.9), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&lupe, &fine);
    EXPECT_EQ(seen.back(), QPoint(3 + 11 / 4, 5 + 7 / 4));
}

namespace {

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

// Following the brush moves the clip every tick: the magnifier and its bar repaint at most
// once a frame, the bar's value is always the clip, and the last move reaches the screen.
TEST(Lupe, MovesReachTheScreenAtMostOnceAFrame) {
    TLupe lupe;
    lupe.SetPower(4);
    const int e = Extent(lupe);
    lupe.resize(176 + e, 160 + e);  // 44 x 40 blocks
    lupe.SetBitmap(Source(100, 80));
    lupe.show();
    ShowNextFrame(lupe);
    PaintCounter view, bar;
    lupe.installEventFilter(&view);
    lupe.VertScrollBar()->installEventFilter(&bar);
    const std::uint32_t start = TimeGetTime();
    for (int i = 1; i <= 300; ++i) {
        lupe.SetClipTop(i % 40);
        lupe.SetClipLeft(i % 56);
        ASSERT_EQ(lupe.VertScrollBar()->value(), i % 40);
        QApplication::processEvents();
    }
    const int frames = int((TimeGetTime() - start) / LupeScrollBar::kFrameMs) + 2;
    EXPECT_LE(view.paints, frames);
    EXPECT_LE(bar.paints, frames);
    EXPECT_LT(view.paints, 300);

    ShowNextFrame(lupe);
    EXPECT_GT(view.paints, 0);
    EXPECT_GT(bar.paints, 0);
    // The last move is 300: clip (20, 20).
    const QImage screen = lupe.screen()->grabWindow(lupe.winId()).toImage();
    for (int y = 0; y < 160; y += 3)
        for (int x = 0; x < 176; x += 2) {
            if (x % 4 == 3 || y % 4 == 3) continue;
            ASSERT_EQ(At(screen, x, y), SourceColour(x / 4 + 20, y / 4 + 20)) << x << "," << y;
        }
}
