// The main window's tools: fill, colour picking, palette and swatches, the tool buttons, the
// retouch kinds and the text tool, driven through the core's handlers.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTemporaryDir>

#include "app/main_core.h"
#include "core_test.h"
#include "platform/app_paths.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);

class MainCoreToolsTest : public CoreTest {
  protected:
    // Confirms the text dialog with these lines in a font of the given character height.
    void ChooseText(const QStringList& lines, int pixels) {
        screen.TextLines = lines;
        screen.TextFont = QFont(QStringLiteral("IPAPGothic"));
        screen.TextFont.setPixelSize(pixels);
        core->Button8Click();
    }
};

}  // namespace

TEST_F(MainCoreToolsTest, FillTakesBothSnapshotsEvenWhenNothingChanges) {
    core->PrimaryColour = clWhite;
    core->Image3.Fill(kRed);
    core->Image4.Fill(kRed);
    core->Button5Click();
    core->Image1MouseDown(mbLeft, ssLeft, 5, 5);
    EXPECT_TRUE(core->Document.Modified);
    EXPECT_EQ(core->Image3.Pixel(5, 5), clWhite);
    EXPECT_EQ(core->Image4.Pixel(5, 5), clWhite);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
}

TEST_F(MainCoreToolsTest, FillColourFollowsTheButtonSet) {
    core->PrimaryColour = kRed;
    core->SecondaryColour = kBlue;
    struct Case {
        TShiftState shift;
        TColor expected;
    };
    // Each press fills the whole white-or-last-colour layer; a set that is neither button
    // alone keeps the brush of the press before.
    const Case cases[] = {{ssLeft, kRed},
                          {ssShift | ssLeft, kRed},
                          {ssRight, kBlue},
                          {ssLeft | ssDouble, kBlue},
                          {ssCtrl | ssRight, kBlue}};
    core->Button5Click();
    for (const Case& c : cases) {
        const TMouseButton button = c.shift & ssRight ? mbRight : mbLeft;
        core->Image1MouseDown(button, c.shift, 3, 3);
        core->Image1MouseUp(button, 0, 3, 3);
        EXPECT_EQ(Layer(0).Pixel(399, 399), c.expected) << c.shift;
    }
}

TEST_F(MainCoreToolsTest, PickTakesTheLayersOwnPixelForTheButtonAlone) {
    Layer(0).SetPixel(7, 8, kRed);
    struct Case {
        TShiftState shift;
        TColor primary, secondary;
    };
    const Case cases[] = {{ssLeft, kRed, clWhite},
                          {ssRight, clBlack, kRed},
                          {ssLeft | ssDouble, clBlack, clWhite},
                          {ssShift | ssLeft, clBlack, clWhite}};
    core->Button6Click();
    for (const Case& c : cases) {
        core->PrimaryColour = clBlack;
        core->SecondaryColour = clWhite;
        core->Tools.Picking = false;
        core->Image1MouseDown(mbLeft, c.shift, 7, 8);
        core->Image1MouseUp(mbLeft, 0, 7, 8);
        EXPECT_EQ(core->PrimaryColour, c.primary) << c.shift;
        EXPECT_EQ(core->SecondaryColour, c.secondary) << c.shift;
        EXPECT_TRUE(core->Tools.Picking);
    }
    // Moves keep picking inside the layer and take nothing outside it.
    core->Image1MouseMove(ssLeft, 7, 8);
    EXPECT_EQ(core->PrimaryColour, kRed);
    core->Image1MouseMove(ssLeft, -1, 8);
    core->Image1MouseMove(ssLeft, 400, 8);
    EXPECT_EQ(core->PrimaryColour, kRed);
    EXPECT_EQ(screen.SwatchPrimary, kRed);
}

