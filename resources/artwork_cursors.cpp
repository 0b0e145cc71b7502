#include "resources/artwork.h"

#include <algorithm>

#include <QBitmap>
#include <QImage>

namespace {

// Cursor pictures: '#' black, '.' white, ' ' transparent.

// clang-format off
// A pen; the nib's point is the hot spot.
const char* const kPenArt[kCursorSize] = {
    "                            ####",
    "                           #...#",
    "                          #...# ",
    "                         #...#  ",
    "                        #...#   ",
    "                       #...#    ",
    "                      #...#     ",
    "                     #...#      ",
    "                    #...#       ",
    "                   #...#        ",
    "                  #...#         ",
    "                 #...#          ",
    "                #####           ",
    "               #####            ",
    "              #...#             ",
    "             #...#              ",
    "            #...#               ",
    "           #...#                ",
    "          #...#                 ",
    "         #...#                  ",
    "        #...#                   ",
    "       #.#.#                    ",
    "      #.#.#                     ",
    "      #.#                       ",
    "     #.#                        ",
    "    #.#                         ",
    "   #.#                          ",
    "   #                            ",
    "  #                             ",
    " #                              ",
    "                                ",
    "                                ",
};

// An eye dropper; its tip is the hot spot.
const char* const kCatchArt[kCursorSize] = {
    "                                ",
    "                                ",
    "                            ####",
    "                          ######",
    "                         ####.##",
    "                        ####.## ",
    "                       ####.##  ",
    "                      ####.##   ",
    "                     ####.##    ",
    "                    #######     ",
    "                   #######      ",
    "                  #######       ",
    "                 #######        ",
    "                 #...#          ",
    "                #...#           ",
    "               #...#            ",
    "              #...#             ",
    "             #...#              ",
    "            #...#               ",
    "           #...#                ",
    "           #.#                  ",
    "          #.#                   ",
    "         #.#                    ",
    "        ###                     ",
    "       ###                      ",
    "      ###                       ",
    "     ###                        ",
    "     #                          ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

// An upright retouch brush; its tip is the hot spot.
const char* const kRetaArt[kCursorSize] = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "              #                 ",
    "             #.#                ",
    "             #.#                ",
    "            #.#.#               ",
    "            #.#.#               ",
    "            #.#.#               ",
    "           #..#..#              ",
    "           #..#..#              ",
    "           #..#..#              ",
    "           #######              ",
    "           #######              ",
    "           #.....#              ",
    "           #.....#              ",
    "           #######              ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #...#               ",
    "            #####               ",
};

// A paint bucket pouring; the drop's lowest point is the hot spot.
const char* const kDrawArt[kCursorSize] = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                  #             ",
    "                 #.#            ",
    "                #...#           ",
    "              ##.....#          ",
    "             #........#         ",
    "            #..........#        ",
    "           #..........#         ",
    "         ###.........#          ",
    "        # ###.......#           ",
    "        #  ###......#           ",
    "       #    ###....#            ",
    "      ###    ###..#             ",
    "     #####    ####              ",
    "      ###      ##               ",
    "       #        #               ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

// An I-beam above and left of the pointer, which sits at the corner beyond the image.
const char* const kTextArt[kCursorSize] = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                  ...........   ",
    "                  .#########.   ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                      .#.       ",
    "                  .#########.   ",
    "                  ...........   ",
    "                            #.  ",
    "                            .#. ",
    "                             .#.",
    "                              .#",
};
// clang-format on

const char* const* ArtOf(int number) {
    switch (number) {
        case crPen:
            return kPenArt;
        case crCatch:
            return kCatchArt;
        case crReta:
            return kRetaArt;
        case crDraw:
            return kDrawArt;
        case crText:
            return kTextArt;
        default:
            return nullptr;
    }
}

// The two planes of a two-colour cursor: the picture (set bits are black) and the mask (set
// bits are drawn).
QCursor CursorFromArt(const char* const* art, QPoint hotSpot) {
    QImage picture(kCursorSize, kCursorSize, QImage::Format_MonoLSB);
    QImage mask(kCursorSize, kCursorSize, QImage::Format_MonoLSB);
    // Index 1 is black, the bitmap's set bit (color1).
    const QList<QRgb> table{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    picture.setColorTable(table);
    mask.setColorTable(table);
    picture.fill(0);
    mask.fill(0);
    for (int y = 0; y < kCursorSize; ++y) {
        for (int x = 0; x < kCursorSize; ++x) {
            const char c = art[y][x];
            picture.setPixel(x, y, c == '#' ? 1 : 0);
            mask.setPixel(x, y, c == ' ' ? 0 : 1);
        }
    }
    const int hotX = std::min(hotSpot.x(), kCursorSize - 1);
    const int hotY = std::min(hotSpot.y(), kCursorSize - 1);
    return QCursor(QBitmap::fromImage(picture), QBitmap::fromImage(mask), hotX, hotY);
}

}  // namespace

QPoint KasumiroCursorHotSpot(int number) {
    switch (number) {
        case crPen:
            return {1, 29};
        case crCatch:
            return {5, 27};
        case crReta:
            return {14, 6};
        case crDraw:
            return {7, 22};
        case crText:
            return {32, 32};
        default:
            return {0, 0};
    }
}

QCursor KasumiroCursor(int number) {
    const char* const* art = ArtOf(number);
    if (!art) return QCursor(Qt::ArrowCursor);
    return CursorFromArt(art, KasumiroCursorHotSpot(number));
}
