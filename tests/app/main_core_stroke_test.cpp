// The paint surface's handlers with the brush as the tool: button sets, releases inside and
// outside, hidden layers, the undo snapshots of a stroke and what a tick draws and repaints.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/main_core.h"
#include "platform/app_paths.h"
#include "recording_screen.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);

class StrokeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate({}, dir.path());
        // A plain round pen with no speed effects, bleed or blur, unless a test says so.
        MenuChecks& m = core->Checks;
        m.H1 = m.M1 = m.N8 = m.C2 = false;
        m.K1 = true;
        m.K2 = m.K3 = m.K4 = false;
    }
    void TearDown() override {
        core.reset();
        AppPaths::OverrideExecutableDir(QString());
    }

    void Press(int x, int y, TShiftState shift = ssLeft) {
        core->Image1MouseDown(shift == ssRight ? mbRight : mbLeft, shift, x, y);
        core->Timer1Timer(1);
    }
    void MoveTo(int x, int y, TShiftState shift = ssLeft) {
        core->Image1MouseMove(shift, x, y);
        core->Timer1Timer(1);
    }
    void Release(int x, int y) {
        core->Image1MouseUp(mbLeft, 0, x, y);
        core->Timer1Timer(1);
    }
    Bitmap& Layer() { return core->Compositor.CurrentLayerImage(); }
    int InkPixels(const Bitmap& b) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) n += b.Pixel(x, y) != clWhite;
        return n;
    }

    QTemporaryDir dir;
    RecordingScreen screen;
    std::unique_ptr<MainWindowCore> core;
};

}  // namespace

// Only the left or the right button alone chooses a colour; anything else draws in the colour
// of the previous stroke.
TEST_F(StrokeTest, ButtonSetChoosesThePenColour) {
    struct Case {
        TShiftState shift;
        TColor colour;
    } const cases[] = {
        {ssLeft, kBlue},           {ssRight, clWhite},       {ssLeft | ssShift, kRed},
        {ssLeft | ssCtrl, kRed},   {ssLeft | ssAlt, kRed},   {ssMiddle, kRed},
        {ssLeft | ssDouble, kRed}, {ssLeft | ssRight, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shift);
        core->PrimaryColour = kRed;
        Press(10, 10);
        Release(10, 10);
        core->PrimaryColour = kBlue;
        Press(20, 20, c.shift);
        EXPECT_EQ(core->LayerCanvas.pen.Color, c.colour);
        EXPECT_EQ(core->SurfaceCanvas.pen.Color, c.colour);
        EXPECT_EQ(core->Stroke.StrokeBaseColour, c.colour);
        Release(20, 20);
    }
}