TEST_F(MainCoreToolsTest, PaletteIgnoresItsFirstRowAndColumn) {
    const Bitmap& palette = core->PaletteImage;
    struct Case {
        int x, y;
        bool taken;
    };
    const Case cases[] = {{0, 40, false},  {30, 0, false},  {1, 1, true},   {62, 89, true},
                          {63, 40, false}, {30, 90, false}, {-1, -1, false}};
    for (const Case& c : cases) {
        core->PrimaryColour = RgbColour(1, 2, 3);
        core->Tools.Picking = false;
        core->Image2MouseDown(ssLeft, c.x, c.y);
        EXPECT_EQ(core->PrimaryColour, c.taken ? palette.Pixel(c.x, c.y) : RgbColour(1, 2, 3))
            << c.x << "," << c.y;
        EXPECT_TRUE(core->Tools.Picking);
    }
    core->Image2MouseMove(ssRight, 40, 45);
    EXPECT_EQ(core->SecondaryColour, palette.Pixel(40, 45));
    core->Image2MouseUp();
    EXPECT_FALSE(core->Tools.Picking);
}

TEST_F(MainCoreToolsTest, SwatchPressesCopyOneColourToTheOther) {
    core->PrimaryColour = kRed;
    core->SecondaryColour = kBlue;
    core->Panel4MouseDown(ssLeft);
    core->Panel5MouseDown(ssRight);
    EXPECT_EQ(core->PrimaryColour, kRed);
    EXPECT_EQ(core->SecondaryColour, kBlue);
    core->Panel4MouseDown(ssRight);
    EXPECT_EQ(core->SecondaryColour, kRed);
    core->SecondaryColour = kBlue;
    core->Panel5MouseDown(ssLeft);
    EXPECT_EQ(core->PrimaryColour, kBlue);
}

TEST_F(MainCoreToolsTest, OtherColourDialogRemembersItsOwnColour) {
    core->PrimaryColour = kBlue;
    screen.DialogAnswer = kRed;
    core->Button7Click();
    EXPECT_EQ(screen.DialogInitial, clBlack);  // not the primary colour
    EXPECT_EQ(core->PrimaryColour, kRed);
    EXPECT_EQ(core->SurfaceCanvas.pen.Color, kRed);
    core->PrimaryColour = kBlue;
    screen.DialogAnswer.reset();
    core->Button7Click();
    EXPECT_EQ(screen.DialogInitial, kRed);
    EXPECT_EQ(core->PrimaryColour, kBlue);
}

TEST_F(MainCoreToolsTest, TransparentColourButtonTakesTheCurrentLayersKey) {
    core->Layers.SetTransparentColour(0, RgbColour(9, 8, 7));
    core->CuteButton4Click();
    EXPECT_EQ(core->PrimaryColour, RgbColour(9, 8, 7));
    EXPECT_EQ(screen.SwatchPrimary, RgbColour(9, 8, 7));
}

TEST_F(MainCoreToolsTest, ToolButtonsSetTheirFlagsAndCursor) {
    struct Case {
        void (MainWindowCore::*click)();
        int cursor;
        MainScreen::ToolButton button;
        bool retouch, fill, pick, picking;
    };
    // Every other flag set before the click; picking survives retouch and pick.
    const Case cases[] = {
        {&MainWindowCore::Button4Click, MainScreen::crReta, MainScreen::tbRetouch, true, false,
         false, true},
        {&MainWindowCore::Button5Click, MainScreen::crDraw, MainScreen::tbFill, false, true, false,
         false},
        {&MainWindowCore::Button6Click, MainScreen::crCatch, MainScreen::tbPick, false, true, true,
         true},
        {&MainWindowCore::Button8Click, MainScreen::crText, MainScreen::tbText, false, false, false,
         true},
    };
    for (const Case& c : cases) {
        ToolState& t = core->Tools;
        t.RetouchToolActive = t.FillToolActive = t.PickToolActive = t.Picking = true;
        t.CutArmed = t.CopySized = t.PasteFollowing = true;
        t.TextToolActive = t.TextFloating = c.click != &MainWindowCore::Button8Click;
        (core.get()->*c.click)();
        EXPECT_EQ(screen.Cursor, c.cursor);
        EXPECT_EQ(screen.ActiveToolButton, c.button);
        EXPECT_EQ(t.RetouchToolActive, c.retouch) << c.cursor;
        EXPECT_EQ(t.FillToolActive, c.fill) << c.cursor;
        EXPECT_EQ(t.PickToolActive, c.pick) << c.cursor;
        EXPECT_EQ(t.Picking, c.picking) << c.cursor;
        EXPECT_FALSE(t.CutArmed || t.CopySized || t.PasteFollowing) << c.cursor;
        EXPECT_EQ(t.TextToolActive && t.TextFloating, c.cursor == MainScreen::crText);
    }
}

