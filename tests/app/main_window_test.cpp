// The main window built offscreen: captions, menus, the tool panel and the close sequence.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTemporaryDir>

#include "controls/error_box.h"
#include "app/main_window.h"
#include "app/paint_surface.h"
#include "app/program_windows.h"
#include "controls/cute_button.h"
#include "platform/app_paths.h"

namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        SetErrorBoxRecording(true);
    }
    void TearDown() override {
        SetErrorBoxRecording(false);
        AppPaths::OverrideExecutableDir(QString());
    }

    QByteArray ReadIni() {
        QFile f(TIniGT().Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

QStringList TopMenus(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions())
        if (a->isVisible()) titles << a->text();
    return titles;
}

}  // namespace

TEST_F(MainWindowTest, StartsWithTitleSizeTextAndWhitePicture) {
    TForm1 form({}, dir.path());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("無題 - Kasumiro"));
    EXPECT_EQ(form.StatusPanel1->text(), QStringLiteral("サイズ( 400 x 400 )"));
    EXPECT_EQ(form.StatusPanel0->width(), 300);
    EXPECT_EQ(form.Image1->size(), QSize(400, 400));
    const QImage shown = form.Image1->grab().toImage();
    EXPECT_EQ(shown.pixelColor(200, 200), QColor(Qt::white));
}

TEST_F(MainWindowTest, MenusCarryTheirNamesShortcutsAndCheckMarks) {
    TForm1 form({}, dir.path());
    EXPECT_EQ(TopMenus(form.menuBar()),
              QStringList({"ファイル(&F)", "編集(&E)", "筆の種類(&K)", "レタッチの種類(&R)",
                           "フィルタ(&I)", "表示(&V)", "ヘルプ(&H)"}));
    EXPECT_EQ(form.MenuItem("Save1")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(form.MenuItem("Undo1")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(form.MenuItem("Paste1")->text(), QStringLiteral("貼り付け(&P)"));
    EXPECT_EQ(form.MenuItem("I3")->text(), QStringLiteral("ｺﾝﾄﾗｽﾄ強調(&K)"));
    EXPECT_EQ(form.MenuItem("N4")->text(), QStringLiteral("バージョン情報(&A)"));
    EXPECT_TRUE(form.MenuItem("K3")->isChecked());
    EXPECT_TRUE(form.MenuItem("C2")->isChecked());  // the settings default
    EXPECT_FALSE(form.MenuItem("N8")->isChecked());
    EXPECT_TRUE(form.MenuItem("S3")->isChecked());
    EXPECT_EQ(form.MenuItem("S1")->text(), QStringLiteral("極太(&B)"));
}

TEST_F(MainWindowTest, AnItemShowsTheMarkItsHandlerLeaves) {
    // Qt's own toggle is put back; only the handler changes the mark, once per click.
    TForm1 form({}, dir.path());
    form.MenuItem("N8")->trigger();
    EXPECT_TRUE(form.MenuItem("N8")->isChecked());
    EXPECT_TRUE(form.Core().Checks.N8);
}

TEST_F(MainWindowTest, ToolPanelHoldsItsControlsAtTheirPlaces) {
    TForm1 form({}, dir.path());
    EXPECT_EQ(form.Panel1->width(), 81);
    EXPECT_EQ(form.ComboBox1->count(), 5);
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("中筆"));
    EXPECT_EQ(form.Button3->geometry(), QRect(7, 40, 66, 20));
    EXPECT_EQ(form.Button1->geometry(), QRect(7, 184, 66, 20));
    EXPECT_EQ(form.CuteButton4->geometry(), QRect(8, 342, 65, 17));
    EXPECT_EQ(form.Button3->toolTip(), QStringLiteral("筆"));
    EXPECT_EQ(form.Button3->Color(), QColor(128, 128, 128));
    EXPECT_NE(form.Button4->Color(), QColor(128, 128, 128));
    EXPECT_EQ(form.Panel4->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.Panel5->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(MainWindowTest, DoubleClickMovesThePanelAndCloseRemembersIt) {
    {
        TForm1 form({}, dir.path());
        form.resize(493, 470);
        form.show();
        QApplication::processEvents();
        EXPECT_EQ(form.Panel1->x(), 0);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(40, 400), QPointF(40, 400),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.Panel1, &dbl);
        QApplication::processEvents();
        EXPECT_GT(form.Panel1->x(), form.ScrollBox1->x());
        form.close();
    }
    EXPECT_TRUE(ReadIni().contains("palette=0"));
    TForm1 again({}, dir.path());
    again.show();
    QApplication::processEvents();
    EXPECT_GT(again.Panel1->x(), again.ScrollBox1->x());
}

TEST(WindowPlacement, MaximisedWindowKeepsItsRestoredRectangle) {
    QWidget w;
    WindowPlacement p;
    p.Show = WindowPlacement::swMaximized;
    p.X = 30;
    p.Y = 40;
    p.XSize = 330;
    p.YSize = 240;
    ApplyPlacement(&w, p);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    const WindowPlacement back = PlacementOf(&w);
    EXPECT_EQ(back.Show, WindowPlacement::swMaximized);
    EXPECT_EQ(back.X, 30);
    EXPECT_EQ(back.XSize, 330);
    EXPECT_EQ(back.YSize, 240);
}

TEST_F(MainWindowTest, ProgramStartCreatesTheWindowsAndTheCloseBoxClearsTheViewMark) {
    ProgramWindows windows({}, dir.path());
    // No Readme beside this program: one error box at start-up, and the program goes on.
    EXPECT_EQ(TakeRecordedErrorBoxes(), QStringList{QStringLiteral("ﾌｧｲﾙが見つかりません")});
    windows.Show();
    QApplication::processEvents();
    TForm1* form = windows.Form1();
    QWidget* layers = windows.LayerWindow();
    EXPECT_EQ(layers->windowTitle(), QStringLiteral("レイヤ"));
    EXPECT_EQ(windows.LoupeWindow()->windowTitle(), QStringLiteral("ルーぺ"));
    EXPECT_EQ(windows.AboutBox()->windowTitle(), QStringLiteral("Kasumiroのバージョン情報"));
    EXPECT_TRUE(layers->isVisible());

    layers->close();
    EXPECT_TRUE(form->MenuItem("R9")->isChecked());  // until the next tick
    form->Core().Timer1Timer(1);
    EXPECT_FALSE(form->MenuItem("R9")->isChecked());
    form->MenuItem("R9")->trigger();
    EXPECT_TRUE(layers->isVisible());
    EXPECT_TRUE(form->MenuItem("R9")->isChecked());
    form->MenuItem("R9")->trigger();
    EXPECT_FALSE(layers->isVisible());
}
