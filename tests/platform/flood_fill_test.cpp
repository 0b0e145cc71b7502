// Surface flood fill: exactly the seed colour, four neighbours, any shape without recursion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/flood_fill.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kGrey = RgbColour(128, 128, 128);

// A picture drawn from rows of characters: '.' white, '#' grey, 'g' a grey one step off.
Bitmap FromRows(std::initializer_list<const char*> rows) {
    const int h = int(rows.size());
    const int w = int(std::strlen(*rows.begin()));
    Bitmap b(w, h);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < w; ++x) {
            if (row[x] == '#') b.SetPixel(x, y, kGrey);
            if (row[x] == 'g') b.SetPixel(x, y, RgbColour(128, 128, 129));
        }
        ++y;
    }
    return b;
}

std::string Rows(const Bitmap& b) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Pixel(x, y);
            s += c == kRed ? 'R' : c == kGrey ? '#' : c == clWhite ? '.' : 'g';
        }
        s += '\n';
    }
    return s;
}

struct FillCase {
    const char* name;
    int x, y;
    TColor seed, fill;
    const char* expected;
};

}  // namespace

TEST(FloodFillTest, FillsTheFourConnectedAreaOfExactlyTheSeedColour) {
    // The white room on the left; a diagonal gap and a grey one step off do not leak.
    const FillCase cases[] = {
        {"room", 1, 1, clWhite, kRed, "RRR#...\nRRR#.#.\nRg##.#.\n####.#.\n"},
        {"grey walls", 3, 0, kGrey, kRed, "...R...\n...R.#.\n.gRR.#.\nRRRR.#.\n"},
        {"start off the seed colour", 1, 1, kGrey, kRed, "...#...\n...#.#.\n.g##.#.\n####.#.\n"},
        {"fill equals seed", 1, 1, clWhite, clWhite, "...#...\n...#.#.\n.g##.#.\n####.#.\n"},
        {"outside", -1, 0, clWhite, kRed, "...#...\n...#.#.\n.g##.#.\n####.#.\n"},
        {"last column", 6, 3, clWhite, kRed, "...#RRR\n...#R#R\n.g##R#R\n####R#R\n"},
    };
    for (const FillCase& c : cases) {
        Bitmap b = FromRows({"...#...", "...#.#.", ".g##.#.", "####.#."});
        FloodFillSurface(b, c.x, c.y, c.seed, c.fill);
        EXPECT_EQ(Rows(b), c.expected) << c.name;
    }
}

TEST(FloodFillTest, OnePixelMazeOverALargePictureFillsWithoutOverflow) {
    // Grey walls on every odd column, open at the bottom and the top by turns: one white
    // path, one pixel wide, that snakes through the whole picture.
    const int w = 4000, h = 3000;
    Bitmap b(w, h);
    for (int x = 1; x < w; x += 2) {
        const int gap = (x / 2) % 2 == 0 ? h - 1 : 0;
        for (int y = 0; y < h; ++y)
            if (y != gap) b.SetPixel(x, y, kGrey);
    }
    const QRect painted = FloodFillSurface(b, 0, 0, clWhite, kRed);
    EXPECT_EQ(painted, QRect(0, 0, w, h));
    long long red = 0, white = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = b.Pixel(x, y);
            red += c == kRed;
            white += c == clWhite;
        }
    EXPECT_EQ(red, 2000LL * h + 2000);  // every even column and every gap
    EXPECT_EQ(white, 0);
}
