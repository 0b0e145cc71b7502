// Recorded strokes replayed through the core: their pixels stay what they were when recorded,
// and resting the idle loop whenever a tick would change nothing gives the same pixels.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include "app/headless_replay.h"

namespace {

QString StrokeFile(const char* name) {
    return QStringLiteral(KASUMIRO_STROKES_DIR "/%1.txt").arg(QLatin1String(name));
}

// Collects the areas the core asks to repaint; a null rectangle is the whole picture.
class RepaintCollector : public NullScreen {
  public:
    void RepaintPaintSurface(const QRect& area) override {
        whole = whole || area.isNull();
        areas.push_back(area);
    }
    bool Covers(int x, int y) const {
        if (whole) return true;
        for (const QRect& r : areas)
            if (r.contains(x, y)) return true;
        return false;
    }
    std::vector<QRect> areas;
    bool whole = false;
};

// The pixels of after that differ from before and lie outside every repainted area.
int UnrepaintedChanges(const Bitmap& before, const Bitmap& after, const RepaintCollector& c) {
    int missed = 0;
    for (int y = 0; y < after.Height(); ++y) {
        if (std::memcmp(before.ConstScanLine(y), after.ConstScanLine(y),
                        std::size_t(after.Width()) * 3) == 0)
            continue;
        for (int x = 0; x < after.Width(); ++x)
            if (before.Pixel(x, y) != after.Pixel(x, y) && !c.Covers(x, y)) ++missed;
    }
    return missed;
}

struct Recorded {
    const char* name;
    const char* checksum;
};

// The mouse's strokes, and a pen's: light to heavy to light on the plain line, the eraser end,
// and the bristles.
const Recorded kMouseStrokes[] = {
    {"slow", "b9e4e82a5bf5c06f"},
    {"fast", "5a92510d92f73acd"},
    {"dry_blur", "5ae2f9b223a2f024"},
    {"right", "47ddebf0ec9982b4"},
};
const Recorded kPenStrokes[] = {
    {"pen_light_heavy", "79910afd867f6fc3"},
    {"pen_eraser", "68dc3d49011aabc3"},
    {"pen_bristle", "e045f750791f2888"},
};

StrokeRecording LoadStroke(const char* name) {
    StrokeRecording recording;
    QString error;
    EXPECT_TRUE(StrokeRecording::Load(StrokeFile(name), &recording, &error)) << qPrintable(error);
    return recording;
}

QString ReplayedChecksum(const StrokeRecording& recording) {
    HeadlessReplay replay(recording);
    replay.Run();
    EXPECT_FALSE(replay.Core().Stroke.StrokeActive);
    return PixelChecksum(replay.CurrentLayer());
}

}  // namespace

// Any change to the brush's output shows here. A deliberate change re-records the sums with
// kasumiro_replay.
TEST(StrokeReplay, RecordedStrokesKeepTheirPixels) {
    std::vector<Recorded> cases(std::begin(kMouseStrokes), std::end(kMouseStrokes));
    cases.insert(cases.end(), std::begin(kPenStrokes), std::end(kPenStrokes));
    for (const Recorded& c : cases) {
        SCOPED_TRACE(c.name);
        StrokeRecording recording;
        QString error;
        ASSERT_TRUE(StrokeRecording::Load(StrokeFile(c.name), &recording, &error))
            << qPrintable(error);
        QString sums[2];
        for (bool rest : {false, true}) {
            HeadlessReplay replay(recording);
            const ReplayResult result = replay.Run(rest);
            EXPECT_EQ(result.ticksRested > 0, rest);
            sums[rest] = PixelChecksum(replay.CurrentLayer());
            // Every recording ends its stroke: the picture shows the layer.
            EXPECT_FALSE(replay.Core().Stroke.StrokeActive);
            EXPECT_TRUE(replay.Core().Image1 == replay.CurrentLayer());
        }
        EXPECT_EQ(sums[0], QLatin1String(c.checksum));
        EXPECT_EQ(sums[1], sums[0]);
    }
}

