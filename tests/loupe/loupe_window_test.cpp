// The loupe window with the main window offscreen: options from the settings, the
// magnification items, following the brush tip, and showing and hiding through L1.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "loupe/loupe_window.h"
#include "loupe/lupe.h"
#include "next_frame.h"
#include "platform/app_paths.h"

namespace {

struct Setting {
    const char* section;
    const char* key;
    bool value;
};

class LoupeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { AppPaths::OverrideExecutableDir(dir.path()); }
    void TearDown() override {
        form.reset();
        AppPaths::OverrideExecutableDir(QString());
    }

    // The main window and the loupe window as the program starts them, after the settings.
    void Start(const std::vector<Setting>& settings = {}) {
        TIniGT ini;
        for (const Setting& s : settings)
            ini.WriteBool(QString::fromLatin1(s.section), QString::fromLatin1(s.key), s.value);
        form = std::make_unique<TForm1>(QStringList(), dir.path());
        loupe = new TForm11(form.get(), form->Core(), &form->Core().IniGT1);
        form->SetToolWindows(nullptr, loupe);
        form->show();
        loupe->show();
        QApplication::processEvents();
    }

    MainWindowCore& Core() { return form->Core(); }

    std::vector<bool> Checks() const {
        std::vector<bool> checks;
        for (QAction* item : loupe->B) checks.push_back(item->isChecked());
        return checks;
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    TForm11* loupe = nullptr;
};

}  // namespace

TEST_F(LoupeWindowTest, OpensWithTheStoredMagnificationOptionsAndStatusBar) {
    struct Case {
        const char* name;
        std::vector<Setting> settings;
        std::vector<bool> checks;
        int power;
        bool follow;
        bool statusBar;
    };
    const std::vector<bool> none(7, false);
    const std::vector<Setting> allOff = {
        {"lupe", "B2", false}, {"lupe", "B3", false}, {"lupe", "B4", false}, {"lupe", "B5", false},
        {"lupe", "B6", false}, {"lupe", "B7", false}, {"lupe", "B8", false}};
    std::vector<Setting> fourAndTen = allOff;
    fourAndTen[1].value = fourAndTen[4].value = true;
    std::vector<Setting> optionsOff = {{"option", "lupe1", false}, {"visible", "bar1", false}};
    const std::vector<Case> cases = {
        {"no settings file", {}, {false, false, true, false, false, false, false}, 6, true, true},
        {"4x and 10x both stored",
         fourAndTen,
         {false, true, false, false, true, false, false},
         10,
         true,
         true},
        {"none checked keeps the design 4x", allOff, none, 4, true, true},
        {"follow and status bar off",
         optionsOff,
         {false, false, true, false, false, false, false},
         6,
         false,
         false},
    };
    for (const Case& c : cases) {
        QTemporaryDir fresh;
        AppPaths::OverrideExecutableDir(fresh.path());
        Start(c.settings);
        EXPECT_EQ(Checks(), c.checks) << c.name;
        EXPECT_EQ(loupe->Lupe1->Power(), c.power) << c.name;
        EXPECT_EQ(loupe->F1->isChecked(), c.follow) << c.name;
        EXPECT_EQ(loupe->StatusBar1->isVisible(), c.statusBar) << c.name;
        EXPECT_EQ(loupe->StatusPanel0->text(),
                  QStringLiteral("ルーぺを使うと描画が遅くなります。"));
        form.reset();
    }
}

TEST_F(LoupeWindowTest, MagnificationItemBecomesTheOnlyCheckedOne) {
    Start({{"lupe", "B3", true}, {"lupe", "B6", true}});
    loupe->B[5]->trigger();  // 12x
    EXPECT_EQ(Checks(), std::vector<bool>({false, false, false, false, false, true, false}));
    EXPECT_EQ(loupe->Lupe1->Power(), 12);
    loupe->B[5]->trigger();  // choosing it again keeps it checked
    EXPECT_EQ(Checks(), std::vector<bool>({false, false, false, false, false, true, false}));
    loupe->B2Click();
    EXPECT_EQ(Checks(), std::vector<bool>({true, false, false, false, false, false, false}));
    EXPECT_EQ(loupe->Lupe1->Power(), 2);
}