TEST_F(MainCoreToolsTest, RetouchKindMenuIsOneGroupAndPicksTheDab) {
    // A uniform (240, 100, 10) area and a 25 x 25 dab at (20, 20). Kinds without a soften
    // pass are read at the centre; with one, at the square's corner (8, 8), whose soften sums
    // five pixels outside the square with four that the first step changed.
    struct Case {
        void (MainWindowCore::*click)();
        QPoint probe;
        TColor expected;
    };
    const QPoint centre(20, 20), corner(8, 8);
    const Case cases[] = {
        {&MainWindowCore::R1Click, centre, RgbColour(240, 100, 10)},
        {&MainWindowCore::R2Click, centre, RgbColour(242, 102, 12)},
        {&MainWindowCore::R6Click, corner, RgbColour(2176 / 9, 916 / 9, 106 / 9)},
        {&MainWindowCore::R3Click, centre, RgbColour(238, 98, 8)},
        {&MainWindowCore::R7Click, corner, RgbColour(2144 / 9, 884 / 9, 74 / 9)},
        {&MainWindowCore::R5Click, centre, RgbColour(237, 99, 10)},
        {&MainWindowCore::R5Click, corner, RgbColour(237, 99, 10)},
        {&MainWindowCore::R8Click, corner, RgbColour(2148 / 9, 896 / 9, 10)},
        {&MainWindowCore::R4Click, centre, RgbColour(242, 99, 8)},
    };
    core->Stroke.BrushSize = 25;
    core->Button4Click();
    for (const Case& c : cases) {
        (core.get()->*c.click)();
        int marks = 0;
        for (bool m : {core->Checks.R1, core->Checks.R2, core->Checks.R3, core->Checks.R4,
                       core->Checks.R5, core->Checks.R6, core->Checks.R7, core->Checks.R8})
            marks += m;
        EXPECT_EQ(marks, 1);
        Layer(0).Fill(RgbColour(240, 100, 10));
        core->Image1MouseDown(mbLeft, ssLeft, 20, 20);  // the tint colour: black
        core->Image1MouseMove(ssLeft, 20, 20);
        EXPECT_EQ(core->Image1.Pixel(c.probe.x(), c.probe.y()), c.expected);
        core->Image1MouseUp(mbLeft, 0, 20, 20);
        EXPECT_TRUE(core->Image4 == Layer(0));
        EXPECT_EQ(Layer(0).Pixel(c.probe.x(), c.probe.y()), c.expected) << c.probe.x();
    }
}

TEST_F(MainCoreToolsTest, RetouchClickWithoutMovementChangesNothing) {
    core->Button4Click();
    core->R2Click();
    Layer(0).Fill(RgbColour(50, 60, 70));
    core->Image1MouseDown(mbLeft, ssLeft, 30, 30);
    core->Image1MouseUp(mbLeft, 0, 30, 30);
    core->Image1MouseMove(0, 31, 31);  // the tail left by the press ends at once
    EXPECT_EQ(Layer(0).Pixel(30, 30), RgbColour(50, 60, 70));
    EXPECT_FALSE(core->Stroke.StrokeActive);
}
