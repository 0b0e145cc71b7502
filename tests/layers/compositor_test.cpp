// Composing the shown layers onto the paint surface, and the tick's layer-cache rebuild.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "layers/compositor.h"
#include "platform/random_source.h"
#include "recording_host.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kGreen = RgbColour(0, 255, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);

struct ScreenRecorder : CompositorHost {
    int repaints = 0;
    bool loupe = false;
    int loupeCopies = 0;
    Bitmap loupePicture;
    void RepaintPaintSurface() override { ++repaints; }
    bool LoupeShown() const override { return loupe; }
    void CopyToLoupe(const Bitmap& picture) override {
        ++loupeCopies;
        loupePicture = picture;
    }
};

// A picture of one row; each entry is the colour of one pixel.
Bitmap Row(std::initializer_list<TColor> pixels) {
    Bitmap b(int(pixels.size()), 1);
    int x = 0;
    for (TColor c : pixels) b.SetPixel(x++, 0, c);
    return b;
}

struct Document {
    explicit Document(int width = 4, int height = 1)
        : image1(width, height), compositor(stack, image1, &screen) {
        stack.SetHost(&dialogs);
    }
    void Tick(const UndoSnapshots& undo = {}) {
        if (stack.LayersChanged) compositor.RebuildLayerCache(undo);
    }
    RecordingHost dialogs;
    LayerStack stack;
    Bitmap image1;
    ScreenRecorder screen;
    LayerCompositor compositor;
};

// Layers 0, 1, 2 bottom to top over pixels A B C D: A is covered by all three, B by the lower
// two, C by the bottom one only, D by none (each layer's white is its key).
void PaintThree(Document& d) {
    d.stack.CreateLayer();
    d.stack.CreateLayer();
    d.compositor.LayerImages[0] = Row({kRed, kRed, kRed, clWhite});
    d.compositor.LayerImages[1] = Row({kGreen, kGreen, clWhite, clWhite});
    d.compositor.LayerImages[2] = Row({kBlue, clWhite, clWhite, clWhite});
}

}  // namespace

TEST(CompositeRefresh, OneLayerKeyedOnWhiteIsTheLayerItself) {
    Document d(3, 2);
    d.compositor.LayerImages[0].SetPixel(1, 1, kRed);
    d.compositor.CompositeRefresh();
    EXPECT_TRUE(d.image1 == d.compositor.LayerImages[0]);
    EXPECT_EQ(d.screen.repaints, 1);
    // The thumbnail is renewed: a 3 x 2 picture stretched to 38 x 38.
    EXPECT_EQ(d.stack.Thumbnail(0).Pixel(13, 19), kRed);
    EXPECT_EQ(d.stack.Thumbnail(0).Pixel(12, 19), clWhite);
}

TEST(CompositeRefresh, ASingleHiddenLayerKeyedOnWhiteShowsWhite) {
    Document d;
    d.compositor.LayerImages[0] = Row({kRed, kGreen, clBlack, clWhite});
    d.stack.ToggleVisibility(0);
    d.compositor.CompositeRefresh();
    EXPECT_TRUE(d.image1 == Row({clWhite, clWhite, clWhite, clWhite}));
}

TEST(CompositeRefresh, LayerKeyedOnBlackShowsWhiteWhereItIsBlack) {
    Document d;
    d.compositor.LayerImages[0] = Row({clBlack, kRed, clBlack, clWhite});
    d.stack.SetTransparentColour(0, clBlack);
    d.compositor.CompositeRefresh();
    EXPECT_TRUE(d.image1 == Row({clWhite, kRed, clWhite, clWhite}));
    d.stack.ToggleVisibility(0);
    d.Tick();
    EXPECT_TRUE(d.image1 == Row({clWhite, clWhite, clWhite, clWhite}));
}

TEST(CompositeRefresh, KeyingComparesAllThreeChannelsExactly) {
    Document d;
    d.compositor.LayerImages[0] = Row({RgbColour(10, 20, 30), RgbColour(11, 20, 30),
                                       RgbColour(10, 21, 30), RgbColour(10, 20, 31)});
    d.stack.SetTransparentColour(0, RgbColour(10, 20, 30));
    d.compositor.CompositeRefresh();
    EXPECT_TRUE(d.image1 == Row({clWhite, RgbColour(11, 20, 30), RgbColour(10, 21, 30),
                                 RgbColour(10, 20, 31)}));
}

