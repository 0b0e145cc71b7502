// A pen on the paint surface: which colour its tip, eraser end and barrel buttons choose, how
// its pressure shapes what a tick lays down, and that no stroke is left running when the pen
// goes.
#include <gtest/gtest.h>

#include <vector>

#include "app/headless_replay.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);
constexpr int kRow = 150;

// A medium round pen on a wide picture with no speed effects, bleed or blur, unless a test
// says so.
StrokeRecording PlainMedium() {
    StrokeRecording r;
    r.width = 1800;
    r.height = 300;
    r.sizeIndex = 2;
    r.K1 = true, r.K4 = r.K3 = r.K2 = false;
    r.M1 = r.H1 = r.N8 = r.C2 = false;
    r.P1 = true;
    r.primary = kBlue;
    r.secondary = kRed;
    return r;
}

class PenTest : public ::testing::Test {
  protected:
    explicit PenTest(StrokeRecording r = PlainMedium()) : recording(r), replay(recording) {}

    MainWindowCore& Core() { return replay.Core(); }
    const Bitmap& Layer() { return replay.CurrentLayer(); }

    void Send(PenEvent::Kind kind, TShiftState shift, int x, int y, int pressure,
              TPointerType pointer = ptPen, TMouseButton button = mbLeft) {
        PenEvent e;
        e.kind = kind;
        e.pointer = pointer;
        e.button = button;
        e.shift = shift;
        e.x = x;
        e.y = y;
        e.pressure = pressure;
        Core().Image1Pen(e);
    }
    void Tick() { Core().Timer1Timer(1); }

    // The tip comes down at x and the stroke swells to its width in place, then is laid down.
    void SwellAt(int x, int pressure) {
        Send(PenEvent::Press, ssLeft, x, kRow, pressure);
        for (int i = 1; i <= 15; ++i) Send(PenEvent::Move, ssLeft, x + i, kRow, pressure);
        Tick();
        x_ = x + 15;
    }
    // One move 40 pixels on and one tick: the segment's middle column shows the laid width
    // alone, away from the round ends of the others.
    int Segment(TShiftState held, int pressure) {
        x_ += 40;
        Send(PenEvent::Move, held, x_, kRow, pressure);
        Tick();
        return InkHeight(x_ - 20);
    }
    int InkHeight(int x) {
        int n = 0;
        for (int y = 0; y < Layer().Height(); ++y) n += Layer().Pixel(x, y) != clWhite;
        return n;
    }

    StrokeRecording recording;
    HeadlessReplay replay;
    int x_ = 0;
};

}  // namespace

// The tip alone presses as the left button; the eraser end, and the tip with a barrel button
// held, as the right one. Keys make neither, as with the mouse.
TEST_F(PenTest, EraserEndAndBarrelButtonDrawWithTheSecondaryColour) {
    const struct {
        const char* what;
        TPointerType pointer;
        TShiftState held;
        TColor colour;
    } cases[] = {
        {"tip", ptPen, ssLeft, kBlue},
        {"eraser", ptEraser, ssLeft, kRed},
        {"tip and lower barrel button", ptPen, ssLeft | ssMiddle, kRed},
        {"tip and upper barrel button", ptPen, ssLeft | ssRight, kRed},
        {"tip with Shift", ptPen, ssLeft | ssShift, clWhite},
        {"eraser with Ctrl", ptEraser, ssLeft | ssCtrl, clWhite},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Core().PrimaryColour = clWhite;  // the previous stroke's colour
        Send(PenEvent::Press, ssLeft, 100, 100, 500);
        Send(PenEvent::Release, 0, 100, 100, 0);
        Core().PrimaryColour = kBlue;
        Send(PenEvent::Press, c.held, 200, 100, 500, c.pointer);
        EXPECT_EQ(Core().Stroke.StrokePhase, 1);
        EXPECT_EQ(Core().LayerCanvas.pen.Color, c.colour);
        EXPECT_EQ(Core().Stroke.StrokeBaseColour, c.colour);
        Send(PenEvent::Release, c.held & ~ssLeft, 200, 100, 0, c.pointer);
        EXPECT_EQ(Core().Stroke.StrokePhase, 2);
    }
}

