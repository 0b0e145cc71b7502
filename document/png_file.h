#pragma once
// PNG files: written as 24-bit RGB, not interlaced; read in every form the format has (bit
// depths 1 to 16, grey, grey with alpha, palette, RGB, RGBA, interlaced). Sixteen-bit samples
// are rounded to 8 bits and transparency is laid over white, as for a pasted picture. Gamma and
// colour profiles are not applied: the samples are taken as they are stored.
#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

class QIODevice;

// Writes picture as a PNG file. Throws InOutError when a write fails.
void WritePng(QIODevice& out, const Bitmap& picture);
// What WritePng holds beside the picture: the filtered rows, the compressed bytes, the
// compressor.
std::uint64_t PngWriteBytes(int width, int height);

// Decodes a PNG file held in memory. Every chunk's checksum is checked, and the header against
// the limits, the memory and the bytes present, before the picture is allocated; picture data
// that inflates to more or less than the header's size is refused. Throws InvalidPictureFormat,
// PictureTooLarge or, for a file that ends early, ReadBeyondEnd's error.
Bitmap ReadPng(const char* data, std::size_t size);
// What ReadPng holds beside the file's bytes and the picture, for a header of this size, depth
// (bits a pixel) and interlacing: the inflated rows and the picture data gathered from its
// chunks (at most the file's size again).
std::uint64_t PngReadBytes(std::uint32_t width, std::uint32_t height, int bitsPerPixel,
                           bool interlaced, std::uint64_t fileSize);
