#include "platform/memory_room.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/runtime_errors.h"

namespace {

constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();
// Kept free beside the counted buffers: a painting program that has just been given its last
// byte cannot draw a menu.
constexpr std::uint64_t kSpareBytes = std::uint64_t(32) << 20;

// A "Key:  1234 kB" line of a /proc file, in bytes.
std::optional<std::uint64_t> ProcBytes(const char* path, const char* key) {
    std::FILE* file = std::fopen(path, "r");
    if (!file) return std::nullopt;
    std::optional<std::uint64_t> value;
    const std::size_t keyLength = std::strlen(key);
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, key, keyLength) != 0 || line[keyLength] != ':') continue;
        unsigned long long kib = 0;
        if (std::sscanf(line + keyLength + 1, "%llu", &kib) == 1) value = std::uint64_t(kib) << 10;
        break;
    }
    std::fclose(file);
    return value;
}

bool StrictOvercommit() {
    std::FILE* file = std::fopen("/proc/sys/vm/overcommit_memory", "r");
    if (!file) return false;
    int mode = 0;
    const bool read = std::fscanf(file, "%d", &mode) == 1;
    std::fclose(file);
    return read && mode == 2;
}

std::uint64_t Less(std::uint64_t limit, std::uint64_t used) {
    return limit > used ? limit - used : 0;
}

std::uint64_t SystemRoom() {
    std::uint64_t room = kUnlimited;
    if (const auto available = ProcBytes("/proc/meminfo", "MemAvailable")) {
        room = *available + ProcBytes("/proc/meminfo", "SwapFree").value_or(0);
    } else {
        const long pages = sysconf(_SC_AVPHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGE_SIZE);
        if (pages > 0 && pageSize > 0) room = std::uint64_t(pages) * std::uint64_t(pageSize);
    }
    if (StrictOvercommit()) {
        const auto limit = ProcBytes("/proc/meminfo", "CommitLimit");
        const auto committed = ProcBytes("/proc/meminfo", "Committed_AS");
        if (limit && committed) room = std::min(room, Less(*limit, *committed));
    }
    return room;
}

// The room under a resource limit, given what of it the process uses now.
std::uint64_t LimitRoom(int resource, const char* usedKey) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kUnlimited;
    const auto used = ProcBytes("/proc/self/status", usedKey);
    return used ? Less(std::uint64_t(limit.rlim_cur), *used) : kUnlimited;
}

}  // namespace

std::uint64_t MemoryRoom() {
    const std::uint64_t room =
        std::min({SystemRoom(), LimitRoom(RLIMIT_AS, "VmSize"), LimitRoom(RLIMIT_DATA, "VmData")});
    return Less(room, kSpareBytes);
}

void CheckMemoryRoom(std::uint64_t bytes) {
    if (bytes > MemoryRoom()) throw OutOfMemoryError();
}
