// The retouch dab: each kind's pixel rule, the square per brush size and the soften pass's
// in-place order.
#include <gtest/gtest.h>

#include "brush/retouch.h"

namespace {

constexpr TColor Grey(int v) {
    return RgbColour(v, v, v);
}

// One dab at (x, y) on a copy of picture; the surface starts white and must end up with the
// layer's pixels wherever the dab wrote.
Bitmap Dab(const Bitmap& picture, int x, int y, int size, RetouchKind kind, TColor chosen = 0,
           Bitmap* surfaceOut = nullptr) {
    Bitmap layer = picture;
    Bitmap surface(picture.Width(), picture.Height());
    RetouchDabInput in;
    in.pointerX = x;
    in.pointerY = y;
    in.brushSize = size;
    in.kind = kind;
    in.chosen = chosen;
    RetouchDabOn(layer, surface, in);
    if (surfaceOut) *surfaceOut = surface;
    return layer;
}

Bitmap Uniform(int w, int h, TColor c) {
    Bitmap b(w, h);
    b.Fill(c);
    return b;
}

}  // namespace

TEST(RetouchTest, EachKindChangesAPixelByItsRule) {
    struct Case {
        const char* name;
        RetouchKind kind;
        TColor chosen, before, after;
        bool written;  // a kind that leaves the pixel alone writes nothing to the surface
    };
    const Case cases[] = {
        {"brighten", RetouchKind::Brighten, 0, RgbColour(254, 0, 100), RgbColour(255, 2, 102),
         true},
        {"brighten white", RetouchKind::Brighten, 0, clWhite, clWhite, false},
        {"darken", RetouchKind::Darken, 0, RgbColour(1, 50, 255), RgbColour(0, 48, 253), true},
        {"darken black", RetouchKind::Darken, 0, clBlack, clBlack, false},
        {"tint to black", RetouchKind::Tint, clBlack, RgbColour(200, 30, 100),
         RgbColour(198, 30, 99), true},
        {"tint up and down", RetouchKind::Tint, RgbColour(255, 0, 160), RgbColour(135, 120, 119),
         RgbColour(137, 118, 120), true},
        {"tint at the colour", RetouchKind::Tint, Grey(7), Grey(7), Grey(7), false},
        {"contrast", RetouchKind::Contrast, 0, RgbColour(100, 200, 50), RgbColour(99, 201, 48),
         true},
        {"contrast ends", RetouchKind::Contrast, 0, RgbColour(0, 127, 255), RgbColour(0, 127, 255),
         true},
    };
    for (const Case& c : cases) {
        // A one-pixel picture: the rest of the square lies outside and is never written.
        Bitmap surface;
        const Bitmap layer = Dab(Uniform(1, 1, c.before), 0, 0, 3, c.kind, c.chosen, &surface);
        EXPECT_EQ(layer.Pixel(0, 0), c.after) << c.name;
        EXPECT_EQ(surface.Pixel(0, 0), c.written ? c.after : clWhite) << c.name;
    }
}

TEST(RetouchTest, SquareSideFollowsTheBrushSize) {
    struct Case {
        int size, side;
    };
    for (const Case& c : {Case{25, 25}, Case{21, 21}, Case{13, 13}, Case{3, 5}}) {
        const Bitmap after = Dab(Uniform(40, 40, Grey(100)), 20, 20, c.size, RetouchKind::Darken);
        QRect changed;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (after.Pixel(x, y) != Grey(100)) {
                    EXPECT_EQ(after.Pixel(x, y), Grey(98));
                    changed |= QRect(x, y, 1, 1);
                }
        const int h = c.side / 2;
        EXPECT_EQ(changed, QRect(20 - h, 20 - h, c.side, c.side)) << c.size;
    }
}

TEST(RetouchTest, SoftenKeepsAUniformAreaAndDarkensThePictureEdge) {
    const Bitmap inside = Dab(Uniform(30, 30, Grey(90)), 15, 15, 25, RetouchKind::Soften);
    EXPECT_TRUE(inside == Uniform(30, 30, Grey(90)));

    // At the corner, outside pixels count as black and every write is seen by the next read:
    // (0,0) = 4 x 90 / 9; (0,1) = (40 + 5 x 90) / 9; (0,2) = (54 + 5 x 90) / 9;
    // (1,0) = (40 + 54 + 4 x 90) / 9.
    const Bitmap corner = Dab(Uniform(10, 10, Grey(90)), 0, 0, 3, RetouchKind::Soften);
    EXPECT_EQ(corner.Pixel(0, 0), Grey(40));
    EXPECT_EQ(corner.Pixel(0, 1), Grey(54));
    EXPECT_EQ(corner.Pixel(0, 2), Grey(56));
    EXPECT_EQ(corner.Pixel(1, 0), Grey(50));
    EXPECT_EQ(corner.Pixel(3, 3), Grey(90));
}
