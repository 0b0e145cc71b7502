// The size box and the brush-kind menu in the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "platform/app_paths.h"

namespace {

class BrushSettingsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { AppPaths::OverrideExecutableDir(dir.path()); }
    void TearDown() override { AppPaths::OverrideExecutableDir(QString()); }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(BrushSettingsWindowTest, SizeBoxHiddenMenuAndBlurItemsShowTheCoresMarks) {
    TForm1 form({}, dir.path());
    form.ComboBox1->setCurrentIndex(4);
    EXPECT_EQ(form.Core().Stroke.BrushSize, 3);
    EXPECT_TRUE(form.MenuItem("S5")->isChecked());
    EXPECT_FALSE(form.MenuItem("S3")->isChecked());

    form.MenuItem("S1")->trigger();
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("極太"));
    EXPECT_EQ(form.Core().Stroke.BrushSize, 25);
    EXPECT_TRUE(form.MenuItem("S1")->isChecked());
    EXPECT_FALSE(form.MenuItem("S5")->isChecked());

    form.MenuItem("K2")->trigger();
    form.MenuItem("K2")->trigger();  // clicking the checked level keeps it
    for (const char* name : {"K1", "K3", "K4"}) EXPECT_FALSE(form.MenuItem(name)->isChecked());
    EXPECT_TRUE(form.MenuItem("K2")->isChecked());
    EXPECT_EQ(form.Core().Blur(), blStrong);
}

// "筆圧(&T)" closes the brush-kind menu, checked from the start, and toggles the core's mark.
TEST_F(BrushSettingsWindowTest, PressureItemEndsTheBrushKindMenu) {
    TForm1 form({}, dir.path());
    QAction* item = form.MenuItem("P1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("筆圧(&T)"));
    QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) menu = m;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("筆の種類(&K)"));
    const QList<QAction*> kind = menu->actions();
    EXPECT_EQ(kind.back(), item);
    EXPECT_EQ(kind[kind.size() - 2], form.MenuItem("C2"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(form.Core().Checks.P1);
    item->trigger();
    EXPECT_TRUE(form.Core().Checks.P1);
}
