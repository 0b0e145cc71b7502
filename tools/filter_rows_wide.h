#pragma once
// The two row loops that plain vector code leaves far behind memory speed, written for
// processors with 512-bit vectors and byte permutes. Callers ask WideRowsAvailable() first and
// keep their portable loops for every other processor; both give the same bytes.
#include <array>
#include <cstdint>

#include "platform/wide_rows.h"

// A byte's image under a per-pixel filter, for one channel.
using ChannelTable = std::array<std::uint8_t, 256>;

// Maps every byte of the width pixels of a blue, green, red row in place through one table.
// (Tables that differ by channel only ever add a constant to each: WideShiftRow does those.)
void WideMapRow(const ChannelTable& table, std::uint8_t* row, int width);

// Adds to each byte of a blue, green, red row in place, saturating at 0 and 255: byte i gets
// raise[i % 192] added, then lower[i % 192] taken away (192 bytes hold three 64-byte blocks).
void WideShiftRow(const std::uint8_t* raise, const std::uint8_t* lower, std::uint8_t* row,
                  int width);

// The width pixels of a blue, green, red row as whole colours (blue * 65536 + green * 256 + red).
void WidePackRow(const std::uint8_t* row, int width, std::uint32_t* packed);

// One non-zero kernel cell: its weight and the packed row it weighs, already moved by the
// cell's column offset.
struct KernelTerm {
    double k;
    const std::uint32_t* pixels;
};

// n custom-filter outputs: sum := 0 plus each term in order, ratio := sum / centre (0 where the
// centre is black), delta := strength * ratio, each channel ClampChannel(base + delta) with base
// fixed[c] or, where fixed[c] < 0, the centre's own channel. fixed and out are blue, green, red.
void WideCustomRow(const KernelTerm* terms, int termCount, double strength,
                   const std::uint32_t* centre, int n, const int fixed[3], std::uint8_t* out);
