// Recorded strokes replayed through the core: their pixels stay what they were when recorded,
// and resting the idle loop whenever a tick would change nothing gives the same pixels.
#include <gtest/gtest.h>

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

}  // namespace

// Any change to the brush's output shows here. A deliberate change re-records the sums with
// kasumiro_replay.
TEST(StrokeReplay, RecordedStrokesKeepTheirPixels) {
    struct Case {
        const char* name;
        const char* checksum;
    } const cases[] = {
        {"slow", "b9e4e82a5bf5c06f"},
        {"fast", "5a92510d92f73acd"},
        {"dry_blur", "5ae2f9b223a2f024"},
        {"right", "47ddebf0ec9982b4"},
    };
    for (const Case& c : cases) {
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

TEST(StrokeReplay, BadLineIsNamed) {
    StrokeRecording recording;
    QString error;
    for (const char* text : {"seed 1\nmove L 10\n", "blur soft\n", "down X L 1 1\n",
                             "picture 0 10\n", "colours 00000g ffffff\n"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(StrokeRecording::Parse(QString::fromLatin1(text), &recording, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("line "))) << qPrintable(error);
    }
    ASSERT_TRUE(StrokeRecording::Parse(QStringLiteral("# c\nsize 4\ndown R Rs 3 4\ntick 2\n"),
                                       &recording, &error));
    ASSERT_EQ(recording.events.size(), 2u);
    EXPECT_EQ(recording.sizeIndex, 4);
    EXPECT_EQ(recording.events[0].shift, TShiftState(ssRight | ssShift));
    EXPECT_EQ(recording.events[1].count, 2);
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
