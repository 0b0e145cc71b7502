// The undo history of more than one level through the main window's core: its limits, its
// steps following their layers, the settings, the change of levels, running out of memory, and
// what it does to a stroke still drawing and a text still floating.
#include <gtest/gtest.h>

#include <QFile>
#include <array>
#include <vector>

#include "core_test.h"

namespace {

constexpr TColor clRed = RgbColour(255, 0, 0);
constexpr TColor clBlue = RgbColour(0, 0, 255);
constexpr TColor kGrey = RgbColour(100, 120, 140);
const QString kOutOfMemory = QStringLiteral("ﾒﾓﾘ不足です");

using Steps = std::array<int, 3>;

class HistoryTest : public CoreTest {
  protected:
    void WriteIni(const QByteArray& text) {
        QFile f(TIniGT().Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray ReadIni() {
        QFile f(TIniGT().Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A new start that reads the settings file as it stands.
    void Restart() {
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate({}, dir.path());
    }
    // The current layer becomes grey without an undo step.
    void Grey() {
        core->Compositor.CurrentLayerImage().Fill(kGrey);
        core->Compositor.CompositeRefresh();
    }
    // A fill of the whole (one-coloured) current layer.
    void FillAll(TColor colour) {
        core->Button5Click();
        core->PrimaryColour = colour;
        core->Image1MouseDown(mbLeft, ssLeft, 5, 5);
        core->Image1MouseUp(mbLeft, 0, 5, 5);
    }
    // A cut of w x h at (x, y) on the current layer through the paint surface.
    void Cut(int x, int y, int w, int h) {
        core->Cut1Click();
        core->Image1MouseDown(mbLeft, ssLeft, x, y);
        core->Image1MouseMove(ssLeft, x + w, y + h);
        core->Image1MouseUp(mbLeft, 0, x + w, y + h);
    }
    void Select(int index) {
        core->Layers.SelectLayer(index);
        core->Timer1Timer(1);
    }
};

}  // namespace

// Two pictures of 400 x 400 (480000 bytes) fit in a megabyte, three do not; with two levels a
// third small step drops the oldest too. What is dropped cannot be undone. A step larger than
// the whole budget stays alone, so that the last operation can always be undone.
TEST_F(HistoryTest, TheBudgetAndTheLevelsDropTheOldestSteps) {
    WriteIni("[undo]\nLevels=10\nMemoryMB=1\n");
    Restart();
    // A layer never drawn on is white without memory: its step would hold nothing.
    Grey();
    std::vector<Bitmap> pictures{Layer(0)};
    for (TColor colour : {clRed, clBlue, kGrey}) {
        FillAll(colour);
        pictures.push_back(Layer(0));
    }
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 2, 0}));
    EXPECT_LE(core->History.Bytes(), 1u << 20);
    for (int k : {2, 1, 1}) {
        core->Button2Click();
        EXPECT_TRUE(Layer(0) == pictures[std::size_t(k)]) << k;
    }
    core->Redo1Click();
    core->Redo1Click();
    EXPECT_TRUE(Layer(0) == pictures[3]);

    core->SetUndoLevels(2);
    for (int x : {10, 60, 110}) Cut(x, 10, 30, 30);
    EXPECT_EQ(screen.UndoSteps, (Steps{2, 2, 0}));
    for (int i = 0; i < 3; ++i) core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(20, 20), clWhite);
    EXPECT_EQ(Layer(0).Pixel(70, 20), kGrey);
    EXPECT_EQ(Layer(0).Pixel(120, 20), kGrey);

    screen.NewDialogResult = std::pair{800, 800};
    core->N2Click();
    Grey();
    FillAll(clRed);
    FillAll(clBlue);
    EXPECT_EQ(screen.UndoSteps, (Steps{2, 1, 0}));
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(700, 700), clRed);
    EXPECT_EQ(core->Image1.Pixel(700, 700), clRed);
}

