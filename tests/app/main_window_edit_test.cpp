// The selection rectangle and the floating paste as widgets over the paint surface.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/error_box.h"
#include "controls/sel_shape.h"
#include "platform/app_paths.h"
#include "tools/clipboard_picture.h"
#include "tools/paste_picture.h"
#include "tools/undo_levels_dialog.h"

#include "window_test.h"

namespace {

using MainWindowEditTest = WindowTest;

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

// With one level the undo items read as they always have; the dialog, centred, chooses more,
// and then each item shows how many steps it can take and greys without one.
TEST_F(MainWindowEditTest, UndoItemsShowTheirStepsOnceTheDialogChoosesMoreLevels) {
    TForm1 form({}, dir.path());
    form.show();
    QAction* undo = form.MenuItem(QStringLiteral("Undo1"));
    QAction* redo = form.MenuItem(QStringLiteral("Redo1"));
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(&R)"));
    EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    EXPECT_FALSE(redo->isEnabled());
    QAction* levels = form.MenuItem(QStringLiteral("UndoLevels1"));
    EXPECT_EQ(levels->text(), QStringLiteral("元に戻す回数(&N)..."));

    bool seen = false;
    QTimer::singleShot(0, &form, [&] {
        auto* dialog = form.findChild<TUndoLevelsDlg*>();
        ASSERT_TRUE(dialog && dialog->isVisible());
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("元に戻す回数"));
        const QPoint off =
            dialog->geometry().center() - dialog->screen()->availableGeometry().center();
        // Within the window frame's few pixels.
        EXPECT_LE(std::abs(off.x()), 4);
        EXPECT_LE(std::abs(off.y()), 4);
        EXPECT_EQ(dialog->SpinEdit1->value(), 1);
        EXPECT_EQ(dialog->SpinEdit1->maximum(), 100);
        dialog->SpinEdit1->setValue(5);
        dialog->OKBtn->click();
    });
    levels->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.Core().History.Levels(), 5);
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U) (0)"));
    EXPECT_FALSE(undo->isEnabled());

    form.Core().Compositor.CurrentLayerImage().Fill(clBlack);
    form.MenuItem(QStringLiteral("C1"))->trigger();
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U) (1)"));
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(undo->text(), QStringLiteral("元に戻す(&U) (0)"));
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(&R) (1)"));
    EXPECT_TRUE(redo->isEnabled());
}

}  // namespace
