// The layer window's model: order, current layer, refusals, texts and the flags for the tick.
#include <gtest/gtest.h>

#include <vector>

#include "layers/layer_stack.h"
#include "recording_host.h"

namespace {

std::vector<int> Order(const LayerStack& s) {
    std::vector<int> order;
    for (int p = 0; p < s.LayerCount(); ++p) order.push_back(s.DisplayOrder(p));
    return order;
}

// Layers 0, 1, 2 bottom to top, flags cleared as a tick would.
void MakeThree(LayerStack& s) {
    s.CreateLayer();
    s.CreateLayer();
    s.LayersChanged = false;
}

}  // namespace

TEST(LayerStackTexts, ColourAndRank) {
    EXPECT_EQ(ColourText(clWhite), "$00FFFFFF");
    // Blue in the highest digits, red in the lowest.
    EXPECT_EQ(ColourText(RgbColour(0x12, 0xAB, 0x0C)), "$000CAB12");
    EXPECT_EQ(RankText(1), "表示順位1番目");
    EXPECT_EQ(RankText(12), "表示順位12番目");
}

TEST(LayerStackStartUp, OneLayerWithGuardAndAllHints) {
    LayerStack s;
    EXPECT_EQ(s.DisplayOrder(-1), -1);
    EXPECT_EQ(s.DisplayOrder(0), 0);
    EXPECT_EQ(s.DisplayOrder(1), -1);
    EXPECT_EQ(s.LayerCount(), 1);
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_EQ(s.LayerName(0), "新規レイヤ1");
    EXPECT_EQ(s.VisibilityMark(0), "○");
    EXPECT_TRUE(s.IsShown(0));
    EXPECT_EQ(s.TransparentColour(0), clWhite);
    EXPECT_TRUE(s.IsHighlighted(0));
    EXPECT_TRUE(s.HasNameHint(0) && s.HasShowHint(0) && s.HasColourHint(0));
    EXPECT_EQ(s.ColourPanelText(), "$00FFFFFF");
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
    EXPECT_FALSE(s.LayersChanged || s.DeleteRequested || s.MergeRequested);
}

TEST(LayerStackCreate, NewLayerGoesOnTopUnselectedAndRankGrows) {
    RecordingHost host;
    LayerStack s(&host);
    s.SetTransparentColour(0, clBlack);
    s.CreateLayer();
    EXPECT_EQ(Order(s), (std::vector<int>{0, 1}));
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_FALSE(s.IsHighlighted(1));
    EXPECT_EQ(s.LayerName(1), "新規レイヤ2");
    EXPECT_EQ(s.VisibilityMark(1), "○");
    EXPECT_EQ(s.TransparentColour(1), clWhite);
    EXPECT_TRUE(s.Thumbnail(1).IsLazyWhite());
    EXPECT_TRUE(s.HasNameHint(1) && s.HasShowHint(1));
    EXPECT_EQ(s.RowTop(1), 0);
    EXPECT_EQ(s.RowTop(0), 40);
    EXPECT_EQ(s.RankPanelText(), "表示順位2番目");
    EXPECT_EQ(s.ColourPanelText(), "$00000000");  // the current layer's colour
    EXPECT_TRUE(s.LayersChanged);
    EXPECT_EQ(host.beeps, 0);
}

TEST(LayerStackCreate, NinetyNineIsTheLimit) {
    RecordingHost host;
    LayerStack s(&host);
    for (int i = 1; i < 99; ++i) s.CreateLayer();
    ASSERT_EQ(s.LayerCount(), 99);
    EXPECT_EQ(s.DisplayOrder(98), 98);
    s.LayersChanged = false;
    s.CreateLayer();
    EXPECT_EQ(host.confirmations, QStringList{"レイヤは99個までしか作れません"});
    EXPECT_EQ(s.LayerCount(), 99);
    EXPECT_EQ(s.DisplayOrder(99), -1);
    EXPECT_FALSE(s.LayersChanged);
}

TEST(LayerStackDelete, MiddleLayerHandsOverToTheOneBelow) {
    LayerStack s;
    MakeThree(s);
    s.SelectLayer(1);
    s.DeleteLayer();
    EXPECT_EQ(Order(s), (std::vector<int>{0, 2}));
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_EQ(s.RankPanelText(), "表示順位2番目");
    EXPECT_TRUE(s.DeleteRequested);
    EXPECT_EQ(s.DeletedLayerIndex, 1);
    EXPECT_TRUE(s.LayersChanged);
    EXPECT_EQ(s.DisplayOrder(2), -1);
    EXPECT_EQ(s.RowTop(2), 0);
    EXPECT_EQ(s.RowTop(0), 40);
}