// A barrel button pressed in the air is no press: only the tip's touch starts a stroke.
TEST_F(PenTest, BarrelButtonInTheAirPressesNothing) {
    Send(PenEvent::Press, ssMiddle, 100, 100, 0, ptPen, mbMiddle);
    Send(PenEvent::Move, ssMiddle, 140, 100, 0);
    Send(PenEvent::Release, 0, 140, 100, 0, ptPen, mbMiddle);
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(Core().Stroke.StrokePhase, 0);
    EXPECT_FALSE(Core().Stroke.SnapshotTaken);
    EXPECT_EQ(InkHeight(120), 0);
}

// The plain line is laid Ceil(13 x (1/4 + 3/4 x pressure)) wide; the mouse, a pen without
// pressure and the option off lay the stroke's own 13.
TEST_F(PenTest, PressureNarrowsThePlainLine) {
    const struct {
        const char* what;
        int pressure;
        bool option;
        int laid;
    } cases[] = {
        {"full", 1000, true, 13},
        {"half", 500, true, 9},
        {"lightest", 0, true, 4},
        {"a fifth", 200, true, 6},
        {"no pressure", kNoPressure, true, 13},
        {"option off", 0, false, 13},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Core().Checks.P1 = c.option;
        const int y = 25 + 45 * row++;
        Send(PenEvent::Press, ssLeft, 20, y, c.pressure);
        for (int i = 1; i <= 15; ++i) Send(PenEvent::Move, ssLeft, 20 + i, y, c.pressure);
        Send(PenEvent::Move, ssLeft, 100, y, c.pressure);
        Tick();
        EXPECT_EQ(Core().LayerCanvas.pen.Width(), 13);  // the stroke keeps its own width
        int height = 0;
        for (int dy = -20; dy <= 20; ++dy) height += Layer().Pixel(70, y + dy) != clWhite;
        EXPECT_EQ(height, c.laid);
        Send(PenEvent::Release, 0, 0, 0, 0);  // outside: the stroke ends at once
    }
}

// A steady change of pressure, and a sudden one, move the laid width by one pixel a tick at
// most, from the full 13 down to 4 and back.
TEST_F(PenTest, PressureChangesNeverMakeTheLineJump) {
    SwellAt(20, 1000);
    std::vector<int> laid;
    for (int i = 0; i < 3; ++i) laid.push_back(Segment(ssLeft, 1000));
    for (int p = 900; p >= 0; p -= 100) laid.push_back(Segment(ssLeft, p));
    for (int i = 0; i < 3; ++i) laid.push_back(Segment(ssLeft, 0));
    for (int i = 0; i < 12; ++i) laid.push_back(Segment(ssLeft, 1000));
    for (int i = 0; i < 12; ++i) laid.push_back(Segment(ssLeft, 0));
    EXPECT_EQ(laid.front(), 13);
    EXPECT_EQ(laid[15], 4);
    EXPECT_EQ(laid[27], 13);
    EXPECT_EQ(laid.back(), 4);
    for (std::size_t i = 1; i < laid.size(); ++i)
        EXPECT_LE(std::abs(laid[i] - laid[i - 1]), 1) << "segment " << i;
}

// After the tip comes up the tail is laid with the stroke's last pressure: a hovering pen
// reports none that counts. Half pressure lays Ceil(width x 5/8) as the width falls by one.
TEST_F(PenTest, TailKeepsTheLastPressure) {
    SwellAt(20, 500);
    EXPECT_EQ(Segment(ssLeft, 500), 9);
    Send(PenEvent::Release, 0, x_, kRow, 0);
    const int expected[] = {8, 7, 7, 6, 5, 5, 4, 4, 3};  // widths 12 down to 4
    for (int width : expected) EXPECT_EQ(Segment(0, 0), width);
}

// A move that finds the tip no longer held ends the press its release should have ended.
TEST_F(PenTest, LostReleaseIsMadeUpByTheNextMove) {
    SwellAt(20, 800);
    Send(PenEvent::Move, 0, 200, kRow, 0);
    EXPECT_EQ(Core().Stroke.StrokePhase, 2);
    EXPECT_FALSE(Core().Stroke.SnapshotTaken);
    // A second touch starts afresh rather than being taken for the first.
    Send(PenEvent::Press, ssLeft, 300, kRow, 800);
    EXPECT_EQ(Core().Stroke.StrokePhase, 1);
}