TEST(CompositeRefresh, PixelWhereEveryLayerHoldsItsKeyShowsWhite) {
    Document d(2, 1);
    d.stack.CreateLayer();
    d.stack.SetTransparentColour(0, clBlack);
    d.stack.SetTransparentColour(1, kRed);
    d.compositor.LayerImages[0] = Row({clBlack, kBlue});
    d.compositor.LayerImages[1] = Row({kRed, kRed});
    d.Tick();
    EXPECT_TRUE(d.image1 == Row({clWhite, kBlue}));
}

TEST(CompositeRefresh, ThreeLayersMiddleCurrentComposeInOrderAndStrokeShowsMiddleOnTop) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(1);
    d.Tick();
    EXPECT_EQ(d.compositor.LayerCount(), 3);
    EXPECT_EQ(d.compositor.CurrentLayerPosition(), 1);
    EXPECT_TRUE(d.compositor.LayersAboveCurrent());
    EXPECT_TRUE(d.compositor.LayersBelowCurrent());
    EXPECT_TRUE(d.compositor.BelowComposite() == Row({kRed, kRed, kRed, clWhite}));
    EXPECT_TRUE(d.image1 == Row({kBlue, kGreen, kRed, clWhite}));

    EXPECT_TRUE(d.compositor.StrokeStartRebuild());
    EXPECT_TRUE(d.image1 == Row({kGreen, kGreen, kRed, clWhite}));
    // The refresh at the stroke's end restores the true order.
    d.compositor.CompositeRefresh();
    EXPECT_TRUE(d.image1 == Row({kBlue, kGreen, kRed, clWhite}));
}

// The picture by the rule, pixel by pixel: white, then each shown layer from the bottom up
// wherever its pixel differs from its transparent colour; the stroke's layer last if given.
Bitmap ByTheRule(const Document& d, int strokeLayer = -1) {
    Bitmap out(d.image1.Width(), d.image1.Height());
    std::vector<int> order;
    for (int p = 0; p < d.stack.LayerCount(); ++p)
        if (d.stack.DisplayOrder(p) != strokeLayer) order.push_back(d.stack.DisplayOrder(p));
    if (strokeLayer >= 0) order.push_back(strokeLayer);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            TColor shown = clWhite;
            for (int index : order) {
                const TColor c = d.compositor.LayerImages[std::size_t(index)].Pixel(x, y);
                if (d.stack.IsShown(index) && !SameColour(c, d.stack.TransparentColour(index)))
                    shown = c;
            }
            out.SetPixel(x, y, shown);
        }
    return out;
}

// Seven layers on a picture tall enough to be composed in more than one band of rows, with
// runs of key and of colour that end anywhere in a row (odd width): keys of several colours,
// a hidden layer, a layer without key pixels in some rows, an untouched layer keyed on white
// (invisible) and one keyed on another colour (a white sheet over what lies below it).
TEST(CompositeRefresh, ManyLayersInSeveralBandsComposeByTheRule) {
    constexpr int kWidth = 1001;
    constexpr int kHeight = 150;
    Document d(kWidth, kHeight);
    const TColor keys[] = {clWhite, clBlack, kRed, clWhite, clWhite, kGreen, clWhite};
    RandomSource random(77);
    for (int i = 0; i < 7; ++i) {
        if (i > 0) d.stack.CreateLayer();
        d.stack.SetTransparentColour(i, keys[i]);
        if (i == 3 || i == 5) continue;  // left untouched
        Bitmap& layer = d.compositor.LayerImages[std::size_t(i)];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth;) {
                const int run = 1 + random.Random(i % 2 == 0 ? 60 : 3);
                // Layer 2 has no key pixel in its first 80 rows: it hides what lies below it
                // in the first band of rows but not in the second.
                const bool key = random.Random(3) != 0 && !(i == 2 && y < 80);
                const TColor c = key ? keys[i] : RgbColour(40 * i, x, y);
                for (int k = 0; k < run && x < kWidth; ++k) layer.SetPixel(x++, y, c);
            }
    }
    d.stack.ToggleVisibility(4);
    for (const int current : {0, 1, 2, 3, 4, 6}) {
        d.stack.SelectLayer(current);
        d.compositor.RebuildLayerCache();
        EXPECT_TRUE(d.image1 == ByTheRule(d)) << "current layer " << current;
        if (d.compositor.StrokeStartRebuild()) {
            EXPECT_TRUE(d.image1 == ByTheRule(d, current)) << "stroke on layer " << current;
        }
    }
    // Without the white sheet, every layer below it shows through again.
    d.stack.SetTransparentColour(5, clWhite);
    d.compositor.RebuildLayerCache();
    EXPECT_TRUE(d.image1 == ByTheRule(d));
}

