// Undo, clear, the rubber band, cut, copy and paste through the main window's core.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "app/main_core.h"
#include "core_test.h"
#include "platform/app_paths.h"

namespace {

constexpr TColor clRed = RgbColour(255, 0, 0);
constexpr TColor clBlue = RgbColour(0, 0, 255);

class MainCoreEditTest : public CoreTest {
  protected:
    // A second layer on top of layer 0, made current.
    void AddLayerOnTopAndSelectIt() {
        core->Layers.CreateLayer();
        core->Timer1Timer(1);
        core->Layers.SelectLayer(1);
        core->Timer1Timer(1);
    }

    // Arms, presses at (x, y), drags to (x + w, y + h) and releases.
    void Select(bool cut, int x, int y, int w, int h) {
        cut ? core->Cut1Click() : core->Copy1Click();
        cut ? core->StartCutRectangle(x, y) : core->StartCopyRectangle(x, y);
        core->DragSelection(x + w, y + h);
        cut ? core->FinishCut() : core->FinishCopy();
    }

    // The clipboard holds a width x 3 picture whose column x has blue x % 256.
    void ClipboardStripes(int width) {
        screen.Clipboard.MakeWhite(width, 3);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < 3; ++y) screen.Clipboard.SetPixel(x, y, RgbColour(0, 0, x % 256));
        screen.ClipboardHolds = true;
    }
};

// ---- Undo ----

TEST_F(MainCoreEditTest, UndoBeforeAnyEditRestoresTheStartUpSnapshot) {
    Layer(0).SetPixel(5, 5, clBlack);
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(5, 5), clWhite);
    EXPECT_EQ(core->Image1.Pixel(5, 5), clWhite);
    EXPECT_EQ(core->Tools.UndoPhase, 1);
}

TEST_F(MainCoreEditTest, UndoTwiceRedoesAndLeavesModifiedAlone) {
    Layer(0).Fill(clBlack);
    core->Button1Click();  // clear to white
    core->Document.Modified = false;
    const TColor expected[] = {clBlack, clWhite, clBlack};
    for (TColor colour : expected) {
        core->Button2Click();
        EXPECT_EQ(Layer(0).Pixel(7, 7), colour);
        EXPECT_EQ(core->Image1.Pixel(7, 7), colour);
    }
    EXPECT_FALSE(core->Document.Modified);
}

TEST_F(MainCoreEditTest, UndoAfterSwitchingLayersRestoresTheUndoLayerAndRebuildsAroundCurrent) {
    AddLayerOnTopAndSelectIt();
    core->Layers.SelectLayer(0);
    core->Timer1Timer(1);
    Layer(0).Fill(clBlack);
    core->Button1Click();  // layer 0 white again
    core->Layers.SelectLayer(1);
    core->Timer1Timer(1);
    Layer(1).SetPixel(3, 3, clRed);

    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(50, 50), clBlack);
    EXPECT_EQ(Layer(1).Pixel(3, 3), clRed);
    EXPECT_EQ(core->CurrentLayerPosition(), 1);
    EXPECT_TRUE(core->LayersBelowCurrent());
    EXPECT_FALSE(core->LayersAboveCurrent());
    EXPECT_EQ(core->BelowComposite().Pixel(50, 50), clBlack);
    EXPECT_EQ(core->Image1.Pixel(50, 50), clBlack);  // layer 1 is keyed on white
    EXPECT_EQ(core->Image1.Pixel(3, 3), clRed);
}

TEST_F(MainCoreEditTest, UndoAfterDeletingTheUndoLayerDoesNothing) {
    AddLayerOnTopAndSelectIt();
    Layer(1).Fill(clBlack);
    core->Button1Click();
    core->Layers.DeleteLayer();  // layer 1, UndoLayer, leaves the order at once
    const int repaints = screen.Repaints;
    core->Button2Click();
    EXPECT_EQ(core->Tools.UndoPhase, 0);
    EXPECT_EQ(Layer(1).Pixel(0, 0), clWhite);
    EXPECT_EQ(screen.Repaints, repaints);
}

