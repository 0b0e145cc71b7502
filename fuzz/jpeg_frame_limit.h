#pragma once
// libFuzzer stops the run at a gigabyte of allocation. That is the fuzzer's limit, not the
// program's: an arithmetic-coded frame of a hundred bytes may rightly ask for that much (a
// uniform picture is that small), and the program gives it what the machine has. Inputs whose
// arithmetic-coded frame exceeds 4 M pixels are therefore left out; every place a frame header
// could be read from is looked at.
#include <cstddef>
#include <cstdint>

inline bool AsksForALargeArithmeticFrame(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 9 <= size; ++i) {
        // FF C9 to FF CF, except FF CC (arithmetic conditioning tables), start such frames.
        if (data[i] != 0xFF || data[i + 1] < 0xC9 || data[i + 1] > 0xCF || data[i + 1] == 0xCC)
            continue;
        const std::uint64_t height = std::uint64_t(data[i + 5]) << 8 | data[i + 6];
        const std::uint64_t width = std::uint64_t(data[i + 7]) << 8 | data[i + 8];
        if (width * height > (std::uint64_t(1) << 22)) return true;
    }
    return false;
}
