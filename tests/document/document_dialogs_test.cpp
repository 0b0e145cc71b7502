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

}  // namespace