// A step names its layer's life, not its position: it restores that layer after the layer has
// moved, goes when the layer is deleted, and merge and New leave no step at all.
TEST_F(HistoryTest, StepsFollowTheirLayerThroughMovesAndGoWithIt) {
    core->SetUndoLevels(10);
    Grey();
    core->Layers.CreateLayer();
    Select(1);
    Grey();
    Cut(10, 10, 20, 20);  // layer 1
    Select(0);
    Cut(50, 10, 20, 20);  // layer 0
    Select(1);
    core->Layers.MoveDown();
    core->Timer1Timer(1);
    Cut(90, 10, 20, 20);  // layer 1, now below layer 0
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 3, 0}));

    core->Button2Click();
    EXPECT_EQ(Layer(1).Pixel(95, 15), kGrey);
    core->Layers.DeleteLayer();
    core->Timer1Timer(1);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 1, 0}));
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(55, 15), kGrey);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 0, 1}));

    core->Layers.CreateLayer();
    Select(1);
    Grey();
    Cut(10, 10, 20, 20);
    core->Layers.Merge();
    core->Timer1Timer(1);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 0, 0}));
    Cut(10, 50, 20, 20);
    screen.NewDialogResult = std::pair{300, 200};
    core->N2Click();
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 0, 0}));
}

TEST_F(HistoryTest, TheLevelsAreReadClampedAndWritten) {
    const struct {
        const char* text;
        int levels;
        int megabytes;
    } cases[] = {
        {"", 1, 512},
        {"Levels=5\nMemoryMB=64\n", 5, 64},
        {"Levels= 7 \n", 7, 512},
        {"Levels=0\nMemoryMB=0\n", 1, 1},
        {"Levels=-3\nMemoryMB=-1\n", 1, 1},
        {"Levels=101\n", 100, 512},
        {"Levels=99999999999999999999\nMemoryMB=99999999999\n", 100, 1 << 20},
        {"Levels=abc\nMemoryMB=12MB\n", 1, 512},
        {"Levels=0x10\n", 1, 512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteIni(QByteArray("[undo]\n") + c.text);
        Restart();
        EXPECT_EQ(core->History.Levels(), c.levels);
        EXPECT_EQ(core->History.Budget(), std::uint64_t(c.megabytes) << 20);
        EXPECT_EQ(screen.UndoSteps, (Steps{c.levels, 0, 0}));
    }

    // The dialog shows the number in use; what it gives is kept at once, clamped.
    screen.UndoLevelsAnswer = 20;
    core->UndoLevels1Click();
    EXPECT_EQ(screen.UndoLevelsShownWith, 1);
    EXPECT_TRUE(ReadIni().contains("Levels=20\n"));
    screen.UndoLevelsAnswer = 0;
    core->UndoLevels1Click();
    EXPECT_EQ(screen.UndoLevelsShownWith, 20);
    EXPECT_TRUE(ReadIni().contains("Levels=1\n"));
    screen.UndoLevelsAnswer = 30;
    core->UndoLevels1Click();
    screen.UndoLevelsAnswer.reset();
    core->UndoLevels1Click();
    EXPECT_EQ(core->History.Levels(), 30);
    Restart();
    EXPECT_EQ(core->History.Levels(), 30);
}

// The operation undo would take back now stays undoable across a change of levels, both ways.
// With more levels the after-snapshot holds no memory, also after New.
TEST_F(HistoryTest, ChangingTheLevelsKeepsTheLastOperationUndoable) {
    Grey();
    FillAll(clRed);
    core->SetUndoLevels(5);
    EXPECT_EQ(screen.UndoSteps, (Steps{5, 1, 0}));
    EXPECT_EQ(core->Image4.AllocatedBytes(), 0u);
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(9, 9), kGrey);
    core->Redo1Click();
    EXPECT_EQ(Layer(0).Pixel(9, 9), clRed);

    FillAll(clBlue);
    EXPECT_EQ(core->Image4.AllocatedBytes(), 0u);
    core->SetUndoLevels(1);
    EXPECT_EQ(screen.UndoSteps, (Steps{1, 0, 0}));
    for (TColor expected : {clRed, clBlue, clRed}) {
        core->Button2Click();
        EXPECT_EQ(Layer(0).Pixel(9, 9), expected);
        EXPECT_EQ(core->Image1.Pixel(9, 9), expected);
    }

    core->SetUndoLevels(5);
    screen.NewDialogResult = std::pair{300, 200};
    core->N2Click();
    FillAll(clRed);
    FillAll(clBlue);
    EXPECT_EQ(core->Image4.AllocatedBytes(), 0u);
    EXPECT_EQ(core->Image4.Width(), 300);
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(9, 9), clRed);
}

