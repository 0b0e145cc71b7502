// The document dialogs as widgets: the new-picture fields linked by the aspect box, and the JPEG
// quality dialog's preview through its file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "document/jpeg_quality_dialog.h"
#include "document/new_picture_dialog.h"

namespace {

TEST(NewPictureDialog, TypingAWidthWithKeptAspectSetsTheHeight) {
    TOKBottomDlg dialog(nullptr);
    int width = 400, height = 300;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.CheckBox1->setChecked(true);
        dialog.SpinEdit1->setValue(800);
        EXPECT_EQ(dialog.SpinEdit2->value(), 600);
        dialog.SpinEdit2->setValue(-5);
        EXPECT_EQ(dialog.SpinEdit2->value(), 0);
        dialog.SpinEdit2->setValue(150);
        dialog.OKBtn->click();
    });
    ASSERT_TRUE(dialog.Execute(width, height));
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 150);
    // The box and its reference survive: a new size shown as it is, then linked again.
    width = 40, height = 40;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.SpinEdit1->value(), 40);
        EXPECT_EQ(dialog.SpinEdit2->value(), 40);
        dialog.SpinEdit1->setValue(80);
        dialog.CancelBtn->click();
    });
    EXPECT_FALSE(dialog.Execute(width, height));
    EXPECT_EQ(dialog.SpinEdit2->value(), 60);
}

// A field emptied by the keyboard stays empty when the focus moves on, as a spin edit's text
// does; "決定" then sets the first empty field to 0 with a beep.
TEST(NewPictureDialog, AnEmptiedFieldStaysEmptyAndConfirmsAsZeroWithABeep) {
    struct Case {
        const char* name;
        bool emptyWidth, emptyHeight;
        int width, height;
        QString widthText, heightText;  // after "決定"
    } const cases[] = {
        {"width", true, false, 0, 300, "0", "300"},
        {"height", false, true, 400, 0, "400", "0"},
        {"both: only the width is filled", true, true, 0, 0, "0", ""},
    };
    TOKBottomDlg dialog(nullptr);
    int beeps = 0;
    dialog.Beep = [&] { ++beeps; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        beeps = 0;
        int width = 400, height = 300;
        QTimer::singleShot(0, &dialog, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            for (QSpinBox* field : {dialog.SpinEdit1, dialog.SpinEdit2}) {
                const bool empty = field == dialog.SpinEdit1 ? c.emptyWidth : c.emptyHeight;
                field->setFocus();
                QTest::keyClick(field, Qt::Key_End);
                for (int i = 0; i < 3; ++i) QTest::keyClick(field, Qt::Key_Backspace);
                if (!empty) QTest::keyClicks(field, field == dialog.SpinEdit1 ? "400" : "300");
                QTest::keyClick(field, Qt::Key_Tab);
                EXPECT_FALSE(field->hasFocus());
                EXPECT_EQ(field->text().isEmpty(), empty);
            }
            QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
            EXPECT_EQ(dialog.SpinEdit1->text(), c.widthText);
            EXPECT_EQ(dialog.SpinEdit2->text(), c.heightText);
        });
        ASSERT_TRUE(dialog.Execute(width, height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(beeps, 1);
    }
    // Shown again, the fields hold the sizes given, also where they were left empty. Enter in
    // an emptied field confirms it as 0; the up arrow counts it as 0.
    beeps = 0;
    int width = 50, height = 60;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.SpinEdit1->text(), QStringLiteral("50"));
        EXPECT_EQ(dialog.SpinEdit2->text(), QStringLiteral("60"));
        dialog.SpinEdit2->setFocus();
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_End);
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_Backspace);
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_Backspace);
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_Up);
        EXPECT_EQ(dialog.SpinEdit2->text(), QStringLiteral("1"));
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_Backspace);
        QTest::keyClick(dialog.SpinEdit2, Qt::Key_Return);
    });
    ASSERT_TRUE(dialog.Execute(width, height));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(width, 50);
    EXPECT_EQ(height, 0);
}

TEST(JpegQualityDialog, PreviewGoesThroughTheFileUntilConfirmed) {
    QTemporaryDir dir;
    TForm5 dialog(nullptr);
    dialog.PreviewPath = dir.filePath(QStringLiteral("temp.tmp"));
    Bitmap picture(30, 20);
    picture.SetPixel(3, 3, clBlack);
    int quality = 0;
    bool progressive = false;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(QFile::exists(dialog.PreviewPath));
        EXPECT_EQ(dialog.Image1->size(), QSize(30, 20));
        QFile::remove(dialog.PreviewPath);
        dialog.TrackBar1->setValue(1);
        EXPECT_EQ(dialog.Label1->text(), QStringLiteral("1"));
        EXPECT_TRUE(QFile::exists(dialog.PreviewPath));
        dialog.CheckBox1->click();
        const QByteArray preview = [&] {
            QFile f(dialog.PreviewPath);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        EXPECT_TRUE(preview.contains(QByteArray("\xFF\xC2", 2)));
        dialog.Button1->click();
    });
    ASSERT_TRUE(dialog.Execute(picture, quality, progressive));
    EXPECT_EQ(quality, 1);
    EXPECT_TRUE(progressive);
    EXPECT_FALSE(QFile::exists(dialog.PreviewPath));
    // The preview, as large as the picture, is not kept until the next save.
    EXPECT_TRUE(dialog.Image1->pixmap().isNull());

    // Closed by the window system: no results, and the preview file stays.
    quality = 0;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.TrackBar1->value(), 1);
        dialog.reject();
    });
    EXPECT_FALSE(dialog.Execute(picture, quality, progressive));
    EXPECT_EQ(quality, 0);
    EXPECT_TRUE(QFile::exists(dialog.PreviewPath));
}

// "プログレッシブJPEG" shows whole, clear of the dialog's right edge and of "決定".
TEST(JpegQualityDialog, ProgressiveBoxFitsInsideTheDialog) {
    TForm5 dialog(nullptr);
    const QRect box = dialog.CheckBox1->geometry();
    EXPECT_GE(box.width(), dialog.CheckBox1->sizeHint().width());
    EXPECT_LE(box.right(), dialog.width() - 1 - 4);
    EXPECT_GT(box.left(), dialog.Button1->geometry().right());
    EXPECT_EQ(box.topLeft(), QPoint(240, 337));
}

}  // namespace
