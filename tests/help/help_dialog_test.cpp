// The Readme viewer and the version dialog.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include "controls/error_box.h"
#include "help/about_box.h"
#include "help/readme_dialog.h"
#include "platform/app_paths.h"

namespace {

// Runs a menu command that shows a modal dialog; once the dialog is up, inspects it and
// presses its "OK" button.
void RunModal(const std::function<void()>& command, const std::function<void(QDialog*)>& look) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        look(dialog);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("OK")) button->click();
    });
    command();
    EXPECT_TRUE(seen);
}

class ReadmeViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        SetErrorBoxRecording(true);
        TakeRecordedErrorBoxes();
    }
    void TearDown() override {
        SetErrorBoxRecording(false);
        AppPaths::OverrideExecutableDir(QString());
    }
    void WriteReadme(const QByteArray& bytes) {
        QFile file(dir.filePath(QStringLiteral("Readme.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(ReadmeViewerTest, MissingReadmeGivesOneErrorBoxEachTimeAndAnEmptyViewer) {
    TOKBottomDlg1 atStartUp;
    EXPECT_EQ(TakeRecordedErrorBoxes(), QStringList({QStringLiteral("ﾌｧｲﾙが見つかりません")}));
    EXPECT_TRUE(atStartUp.RichEdit1->toPlainText().isEmpty());
    for (int opening = 0; opening < 2; ++opening) {
        RunModal([] { Readme1Click(nullptr); },
                 [](QDialog* dialog) { EXPECT_TRUE(dialog->isVisible()); });
        EXPECT_EQ(TakeRecordedErrorBoxes(), QStringList({QStringLiteral("ﾌｧｲﾙが見つかりません")}));
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().contains(&atStartUp));
}

TEST_F(ReadmeViewerTest, EmptyReadmeGivesAnEmptyViewerWithoutError) {
    WriteReadme(QByteArray());
    TOKBottomDlg1 viewer;
    EXPECT_TRUE(TakeRecordedErrorBoxes().isEmpty());
    EXPECT_TRUE(viewer.RichEdit1->toPlainText().isEmpty());
}

TEST_F(ReadmeViewerTest, ShowsTheTextAsPlainLines) {
    WriteReadme("\x83\x8c\x83\x43\x83\x84\r\n<b>not bold</b>\r\n");  // Shift-JIS "レイヤ"
    TOKBottomDlg1 viewer;
    EXPECT_EQ(viewer.RichEdit1->toPlainText(), QStringLiteral("レイヤ\n<b>not bold</b>"));
    EXPECT_TRUE(TakeRecordedErrorBoxes().isEmpty());
}

TEST_F(ReadmeViewerTest, LayoutWrapsLongLinesUnderAVerticalScrollBarOnly) {
    WriteReadme(QByteArray(4000, 'x'));
    TOKBottomDlg1 viewer;
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("KasumiroのReadme"));
    EXPECT_EQ(viewer.size(), QSize(531, 365));
    EXPECT_EQ(viewer.minimumSize(), viewer.maximumSize());
    EXPECT_EQ(viewer.RichEdit1->geometry(), QRect(0, 0, 531, 324));
    EXPECT_EQ(viewer.Panel1->geometry(), QRect(0, 324, 531, 41));
    EXPECT_EQ(viewer.OKBtn->geometry(), QRect(231, 8, 75, 25));
    EXPECT_TRUE(viewer.OKBtn->isDefault());
    EXPECT_TRUE(viewer.RichEdit1->isReadOnly());
    EXPECT_EQ(viewer.RichEdit1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    viewer.show();
    QApplication::processEvents();
    EXPECT_EQ(viewer.RichEdit1->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(viewer.RichEdit1->verticalScrollBar()->maximum(), 0);
}

TEST(AboutBox, ShowsTheProductAndVersionAndClosesWithOk) {
    RunModal([] { N4Click(nullptr); },
             [](QDialog* dialog) {
                 auto* about = qobject_cast<TAboutBox*>(dialog);
                 ASSERT_NE(about, nullptr);
                 EXPECT_EQ(about->windowTitle(), QStringLiteral("Kasumiroのバージョン情報"));
                 EXPECT_EQ(about->size(), QSize(217, 68));
                 EXPECT_EQ(about->ProgramIcon->geometry(), QRect(8, 8, 33, 33));
                 EXPECT_FALSE(about->ProgramIcon->pixmap().isNull());
                 EXPECT_EQ(about->ProductName->text(), QStringLiteral("Kasumirover. 3.80"));
                 EXPECT_EQ(about->ProductName->pos(), QPoint(48, 8));
                 EXPECT_EQ(about->Comments->pos(), QPoint(48, 24));
                 EXPECT_FALSE(about->Comments->text().isEmpty());
                 EXPECT_EQ(about->OKButton->geometry(), QRect(72, 44, 82, 21));
                 EXPECT_TRUE(about->OKButton->isDefault());
             });
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
