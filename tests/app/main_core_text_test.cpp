// The text tool through the paint surface's handlers: the float over the backdrop, the stamp
// with its snapshots, the lines' places and the layer the text goes to.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTemporaryDir>

#include "app/main_core.h"
#include "platform/app_paths.h"
#include "recording_screen.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kBox = RgbColour(0, 200, 0);

class MainCoreTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate({}, dir.path());
        font = QFont(QStringLiteral("IPAPGothic"));
        font.setPixelSize(20);
        core->PrimaryColour = kRed;
        core->SecondaryColour = kBox;
    }
    void TearDown() override {
        core.reset();
        AppPaths::OverrideExecutableDir(QString());
    }
    Bitmap& Layer(int index) { return core->LayerImages()[std::size_t(index)]; }
    void ChooseText(const QStringList& lines) {
        screen.TextLines = lines;
        screen.TextFont = font;
        core->Button8Click();
    }
    // Pixels that are neither white nor black: where the text and its boxes went.
    static QRect Touched(const Bitmap& b) {
        QRect r;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Pixel(x, y) != clWhite && b.Pixel(x, y) != clBlack) r |= QRect(x, y, 1, 1);
        return r;
    }

    QTemporaryDir dir;
    RecordingScreen screen;
    std::unique_ptr<MainWindowCore> core;
    QFont font;
};

}  // namespace

TEST_F(MainCoreTextTest, LinesGoDownOneCharacterHeightFromTheirCorner) {
    // Blank lines of growing width: their boxes alone show where each line starts.
    ChooseText({QStringLiteral(" "), QStringLiteral("   "), QStringLiteral("      ")});
    core->Image1MouseUp(mbLeft, 0, 100, 100);
    QFont drawn = font;
    drawn.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics m(drawn);
    const int widths[] = {m.horizontalAdvance(QStringLiteral(" ")),
                          m.horizontalAdvance(QStringLiteral("   ")),
                          m.horizontalAdvance(QStringLiteral("      "))};
    const Bitmap& layer = Layer(0);
    for (int n = 0; n < 3; ++n) {
        const int top = 92 + 20 * n;
        const int wider = 92 + (n ? widths[n - 1] : 0);  // first column beyond the line above
        EXPECT_EQ(layer.Pixel(92, top), kBox) << n;
        EXPECT_EQ(layer.Pixel(91, top), clWhite) << n;
        EXPECT_EQ(layer.Pixel(wider, top), kBox) << n;
        EXPECT_EQ(layer.Pixel(wider, top - 1), clWhite) << n;
        EXPECT_EQ(layer.Pixel(92 + widths[n], top), clWhite) << n;
    }
    EXPECT_EQ(Touched(layer).bottom(), 132 + m.height() - 1);
}

TEST_F(MainCoreTextTest, FloatRestoresTheBackdropAndStampIsOneUndoStep) {
    Layer(0).Fill(clBlack);
    ChooseText({QStringLiteral("字")});
    core->Image1MouseMove(0, 50, 50);
    EXPECT_EQ(Touched(Layer(0)).topLeft(), QPoint(42, 42));
    core->Image1MouseMove(0, 200, 200);
    EXPECT_EQ(Touched(Layer(0)).topLeft(), QPoint(192, 192));  // the first one is gone

    core->Image3.Fill(kRed);
    core->Image1MouseUp(mbLeft, 0, 300, 300);
    EXPECT_EQ(Touched(Layer(0)).topLeft(), QPoint(292, 292));
    EXPECT_TRUE(Touched(core->Image3).isNull());  // the layer without the text
    EXPECT_TRUE(core->Image4 == Layer(0));
    EXPECT_EQ(core->Tools.UndoPhase, 0);
    EXPECT_FALSE(core->Tools.TextFloating);
    EXPECT_TRUE(core->Tools.TextToolActive);
    EXPECT_EQ(core->Image1.Pixel(292, 292), kBox);
}

TEST_F(MainCoreTextTest, BoxesVanishOnALayerKeyedOnTheSecondaryColour) {
    Layer(0).Fill(clBlack);
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    core->Layers.SelectLayer(1);
    core->Layers.SetTransparentColour(1, kBox);
    core->Timer1Timer(1);
    ChooseText({QStringLiteral("木木")});
    core->Image1MouseUp(mbLeft, 0, 100, 100);
    const QRect box = Touched(Layer(1));
    ASSERT_FALSE(box.isNull());
    int glyph = 0, other = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const TColor c = core->Image1.Pixel(x, y);
            glyph += c == kRed;
            other += c != kRed && c != clBlack;
        }
    EXPECT_GT(glyph, 0);
    EXPECT_EQ(other, 0);
}

