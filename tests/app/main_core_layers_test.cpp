// The main window's side of the layers: the tick picks up the layer window's changes.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/main_core.h"
#include "core_test.h"
#include "platform/app_paths.h"

namespace {

class MainCoreLayersTest : public CoreTest {
  protected:
};

}  // namespace

TEST_F(MainCoreLayersTest, StartsWithOneWhiteLayerAndNoLayerMemory) {
    EXPECT_EQ(core->Layers.LayerCount(), 1);
    EXPECT_EQ(core->Layers.CurrentLayerIndex(), 0);
    EXPECT_FALSE(core->LayersAboveCurrent());
    EXPECT_FALSE(core->LayersBelowCurrent());
    std::size_t bytes = 0;
    for (const Bitmap& layer : core->LayerImages()) {
        EXPECT_EQ(layer.Width(), 400);
        bytes += layer.AllocatedBytes();
    }
    EXPECT_EQ(bytes, 0u);
}

TEST_F(MainCoreLayersTest, ChangeBelowTheCurrentLayerShowsOnlyAtTheNextTick) {
    core->LayerImages()[0].Fill(clBlack);
    core->Layers.CreateLayer();  // layer 1 on top, white, keyed on white
    core->Timer1Timer(1);
    EXPECT_EQ(core->Image1.Pixel(10, 10), clBlack);
    core->Layers.SelectLayer(1);
    core->Timer1Timer(1);
    EXPECT_TRUE(core->LayersBelowCurrent());

    core->Layers.ToggleVisibility(0);
    EXPECT_EQ(core->Image1.Pixel(10, 10), clBlack);  // not yet
    const int repaints = screen.Repaints;
    core->Timer1Timer(1);
    EXPECT_EQ(core->Image1.Pixel(10, 10), clWhite);
    EXPECT_GT(screen.Repaints, repaints);
    EXPECT_FALSE(core->Layers.LayersChanged);
}

TEST_F(MainCoreLayersTest, LoupeGetsCopiesOnlyWhileItsItemIsChecked) {
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    EXPECT_EQ(screen.LoupeCopies, 1);
    core->L1Click();  // uncheck
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    EXPECT_EQ(screen.LoupeCopies, 1);
}

TEST_F(MainCoreLayersTest, DeletingTheUndoLayerWhitensBothSnapshotsAtTheNextTick) {
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    core->Layers.SelectLayer(1);
    core->Tools.UndoLayer = 1;
    core->Image3.Fill(clBlack);
    core->Image4.Fill(clBlack);
    core->LayerImages()[1].Fill(clBlack);
    core->Layers.DeleteLayer();
    EXPECT_EQ(core->Image3.Pixel(0, 0), clBlack);
    core->Timer1Timer(1);
    EXPECT_EQ(core->Image3.Pixel(0, 0), clWhite);
    EXPECT_EQ(core->Image4.Pixel(5, 5), clWhite);
    EXPECT_EQ(core->LayerImages()[1].Pixel(0, 0), clWhite);
    EXPECT_EQ(core->LayerCount(), 1);
}

TEST_F(MainCoreLayersTest, MergeKeepsThePictureShown) {
    core->LayerImages()[0].SetPixel(1, 1, clBlack);
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    core->LayerImages()[1].SetPixel(2, 2, RgbColour(255, 0, 0));
    core->Layers.SelectLayer(1);
    core->Timer1Timer(1);
    core->Layers.Merge();
    core->Timer1Timer(1);
    EXPECT_EQ(core->LayerCount(), 1);
    EXPECT_EQ(core->LayerImages()[0].Pixel(1, 1), clBlack);
    EXPECT_EQ(core->LayerImages()[0].Pixel(2, 2), RgbColour(255, 0, 0));
    EXPECT_EQ(core->Image1.Pixel(2, 2), RgbColour(255, 0, 0));
    EXPECT_EQ(core->LayerImages()[1].AllocatedBytes(), 0u);
}
