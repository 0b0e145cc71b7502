// Recorded strokes replayed through the core: their pixels stay what they were when recorded,
// and resting the idle loop whenever a tick would change nothing gives the same pixels.
#include <gtest/gtest.h>

#include "app/headless_replay.h"

namespace {

QString StrokeFile(const char* name) {
    return QStringLiteral(KASUMIRO_STROKES_DIR "/%1.txt").arg(QLatin1String(name));
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