// Every kind of operation is one undo step of its own. With one level, Undo brings back the
// layer as the operation before it left it, and Undo again the operation's result. With ten,
// three operations of a kind are taken back one at a time to the picture before them and
// brought back one at a time to the last; one that changes nothing is no step. The operation
// before is a fill, so an operation that took no before-snapshot of its own would undo the fill
// too. Neither undo nor redo touches Modified.
TEST_F(MainCoreEditTest, UndoAfterEveryKindOfOperationRestoresTheLayerAndRedoesIt) {
    // i: which of the repeats, so that a repeat changes the picture again.
    using Operation = std::function<void(MainWindowCore&, int)>;
    const auto drag = [](MainWindowCore& c, int x0, int x1, int y) {
        c.Image1MouseDown(mbLeft, ssLeft, x0, y);
        for (int x = x0 + 4; x <= x1; x += 4) {
            c.Image1MouseMove(ssLeft, x, y);
            c.Timer1Timer(1);
        }
        c.Image1MouseUp(mbLeft, 0, x1, y);
    };
    const auto filter = [](void (MainWindowCore::*handler)()) {
        return [handler](MainWindowCore& c, int) { (c.*handler)(); };
    };
    const struct {
        const char* name;
        Operation run;
    } operations[] = {
        {"stroke",
         [&](MainWindowCore& c, int i) {
             c.Button3Click();
             drag(c, 50, 150, 200 + 40 * i);
             for (int k = 0; k < 60 && c.Stroke.StrokeActive; ++k) {
                 c.Image1MouseMove(0, 151 + k, 200 + 40 * i);
                 c.Timer1Timer(1);
             }
         }},
        {"pen stroke",
         [&](MainWindowCore& c, int i) {
             c.Button3Click();
             c.Checks.H1 = false;
             c.Checks.N8 = c.Checks.C2 = true;
             drag(c, 60, 200, 150 + 50 * i);
             for (int k = 0; k < 60 && c.Stroke.StrokeActive; ++k) {
                 c.Image1MouseMove(0, 201 + k, 150 + 50 * i);
                 c.Timer1Timer(1);
             }
         }},
        {"retouch",
         [&](MainWindowCore& c, int i) {
             c.Button4Click();
             c.Image1MouseDown(mbLeft, ssLeft, 30 + 3 * i, 30);
             c.Image1MouseMove(ssLeft, 40 + 3 * i, 40);
             c.Image1MouseUp(mbLeft, 0, 40 + 3 * i, 40);
         }},
        {"fill",
         [](MainWindowCore& c, int i) {
             c.Button5Click();
             c.PrimaryColour = i == 1 ? clRed : clBlue;
             c.Image1MouseDown(mbLeft, ssLeft, 35, 35);
             c.Image1MouseUp(mbLeft, 0, 35, 35);
         }},
        {"text stamp",
         [this](MainWindowCore& c, int i) {
             screen.TextLines = {QStringLiteral("字")};
             c.Button8Click();
             c.Image1MouseMove(0, 60, 60);
             c.Image1MouseUp(mbLeft, 0, 100 + 40 * i, 100);
         }},
        {"soft", filter(&MainWindowCore::I1Click)},
        {"invert", filter(&MainWindowCore::I2Click)},
        {"contrast", filter(&MainWindowCore::I3Click)},
        {"gamma plus", filter(&MainWindowCore::I4Click)},
        {"gamma minus", filter(&MainWindowCore::I5Click)},
        {"colour correction", filter(&MainWindowCore::I6Click)},
        {"value extraction", filter(&MainWindowCore::I7Click)},
        {"custom kernel", filter(&MainWindowCore::I8Click)},
        {"clear", [](MainWindowCore& c, int) { c.Button1Click(); }},
        {"cut",
         [](MainWindowCore& c, int i) {
             c.Cut1Click();
             c.Image1MouseDown(mbLeft, ssLeft, 20 + 10 * i, 20);
             c.Image1MouseMove(ssLeft, 60 + 10 * i, 50);
             c.Image1MouseUp(mbLeft, 0, 60 + 10 * i, 50);
         }},
        {"paste drop",
         [this](MainWindowCore& c, int i) {
             ClipboardStripes(50);
             c.Paste1Click();
             c.MoveFloatingPaste(100 + 60 * i, 100);
             c.Image7MouseDown(mbLeft, ssLeft, 0, 0);
         }},
    };
    for (const auto& op : operations) {
        for (const int levels : {1, 10}) {
            SCOPED_TRACE(std::string(op.name) + ", levels " + std::to_string(levels));
            SetUp();
            core->SetUndoLevels(levels);
            screen.Offsets = {50, 0, -50};
            // Grey with a black square; the fill before turns the grey green.
            Layer(0).Fill(RgbColour(100, 120, 140));
            for (int y = 30; y < 40; ++y)
                for (int x = 30; x < 40; ++x) Layer(0).SetPixel(x, y, clBlack);
            core->Button5Click();
            core->PrimaryColour = RgbColour(0, 160, 0);
            core->Image1MouseDown(mbLeft, ssLeft, 300, 300);
            core->Image1MouseUp(mbLeft, 0, 300, 300);
            core->PrimaryColour = clBlack;
            std::vector<Bitmap> pictures{Layer(0)};
            EXPECT_EQ(pictures[0].Pixel(300, 300), RgbColour(0, 160, 0));

            const int repeats = levels == 1 ? 1 : 3;
            for (int i = 0; i < repeats; ++i) {
                op.run(*core, i);
                if (Layer(0) != pictures.back()) pictures.push_back(Layer(0));
            }
            ASSERT_GT(pictures.size(), 1u) << "the operation changes the layer";
            core->Document.Modified = false;
            const int steps = int(pictures.size()) - 1;
            if (levels == 1) {
                core->Button2Click();
                EXPECT_TRUE(Layer(0) == pictures[0]);
                EXPECT_TRUE(core->Image1 == pictures[0]);
                core->Button2Click();
                EXPECT_TRUE(Layer(0) == pictures[1]);
                EXPECT_TRUE(core->Image1 == pictures[1]);
            } else {
                // The fill before is a step too.
                EXPECT_EQ(screen.UndoSteps, (std::array<int, 3>{10, steps + 1, 0}));
                for (int k = steps - 1; k >= 0; --k) {
                    core->Button2Click();
                    EXPECT_TRUE(Layer(0) == pictures[std::size_t(k)]) << "undo to " << k;
                    EXPECT_TRUE(core->Image1 == pictures[std::size_t(k)]) << "undo to " << k;
                }
                EXPECT_EQ(screen.UndoSteps, (std::array<int, 3>{10, 1, steps}));
                for (int k = 1; k <= steps; ++k) {
                    core->Redo1Click();
                    EXPECT_TRUE(Layer(0) == pictures[std::size_t(k)]) << "redo to " << k;
                    EXPECT_TRUE(core->Image1 == pictures[std::size_t(k)]) << "redo to " << k;
                }
                core->Redo1Click();
                EXPECT_TRUE(Layer(0) == pictures.back());
            }
            EXPECT_FALSE(core->Document.Modified);
            TearDown();
        }
    }
    SetUp();
}

