#pragma once
// Row loops written for processors with 512-bit vectors, byte masks and byte permutes. Callers
// ask WideRowsAvailable() first and keep their portable loops for every other processor; both
// give the same bytes.
#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// What a wide loop is compiled for; it runs only where WideRowsAvailable().
#define KASUMIRO_WIDE __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi")))
#endif

bool WideRowsAvailable();
// Turns the wide loops off (and on again where the processor has them), so that the portable
// loops can be held to the same results on any machine.
void AllowWideRows(bool allowed);

// Keyed drawing of one row of width blue, green, red pixels: every source pixel whose bytes are
// key (blue, green, red) is left out, every other one replaces the target's. Runs of key pixels
// are not written at all.
void WideKeyedRow(std::uint8_t* target, const std::uint8_t* source, int width,
                  const std::uint8_t key[3]);
// True when one of the row's width pixels is the key.
bool WideRowHasKey(const std::uint8_t* row, int width, const std::uint8_t key[3]);

// A tile of sixteen by sixteen pixels turned on its side: the sixteen pixels (blue, green, red)
// from rows[i] become the i-th 32-bit cells (red + 256 * green + 65536 * blue) of sixteen
// columns, column c starting at cells + c * columnBytes.
void WidePixelsToCells(const std::uint8_t* const rows[16], std::uint8_t* cells,
                       std::size_t columnBytes);
// The reverse: the i-th cells of the sixteen columns become the pixels at rows[i]; a cell's top
// byte is not part of the pixel.
void WideCellsToPixels(const std::uint8_t* cells, std::size_t columnBytes,
                       std::uint8_t* const rows[16]);
