// The layer-cache rebuild on a machine whose memory is spent: a merge and a below cache that
// cannot have their own buffers still show every layer.
#include <gtest/gtest.h>

#include "layers/compositor.h"
#include "recording_host.h"
#include "support/address_space_limit.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kGreen = RgbColour(0, 255, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);
// 18 MB a picture: more than the room left under the limit.
constexpr int kWidth = 3000;
constexpr int kHeight = 2000;
constexpr std::uint64_t kShortRoom = 16 * kMiB;

// Three layers with a dot each, bottom to top: red at (1, 1), green at (2, 1), blue at (3, 1);
// everything else is their key, white. Shown once, bottom layer current.
struct ThreeLayers {
    ThreeLayers() : image1(kWidth, kHeight), compositor(stack, image1) {
        stack.SetHost(&dialogs);
        stack.CreateLayer();
        stack.CreateLayer();
        const TColor dots[] = {kRed, kGreen, kBlue};
        for (int i = 0; i < 3; ++i)
            compositor.LayerImages[std::size_t(i)].SetPixel(i + 1, 1, dots[i]);
        image1.HoldMemory();
        compositor.RebuildLayerCache();
    }
    void ExpectAllDots(const Bitmap& picture) {
        EXPECT_EQ(picture.Pixel(1, 1), kRed);
        EXPECT_EQ(picture.Pixel(2, 1), kGreen);
        EXPECT_EQ(picture.Pixel(3, 1), kBlue);
        EXPECT_EQ(picture.Pixel(4, 1), clWhite);
    }
    RecordingHost dialogs;
    LayerStack stack;
    Bitmap image1;
    LayerCompositor compositor;
};

}  // namespace

TEST(CompositorMemory, MergeIntoAnUntouchedBottomLayerTakesAFreedBuffer) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    ThreeLayers d;
    d.compositor.LayerImages[0].ReleaseToWhite();
    d.compositor.RebuildAfterUndo();
    d.stack.Merge();
    {
        const AddressSpaceLimit limit(kShortRoom);
        d.compositor.RebuildLayerCache();
    }
    EXPECT_EQ(d.compositor.LayerImages[0].Pixel(1, 1), clWhite);
    EXPECT_EQ(d.compositor.LayerImages[0].Pixel(2, 1), kGreen);
    EXPECT_EQ(d.compositor.LayerImages[0].Pixel(3, 1), kBlue);
    for (int i = 1; i < kLayerSlots; ++i)
        EXPECT_EQ(d.compositor.LayerImages[std::size_t(i)].AllocatedBytes(), 0u) << i;
}

TEST(CompositorMemory, WithoutABelowCacheTheLayersBelowAreDrawnThemselves) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    ThreeLayers d;
    {
        const AddressSpaceLimit limit(kShortRoom);
        d.stack.SelectLayer(2);
        d.compositor.RebuildLayerCache();
        d.ExpectAllDots(d.image1);
        // The top layer changes: the refresh still shows what lies below it.
        d.compositor.LayerImages[2].SetPixel(4, 1, kBlue);
        d.compositor.CompositeRefresh();
        EXPECT_EQ(d.image1.Pixel(4, 1), kBlue);
        EXPECT_EQ(d.image1.Pixel(1, 1), kRed);
    }
}