// ---- Clear ----

TEST_F(MainCoreEditTest, ClearFillsEvenAHiddenLayerWithItsTransparentColour) {
    core->Layers.SetTransparentColour(0, clBlue);
    core->Layers.ToggleVisibility(0);
    Layer(0).SetPixel(1, 1, clRed);
    core->Button1Click();
    EXPECT_EQ(Layer(0).Pixel(1, 1), clBlue);
    EXPECT_EQ(Layer(0).Pixel(399, 399), clBlue);
    EXPECT_EQ(core->Image3.Pixel(1, 1), clRed);
    EXPECT_EQ(core->Image4.Pixel(1, 1), clBlue);
    EXPECT_TRUE(core->Document.Modified);
}

// ---- The rubber band ----

TEST_F(MainCoreEditTest, BandGrowsOnlyRightAndDownWhileTheStatusFollowsThePointer) {
    struct Step {
        int x, y;
        int width, height;
        const char* status;
    };
    const Step steps[] = {
        {30, 50, 20, 30, "位置( 10 , 20 ) -> ( 30 , 50 ) = ( 20 x 30 )"},
        {5, 60, 20, 30, "位置( 5 , 60 )"},    // left of the corner
        {40, 15, 20, 30, "位置( 40 , 15 )"},  // above it
        {12, 21, 2, 1, "位置( 10 , 20 ) -> ( 12 , 21 ) = ( 2 x 1 )"},
        {10, 20, 0, 0, "位置( 10 , 20 ) -> ( 10 , 20 ) = ( 0 x 0 )"},
    };
    core->Cut1Click();
    EXPECT_EQ(screen.Cursor, MainScreen::crCross);
    core->StartCutRectangle(10, 20);
    EXPECT_TRUE(core->Tools.CutSelecting);
    EXPECT_FALSE(core->Tools.CutArmed);
    for (const Step& s : steps) {
        core->DragSelection(s.x, s.y);
        EXPECT_EQ(screen.SelShapeBounds, QRect(10, 20, s.width, s.height)) << s.x << "," << s.y;
        EXPECT_TRUE(screen.SelShapeVisible);
        EXPECT_EQ(screen.Status[0], QString::fromUtf8(s.status));
    }
}