// Column 0 and row 0 count as outside, as does everything past the picture: the stroke stops
// with no width, no ink and no after-snapshot.
TEST_F(StrokeTest, ReleaseOutsideThePictureEndsTheStrokeAtOnce) {
    struct Case {
        int x, y;
        bool outside;
    } const cases[] = {{0, 50, true},  {50, 0, true}, {400, 50, true},  {50, 400, true},
                       {-7, 50, true}, {1, 1, false}, {399, 399, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Press(100, 100);
        MoveTo(110, 100);
        MoveTo(120, 100);
        core->Image1MouseUp(mbLeft, 0, c.x, c.y);
        const StrokeState& s = core->Stroke;
        EXPECT_EQ(s.StrokePhase, 2);
        EXPECT_EQ(s.StrokeActive, !c.outside);
        EXPECT_EQ(s.TickDrawing, !c.outside);
        EXPECT_FALSE(s.SnapshotTaken);
        if (c.outside) {
            EXPECT_EQ(core->LayerCanvas.pen.Width(), 0);
            EXPECT_EQ(core->SurfaceCanvas.pen.Width(), 0);
            EXPECT_EQ(s.InkLevel, 0);
            EXPECT_EQ(core->Tools.UndoPhase, 1);
        } else {
            EXPECT_EQ(core->LayerCanvas.PenX(), c.x);
            EXPECT_EQ(core->LayerCanvas.PenY(), c.y);
        }
        // Ends a tail that is still running.
        for (int i = 0; i < 30 && s.StrokeActive; ++i) MoveTo(200, 200 + i);
    }
}

TEST_F(StrokeTest, HiddenCurrentLayerTakesNoPressAndNoSnapshot) {
    core->Layers.SetVisibilityMark(0, QStringLiteral("×"));
    Press(100, 100);
    MoveTo(120, 100);
    Release(120, 100);
    EXPECT_FALSE(core->Stroke.SnapshotTaken);
    EXPECT_FALSE(core->Stroke.StrokeActive);
    EXPECT_EQ(core->Stroke.StrokePhase, 0);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
    EXPECT_FALSE(core->Document.Modified);
    EXPECT_EQ(core->Stroke.PointerX, 120);
    EXPECT_EQ(InkPixels(Layer()), 0);
}

TEST_F(StrokeTest, ClickWithoutMovementLeavesNoMark) {
    for (bool dry : {false, true}) {
        core->Checks.H1 = dry;
        Press(100, 100);
        for (int i = 0; i < 5; ++i) core->Timer1Timer(1);
        Release(100, 100);
        for (int i = 0; i < 5; ++i) core->Timer1Timer(1);
        EXPECT_EQ(InkPixels(Layer()), 0);
        EXPECT_EQ(InkPixels(core->Image1), 0);
    }
}

// A medium brush swells to width 13; a horizontal stroke is then 13 pixels high, in the layer
// and on the paint surface, and only the area around each segment is repainted.
// The line is as wide as the pen, at an odd width (medium, 13) as at an even one (thin, 8).
TEST_F(StrokeTest, PlainStrokeSwellsToItsWidthAndRepaintsOnlyItsSegment) {
    core->ComboBox1Change(3);
    Press(40, 100);
    for (int x = 45; x <= 150; x += 5) MoveTo(x, 100);
    Release(150, 100);
    EXPECT_EQ(core->LayerCanvas.pen.Width(), 8);
    core->ComboBox1Change(2);
    Press(40, 200);
    for (int x = 45; x <= 150; x += 5) MoveTo(x, 200);
    EXPECT_EQ(core->LayerCanvas.pen.Width(), 13);
    for (const Bitmap* b : {&Layer(), &core->Image1}) {
        int thin = 0, medium = 0;
        for (int y = 50; y < 150; ++y) thin += b->Pixel(130, y) == clBlack;
        for (int y = 150; y < 250; ++y) medium += b->Pixel(130, y) == clBlack;
        EXPECT_EQ(thin, 8);
        EXPECT_EQ(b->Pixel(130, 96), clBlack);
        EXPECT_EQ(b->Pixel(130, 103), clBlack);
        EXPECT_EQ(medium, 13);
        EXPECT_EQ(b->Pixel(130, 194), clBlack);
        EXPECT_EQ(b->Pixel(130, 206), clBlack);
    }
    ASSERT_FALSE(screen.RepaintAreas.empty());
    const QRect last = screen.RepaintAreas.back();
    EXPECT_FALSE(last.isNull());
    EXPECT_TRUE(last.contains(QRect(145, 194, 6, 13)));
    EXPECT_LE(last.width() * last.height(), 20 * 20);
}

// The tail runs on moves without a button until the width is used up; the stroke end takes
// the after-snapshot. A press during the tail keeps the width and ink it finds.
TEST_F(StrokeTest, TailEndsTheStrokeWithTheAfterSnapshot) {
    Press(40, 200);
    for (int x = 45; x <= 70; x += 5) MoveTo(x, 200, ssLeft);
    Release(70, 200);
    EXPECT_EQ(core->Tools.UndoPhase, 1);
    MoveTo(80, 200, 0);
    MoveTo(90, 200, 0);
    const int width = core->LayerCanvas.pen.Width();
    const int ink = core->Stroke.InkLevel;
    Press(90, 200);
    EXPECT_EQ(core->Stroke.StrokePhase, 1);
    EXPECT_EQ(core->LayerCanvas.pen.Width(), width);
    EXPECT_EQ(core->Stroke.InkLevel, ink);
    Release(90, 200);
    for (int i = 1; i <= width; ++i) {
        EXPECT_TRUE(core->Stroke.StrokeActive);
        MoveTo(90 + 5 * i, 200, 0);
    }
    EXPECT_FALSE(core->Stroke.StrokeActive);
    EXPECT_FALSE(core->Stroke.TickDrawing);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
    EXPECT_TRUE(core->Image4 == Layer());
    // The press during the tail took a new before-snapshot, with the stroke's first part.
    EXPECT_GT(InkPixels(core->Image3), 0);
    EXPECT_LT(InkPixels(core->Image3), InkPixels(core->Image4));
}

// On a picture of one layer the paint surface is the layer itself, from the first dot on: both
// pens draw into the layer's memory and the surface holds none of its own.
TEST_F(StrokeTest, OnALoneLayerTheSurfaceHoldsNoMemoryOfItsOwn) {
    Press(40, 200);
    for (int x = 45; x <= 100; x += 5) MoveTo(x, 200);
    EXPECT_EQ(core->Image1.AllocatedBytes(), 0u);
    EXPECT_EQ(core->Image1.Pixel(90, 200), clBlack);
    Release(100, 200);
    for (int i = 1; core->Stroke.StrokeActive && i < 100; ++i) MoveTo(100 + 5 * i, 200, 0);
    EXPECT_FALSE(core->Stroke.StrokeActive);
    EXPECT_EQ(core->Image1.AllocatedBytes(), 0u);
    EXPECT_TRUE(core->Image1 == Layer());
    // The before-snapshot of the untouched layer is white and holds nothing either.
    EXPECT_EQ(core->Image3.AllocatedBytes(), 0u);
    EXPECT_EQ(Layer().Pixel(90, 200), clBlack);
}

// The snapshots reuse their buffers: a second stroke's press allocates no new picture.
TEST_F(StrokeTest, PressReusesTheSnapshotBuffer) {
    Press(40, 200);
    MoveTo(60, 200);
    Release(60, 200);
    Press(40, 300);
    const std::uint8_t* before = core->Image3.ConstScanLine(0);
    Release(40, 300);
    Press(40, 100);
    EXPECT_EQ(core->Image3.ConstScanLine(0), before);
}

// Width by speed may not drive the pen below zero; the ink still goes.
TEST_F(StrokeTest, WidthBySpeedKeepsTheWidthWhenItWouldGoNegative) {
    core->Checks.N8 = true;
    Press(10, 10);
    core->Image1MouseMove(ssLeft, 10, 15);   // from the start-up width 1: width 2, ink 10
    core->Image1MouseMove(ssLeft, 130, 15);  // width 3, ink 20
    core->Timer1Timer(1);                    // speed 120^2 + 5^2 = 14425
    EXPECT_EQ(core->LayerCanvas.pen.Width(), 3);
    EXPECT_EQ(core->Stroke.InkLevel, 20 - 14425 / 6);
}

TEST_F(StrokeTest, MoveShowsThePointerAndBrushButtonResetsTheTools) {
    core->Image1MouseMove(0, 120, 45);
    EXPECT_EQ(screen.Status[0], QStringLiteral("位置( 120 , 45 )"));
    ToolState& t = core->Tools;
    t.FillToolActive = t.PickToolActive = t.Picking = t.RetouchToolActive = true;
    t.CutArmed = t.CopySized = t.TextToolActive = t.TextFloating = t.PasteFollowing = true;
    core->Button3Click();
    EXPECT_FALSE(t.FillToolActive || t.PickToolActive || t.Picking || t.RetouchToolActive);
    EXPECT_FALSE(t.CutArmed || t.CopySized || t.TextToolActive || t.TextFloating ||
                 t.PasteFollowing);
    EXPECT_EQ(screen.Cursor, MainScreen::crPen);
    EXPECT_EQ(screen.ActiveToolButton, MainScreen::tbBrush);
}

// A dry-brush tick holds the ink between 0 and 5 x BrushSize - 1 inked bristles.
TEST_F(StrokeTest, DryBrushTickClampsTheInk) {
    struct Case {
        int sizeIndex;
        int ink;
        int after;
    } const cases[] = {{4, 50, 14}, {0, 300, 124}, {2, 64, 64}, {2, 65, 64}, {2, -30, 0}};
    core->Checks.H1 = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ink);
        core->ComboBox1Change(c.sizeIndex);
        Press(100, 100);
        core->Image1MouseMove(ssLeft, 101, 100);
        core->Stroke.InkLevel = c.ink;
        core->Timer1Timer(1);
        EXPECT_EQ(core->Stroke.InkLevel, c.after);
        EXPECT_EQ(core->LayerCanvas.pen.Width(), 1);
        Release(0, 0);
    }
}