// The mouse's strokes played by a pen lay the same pixels when the pen gives no pressure, when
// it presses fully, and when the pressure option is off. The right button's stroke is the tip
// with a barrel button held, or the eraser end.
TEST(StrokeReplay, PenWithoutPressureDrawsTheMousesStrokes) {
    enum Play { pmNoPressure, pmFull, pmOptionOff, pmEraser };
    const struct {
        const char* what;
        Play play;
    } plays[] = {{"no pressure", pmNoPressure},
                 {"full pressure", pmFull},
                 {"option off", pmOptionOff},
                 {"eraser for the right button", pmEraser}};
    for (const Recorded& stroke : kMouseStrokes) {
        for (const auto& play : plays) {
            SCOPED_TRACE(std::string(stroke.name) + ", " + play.what);
            StrokeRecording recording = LoadStroke(stroke.name);
            recording.P1 = play.play != pmOptionOff;
            for (StrokeEvent& e : recording.events) {
                if (e.kind == StrokeEvent::Tick) continue;
                // The tip is the left button; with a barrel button held it is the right one.
                const bool right =
                    (e.shift & ssRight) || (e.kind != StrokeEvent::Move && e.button == mbRight);
                const bool barrel = right && play.play != pmEraser;
                const bool tipHeld = e.shift & (ssLeft | ssRight);
                e.pointer = right && !barrel ? ptEraser : ptPen;
                e.shift &= ~(ssLeft | ssRight);
                if (tipHeld) e.shift |= ssLeft;
                if (barrel) e.shift |= ssMiddle;
                e.button = mbLeft;
                e.pressure = play.play == pmNoPressure  ? kNoPressure
                             : play.play == pmOptionOff ? 300
                                                        : 1000;
            }
            EXPECT_EQ(ReplayedChecksum(recording), QLatin1String(stroke.checksum));
        }
    }
}

// The pen's own recordings with the pressure option off are drawn as the mouse would draw them:
// their sums change, and match a recording of the same moves without pressure.
TEST(StrokeReplay, PressureOptionOffIgnoresTheRecordedPressure) {
    for (const Recorded& stroke : kPenStrokes) {
        SCOPED_TRACE(stroke.name);
        StrokeRecording off = LoadStroke(stroke.name);
        off.P1 = false;
        StrokeRecording none = LoadStroke(stroke.name);
        for (StrokeEvent& e : none.events) e.pressure = kNoPressure;
        const QString sum = ReplayedChecksum(off);
        EXPECT_NE(sum, QLatin1String(stroke.checksum));
        EXPECT_EQ(ReplayedChecksum(none), sum);
    }
}

// The command-line replay writes its picture where it was asked, also by a relative name.
TEST(StrokeReplay, ReplayToolWritesThePictureNamed) {
    QTemporaryDir dir;
    QProcess replay;
    replay.setWorkingDirectory(dir.path());
    replay.start(QStringLiteral(KASUMIRO_REPLAY), {StrokeFile("slow"), QStringLiteral("out.bmp")});
    ASSERT_TRUE(replay.waitForFinished(60000));
    EXPECT_EQ(replay.exitCode(), 0);
    EXPECT_TRUE(replay.readAllStandardOutput().startsWith("layer b9e4e82a5bf5c06f"));
    const QImage picture(dir.filePath(QStringLiteral("out.bmp")));
    EXPECT_EQ(picture.size(), QSize(400, 400));
}