TEST(LayerStackDelete, BottomLayerHandsOverToTheOneAbove) {
    LayerStack s;
    MakeThree(s);
    s.DeleteLayer();  // layer 0, the bottom, is current
    EXPECT_EQ(Order(s), (std::vector<int>{1, 2}));
    EXPECT_EQ(s.CurrentLayerIndex(), 1);
    EXPECT_TRUE(s.IsHighlighted(1));
    EXPECT_EQ(s.RankPanelText(), "表示順位2番目");
    EXPECT_EQ(s.DeletedLayerIndex, 0);
}

TEST(LayerStackDelete, TopLayerHandsOverToTheOneBelow) {
    LayerStack s;
    MakeThree(s);
    s.SelectLayer(2);
    s.DeleteLayer();
    EXPECT_EQ(s.CurrentLayerIndex(), 1);
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
}

TEST(LayerStackDelete, TheOnlyLayerIsRefused) {
    RecordingHost host;
    LayerStack s(&host);
    s.DeleteLayer();
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(host.messages, QStringList{"レイヤが一つしかないので削除できません。"});
    EXPECT_EQ(s.LayerCount(), 1);
    EXPECT_FALSE(s.DeleteRequested || s.LayersChanged);
}

TEST(LayerStackDelete, CreateAfterDeleteReusesTheLowestFreeIndexAndItsName) {
    LayerStack s;
    MakeThree(s);
    s.SetLayerName(1, "空");
    s.SetVisibilityMark(1, "×");
    s.SetTransparentColour(1, clBlack);
    s.SelectLayer(1);
    s.DeleteLayer();
    s.CreateLayer();
    EXPECT_EQ(Order(s), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(s.LayerName(1), "新規レイヤ2");
    EXPECT_EQ(s.VisibilityMark(1), "○");
    EXPECT_EQ(s.TransparentColour(1), clWhite);
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
}

// An index comes back after a delete, a merge or a reset; the life it names does not.
TEST(LayerStackSerial, AReusedIndexIsANewLife) {
    LayerStack s;
    MakeThree(s);
    const unsigned zero = s.LayerSerial(0), one = s.LayerSerial(1), two = s.LayerSerial(2);
    EXPECT_TRUE(s.Lives(1, one));
    s.SelectLayer(1);
    s.MoveUp();
    EXPECT_TRUE(s.Lives(1, one));  // moving keeps the life
    s.DeleteLayer();
    EXPECT_FALSE(s.Lives(1, one));
    s.CreateLayer();
    EXPECT_TRUE(s.InUse(1));
    EXPECT_FALSE(s.Lives(1, one));
    EXPECT_TRUE(s.Lives(0, zero));
    s.Merge();
    EXPECT_FALSE(s.Lives(0, zero));
    EXPECT_FALSE(s.Lives(2, two));
    const unsigned merged = s.LayerSerial(0);
    EXPECT_TRUE(s.Lives(0, merged));
    s.ResetToOneLayer();
    EXPECT_FALSE(s.Lives(0, merged));
    EXPECT_FALSE(s.Lives(-1, 0));
    EXPECT_FALSE(s.Lives(kLayerSlots, 0));
}

TEST(LayerStackMove, SwapsWithTheNeighbourAndShowsTheNewRank) {
    LayerStack s;
    MakeThree(s);
    s.MoveUp();
    EXPECT_EQ(Order(s), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(s.RankPanelText(), "表示順位2番目");
    s.MoveUp();
    EXPECT_EQ(Order(s), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
    EXPECT_EQ(s.RowTop(0), 0);
    s.MoveDown();
    EXPECT_EQ(Order(s), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(s.RankPanelText(), "表示順位2番目");
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_TRUE(s.LayersChanged);
}

TEST(LayerStackMove, TopUpAndBottomDownOnlyBeep) {
    RecordingHost host;
    LayerStack s(&host);
    MakeThree(s);
    const QString rank = s.RankPanelText();
    s.MoveDown();  // layer 0 is at the bottom
    s.SelectLayer(2);
    s.LayersChanged = false;
    s.MoveUp();  // layer 2 is on top
    EXPECT_EQ(host.beeps, 2);
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_EQ(Order(s), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(s.LayersChanged);
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
    EXPECT_EQ(rank, "表示順位3番目");
}

TEST(LayerStackRowControls, ToggleAndColourOfAnotherRowKeepTheCurrentLayer) {
    RecordingHost host;
    LayerStack s(&host);
    MakeThree(s);
    s.ToggleVisibility(2);
    EXPECT_EQ(s.VisibilityMark(2), "×");
    EXPECT_FALSE(s.IsShown(2));
    EXPECT_TRUE(s.LayersChanged);
    s.ToggleVisibility(2);
    EXPECT_EQ(s.VisibilityMark(2), "○");

    host.answer = RgbColour(255, 0, 0);
    s.LayersChanged = false;
    s.ChooseTransparentColour(1);
    EXPECT_EQ(s.TransparentColour(1), RgbColour(255, 0, 0));
    EXPECT_EQ(s.ColourPanelText(), "$000000FF");
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_EQ(s.RankPanelText(), "表示順位3番目");
    EXPECT_TRUE(s.LayersChanged);
}

TEST(LayerStackRowControls, ColourDialogOpensOnWhatItLastReturned) {
    RecordingHost host;
    LayerStack s(&host);
    s.CreateLayer();
    host.answer = RgbColour(0, 0, 255);
    s.ChooseTransparentColour(0);
    host.answer.reset();  // cancelled
    s.LayersChanged = false;
    s.ChooseTransparentColour(1);
    s.ChooseTransparentColour(0);
    ASSERT_EQ(host.dialogOpenedOn.size(), 3u);
    EXPECT_EQ(host.dialogOpenedOn[1], RgbColour(0, 0, 255));
    EXPECT_EQ(host.dialogOpenedOn[2], RgbColour(0, 0, 255));
    // Cancel keeps the colour but still shows it and still raises the flag.
    EXPECT_EQ(s.TransparentColour(1), clWhite);
    EXPECT_EQ(s.ColourPanelText(), "$00FF0000");
    EXPECT_TRUE(s.LayersChanged);
}

TEST(LayerStackMerge, TheOnlyLayerIsRefused) {
    RecordingHost host;
    LayerStack s(&host);
    s.Merge();
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(host.messages, QStringList{"レイヤが一つしかないので結合できません。"});
    EXPECT_FALSE(s.MergeRequested || s.LayersChanged);
}

TEST(LayerStackMerge, AfterMovesAndDeletesLeavesLayerZeroAloneWithoutTwoHints) {
    LayerStack s;
    for (int i = 0; i < 4; ++i) s.CreateLayer();
    s.SelectLayer(3);
    s.MoveDown();
    s.DeleteLayer();
    s.SelectLayer(4);
    s.SetLayerName(0, "下絵");
    s.SetTransparentColour(0, clBlack);
    s.ToggleVisibility(0);
    s.Merge();
    EXPECT_EQ(Order(s), (std::vector<int>{0}));
    EXPECT_EQ(s.DisplayOrder(-1), -1);
    EXPECT_EQ(s.CurrentLayerIndex(), 0);
    EXPECT_EQ(s.LayerName(0), "新規レイヤ1");
    EXPECT_EQ(s.VisibilityMark(0), "○");
    EXPECT_EQ(s.TransparentColour(0), clWhite);
    EXPECT_FALSE(s.HasNameHint(0));
    EXPECT_FALSE(s.HasShowHint(0));
    EXPECT_TRUE(s.HasColourHint(0));
    EXPECT_TRUE(s.MergeRequested && s.LayersChanged);
    EXPECT_EQ(s.ColourPanelText(), "$00FFFFFF");
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
    // A layer created afterwards has its hints again.
    s.CreateLayer();
    EXPECT_TRUE(s.HasNameHint(1) && s.HasShowHint(1));
}

TEST(LayerStackReset, OneLayerAndNoPendingRequests) {
    LayerStack s;
    MakeThree(s);
    s.SelectLayer(2);
    s.DeleteLayer();
    s.Merge();
    s.ResetToOneLayer();
    EXPECT_EQ(Order(s), (std::vector<int>{0}));
    EXPECT_FALSE(s.HasNameHint(0));
    // A rebuild after loading must not whiten or overwrite what was loaded.
    EXPECT_FALSE(s.DeleteRequested);
    EXPECT_FALSE(s.MergeRequested);
    EXPECT_EQ(s.RankPanelText(), "表示順位1番目");
}

TEST(LayerStackThumbnail, IsAThirtyEightSquareStretchedCopy) {
    LayerStack s;
    Bitmap layer(76, 38);
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 38; ++x) layer.SetPixel(x, y, clBlack);
    s.SetThumbnail(0, layer);
    const Bitmap& t = s.Thumbnail(0);
    ASSERT_EQ(t.Width(), 38);
    ASSERT_EQ(t.Height(), 38);
    EXPECT_EQ(t.Pixel(0, 0), clBlack);
    EXPECT_EQ(t.Pixel(18, 37), clBlack);
    EXPECT_EQ(t.Pixel(19, 0), clWhite);
    EXPECT_EQ(t.Pixel(37, 37), clWhite);
}