TEST_F(HistoryTest, AFailedCommandLeavesTheDocumentAndTheHistoryAsTheyWere) {
    core->SetUndoLevels(10);
    Grey();
    Cut(10, 10, 20, 20);
    const Bitmap first = Layer(0);
    Cut(50, 10, 20, 20);
    const Bitmap second = Layer(0);
    core->Button2Click();
    core->FilterPumpIntervalMs = 0;
    screen.FailNextPump = true;
    core->Guarded([&] { core->I2Click(); });
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_TRUE(Layer(0) == first);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 1, 1}));
    core->Redo1Click();
    EXPECT_TRUE(Layer(0) == second);
}

// Undo while a stroke's tail still draws ends the stroke as a step and takes it back. A step
// holds only its rectangle. A floating text is no step: undo takes back the edit before it, and
// the text floats on over the result. A colour pick's press, which opens an edit that changes
// nothing, never takes an undo for a change of its own.
TEST_F(HistoryTest, UndoEndsAStrokeStillDrawingAndKeepsATextFloating) {
    core->SetUndoLevels(10);
    const Bitmap white = Layer(0);
    core->Image1MouseDown(mbLeft, ssLeft, 50, 50);
    for (int x = 54; x <= 150; x += 4) {
        core->Image1MouseMove(ssLeft, x, 50);
        core->Timer1Timer(1);
    }
    core->Image1MouseUp(mbLeft, 0, 150, 50);
    ASSERT_TRUE(core->Stroke.StrokeActive);
    const Bitmap drawn = Layer(0);
    core->Button2Click();
    EXPECT_FALSE(core->Stroke.StrokeActive);
    EXPECT_TRUE(Layer(0) == white);
    EXPECT_TRUE(core->Image1 == white);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 0, 1}));
    EXPECT_LT(core->History.Bytes(), 400u * 400 * 3 / 8);
    core->Redo1Click();
    EXPECT_TRUE(Layer(0) == drawn);

    Grey();
    Cut(10, 10, 20, 20);
    screen.TextLines = {QStringLiteral("字")};
    core->Button8Click();
    core->Image1MouseMove(0, 40, 40);
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(20, 20), kGrey);
    EXPECT_TRUE(core->Tools.TextFloating);
    core->Image1MouseUp(mbLeft, 0, 300, 300);
    int inked = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            if (Layer(0).Pixel(x, y) == kGrey) continue;
            EXPECT_TRUE(x >= 250 && y >= 250) << x << "," << y;
            ++inked;
        }
    EXPECT_GT(inked, 0);

    Grey();
    Cut(10, 10, 20, 20);
    core->Button6Click();
    core->Image1MouseDown(mbLeft, ssLeft, 100, 100);
    core->Image1MouseUp(mbLeft, 0, 100, 100);
    core->Button2Click();
    // The retouch tool's release takes an after-snapshot, also where a press made a band.
    core->Button4Click();
    Cut(50, 10, 20, 20);
    EXPECT_EQ(screen.UndoSteps, (Steps{10, 3, 0}));
    core->Button2Click();
    core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(55, 15), kGrey);
    EXPECT_EQ(Layer(0).Pixel(15, 15), kGrey);
}

// Undo on a layer below the current one, and on a layer above it, composes only the step's
// rectangle: the cache below follows, the keyed layer above still covers it.
TEST_F(HistoryTest, UndoAroundTheCurrentLayerRecomposesTheStepsRectangle) {
    core->SetUndoLevels(10);
    Grey();
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    for (int y = 100; y < 150; ++y)
        for (int x = 100; x < 150; ++x) Layer(1).SetPixel(x, y, clRed);
    core->Compositor.CompositeRefresh();
    Cut(80, 80, 40, 40);  // layer 0, under the red block's corner
    EXPECT_EQ(core->Image1.Pixel(90, 90), clWhite);
    Select(1);
    core->Button2Click();
    EXPECT_EQ(screen.RepaintAreas.back(), QRect(80, 80, 40, 40));
    EXPECT_EQ(core->BelowComposite().Pixel(90, 90), kGrey);
    EXPECT_EQ(core->Image1.Pixel(90, 90), kGrey);
    EXPECT_EQ(core->Image1.Pixel(110, 110), clRed);

    Cut(120, 120, 40, 40);  // layer 1: its block's corner turns white, and so lets grey through
    Select(0);
    EXPECT_EQ(core->Image1.Pixel(130, 130), kGrey);
    core->Button2Click();
    EXPECT_EQ(core->Image1.Pixel(130, 130), clRed);
    EXPECT_EQ(core->Image1.Pixel(155, 155), kGrey);
    EXPECT_EQ(Layer(1).Pixel(155, 155), clWhite);
}