TEST(CompositeRefresh, HiddenLayersLeaveNoTraceAboveOrBelow) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(1);
    d.stack.ToggleVisibility(0);
    d.stack.ToggleVisibility(2);
    d.Tick();
    EXPECT_TRUE(d.compositor.BelowComposite() == Row({clWhite, clWhite, clWhite, clWhite}));
    EXPECT_TRUE(d.image1 == Row({kGreen, kGreen, clWhite, clWhite}));
    // A hidden current layer shows what lies below and above it.
    d.stack.ToggleVisibility(0);
    d.stack.ToggleVisibility(1);
    d.Tick();
    EXPECT_TRUE(d.image1 == Row({kRed, kRed, kRed, clWhite}));
    EXPECT_FALSE(d.compositor.StrokeStartRebuild());
}

TEST(CompositeRefresh, StrokeStartDoesNothingOnTheTopLayer) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(2);
    d.Tick();
    const int repaints = d.screen.repaints;
    EXPECT_FALSE(d.compositor.StrokeStartRebuild());
    EXPECT_EQ(d.screen.repaints, repaints);
}

TEST(CompositeRefresh, ChangeBelowTheCurrentLayerShowsOnlyAtTheNextTick) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(2);
    d.Tick();
    ASSERT_TRUE(d.image1 == Row({kBlue, kGreen, kRed, clWhite}));
    d.stack.ToggleVisibility(0);
    d.stack.SetTransparentColour(1, kGreen);
    d.compositor.CompositeRefresh();  // an edit of the current layer before the tick
    EXPECT_TRUE(d.image1 == Row({kBlue, kGreen, kRed, clWhite}));
    d.Tick();
    EXPECT_TRUE(d.image1 == Row({kBlue, clWhite, clWhite, clWhite}));
}

TEST(CompositeRefresh, LoupeGetsACopyOnlyWhileItsMenuItemIsChecked) {
    Document d;
    d.compositor.LayerImages[0] = Row({kRed, clWhite, clWhite, clWhite});
    d.compositor.CompositeRefresh();
    EXPECT_EQ(d.screen.loupeCopies, 0);
    d.screen.loupe = true;
    d.compositor.CompositeRefresh();  // fast path
    d.stack.CreateLayer();
    d.Tick();  // general path
    EXPECT_EQ(d.screen.loupeCopies, 2);
    EXPECT_TRUE(d.screen.loupePicture == Row({kRed, clWhite, clWhite, clWhite}));
}

TEST(CompositeRefresh, OnlyTheCurrentLayersThumbnailIsRenewed) {
    Document d(2, 2);
    d.stack.CreateLayer();
    d.Tick();
    d.compositor.LayerImages[0].Fill(kRed);
    d.compositor.LayerImages[1].Fill(kBlue);
    d.compositor.CompositeRefresh();
    EXPECT_EQ(d.stack.Thumbnail(0).Pixel(5, 5), kRed);
    EXPECT_EQ(d.stack.Thumbnail(1).Pixel(5, 5), clWhite);
}

TEST(LayerCacheRebuild, MergeKeepsTheShownPictureWithoutHiddenLayers) {
    Document d;
    PaintThree(d);
    d.stack.ToggleVisibility(1);
    d.Tick();
    const Bitmap shown = Row({kBlue, kRed, kRed, clWhite});
    ASSERT_TRUE(d.image1 == shown);
    d.stack.Merge();
    d.Tick();
    EXPECT_EQ(d.stack.LayerCount(), 1);
    EXPECT_TRUE(d.compositor.LayerImages[0] == shown);
    EXPECT_TRUE(d.image1 == shown);
    EXPECT_TRUE(d.compositor.LayerImages[1].IsLazyWhite());
    EXPECT_TRUE(d.compositor.LayerImages[2].IsLazyWhite());
    EXPECT_FALSE(d.stack.MergeRequested || d.stack.LayersChanged);
    EXPECT_EQ(d.compositor.LayerCount(), 1);
    EXPECT_FALSE(d.compositor.LayersAboveCurrent() || d.compositor.LayersBelowCurrent());
}