TEST_F(MainCoreTextTest, ChoosingTheToolAgainKeepsTheOldTextInTheNewBackdrop) {
    ChooseText({QStringLiteral("A")});
    core->Image1MouseMove(0, 50, 50);
    ChooseText({QStringLiteral("B")});
    core->Image1MouseMove(0, 200, 200);
    EXPECT_EQ(Layer(0).Pixel(42, 42), kBox);
    EXPECT_EQ(Layer(0).Pixel(192, 192), kBox);

    // A cancelled dialog changes nothing: the same text floats on.
    screen.TextDialogConfirms = false;
    screen.TextLines = {QStringLiteral("much longer text")};
    core->Button8Click();
    core->Image1MouseMove(0, 300, 300);
    EXPECT_EQ(core->Text.Style.lines, QStringList{QStringLiteral("B")});
    EXPECT_EQ(Layer(0).Pixel(192, 192), clWhite);
}

TEST_F(MainCoreTextTest, ANewCurrentLayerGetsTheTextAndTheOldOneIsRestored) {
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    Layer(1).Fill(clBlack);
    ChooseText({QStringLiteral("A")});  // floats over layer 0
    core->Image1MouseMove(0, 50, 50);
    EXPECT_EQ(Layer(0).Pixel(42, 42), kBox);

    core->Layers.SelectLayer(1);
    core->Timer1Timer(1);
    core->Image1MouseMove(0, 60, 60);
    EXPECT_TRUE(Touched(Layer(0)).isNull());  // the text left layer 0
    EXPECT_EQ(Layer(1).Pixel(52, 52), kBox);
    EXPECT_EQ(Layer(1).Pixel(10, 10), clBlack);  // layer 1 kept its own pixels
    core->Image1MouseUp(mbLeft, 0, 70, 70);
    EXPECT_EQ(Touched(Layer(1)).topLeft(), QPoint(62, 62));
    EXPECT_TRUE(Touched(Layer(0)).isNull());
}

TEST_F(MainCoreTextTest, NewDropsAFloatingTextAndItsOldBackdrop) {
    Layer(0).Fill(clBlack);
    ChooseText({QStringLiteral("字")});
    core->Image1MouseMove(0, 50, 50);
    core->Document.Modified = false;
    screen.NewDialogResult = std::make_pair(400, 400);  // the old backdrop would fit
    core->N2Click();
    core->Image1MouseMove(0, 60, 60);
    EXPECT_FALSE(core->Tools.TextFloating);
    EXPECT_TRUE(core->Tools.TextToolActive);
    EXPECT_TRUE(Layer(0) == Bitmap(400, 400));  // white, with neither the text nor the black
}

// A deleted layer's index is given to the next new layer; the backdrop taken from the deleted
// one must not reach it, whether a tick ran between the delete and the create or not.
TEST_F(MainCoreTextTest, BackdropOfADeletedLayerNeverReachesTheLayerThatReusesItsIndex) {
    for (const bool tickBetween : {true, false}) {
        SCOPED_TRACE(tickBetween ? "tick between delete and create" : "no tick between");
        SetUp();
        core->Layers.CreateLayer();
        core->Layers.SelectLayer(1);
        core->Timer1Timer(1);
        Layer(1).Fill(clBlack);
        ChooseText({QStringLiteral("A")});
        core->Image1MouseMove(0, 50, 50);
        core->Layers.DeleteLayer();
        if (tickBetween) core->Timer1Timer(1);
        core->Layers.CreateLayer();  // index 1 again
        core->Timer1Timer(1);
        ASSERT_TRUE(core->Layers.InUse(1));
        core->Image1MouseMove(0, 60, 60);
        core->Image1MouseUp(mbLeft, 0, 60, 60);
        EXPECT_TRUE(Layer(1) == Bitmap(400, 400));
        EXPECT_TRUE(Layer(0) == Bitmap(400, 400));
        EXPECT_FALSE(core->Tools.TextFloating);
        TearDown();
    }
}

// The merge writes the picture shown, the floating text at its last place included, into
// layer 0; the float ends there instead of putting the layer's old backdrop back.
TEST_F(MainCoreTextTest, MergeEndsAFloatAndKeepsTheMergedLayers) {
    for (const int floatLayer : {0, 1}) {
        SCOPED_TRACE(floatLayer);
        SetUp();
        core->Layers.CreateLayer();
        core->Layers.SelectLayer(floatLayer);
        core->Timer1Timer(1);
        Layer(1).SetPixel(300, 300, clBlack);
        ChooseText({QStringLiteral("A")});
        core->Image1MouseMove(0, 50, 50);
        core->Layers.Merge();
        core->Timer1Timer(1);
        core->Image1MouseMove(0, 100, 100);
        core->Image1MouseUp(mbLeft, 0, 100, 100);
        EXPECT_EQ(Layer(0).Pixel(300, 300), clBlack);
        EXPECT_EQ(Layer(0).Pixel(42, 42), kBox);     // the text where it last floated
        EXPECT_EQ(Layer(0).Pixel(92, 92), clWhite);  // and nowhere else
        EXPECT_FALSE(core->Tools.TextFloating);
        TearDown();
    }
}
