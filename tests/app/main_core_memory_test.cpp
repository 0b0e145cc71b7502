// Running out of memory through the main window's core: what cannot fit is refused before it
// starts with "ﾒﾓﾘ不足です", what fails half-way is put back, and the program goes on.
#include <gtest/gtest.h>

#include <array>

#include "core_test.h"
#include "document/picture_files.h"
#include "layers/recording_host.h"
#include "support/address_space_limit.h"

namespace {

constexpr TColor kInk = RgbColour(20, 40, 200);
const QString kOutOfMemory = QStringLiteral("ﾒﾓﾘ不足です");
// Room left to the process while memory is short: less than the share kept spare, and less
// than the picture-sized buffers of any of these commands would take.
constexpr std::uint64_t kShortRoom = 24 * kMiB;

class MemoryTest : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        // A plain pen, so that a stroke draws from its first tick.
        MenuChecks& m = core->Checks;
        m.H1 = m.M1 = m.N8 = m.C2 = false;
        m.K1 = true;
        m.K2 = m.K3 = m.K4 = false;
        core->Layers.SetHost(&host);
    }
    void TearDown() override {
        core->Layers.SetHost(nullptr);
        CoreTest::TearDown();
    }
    QString Path(const char* name) { return dir.filePath(QLatin1String(name)); }
    // A block of ink on the current layer, shown, and nothing unsaved.
    void Draw() {
        Bitmap& layer = core->Compositor.CurrentLayerImage();
        for (int y = 10; y < 30; ++y)
            for (int x = 10; x < 50; ++x) layer.SetPixel(x, y, kInk);
        core->Compositor.CompositeRefresh();
        core->Document.Modified = false;
    }
    void NewPicture(int width, int height) {
        screen.NewDialogResult = std::pair{width, height};
        core->N2Click();
    }
    void Press(int x, int y) {
        core->Guarded([&] { core->Image1MouseDown(mbLeft, ssLeft, x, y); });
    }
    void Tick() {
        core->Guarded([&] { core->Timer1Timer(1); });
    }

    RecordingHost host;
};

}  // namespace

TEST_F(MemoryTest, AFileThatCannotFitIsRefusedAndTheDocumentStays) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    // 2000 x 1500 is 9 MB a picture; opening needs the layers, the paint surface and the undo
    // pair.
    const Bitmap white(2000, 1500);
    SaveBmpFile(Path("big.bmp"), white);
    SaveJpegFile(Path("big.jpg"), white, 75, true);
    SavePngFile(Path("big.png"), white);
    SaveLayeredFile(Path("big.tav"), 2000, 1500,
                    {{clWhite, kShownMark, QStringLiteral("a"), &white},
                     {clWhite, kShownMark, QStringLiteral("b"), &white}});
    Draw();
    const Bitmap layer = Layer(0);
    const Bitmap shown = core->Image1;
    const struct {
        const char* name;
        int entry;
        int layers;
    } cases[] = {{"big.bmp", 1, 1}, {"big.jpg", 2, 1}, {"big.tav", 3, 2}, {"big.png", 4, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        screen.OpenDialogResults = {{Path(c.name), c.entry}};
        {
            const AddressSpaceLimit limit(kShortRoom);
            core->Guarded([&] { core->N3Click(); });
        }
        EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
        screen.Errors.clear();
        EXPECT_TRUE(Layer(0) == layer);
        EXPECT_TRUE(core->Image1 == shown);
        EXPECT_EQ(core->Layers.LayerCount(), 1);
        EXPECT_EQ(core->Document.FileName, kUntitled);
        EXPECT_EQ(screen.Caption, QStringLiteral("無題 - Kasumiro"));
        EXPECT_FALSE(core->Document.Modified);
        EXPECT_TRUE(core->Timer1.Enabled());
    }
    // With the memory back, the same file opens.
    screen.OpenDialogResults = {{Path("big.tav"), 3}};
    core->N3Click();
    EXPECT_TRUE(screen.Errors.isEmpty());
    EXPECT_EQ(core->PictureWidth(), 2000);
    EXPECT_EQ(core->Layers.LayerCount(), 2);
}

