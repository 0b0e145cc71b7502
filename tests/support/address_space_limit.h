#pragma once
// Runs part of a test as on a machine with little memory left: the process's address-space
// limit is lowered to what it uses now plus the given room, and put back afterwards.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define KASUMIRO_ADDRESS_SPACE_RESERVED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KASUMIRO_ADDRESS_SPACE_RESERVED 1
#endif
#endif

// The address sanitizer reserves terabytes of address space for itself and stops the program
// when an allocation fails: a limit says nothing there.
#ifdef KASUMIRO_ADDRESS_SPACE_RESERVED
#define SKIP_WITHOUT_ADDRESS_SPACE_LIMIT() \
    GTEST_SKIP() << "the address sanitizer owns the address space"
#else
#define SKIP_WITHOUT_ADDRESS_SPACE_LIMIT() static_cast<void>(0)
#endif

inline constexpr std::uint64_t kMiB = std::uint64_t(1) << 20;

class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::uint64_t room) {
        getrlimit(RLIMIT_AS, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = rlim_t(UsedAddressSpace() + room);
        EXPECT_EQ(setrlimit(RLIMIT_AS, &lowered), 0);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    static std::uint64_t UsedAddressSpace() {
        std::FILE* status = std::fopen("/proc/self/status", "r");
        unsigned long long kib = 0;
        char line[256];
        while (status && std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmSize:", 7) == 0) std::sscanf(line + 7, "%llu", &kib);
        if (status) std::fclose(status);
        return std::uint64_t(kib) << 10;
    }

  private:
    rlimit saved_{};
};
