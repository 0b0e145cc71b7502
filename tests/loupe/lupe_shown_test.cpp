// The magnifier over a shared picture: what counts as changed, and what gets repainted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <vector>

#include "loupe/lupe.h"
#include "loupe/lupe_shown.h"
#include "next_frame.h"

namespace {

Bitmap Patterned(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, RgbColour(x, y, 7));
    return b;
}

}  // namespace

// Pixels are compared with what was painted; the clip's move keeps what stays in view, and
// takes what it uncovers as it is now (the scroll paints it).
TEST(LupeShownPixels, ReportsTheRectangleOfPixelsThatDifferFromWhatWasPainted) {
    struct Case {
        const char* name;
        QRect clipAfter;
        std::vector<QPoint> changed;
        QRect expected;
    };
    const QRect start(10, 20, 30, 25);
    const std::vector<Case> cases = {
        {"nothing changed", start, {}, QRect()},
        {"one pixel", start, {{15, 30}}, QRect(15, 30, 1, 1)},
        {"two pixels give their bounds", start, {{12, 21}, {30, 40}}, QRect(12, 21, 19, 20)},
        {"outside the clip", start, {{9, 30}, {40, 30}, {15, 45}}, QRect()},
        {"kept after a move", QRect(13, 22, 30, 25), {{14, 23}}, QRect(14, 23, 1, 1)},
        {"uncovered by a move", QRect(13, 22, 30, 25), {{42, 46}}, QRect()},
    };
    for (const Case& c : cases) {
        Bitmap picture = Patterned(60, 50);
        LupeShownPixels shown;
        shown.SetClip(start, picture);
        for (const QPoint& p : c.changed) picture.SetPixel(p.x(), p.y(), clBlack);
        shown.SetClip(c.clipAfter, picture);
        EXPECT_EQ(shown.Changed(picture), c.expected) << c.name;
    }
}

TEST(Lupe, SharedPictureRepaintsOnlyTheBlocksThatChanged) {
    Bitmap picture = Patterned(100, 80);
    TLupe lupe;
    lupe.SetPower(4);
    const int e = lupe.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &lupe);
    lupe.resize(176 + e, 160 + e);  // 44 x 40 blocks
    lupe.SharePicture(&picture);
    lupe.SetClipLeft(10);
    lupe.SetClipTop(5);
    lupe.SetStyle(lsOwnerDraw);
    std::vector<QRect> painted;
    lupe.OnDrawLupe = [&](TLupe*, QPainter&, const QRect& d, const QRect&,
                          TLupeOwnerDrawState state, bool&) {
        if (state == lodBeforePicture) painted.push_back(d);
    };
    lupe.show();
    QApplication::processEvents();

    painted.clear();
    lupe.SharePicture(&picture);
    ShowNextFrame(lupe);
    EXPECT_TRUE(painted.empty());

    // Source (20, 15) is block (10, 10) of the view.
    picture.SetPixel(20, 15, RgbColour(255, 0, 0));
    picture.SetPixel(21, 16, RgbColour(255, 0, 0));
    lupe.SharePicture(&picture);
    ShowNextFrame(lupe);
    EXPECT_EQ(painted, std::vector<QRect>{QRect(40, 40, 8, 8)});
    EXPECT_EQ(lupe.grab().toImage().pixelColor(41, 41), QColor(Qt::red));
}

// The owner may resize the picture before it tells the magnifier: the next paint lays the
// view out for the new size instead of reading past the picture's end.
TEST(Lupe, SharedPictureResizedUnannouncedIsLaidOutAgainBeforePainting) {
    Bitmap picture = Patterned(100, 80);
    TLupe lupe;
    lupe.resize(190, 176);
    lupe.SetPower(4);
    lupe.SharePicture(&picture);
    lupe.SetClipLeft(40);
    picture = Patterned(30, 20);
    const QImage shot = lupe.grab().toImage();
    EXPECT_EQ(lupe.Layout().SourceWidth, 30);
    EXPECT_EQ(lupe.Layout().SourceHeight, 20);
    EXPECT_EQ(lupe.ClipLeft(), 0);
    EXPECT_EQ(FromQColor(shot.pixelColor(4 * 29 + 1, 4 * 19 + 1)), RgbColour(29, 19, 7));
}
