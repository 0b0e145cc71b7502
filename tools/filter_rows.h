#pragma once
// The filters' inner loops, one picture row at a time. Rows are blue, green, red bytes; packed
// rows hold whole colours (blue * 65536 + green * 256 + red), the order the rank filter sorts
// by and the custom filter weighs.
#include <array>
#include <cstdint>
#include <vector>

#include "tools/filter_rows_wide.h"
#include "tools/filter_settings.h"

// A per-pixel filter (invert, contrast, gamma plus and minus, colour correction) as lookup
// tables, each taking two bytes of a row at once.
class PixelMap {
  public:
    explicit PixelMap(const FilterJob& job);
    // Maps the width pixels of row in place.
    void MapRow(std::uint8_t* row, int width) const;

  private:
    std::vector<std::uint16_t> pairs_;
    const std::uint16_t* phase_[3] = {};
    // Blue, green, red.
    std::array<ChannelTable, 3> channels_ = {};
    bool uniform_ = true;
    bool wide_ = false;
    // Set when every channel adds a constant and saturates: the bytes to add and to take away,
    // by byte position in three 64-byte blocks.
    bool shift_ = false;
    std::array<std::uint8_t, 192> raise_ = {};
    std::array<std::uint8_t, 192> lower_ = {};
};

void InvertRow(std::uint8_t* row, int width);

void PackRow(const std::uint8_t* row, int width, std::uint32_t* packed);

// Output pixels 0..outWidth-1 of the 3 x 3 mean whose block starts at the same column in rows
// r0, r1, r2; sums needs 3 * (outWidth + 2) entries. out may be r0.
void SoftRow(const std::uint8_t* r0, const std::uint8_t* r1, const std::uint8_t* r2, int outWidth,
             std::uint16_t* sums, std::uint8_t* out);

// Output pixels 0..outWidth-1: the level-th smallest (1..9) of the nine whole colours of the
// block starting at the same column in the packed rows p0, p1, p2.
void RankRow(int level, const std::uint32_t* p0, const std::uint32_t* p1, const std::uint32_t* p2,
             int outWidth, std::uint8_t* out);

// Output pixels 1..outEnd-1 of the custom kernel centred on the same column of the packed row
// centre (above and below are its neighbours), written to out at those columns.
void CustomRow(const CustomFilterSettings& s, const std::uint32_t* above,
               const std::uint32_t* centre, const std::uint32_t* below, int outEnd,
               std::uint8_t* out);