TEST(LayerCacheRebuild, MergeAfterReorderingLeavesOneLayerOfTheShownPicture) {
    Document d;
    PaintThree(d);
    d.stack.MoveUp();
    d.stack.MoveUp();  // order 1, 2, 0: the red layer on top
    d.Tick();
    const Bitmap shown = Row({kRed, kRed, kRed, clWhite});
    ASSERT_TRUE(d.image1 == shown);
    d.stack.Merge();
    d.Tick();
    EXPECT_EQ(d.stack.LayerCount(), 1);
    EXPECT_TRUE(d.compositor.LayerImages[0] == shown);
}

TEST(LayerCacheRebuild, MergeRightAfterDeletingLayerZeroKeepsTheMergedPicture) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(0);
    d.Tick();
    const Bitmap shown = Row({kBlue, kGreen, kRed, clWhite});
    ASSERT_TRUE(d.image1 == shown);
    d.stack.DeleteLayer();
    d.stack.Merge();  // before any tick: the merge takes the picture still shown
    d.Tick();
    EXPECT_EQ(d.stack.LayerCount(), 1);
    EXPECT_TRUE(d.compositor.LayerImages[0] == shown);
    EXPECT_TRUE(d.image1 == shown);
    EXPECT_FALSE(d.stack.DeleteRequested || d.stack.MergeRequested || d.stack.LayersChanged);
}

TEST(LayerCacheRebuild, DeletedLayerTurnsWhiteAndIsReusedWhite) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(1);
    d.Tick();
    d.stack.DeleteLayer();
    d.Tick();
    EXPECT_TRUE(d.compositor.LayerImages[1].IsLazyWhite());
    EXPECT_EQ(d.compositor.LayerImages[1].Width(), 4);
    EXPECT_TRUE(d.image1 == Row({kBlue, kRed, kRed, clWhite}));
    d.stack.CreateLayer();
    d.Tick();
    EXPECT_EQ(d.stack.DisplayOrder(2), 1);
    EXPECT_TRUE(d.image1 == Row({kBlue, kRed, kRed, clWhite}));
}

TEST(LayerCacheRebuild, SeveralDeletesBetweenTwoTicksWhitenEveryDeletedLayer) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(2);
    d.stack.DeleteLayer();
    d.stack.DeleteLayer();  // layer 1, now current
    d.Tick();
    d.stack.CreateLayer();
    d.stack.CreateLayer();
    d.Tick();
    EXPECT_TRUE(d.compositor.LayerImages[1].IsLazyWhite());
    EXPECT_TRUE(d.compositor.LayerImages[2].IsLazyWhite());
    EXPECT_TRUE(d.image1 == Row({kRed, kRed, kRed, clWhite}));
}

TEST(LayerCacheRebuild, UndoSnapshotsTurnWhiteOnlyWhenTheirLayerIsGone) {
    Document d;
    PaintThree(d);
    d.Tick();
    Bitmap before = Row({kRed, kRed, kRed, kRed});
    Bitmap after = Row({kBlue, kBlue, kBlue, kBlue});
    const UndoSnapshots undo{&before, &after, 0};
    d.stack.SelectLayer(2);
    d.stack.DeleteLayer();
    d.Tick(undo);
    EXPECT_TRUE(before == Row({kRed, kRed, kRed, kRed}));
    d.stack.SelectLayer(0);
    d.stack.DeleteLayer();
    d.Tick(undo);
    EXPECT_TRUE(before == Row({clWhite, clWhite, clWhite, clWhite}));
    EXPECT_TRUE(after == Row({clWhite, clWhite, clWhite, clWhite}));
}