TEST_F(MemoryTest, AStartUpFileThatCannotFitLeavesTheWhitePicture) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    SaveBmpFile(Path("big.bmp"), Bitmap(2000, 1500));
    MainWindowCore started(screen);
    started.FormCreate({Path("big.bmp")}, dir.path());
    {
        const AddressSpaceLimit limit(kShortRoom);
        started.Timer1.OnTimer(&started.Timer1, 0);
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_EQ(started.PictureWidth(), 400);
    EXPECT_EQ(started.Document.FileName, kUntitled);
    EXPECT_EQ(screen.Caption, QStringLiteral("無題 - Kasumiro"));
}

TEST_F(MemoryTest, NewAndCreateLayerRefuseWhatTheMemoryCannotHold) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    NewPicture(2000, 1500);
    Draw();
    // A picture four times as large, and a second layer (with its below cache) for this one.
    {
        const AddressSpaceLimit limit(kShortRoom);
        NewPicture(4000, 3000);
        core->Layers.CreateLayer();
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_EQ(host.errors, QStringList{kOutOfMemory});
    EXPECT_EQ(core->PictureWidth(), 2000);
    EXPECT_EQ(Layer(0).Pixel(20, 20), kInk);
    EXPECT_EQ(core->Layers.LayerCount(), 1);
    EXPECT_FALSE(core->Layers.LayersChanged);
    // With the memory back, both go through.
    core->Layers.CreateLayer();
    EXPECT_EQ(core->Layers.LayerCount(), 2);
    NewPicture(4000, 3000);
    EXPECT_EQ(core->PictureWidth(), 4000);
}

TEST_F(MemoryTest, AStrokeWithoutMemoryForItsBuffersNeverStarts) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    // Layer 0 filled, as the last edit; a new layer holds no memory until it is drawn on: the
    // first stroke on it needs the layer's own.
    NewPicture(2000, 1500);
    core->Tools.FillToolActive = true;
    core->PrimaryColour = kInk;
    Press(5, 5);
    core->Guarded([&] { core->Image1MouseUp(mbLeft, ssLeft, 5, 5); });
    core->Layers.CreateLayer();
    core->Layers.SelectLayer(1);
    Tick();
    core->Button3Click();
    core->Document.Modified = false;
    const long long ticks = core->TickCount;
    {
        const AddressSpaceLimit limit(kShortRoom);
        Press(100, 100);
        for (int x = 110; x < 200; x += 10) {
            core->Guarded([&] { core->Image1MouseMove(ssLeft, x, 100); });
            Tick();
        }
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_GT(core->TickCount, ticks);
    EXPECT_TRUE(Layer(1).IsLazyWhite());
    EXPECT_FALSE(core->Stroke.TickDrawing);
    EXPECT_FALSE(core->Document.Modified);
    // The fill before it stays, and stays the step undo takes back.
    EXPECT_EQ(Layer(0).Pixel(1000, 1000), kInk);
    EXPECT_EQ(core->Tools.UndoLayer, 0);
    EXPECT_EQ(core->Tools.UndoPhase, 0);
}

TEST_F(MemoryTest, AFilterThatRunsOutHalfWayPutsTheLayerBack) {
    core->StartUpFinished();
    Draw();
    const Bitmap before = Layer(0);
    core->FilterPumpIntervalMs = 0;
    screen.FailNextPump = true;
    core->Guarded([&] { core->I2Click(); });
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_TRUE(Layer(0) == before);
    EXPECT_EQ(core->Image1.Pixel(20, 20), kInk);
    EXPECT_FALSE(core->Document.Modified);
    EXPECT_FALSE(core->FilterRunning());
    EXPECT_TRUE(core->Timer1.Enabled());
    EXPECT_EQ(screen.ProgressPosition, 0);
    // Undo finds nothing to take back.
    core->Button2Click();
    EXPECT_TRUE(Layer(0) == before);
    core->Button2Click();
    EXPECT_TRUE(Layer(0) == before);
}