// Centred on the pointer, top first and then left; an origin out of the scrollable range is
// refused on its own axis only.
TEST_F(LoupeWindowTest, DrawingTickCentresTheLoupeOnThePointer) {
    struct Case {
        const char* name;
        bool shown;
        bool follow;
        QPoint pointer;
        bool followX;
        bool followY;
    };
    const std::vector<Case> cases = {
        {"following", true, true, {200, 150}, true, true},
        {"near the left edge", true, true, {3, 150}, false, true},
        {"near the top edge", true, true, {200, 2}, true, false},
        {"near the bottom-right corner", true, true, {398, 397}, false, false},
        {"not following", true, false, {200, 150}, false, false},
        {"loupe hidden", false, true, {200, 150}, false, false},
    };
    Start();
    TLupe* lupe = loupe->Lupe1;
    for (const Case& c : cases) {
        lupe->SetClipLeft(100);
        lupe->SetClipTop(90);
        Core().Checks.L1 = c.shown;
        Core().Loupe.F1 = c.follow;
        Core().Stroke.PointerX = c.pointer.x();
        Core().Stroke.PointerY = c.pointer.y();
        Core().LoupeFollowTip();
        const int w = lupe->ClipWidth(), h = lupe->ClipHeight();
        EXPECT_EQ(lupe->ClipLeft(), c.followX ? c.pointer.x() - w / 2 : 100) << c.name;
        EXPECT_EQ(lupe->ClipTop(), c.followY ? c.pointer.y() - h / 2 : 90) << c.name;
    }
}

// The marks the brush lays down show magnified by the next frame, also while the loupe stands
// still.
TEST_F(LoupeWindowTest, MarksAtTheTipShowMagnifiedWithTheGrid) {
    Start();
    TLupe* lupe = loupe->Lupe1;  // 6x
    Core().Stroke.PointerX = 200;
    Core().Stroke.PointerY = 150;
    Core().Image1.SetPixel(200, 150, clBlack);
    Core().LoupeFollowTip();
    ShowNextFrame(*lupe);
    const auto shownAt = [&](int x, int y, int dx, int dy) {
        const QImage shot = lupe->grab().toImage();
        return FromQColor(
            shot.pixelColor((x - lupe->ClipLeft()) * 6 + dx, (y - lupe->ClipTop()) * 6 + dy));
    };
    EXPECT_EQ(shownAt(200, 150, 2, 2), clBlack);
    EXPECT_EQ(shownAt(201, 150, 2, 2), clWhite);
    EXPECT_EQ(shownAt(201, 150, 5, 2), clBlack);  // the grid line closing the block

    Core().Loupe.F1 = false;
    Core().Image1.SetPixel(201, 150, RgbColour(255, 0, 0));
    Core().LoupeFollowTip();
    ShowNextFrame(*lupe);
    EXPECT_EQ(shownAt(201, 150, 2, 2), RgbColour(255, 0, 0));
}

// Every showing reads the stored options again, so what was changed during the run gives way.
TEST_F(LoupeWindowTest, HiddenAndShownAgainTheLoupeTakesItsOptionsFromTheSettings) {
    Start();
    loupe->D1Click();
    loupe->F1->trigger();
    EXPECT_FALSE(loupe->StatusBar1->isVisible());
    EXPECT_FALSE(loupe->F1->isChecked());
    Core().L1Click();
    EXPECT_FALSE(loupe->isVisible());
    Core().L1Click();
    EXPECT_TRUE(loupe->isVisible());
    EXPECT_TRUE(loupe->StatusBar1->isVisible());
    EXPECT_TRUE(loupe->F1->isChecked());
    EXPECT_EQ(&loupe->Lupe1->Bitmap(), &Core().Image1);
}

// "表示しない" on the status bar's menu hides it for good: the exit stores it, through the menu
// item and through the close box alike, and the next start shows the loupe without it.
TEST_F(LoupeWindowTest, ExitStoresTheHiddenStatusBar) {
    for (const bool throughMenu : {true, false}) {
        SCOPED_TRACE(throughMenu ? "終了" : "close box");
        QTemporaryDir fresh;
        AppPaths::OverrideExecutableDir(fresh.path());
        Start();
        loupe->D1->trigger();
        EXPECT_FALSE(loupe->StatusBar1->isVisible());
        if (throughMenu)
            form->MenuItem(QStringLiteral("N6"))->trigger();
        else
            form->close();
        QFile ini(TIniGT().Path());
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        EXPECT_TRUE(text.contains("[visible]\nbar1=0\n")) << text.constData();
        form.reset();
        Start();
        EXPECT_FALSE(loupe->StatusBar1->isVisible());
        form.reset();
    }
}

TEST_F(LoupeWindowTest, CloseBoxUnchecksL1AtTheNextTick) {
    Start();
    loupe->close();
    EXPECT_TRUE(Core().Checks.L1);
    Core().Timer1Timer(0);
    EXPECT_FALSE(Core().Checks.L1);
    EXPECT_FALSE(form->MenuItem(QStringLiteral("L1"))->isChecked());
    EXPECT_FALSE(loupe->isVisible());
}
