#pragma once
// What the PNG reader and writer share: the signature, big-endian numbers and chunk checksums.
#include <cstddef>
#include <cstdint>

#include <libdeflate.h>

namespace png {

inline constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// Chunk lengths, like every other number of the format, stay below 2^31.
inline constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;

inline std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

inline void Put32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

// The checksum of a chunk: over its type and its data. (libdeflate answers 0 for no buffer,
// whatever it was given to continue.)
inline std::uint32_t ChunkCrc(const std::uint8_t* type, const std::uint8_t* data,
                              std::size_t length) {
    const std::uint32_t crc = libdeflate_crc32(0, type, 4);
    return length > 0 ? libdeflate_crc32(crc, data, length) : crc;
}

}  // namespace png
