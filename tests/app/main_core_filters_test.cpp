// The filter commands' frame: one undo step, hidden layers, refused dialogs and values, and
// what may happen while a filter lets the interface catch up.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "app/main_core.h"
#include "platform/app_paths.h"
#include "recording_screen.h"

namespace {

// Runs a hook inside the filter's message pump, as the event loop would run a command.
class PumpingScreen : public RecordingScreen {
  public:
    void ProcessMessages() override {
        RecordingScreen::ProcessMessages();
        if (DuringPump) DuringPump();
    }
    std::function<void()> DuringPump;
};

using Handler = void (MainWindowCore::*)();
const Handler kFilters[8] = {&MainWindowCore::I1Click, &MainWindowCore::I2Click,
                             &MainWindowCore::I3Click, &MainWindowCore::I4Click,
                             &MainWindowCore::I5Click, &MainWindowCore::I6Click,
                             &MainWindowCore::I7Click, &MainWindowCore::I8Click};

class MainCoreFiltersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate({}, dir.path());
        core->StartUpFinished();
        core->FilterPumpIntervalMs = 0;
        screen.Offsets = {50, 0, -50};
        // A grey picture with a black square: every filter changes it somewhere.
        Layer().Fill(RgbColour(100, 120, 140));
        for (int y = 30; y < 40; ++y)
            for (int x = 30; x < 40; ++x) Layer().SetPixel(x, y, clBlack);
        Layer().SetPixel(5, 5, RgbColour(200, 10, 10));
        earlier.MakeWhite(Layer().Width(), Layer().Height());
        earlier.SetPixel(1, 1, clBlack);
        core->Image3.CopyFrom(earlier);
        core->Image4.CopyFrom(earlier);
    }
    void TearDown() override {
        core.reset();
        AppPaths::OverrideExecutableDir(QString());
    }
    Bitmap& Layer() { return core->LayerImages()[0]; }
    void ExpectUntouched(const Bitmap& before) {
        EXPECT_TRUE(Layer() == before);
        EXPECT_TRUE(core->Image3 == earlier);
        EXPECT_TRUE(core->Image4 == earlier);
        EXPECT_FALSE(core->Document.Modified);
    }

    QTemporaryDir dir;
    PumpingScreen screen;
    std::unique_ptr<MainWindowCore> core;
    Bitmap earlier;
};

TEST_F(MainCoreFiltersTest, EveryFilterIsOneUndoStepWithItsBorder) {
    int i = 0;
    for (const Handler filter : kFilters) {
        SetUp();
        const Bitmap before(Layer());
        (core.get()->*filter)();
        EXPECT_TRUE(core->Image3 == before) << "I" << i + 1;
        EXPECT_TRUE(core->Image4 == Layer()) << "I" << i + 1;
        EXPECT_FALSE(Layer() == before) << "I" << i + 1;
        EXPECT_EQ(core->Tools.UndoPhase, 0);
        EXPECT_TRUE(core->Document.Modified);
        EXPECT_TRUE(core->Image1 == Layer()) << "the picture shows the result";
        EXPECT_EQ(screen.ProgressPosition, 0);
        EXPECT_GT(screen.MessagePumps, 0);
        EXPECT_TRUE(core->Timer1.Enabled());
        TearDown();
        ++i;
    }
    SetUp();
}

TEST_F(MainCoreFiltersTest, UndoBringsBackThePictureBeforeEveryFilterWithItsBorder) {
    int i = 0;
    for (const Handler filter : kFilters) {
        SetUp();
        const Bitmap before(Layer());
        (core.get()->*filter)();
        core->Undo1Click();
        EXPECT_TRUE(Layer() == before) << "I" << i + 1;
        EXPECT_EQ(Layer().Pixel(Layer().Width() - 1, Layer().Height() - 1),
                  RgbColour(100, 120, 140))
            << "I" << i + 1 << ": the corner the 3 x 3 filters whiten";
        EXPECT_TRUE(core->Image1 == before) << "I" << i + 1 << ": the picture shows it";
        TearDown();
        ++i;
    }
    SetUp();
}

TEST_F(MainCoreFiltersTest, BlockFiltersLeaveAWhiteBorderThatTheSnapshotHasNot) {
    const Bitmap before(Layer());
    core->I1Click();
    const int w = Layer().Width(), h = Layer().Height();
    EXPECT_EQ(Layer().Pixel(w - 1, 0), clWhite);
    EXPECT_EQ(Layer().Pixel(0, h - 2), clWhite);
    EXPECT_EQ(core->Image3.Pixel(w - 1, 0), RgbColour(100, 120, 140));
    EXPECT_EQ(core->Image3.Pixel(0, h - 2), RgbColour(100, 120, 140));
}

TEST_F(MainCoreFiltersTest, HiddenLayerKeepsPixelsAndSnapshots) {
    core->Layers.ToggleVisibility(0);
    const Bitmap before(Layer());
    for (Handler filter : kFilters) (core.get()->*filter)();
    ExpectUntouched(before);
    EXPECT_EQ(screen.FilterDialogs, 0);
}

TEST_F(MainCoreFiltersTest, GivingUpInTheDialogKeepsPixelsAndSnapshots) {
    const Bitmap before(Layer());
    // A value that is no number: the runtime's message, then nothing.
    screen.Custom.Blue = QStringLiteral("x1");
    core->I8Click();
    EXPECT_EQ(screen.Errors, QStringList{QStringLiteral("'x1' は整数ではありません")});
    ExpectUntouched(before);
    screen.Custom.Blue = QStringLiteral("1");
    screen.Custom.Cells[0][0] = QStringLiteral("-");
    core->I8Click();
    EXPECT_EQ(screen.Errors.last(), QStringLiteral("'-' は浮動小数点数ではありません"));
    ExpectUntouched(before);
    // A dialog closed without its button.
    screen.FilterDialogsAccept = false;
    for (Handler filter : {&MainWindowCore::I3Click, &MainWindowCore::I6Click,
                           &MainWindowCore::I7Click, &MainWindowCore::I8Click})
        (core.get()->*filter)();
    ExpectUntouched(before);
    EXPECT_EQ(screen.FilterDialogs, 6);
}

TEST_F(MainCoreFiltersTest, WhileAFilterRunsNothingElseTouchesThePictures) {
    const Bitmap before(Layer());
    int pumps = 0;
    screen.DuringPump = [&] {
        if (pumps++ > 0) return;
        EXPECT_TRUE(core->FilterRunning());
        EXPECT_FALSE(core->Timer1.Enabled()) << "no tick draws into the layer";
        core->I2Click();  // refused: one filter at a time
        // Refused too: a file or a picture dropped on the window.
        core->DropFiles({dir.filePath(QStringLiteral("missing.png"))});
        core->DropPicture(Bitmap(2, 2));
        core->CloseAfterFilter();
        EXPECT_EQ(screen.CloseRequests, 0);
    };
    core->I2Click();
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(Layer().Pixel(35, 35), clWhite) << "inverted once";
    EXPECT_TRUE(core->Image3 == before);
    EXPECT_FALSE(core->FilterRunning());
    EXPECT_TRUE(core->Timer1.Enabled());
    EXPECT_EQ(screen.CloseRequests, 1) << "the close waited for the filter";
    EXPECT_TRUE(screen.Errors.isEmpty());
    EXPECT_FALSE(core->Tools.PastePending);
}

}  // namespace
