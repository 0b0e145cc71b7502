// The brush settings on the main window's core: the size box and hidden size menu, the blur
// levels and toggles of the brush-kind menu, and the bristle cloud.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/main_core.h"
#include "core_test.h"
#include "platform/app_paths.h"

namespace {

class BrushSettingsTest : public CoreTest {
  protected:
    // The size marks as a string of five, "00100" for medium.
    std::string SizeMarks() const {
        const MenuChecks& m = core->Checks;
        std::string s;
        for (bool b : {m.S1, m.S2, m.S3, m.S4, m.S5}) s += b ? '1' : '0';
        return s;
    }
};

}  // namespace

TEST_F(BrushSettingsTest, StartsMediumWithABristleCloud) {
    EXPECT_EQ(screen.BrushSizeIndex, 2);
    EXPECT_EQ(core->Stroke.BrushSize, 13);
    EXPECT_EQ(SizeMarks(), "00100");
    // Bristles 6 and 7 are (-1, -1) in every drawn cloud.
    EXPECT_EQ(core->Bristles.BristleX[7], -1);
    EXPECT_EQ(core->Bristles.BristleY[6], -1);
}

TEST_F(BrushSettingsTest, SizeBoxRowSetsTheSizeAndItsMark) {
    const struct {
        int index, size;
        const char* marks;
    } cases[] = {
        {0, 25, "10000"}, {1, 19, "01000"}, {2, 13, "00100"}, {3, 8, "00010"},
        {4, 3, "00001"},  {-1, 3, "00001"}, {5, 3, "00001"}};  // outside the list: nothing changes
    for (const auto& c : cases) {
        core->ComboBox1Change(c.index);
        EXPECT_EQ(core->Stroke.BrushSize, c.size) << c.index;
        EXPECT_EQ(SizeMarks(), c.marks) << c.index;
        EXPECT_EQ(BrushSizeOf(core->Checks), c.size) << c.index;
    }
}

TEST_F(BrushSettingsTest, HiddenSizeMenuMovesTheSizeBox) {
    const BristleSet cloud = core->Bristles;
    const struct {
        void (MainWindowCore::*click)();
        int index, size;
        const char* marks;
    } cases[] = {{&MainWindowCore::S5Click, 4, 3, "00001"},
                 {&MainWindowCore::S1Click, 0, 25, "10000"},
                 {&MainWindowCore::S4Click, 3, 8, "00010"}};
    for (const auto& c : cases) {
        (core.get()->*c.click)();
        EXPECT_EQ(screen.BrushSizeIndex, c.index);
        EXPECT_EQ(core->Stroke.BrushSize, c.size);
        EXPECT_EQ(SizeMarks(), c.marks);
    }
    // A new size keeps the cloud.
    EXPECT_EQ(core->Bristles.BristleX, cloud.BristleX);
}

TEST_F(BrushSettingsTest, BlurLevelsAreRadioItemsAndOptionsToggle) {
    const struct {
        void (MainWindowCore::*click)();
        BlurLevel level;
    } levels[] = {{&MainWindowCore::K2Click, blStrong},
                  {&MainWindowCore::K4Click, blWeak},
                  {&MainWindowCore::K1Click, blNone},
                  {&MainWindowCore::K3Click, blMedium}};
    for (const auto& c : levels) {
        (core.get()->*c.click)();
        const MenuChecks& m = core->Checks;
        EXPECT_EQ(int(m.K1) + m.K2 + m.K3 + m.K4, 1);
        EXPECT_EQ(core->Blur(), c.level);
    }

    const struct {
        void (MainWindowCore::*click)();
        bool MenuChecks::*mark;
    } toggles[] = {{&MainWindowCore::M1Click, &MenuChecks::M1},
                   {&MainWindowCore::H1Click, &MenuChecks::H1},
                   {&MainWindowCore::N8Click, &MenuChecks::N8},
                   {&MainWindowCore::C2Click, &MenuChecks::C2},
                   {&MainWindowCore::P1Click, &MenuChecks::P1}};
    for (const auto& t : toggles) {
        const bool before = core->Checks.*t.mark;
        (core.get()->*t.click)();
        EXPECT_EQ(core->Checks.*t.mark, !before);
        (core.get()->*t.click)();
        EXPECT_EQ(core->Checks.*t.mark, before);
    }
}

TEST_F(BrushSettingsTest, RegenerationDrawsAnewAndBringsTheSegmentToThePointer) {
    const BristleSet cloud = core->Bristles;
    core->Stroke.PointerX = 31;
    core->Stroke.PointerY = 47;
    core->Stroke.SegmentStartX = 5;
    core->Stroke.BristleCursor = 17;
    core->RegenerateBristles();
    const StrokeState& s = core->Stroke;
    EXPECT_EQ(s.SegmentStartX, 31);
    EXPECT_EQ(s.SegmentEndX, 31);
    EXPECT_EQ(s.SegmentStartY, 47);
    EXPECT_EQ(s.SegmentEndY, 47);
    EXPECT_NE(core->Bristles.BristleX, cloud.BristleX);
}