// With dry brush and a blur level, the bristle lines bleed once of their own before the
// tick's bleed: a white pixel r away from ink goes 255 -> 243 -> 231 in one tick.
TEST_F(StrokeTest, DryBrushWithBlurBleedsTwicePerTick) {
    struct Case {
        bool blurMedium;
        int grey;
    } const cases[] = {{true, 231}, {false, 243}};
    core->Checks.H1 = core->Checks.M1 = true;
    for (const Case& c : cases) {
        SelectBlurLevel(core->Checks, c.blurMedium ? blMedium : blNone);
        Press(100, 100);
        core->Image1MouseMove(ssLeft, 100, 100);
        core->Stroke.InkLevel = 0;  // no bristle lines: only the bleed and blur act
        Layer().SetPixel(105, 100, clBlack);
        core->Timer1Timer(1);
        EXPECT_EQ(Layer().Pixel(102, 100), RgbColour(c.grey, c.grey, c.grey));
        EXPECT_EQ(core->Image1.Pixel(102, 100), RgbColour(c.grey, c.grey, c.grey));
        Release(0, 0);
        Layer().MakeWhite(400, 400);
    }
}

// The right button draws in the secondary colour; a fast move lightens it and a resting pen
// returns to it, seven steps a tick.
TEST_F(StrokeTest, DensityBySpeedPullsTheRightButtonBackToTheSecondaryColour) {
    core->Checks.C2 = true;
    core->SecondaryColour = kBlue;
    Press(100, 100, ssRight);
    MoveTo(130, 100, ssRight);  // speed 900: 91 lightening steps
    EXPECT_EQ(core->LayerCanvas.pen.Color, RgbColour(91, 91, 255));
    for (int tick = 1; tick <= 12; ++tick) core->Timer1Timer(1);
    EXPECT_EQ(core->LayerCanvas.pen.Color, RgbColour(7, 7, 255));
    core->Timer1Timer(1);
    EXPECT_EQ(core->LayerCanvas.pen.Color, kBlue);
    EXPECT_EQ(core->SurfaceCanvas.pen.Color, kBlue);
}