TEST(StrokeReplay, BadLineIsNamed) {
    StrokeRecording recording;
    QString error;
    for (const char* text : {"seed 1\nmove L 10\n", "blur soft\n", "down X L 1 1\n",
                             "picture 0 10\n", "colours 00000g ffffff\n", "move L 1 1 pen pen\n",
                             "move L 1 1 1.5\n", "move L 1 1 0.2 0.3\n", "up L - 1 1 pencil\n",
                             "move L 1 1 pen 0.5 x\n", "away now\n", "move L 1 1 nan\n"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(StrokeRecording::Parse(QString::fromLatin1(text), &recording, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("line "))) << qPrintable(error);
    }
    ASSERT_TRUE(StrokeRecording::Parse(QStringLiteral("# c\nsize 4\ndown R Rs 3 4\ntick 2\n"),
                                       &recording, &error));
    ASSERT_EQ(recording.events.size(), 2u);
    EXPECT_EQ(recording.sizeIndex, 4);
    EXPECT_EQ(recording.events[0].shift, TShiftState(ssRight | ssShift));
    EXPECT_EQ(recording.events[0].pointer, ptMouse);
    EXPECT_EQ(recording.events[0].pressure, kNoPressure);
    EXPECT_EQ(recording.events[1].count, 2);
    EXPECT_TRUE(recording.P1);
}

// A pen's event names its end and pressure after the position, each optional; a pressure
// alone is the pen's. Old recordings' options lines leave the pressure option off.
TEST(StrokeReplay, PenEventsCarryTheirEndAndPressure) {
    StrokeRecording r;
    QString error;
    ASSERT_TRUE(StrokeRecording::Parse(QStringLiteral("options dry\n"
                                                      "down L LM 3 4 eraser 0.25\n"
                                                      "move L 5 6 0.5\n"
                                                      "move - 7 8 pen\n"
                                                      "up L - 7 8 1\n"
                                                      "away\n"),
                                       &r, &error))
        << qPrintable(error);
    EXPECT_FALSE(r.P1);
    ASSERT_EQ(r.events.size(), 5u);
    const struct {
        StrokeEvent::Kind kind;
        TPointerType pointer;
        int pressure;
    } expected[] = {{StrokeEvent::Down, ptEraser, 250},
                    {StrokeEvent::Move, ptPen, 500},
                    {StrokeEvent::Move, ptPen, kNoPressure},
                    {StrokeEvent::Up, ptPen, 1000},
                    {StrokeEvent::Away, ptMouse, kNoPressure}};
    for (std::size_t i = 0; i < r.events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.events[i].kind, expected[i].kind);
        EXPECT_EQ(r.events[i].pointer, expected[i].pointer);
        EXPECT_EQ(r.events[i].pressure, expected[i].pressure);
    }
    EXPECT_EQ(r.events[0].shift, TShiftState(ssLeft | ssMiddle));
    ASSERT_TRUE(StrokeRecording::Parse(QStringLiteral("options pressure bleed\n"), &r, &error));
    EXPECT_TRUE(r.P1 && r.M1 && !r.H1);
}

// A tick repaints only what it drew, so every pixel it changed on the paint surface must lie
// in an area it asked to repaint: the line or bristles, the bleed and the blur. The recordings
// run as made and with one colour throughout, where the blur also takes up ink of earlier ticks.
TEST(StrokeReplay, EveryPixelATickChangesIsRepainted) {
    struct Case {
        const char* name;
        bool oneColour;
        bool bleed;
    } const cases[] = {{"slow", false, true},  {"dry_blur", false, true}, {"right", false, true},
                       {"fine", false, true},  {"slow", true, false},     {"dry_blur", true, false},
                       {"right", true, false}, {"fine", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.oneColour ? ", one colour" : "") +
                     (c.bleed ? "" : ", no bleed"));
        StrokeRecording recording;
        QString error;
        ASSERT_TRUE(StrokeRecording::Load(StrokeFile(c.name), &recording, &error))
            << qPrintable(error);
        if (c.oneColour) recording.C2 = false;
        recording.M1 = c.bleed;
        RepaintCollector screen;
        HeadlessReplay replay(recording, &screen);
        MainWindowCore& core = replay.Core();
        Bitmap before;
        int drawingTicks = 0, missed = 0;
        for (const StrokeEvent& e : recording.events) {
            SendPointerEvent(core, e);
            for (int i = 0; e.kind == StrokeEvent::Tick && i < e.count; ++i) {
                before.CopyFrom(core.Image1);
                screen.areas.clear();
                screen.whole = false;
                core.Timer1Timer(1);
                drawingTicks += !(core.Image1 == before);
                missed += UnrepaintedChanges(before, core.Image1, screen);
            }
        }
        EXPECT_GT(drawingTicks, 20);
        EXPECT_EQ(missed, 0);
    }
}