namespace {

class DryPenTest : public PenTest {
  protected:
    static StrokeRecording Dry() {
        StrokeRecording r = PlainMedium();
        r.H1 = true;
        return r;
    }
    DryPenTest() : PenTest(Dry()) {}
    // The rows around kRow that carry ink in the columns from x0 to x1.
    std::vector<int> InkRows(int x0, int x1) {
        std::vector<int> rows;
        for (int y = kRow - 25; y <= kRow + 25; ++y)
            for (int x = x0; x <= x1; ++x)
                if (Layer().Pixel(x, y) != clWhite) {
                    rows.push_back(y - kRow);
                    break;
                }
        return rows;
    }
};

}  // namespace

// A medium brush at its full 64 bristles spreads up to six pixels from the stroke. At the
// lightest touch it inks a quarter of them, bristles 0 to 15, which lie within two pixels.
TEST_F(DryPenTest, LightPressureInksFewerBristles) {
    SwellAt(20, 0);
    for (int i = 0; i < 4; ++i) Segment(ssLeft, 0);
    const std::vector<int> light = InkRows(60, 190);
    ASSERT_FALSE(light.empty());
    EXPECT_GE(light.front(), -2);
    EXPECT_LE(light.back(), 2);
    Send(PenEvent::Release, 0, 0, 0, 0);

    x_ = 400;
    SwellAt(x_, 1000);
    for (int i = 0; i < 4; ++i) Segment(ssLeft, 1000);
    const std::vector<int> full = InkRows(440, 570);
    EXPECT_TRUE(full.front() < -2 || full.back() > 2);
    EXPECT_GT(full.size(), light.size());
}

// The pen leaving the tablet's reach ends a touching press and spends the tail where the pen
// was, drawing nothing more: the stroke ends as a used-up tail ends, with the after-snapshot.
TEST_F(PenTest, PenLeavingEndsTheStroke) {
    const struct {
        const char* what;
        bool dry;
        bool released;
        int hoverMoves;
    } cases[] = {
        {"touching", false, false, 0},
        {"in the tail", false, true, 2},
        {"dry, touching", true, false, 0},
        {"dry, in the tail", true, true, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Core().Checks.H1 = c.dry;
        x_ = 20;
        SwellAt(20, 700);
        Segment(ssLeft, 700);
        if (c.released) Send(PenEvent::Release, 0, x_, kRow, 0);
        for (int i = 0; i < c.hoverMoves; ++i) Segment(0, 0);
        Core().Image1PenAway();
        const StrokeState& s = Core().Stroke;
        EXPECT_FALSE(s.StrokeActive);
        EXPECT_FALSE(s.TickDrawing);
        EXPECT_FALSE(s.SnapshotTaken);
        EXPECT_EQ(Core().Tools.UndoPhase, 0);
        EXPECT_TRUE(Core().Image4 == Layer());
        if (c.dry)
            EXPECT_LE(s.InkLevel, 0);
        else
            EXPECT_EQ(Core().LayerCanvas.pen.Width(), 0);
        Bitmap before;
        before.CopyFrom(Layer());
        for (int i = 0; i < 5; ++i) Tick();
        EXPECT_TRUE(Layer() == before);
        // Back in reach: hovering draws nothing, and the next touch is a new stroke.
        Send(PenEvent::Move, 0, x_ + 300, kRow + 60, 0);
        Tick();
        EXPECT_TRUE(Layer() == before);
        Core().Button1Click();  // clear for the next case
    }
}

// With another tool taking the moves the tail cannot be spent; the pen leaving then leaves
// the stroke as the mouse would, and returns.
TEST_F(PenTest, PenLeavingWithTheTextToolReturns) {
    SwellAt(20, 700);
    Send(PenEvent::Release, 0, x_, kRow, 0);
    Core().Tools.TextToolActive = true;
    Core().Image1PenAway();
    EXPECT_TRUE(Core().Stroke.StrokeActive);
    EXPECT_EQ(Core().Stroke.StrokePhase, 2);
}