TEST_F(MemoryTest, AStrokeThatRunsOutInATickIsTakenBackWhole) {
    Draw();
    const Bitmap before = Layer(0);
    Press(100, 100);
    Tick();
    // Memory runs out once the stroke has drawn for a while.
    for (int x = 110; x < 300 && screen.Errors.isEmpty(); x += 10) {
        core->Guarded([&] { core->Image1MouseMove(ssLeft, x, 100); });
        screen.FailNextRepaint = x > 150;
        Tick();
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_TRUE(Layer(0) == before);
    EXPECT_FALSE(core->Stroke.TickDrawing);
    EXPECT_FALSE(core->Document.Modified);
    // The ticks after it draw nothing.
    screen.FailNextRepaint = false;
    core->Guarded([&] { core->Image1MouseMove(0, 320, 120); });
    Tick();
    EXPECT_TRUE(Layer(0) == before);
    EXPECT_EQ(screen.Errors.size(), 1);
}

// With more undo levels, a step that does not fit is refused like any edit, leaving the
// history as it was; old steps that free enough for it give way, oldest first.
TEST_F(MemoryTest, OldUndoStepsGiveWayToAStepThatWouldNotFit) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    NewPicture(2000, 1500);
    core->SetUndoLevels(10);
    core->Compositor.CurrentLayerImage().Fill(kInk);
    // A 1000 x 1000 cut keeps 3 MB of the picture before it.
    const auto cut = [&](int x, int y, int w, int h) {
        core->Guarded([&] {
            core->Cut1Click();
            core->StartCutRectangle(x, y);
            core->DragSelection(x + w, y + h);
            core->FinishCut();
        });
    };
    cut(0, 0, 10, 10);
    const Bitmap small = Layer(0);
    {
        const AddressSpaceLimit limit(kShortRoom);
        cut(0, 0, 1000, 1000);
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_TRUE(Layer(0) == small);
    EXPECT_EQ(core->History.Back(), 1);

    cut(0, 0, 1000, 1000);
    cut(1000, 0, 1000, 1000);
    {
        const AddressSpaceLimit limit(kShortRoom);
        cut(0, 1000, 1000, 500);
    }
    EXPECT_EQ(screen.Errors.size(), 1);
    EXPECT_EQ(core->History.Back(), 2);
    for (int i = 0; i < 3; ++i) core->Button2Click();
    EXPECT_EQ(Layer(0).Pixel(500, 1200), kInk);
    EXPECT_EQ(Layer(0).Pixel(1500, 500), kInk);
    EXPECT_EQ(Layer(0).Pixel(500, 500), clWhite);
}

// Old steps that gave way to an edit stay gone when the edit then fails, and the undo items
// count what is left.
TEST_F(MemoryTest, StepsThatGaveWayToAFailedEditAreGoneFromTheUndoItems) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    NewPicture(2000, 1500);
    core->SetUndoLevels(10);
    core->Compositor.CurrentLayerImage().Fill(kInk);
    // Two fills of the whole layer keep 9 MB each, as much as the new layer needs.
    core->Button5Click();
    for (TColor colour : {clBlack, clWhite}) {
        core->PrimaryColour = colour;
        core->Guarded([&] { core->Image1MouseDown(mbLeft, ssLeft, 5, 5); });
    }
    core->Layers.CreateLayer();
    core->Layers.SelectLayer(1);
    Tick();
    EXPECT_EQ(screen.UndoSteps, (std::array<int, 3>{10, 2, 0}));
    core->FilterPumpIntervalMs = 0;
    screen.FailNextPump = true;
    {
        const AddressSpaceLimit limit(kShortRoom);
        core->Guarded([&] { core->I2Click(); });
    }
    EXPECT_EQ(screen.Errors, QStringList{kOutOfMemory});
    EXPECT_EQ(core->History.Back(), 1);
    EXPECT_EQ(screen.UndoSteps, (std::array<int, 3>{10, 1, 0}));
}

TEST_F(MemoryTest, TheCountMatchesTheBuffersOfAUsedDocument) {
    // Three layers, each filled twice, the middle one current: the layers, the paint surface,
    // the undo pair and the cache below the current layer, 40 x 30 (3600 bytes) each.
    NewPicture(40, 30);
    core->Layers.CreateLayer();
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    core->Tools.FillToolActive = true;
    for (int index : {0, 1, 2}) {
        core->Layers.SelectLayer(index);
        core->Timer1Timer(1);
        for (TColor colour : {kInk, RgbColour(1, 2, 3)}) {
            core->PrimaryColour = colour;
            core->Image1MouseDown(mbLeft, ssLeft, 5, 5);
            core->Image1MouseUp(mbLeft, ssLeft, 5, 5);
        }
    }
    core->Layers.SelectLayer(1);
    core->Timer1Timer(1);
    const DocumentShape shape{40, 30, 3};
    EXPECT_EQ(WindowDocumentBytes(shape), 7u * 3600);
    EXPECT_EQ(core->HeldDocumentBytes(), 7u * 3600);
}
