// The room the machine gives: the address-space limit counts, with a spare share kept back, and
// a bitmap that cannot have its memory stays as it was.
#include <gtest/gtest.h>

#include <new>

#include "platform/bitmap.h"
#include "platform/memory_room.h"
#include "platform/runtime_errors.h"
#include "support/address_space_limit.h"

TEST(MemoryRoom, TheAddressSpaceLimitLessASpareShare) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    const AddressSpaceLimit limit(160 * kMiB);
    // 32 MiB of the 160 are kept for what nobody counts; the test's own small allocations may
    // take a little more.
    const std::uint64_t room = MemoryRoom();
    EXPECT_LE(room, 128 * kMiB);
    EXPECT_GE(room, 120 * kMiB);
    EXPECT_NO_THROW(CheckMemoryRoom(100 * kMiB));
    try {
        CheckMemoryRoom(129 * kMiB);
        ADD_FAILURE() << "no refusal";
    } catch (const OutOfMemoryError& e) {
        EXPECT_EQ(e.Text(), QStringLiteral("ﾒﾓﾘ不足です"));
    }
}

TEST(MemoryRoom, ABitmapWithoutMemoryStaysAsItWas) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    Bitmap small(4, 3);
    small.SetPixel(1, 1, RgbColour(1, 2, 3));
    const Bitmap before = small;
    const Bitmap large(8000, 6000);  // 144 MB once it holds memory
    Bitmap held(4000, 3000);         // 36 MB
    held.SetPixel(5, 5, RgbColour(9, 9, 9));
    {
        const AddressSpaceLimit limit(16 * kMiB);
        // A copy of another size, and a white bitmap taking its memory.
        EXPECT_THROW(small.CopyFrom(held), std::bad_alloc);
        Bitmap lazy = large;
        EXPECT_THROW(lazy.HoldMemory(), std::bad_alloc);
        EXPECT_TRUE(lazy.IsLazyWhite());
    }
    EXPECT_EQ(small.Width(), 4);
    EXPECT_TRUE(small == before);
}
