// The selection rectangle and the floating paste as widgets over the paint surface.
#include <gtest/gtest.h>

#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/error_box.h"
#include "controls/sel_shape.h"
#include "platform/app_paths.h"
#include "tools/clipboard_picture.h"
#include "tools/paste_picture.h"

namespace {

class MainWindowEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        SetErrorBoxRecording(true);
    }
    void TearDown() override {
        SetErrorBoxRecording(false);
        AppPaths::OverrideExecutableDir(QString());
    }
    QTemporaryDir dir;
};

TEST_F(MainWindowEditTest, FloatingPasteKeepsItsPicturePlaceWhenTheViewScrolls) {
    TForm1 form({}, dir.path());
    form.resize(250, 250);
    form.show();
    Bitmap red(20, 10);
    red.Fill(RgbColour(255, 0, 0));
    PutPictureOnClipboard(red);
    form.MenuItem(QStringLiteral("Paste1"))->trigger();
    form.Core().MoveFloatingPaste(300, 300);
    ASSERT_TRUE(form.Image7->isVisible());
    EXPECT_EQ(form.Image7->geometry(), QRect(290, 295, 20, 10));

    form.ScrollBox1->horizontalScrollBar()->setValue(150);
    form.ScrollBox1->verticalScrollBar()->setValue(120);
    QWidget* viewport = form.ScrollBox1->viewport();
    EXPECT_EQ(form.Image7->geometry(), QRect(290, 295, 20, 10));
    const QPoint shown = form.Image7->mapTo(viewport, QPoint(0, 0));
    EXPECT_EQ(shown, QPoint(290 - 150, 295 - 120));
    const QImage seen = viewport->grab().toImage();
    EXPECT_EQ(seen.pixelColor(shown + QPoint(19, 9)), QColor(255, 0, 0));
    EXPECT_EQ(seen.pixelColor(shown + QPoint(20, 9)), QColor(255, 255, 255));
}

TEST_F(MainWindowEditTest, SelectionRectangleDraggedByItselfTellsTheCore) {
    TForm1 form({}, dir.path());
    form.show();
    form.MenuItem(QStringLiteral("Cut1"))->trigger();
    form.Core().StartCutRectangle(10, 20);
    form.Core().DragSelection(60, 70);
    EXPECT_EQ(form.SelShape1->geometry(), QRect(10, 20, 50, 50));
    EXPECT_EQ(form.Image1->cursor().shape(), Qt::CrossCursor);
    form.SelShape1->SetBounds(30, 40, 50, 50);  // as its own move drag leaves it
    EXPECT_EQ(form.Core().SelShape1.Rect(), QRect(30, 40, 50, 50));
}

}  // namespace
