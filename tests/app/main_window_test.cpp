// The main window built offscreen: captions, menus, the tool panel and the close sequence.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "app/program_windows.h"
#include "controls/cute_button.h"
#include "controls/error_box.h"
#include "platform/app_paths.h"

#include "window_test.h"

namespace {

class MainWindowTest : public WindowTest {
  protected:
    QByteArray ReadIni() {
        QFile f(TIniGT().Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The texts a dialog shows on its labels and buttons.
QStringList Texts(const QWidget* dialog) {
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text();
    return texts;
}

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

// Qt hands a double click that a child leaves alone on to the panel; only one on the panel
// itself moves it.
TEST_F(MainWindowTest, DoubleClicksOnThePanelsChildrenLeaveThePanelInPlace) {
    TForm1 form({}, dir.path());
    form.show();
    QApplication::processEvents();
    for (QWidget* child : std::initializer_list<QWidget*>{form.Image2, form.Panel4, form.Panel5,
                                                          form.Panel6, form.ProgressBar1}) {
        SCOPED_TRACE(child->objectName().toStdString());
        const QPointF inside(2, 2);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, inside, child->mapToGlobal(inside),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(child, &dbl);
        EXPECT_TRUE(form.Core().ToolPanelLeft);
    }
}

// The design size is the client area below the menu bar, the status bar included.
TEST_F(MainWindowTest, TheDesignSizeIsTheAreaBelowTheMenuBar) {
    TForm1 form({}, dir.path());
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.width(), 493);
    EXPECT_EQ(form.height() - form.menuBar()->height(), 470);
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

// Stored places that would overflow, wrap or leave the window out of sight come back onto the
// screen (800 x 600 offscreen); the settings a user cannot fix by hand must not lock them out.
TEST(WindowPlacement, PlacesOffTheScreenOrLargerThanItAreBroughtOntoIt) {
    struct Case {
        const char* what;
        int x, y, right, bottom;
        QRect expected;
    } const cases[] = {
        {"sound", 30, 40, 330, 240, {30, 40, 300, 200}},
        {"edges at the ends of int", INT_MIN, 0, INT_MAX, 100, {0, 0, 800, 100}},
        {"wrapped at 16 bits", 50000, 10, 50300, 210, {500, 10, 300, 200}},
        {"a million wide", 0, 0, 1000000, 200, {0, 0, 800, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget w;
        WindowPlacement p;
        p.X = c.x;
        p.Y = c.y;
        p.XSize = c.right;
        p.YSize = c.bottom;
        ApplyPlacement(&w, p);
        EXPECT_EQ(w.geometry(), c.expected);
    }
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

// The real error box runs an event loop of its own while the start-up is still creating the
// windows; no tick may run in it, or the tool windows, not yet shown, lose their marks.
TEST_F(MainWindowTest, AnErrorBoxDuringStartUpLeavesTheToolWindowsAndTheirMarks) {
    SetErrorBoxRecording(false);
    QStringList boxes;
    // Reads each box, lets its event loop make a good many passes (any tick would run in them),
    // then closes it.
    QTimer reader;
    int passes = 0;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || ++passes < 50) return;
        passes = 0;
        boxes << box->text();
        box->done(QMessageBox::Ok);
    });
    reader.start(0);
    {
        ProgramWindows windows({}, dir.path());
        reader.stop();
        EXPECT_EQ(boxes, QStringList{QStringLiteral("ﾌｧｲﾙが見つかりません")});
        EXPECT_EQ(windows.Form1()->Core().TickCount, 0);
        windows.Show();
        TForm1* form = windows.Form1();
        // The ticks begin now; the first ones find the windows up and keep their marks.
        EXPECT_TRUE(form->Core().Timer1.Enabled());
        for (int i = 0; i < 3; ++i) form->Core().Timer1Timer(1);
        EXPECT_TRUE(windows.LayerWindow()->isVisible());
        EXPECT_TRUE(windows.LoupeWindow()->isVisible());
        EXPECT_TRUE(form->MenuItem("R9")->isChecked());
        EXPECT_TRUE(form->MenuItem("L1")->isChecked());
        form->close();
    }
    const QByteArray ini = ReadIni();
    EXPECT_TRUE(ini.contains("[show]\nR9=1\nL1=1\n")) << ini.constData();
}

// From the start Qt's own dialogs speak Japanese: the layer window's colour dialog, the file
// dialog with its overwrite question, a message box's buttons.
TEST_F(MainWindowTest, StockDialogsSpeakJapanese) {
    ProgramWindows windows({}, dir.path());
    TakeRecordedErrorBoxes();
    const auto* colour = windows.LayerWindow()->findChild<QColorDialog*>();
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->windowTitle(), QStringLiteral("色を選択"));
    const QStringList colourTexts = Texts(colour);
    for (const char* text : {"基本カラー(&B)", "カスタムカラーに追加(&A)", "OK", "キャンセル"})
        EXPECT_TRUE(colourTexts.contains(QString::fromUtf8(text))) << text;

    QFile existing(dir.filePath(QStringLiteral("pic.bmp")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QFileDialog file(windows.Form1(), QStringLiteral("保存"), dir.path());
    file.setOption(QFileDialog::DontUseNativeDialog);
    file.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList fileTexts = Texts(&file);
    for (const char* text : {"ファイル名(&N):", "ファイルの種類:", "保存(&S)", "キャンセル"})
        EXPECT_TRUE(fileTexts.contains(QString::fromUtf8(text))) << text;
    // The overwrite question, read and answered "No" from inside its own event loop.
    QString question;
    QStringList answers;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        question = box->text();
        for (const QAbstractButton* button : box->buttons()) answers << button->text();
        box->button(QMessageBox::No)->click();
    });
    file.selectFile(existing.fileName());
    static_cast<QDialog&>(file).accept();  // what its save button does
    EXPECT_EQ(question, QStringLiteral("pic.bmp は既に存在します。\n置き換えますか?"));
    answers.sort();
    EXPECT_EQ(answers, QStringList({QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));

    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
}

// The two questions of the file commands: the save question in the platform's confirmation box,
// and Save As's replace question about the file that will be written, in the save dialog's name.
TEST_F(MainWindowTest, FileQuestionsCarryTheirCaptionsAndAnswers) {
    TForm1 form({}, dir.path());
    struct Seen {
        QString title, text;
        QStringList buttons;
    };
    const auto answer = [](Seen& seen, bool yes) {
        QTimer::singleShot(0, [&seen, yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen.title = box->windowTitle();
            seen.text = box->text();
            for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
            const auto role = yes ? QMessageBox::YesRole : QMessageBox::NoRole;
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == role) b->click();
        });
    };
    Seen save;
    answer(save, true);
    EXPECT_TRUE(form.AskSaveChanges(QStringLiteral("無題")));
    EXPECT_EQ(save.title, QStringLiteral("確認"));
    EXPECT_EQ(save.text, QStringLiteral("無題 への変更を保存しますか？"));
    EXPECT_EQ(save.buttons,
              QStringList({QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));

    Seen replace;
    answer(replace, false);
    EXPECT_FALSE(form.AskReplaceFile(dir.filePath(QStringLiteral("pic.jpg"))));
    EXPECT_EQ(replace.title, QStringLiteral("保存"));
    EXPECT_TRUE(replace.text.contains(QStringLiteral("pic.jpg"))) << replace.text.toStdString();
    EXPECT_FALSE(replace.text.contains(dir.path())) << replace.text.toStdString();
}