TEST_F(MainCoreEditTest, ReleaseWithoutMovementKeepsTheBandSelecting) {
    core->Copy1Click();
    core->StartCopyRectangle(10, 20);
    core->FinishCopy();
    EXPECT_TRUE(core->Tools.CopySelecting);
    EXPECT_TRUE(screen.SelShapeVisible);
    EXPECT_EQ(screen.ClipboardPuts, 0);
    core->DragSelection(13, 22);  // a later move without a button sizes it
    core->FinishCopy();
    EXPECT_FALSE(core->Tools.CopySelecting);
    EXPECT_EQ(screen.Clipboard.Width(), 3);
    EXPECT_EQ(screen.Clipboard.Height(), 2);
}

// ---- Cut and copy ----

TEST_F(MainCoreEditTest, CutLeavesAWhiteOpaqueHoleWhateverTheTransparentColour) {
    core->Layers.SetTransparentColour(0, clRed);
    Layer(0).Fill(clBlack);
    screen.Cursor = MainScreen::crPen;
    Select(true, 10, 10, 4, 3);

    EXPECT_EQ(screen.Clipboard.Width(), 4);
    EXPECT_EQ(screen.Clipboard.Height(), 3);
    EXPECT_EQ(screen.Clipboard.Pixel(3, 2), clBlack);
    const struct {
        int x, y;
        TColor colour;
    } pixels[] = {{10, 10, clWhite}, {13, 12, clWhite}, {14, 12, clBlack}, {13, 13, clBlack}};
    for (const auto& p : pixels) {
        EXPECT_EQ(Layer(0).Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
        EXPECT_EQ(core->Image1.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    EXPECT_EQ(core->Image3.Pixel(10, 10), clBlack);
    EXPECT_EQ(core->Image4.Pixel(10, 10), clWhite);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
    EXPECT_TRUE(core->Document.Modified);
    EXPECT_EQ(screen.Cursor, MainScreen::crPen);
    EXPECT_FALSE(screen.SelShapeVisible);
    EXPECT_EQ(screen.SelShapeBounds, QRect(0, 0, 0, 0));
}

TEST_F(MainCoreEditTest, CopySetsModifiedWithoutTouchingPixelsOrSnapshots) {
    Layer(0).SetPixel(10, 10, clRed);
    core->Tools.UndoPhase = 1;
    Select(false, 10, 10, 2, 2);
    EXPECT_TRUE(core->Document.Modified);
    EXPECT_EQ(screen.Clipboard.Pixel(0, 0), clRed);
    EXPECT_EQ(screen.Clipboard.Pixel(1, 1), clWhite);
    EXPECT_EQ(Layer(0).Pixel(10, 10), clRed);
    EXPECT_EQ(core->Tools.UndoPhase, 1);
    EXPECT_EQ(core->Image3.Pixel(10, 10), clWhite);
}

TEST_F(MainCoreEditTest, BandWithoutAreaOrOffThePicturePutsNothingOnTheClipboard) {
    const struct {
        bool cut;
        int x, y, w, h;
        int puts, clipWidth;
    } cases[] = {
        {false, 10, 10, 0, 5, 0, 0},    // no width
        {true, 10, 10, 5, 0, 0, 0},     // no height
        {false, 395, 10, 20, 2, 1, 5},  // cut back to the picture
    };
    for (const auto& c : cases) {
        screen.ClipboardPuts = 0;
        Select(c.cut, c.x, c.y, c.w, c.h);
        EXPECT_EQ(screen.ClipboardPuts, c.puts) << c.x;
        if (c.puts) {
            EXPECT_EQ(screen.Clipboard.Width(), c.clipWidth);
        }
        EXPECT_FALSE(core->Tools.CutSelecting || core->Tools.CopySelecting);
    }
}

// ---- Paste ----

TEST_F(MainCoreEditTest, PasteFollowsThePointerCentredAndIsClippedOnTheDrop) {
    ClipboardStripes(500);
    core->Paste1Click();
    EXPECT_TRUE(core->Tools.PasteFollowing && core->Tools.PastePending);
    EXPECT_TRUE(screen.FloatingVisible);
    core->MoveFloatingPaste(200, 100);
    // Half of 500 is 250; half of 3 is 1.5, rounded to 2.
    EXPECT_EQ(screen.FloatingPlace, QPoint(-50, 98));
    EXPECT_EQ(screen.Status[0], QStringLiteral("位置( 200 , 100 )"));

    core->Image7MouseDown(mbRight, ssRight, 0, 0);
    EXPECT_EQ(Layer(0).Pixel(0, 98), RgbColour(0, 0, 50));
    EXPECT_EQ(Layer(0).Pixel(399, 100), RgbColour(0, 0, 449 % 256));
    EXPECT_EQ(Layer(0).Pixel(0, 97), clWhite);
    EXPECT_EQ(Layer(0).Pixel(0, 101), clWhite);
    EXPECT_EQ(core->Image1.Pixel(0, 98), RgbColour(0, 0, 50));
    EXPECT_FALSE(screen.FloatingVisible);
    EXPECT_FALSE(core->Tools.PastePending);
    EXPECT_EQ(core->Image3.Pixel(0, 98), clWhite);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
}

TEST_F(MainCoreEditTest, MovesOverTheFloatingPictureAreInPictureCoordinates) {
    ClipboardStripes(5);
    core->Paste1Click();
    core->MoveFloatingPaste(100, 100);  // 2.5 and 1.5 both round to 2: left 98, top 98
    core->Image7MouseMove(0, 4, 2);     // the pointer at (102, 100)
    EXPECT_EQ(core->Stroke.PointerX, 102);
    EXPECT_EQ(core->Stroke.PointerY, 100);
    EXPECT_EQ(screen.FloatingPlace, QPoint(100, 98));
}

TEST_F(MainCoreEditTest, PastingTwiceDropsTheFirstPictureWhereItFloats) {
    ClipboardStripes(5);
    core->Paste1Click();
    core->MoveFloatingPaste(20, 30);  // left 18, top 28
    core->Paste1Click();
    EXPECT_EQ(Layer(0).Pixel(18, 28), RgbColour(0, 0, 0));
    EXPECT_EQ(Layer(0).Pixel(22, 30), RgbColour(0, 0, 4));
    EXPECT_EQ(Layer(0).Pixel(23, 30), clWhite);
    EXPECT_EQ(Layer(0).Pixel(22, 31), clWhite);
    EXPECT_TRUE(core->Tools.PastePending);
    EXPECT_TRUE(screen.FloatingVisible);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
}

TEST_F(MainCoreEditTest, APasteAnotherToolCancelledGoesWithoutADrop) {
    ClipboardStripes(5);
    core->Paste1Click();
    core->Tools.PasteFollowing = core->Tools.PastePending = false;  // as the retouch button does
    core->Image7MouseDown(mbLeft, ssLeft, 1, 1);
    EXPECT_FALSE(screen.FloatingVisible);
    EXPECT_EQ(Layer(0).Pixel(1, 1), clWhite);
    EXPECT_FALSE(core->Document.Modified);
}

}  // namespace

namespace {

// ---- Through the paint surface's handlers ----

TEST_F(MainCoreEditTest, CutThroughThePaintSurfaceWhitensWithoutAStroke) {
    Layer(0).Fill(clBlack);
    core->Cut1Click();
    core->Image1MouseDown(mbLeft, ssLeft, 10, 10);
    core->Image1MouseMove(ssLeft, 14, 13);
    core->Timer1Timer(1);
    core->Image1MouseUp(mbLeft, 0, 14, 13);
    EXPECT_FALSE(core->Stroke.StrokeActive);
    EXPECT_EQ(Layer(0).Pixel(13, 12), clWhite);
    EXPECT_EQ(Layer(0).Pixel(14, 12), clBlack);
    EXPECT_EQ(screen.Clipboard.Width(), 4);
    core->Button2Click();  // undo brings the cut pixels back
    EXPECT_EQ(Layer(0).Pixel(13, 12), clBlack);
}

TEST_F(MainCoreEditTest, StrokeUndoneAndRedone) {
    core->Image1MouseDown(mbLeft, ssLeft, 50, 50);
    for (int x = 52; x <= 120; x += 4) {
        core->Image1MouseMove(ssLeft, x, 50);
        core->Timer1Timer(1);
    }
    core->Image1MouseUp(mbLeft, 0, 120, 50);
    for (int i = 0; i < 60 && core->Stroke.StrokeActive; ++i) {
        core->Image1MouseMove(0, 121 + i, 50);
        core->Timer1Timer(1);
    }
    ASSERT_FALSE(core->Stroke.StrokeActive);
    const Bitmap drawn = Layer(0);
    ASSERT_NE(drawn, Bitmap(400, 400));

    core->Button2Click();
    EXPECT_EQ(Layer(0), Bitmap(400, 400));
    EXPECT_EQ(core->Image1, Bitmap(400, 400));
    core->Button2Click();
    EXPECT_EQ(Layer(0), drawn);
    EXPECT_EQ(core->Image1, drawn);
}

}  // namespace