// The idle loop may rest only when a tick would change nothing: no stroke drawing, tick points
// settled at the pointer, no layer or open request and every window as its View mark says.
TEST_F(StrokeTest, TickIsIdleOnlyWhenNothingIsLeftToDo) {
    struct Case {
        const char* what;
        std::function<void(MainWindowCore&)> make;
        int ticksToSettle;
    } const cases[] = {
        {"nothing", [](MainWindowCore&) {}, 0},
        {"pointer moved", [](MainWindowCore& c) { c.Image1MouseMove(0, 30, 40); }, 2},
        {"stroke drawing", [](MainWindowCore& c) { c.Stroke.TickDrawing = true; }, -1},
        {"layer request", [](MainWindowCore& c) { c.Layers.LayersChanged = true; }, 1},
        {"open request", [](MainWindowCore& c) { c.Document.OpenAtFirstTick = true; }, 1},
        {"window closed",
         [](MainWindowCore& c) { c.Screen().SetWindowVisible(MainScreen::wiLoupe, false); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        core->Timer1Timer(1);
        core->Timer1Timer(1);
        ASSERT_TRUE(core->TickIsIdle());
        c.make(*core);
        for (int tick = 0; tick < c.ticksToSettle; ++tick) {
            EXPECT_FALSE(core->TickIsIdle());
            core->Timer1Timer(1);
        }
        EXPECT_EQ(core->TickIsIdle(), c.ticksToSettle >= 0);
        core->Stroke.TickDrawing = false;
    }
}