TEST(LayerCacheRebuild, UndosReducedRebuildLeavesPendingRequestsForTheTick) {
    Document d;
    PaintThree(d);
    d.stack.SelectLayer(1);
    d.Tick();
    d.stack.DeleteLayer();
    d.compositor.RebuildAfterUndo();
    EXPECT_TRUE(d.stack.DeleteRequested);
    EXPECT_TRUE(d.stack.LayersChanged);
    EXPECT_FALSE(d.compositor.LayerImages[1].IsLazyWhite());
    d.Tick();
    EXPECT_TRUE(d.compositor.LayerImages[1].IsLazyWhite());
    // Without pending requests it clears the flag and renews counts and cache.
    d.stack.SelectLayer(2);
    d.compositor.RebuildAfterUndo();
    EXPECT_FALSE(d.stack.LayersChanged);
    EXPECT_EQ(d.compositor.CurrentLayerPosition(), 1);
    EXPECT_TRUE(d.compositor.LayersBelowCurrent());
    EXPECT_TRUE(d.image1 == Row({kBlue, kRed, kRed, clWhite}));
}

// A picture of one shown layer keyed on white needs no paint surface memory of its own; once
// it composes more than that layer the surface has its own pixels, and the layer is never
// written by composing.
TEST(LayerCompositorMemory, TheSurfaceOfALoneLayerIsTheLayerItself) {
    Document d(400, 300);
    Bitmap& layer = d.compositor.LayerImages[0];
    layer.SetPixel(5, 5, kRed);
    d.compositor.CompositeRefresh();
    EXPECT_EQ(d.image1.AllocatedBytes(), 0u);
    EXPECT_EQ(d.image1.Pixel(5, 5), kRed);
    // Undo shows the restored layer without copying it.
    d.compositor.ShowOnPaintSurface(layer);
    EXPECT_EQ(d.image1.AllocatedBytes(), 0u);

    d.stack.CreateLayer();
    d.Tick();
    d.compositor.LayerImages[1].SetPixel(6, 6, kBlue);
    d.stack.SelectLayer(1);
    d.Tick();
    EXPECT_GT(d.image1.AllocatedBytes(), 0u);
    EXPECT_EQ(d.image1.Pixel(6, 6), kBlue);
    EXPECT_EQ(layer.Pixel(6, 6), clWhite);
    d.image1.SetPixel(7, 7, kGreen);  // the stroke's pen on the surface
    EXPECT_EQ(layer.Pixel(7, 7), clWhite);

    // A lone layer keyed on another colour shows white where it is that colour.
    d.stack.DeleteLayer();
    d.Tick();
    d.stack.SetTransparentColour(0, kRed);
    d.compositor.CompositeRefresh();
    EXPECT_GT(d.image1.AllocatedBytes(), 0u);
    EXPECT_EQ(d.image1.Pixel(5, 5), clWhite);
    EXPECT_EQ(layer.Pixel(5, 5), kRed);
    d.stack.SetTransparentColour(0, clWhite);
    d.compositor.CompositeRefresh();
    EXPECT_EQ(d.image1.AllocatedBytes(), 0u);
    EXPECT_EQ(d.image1.Pixel(5, 5), kRed);
}

TEST(LayerCompositorMemory, TheSurfaceKeepsThePictureWhenTheCompositorGoes) {
    LayerStack stack;
    Bitmap image1(10, 10);
    {
        LayerCompositor compositor(stack, image1);
        compositor.LayerImages[0].SetPixel(3, 3, kBlue);
        compositor.CompositeRefresh();
    }
    EXPECT_EQ(image1.Pixel(3, 3), kBlue);
    EXPECT_GT(image1.AllocatedBytes(), 0u);
}

TEST(LayerCompositorMemory, FreeIndicesHoldNoPixels) {
    Document d(400, 300);
    d.compositor.LayerImages[0].SetPixel(0, 0, kRed);
    d.stack.CreateLayer();
    d.Tick();
    std::size_t held = 0;
    for (int i = 1; i < kLayerSlots; ++i) held += d.compositor.LayerImages[i].AllocatedBytes();
    EXPECT_EQ(held, 0u);
    EXPECT_EQ(d.compositor.BelowComposite().AllocatedBytes(), 0u);
    d.compositor.LayerImages[5].Fill(kRed);
    d.compositor.Reset(200, 100);
    for (int i = 0; i < kLayerSlots; ++i) {
        EXPECT_TRUE(d.compositor.LayerImages[i].IsLazyWhite()) << i;
        EXPECT_EQ(d.compositor.LayerImages[i].Width(), 200);
    }
    EXPECT_EQ(d.compositor.LayerCount(), 1);
}
