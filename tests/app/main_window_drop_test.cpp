// Files and pictures dragged onto the main window: the drag and drop events go to the window
// over the paint surface, as the window system delivers them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "app/main_window.h"
#include "app/paint_surface.h"
#include "controls/error_box.h"
#include "document/picture_files.h"
#include "platform/app_paths.h"
#include "platform/file_names.h"

#include "window_test.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);

class DropTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = std::make_unique<TForm1>(QStringList(), dir.path());
        form->show();
    }
    void TearDown() override {
        form->Core().Document.Modified = false;
        form.reset();
        WindowTest::TearDown();
    }

    QString Path(const QByteArray& name) {
        return FileNameFromBytes(QFile::encodeName(dir.path()) + "/" + name);
    }

    // A 20 x 10 red picture saved as name.
    QString RedPicture(const QByteArray& name) {
        Bitmap red(20, 10);
        red.Fill(kRed);
        const QString path = Path(name);
        SavePngFile(path, red);
        return path;
    }

    // Drags data over the paint surface and drops it there; true when the window took the
    // drag. The boxes the drop shows are answered by answer, and their texts kept in Boxes.
    bool Drop(QMimeData* data, bool answerYes = false) {
        QWindow* window = form->windowHandle();
        const QPoint at = form->Image1->mapTo(form.get(), QPoint(30, 30));
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [this, answerYes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            Boxes << box->text();
            const auto role = answerYes ? QMessageBox::YesRole : QMessageBox::NoRole;
            QAbstractButton* chosen = box->buttons().first();
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == role) chosen = b;
            chosen->click();
        });
        answerer.start(0);
        // What the drop does runs once the drop event has returned.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        return enter.isAccepted() && drop.isAccepted();
    }

    QMimeData* Files(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl(QStringLiteral("file://") +
                         QString::fromLatin1(FileNameBytes(p).toPercentEncoding("/")));
        data->setUrls(urls);
        return data;
    }

    std::unique_ptr<TForm1> form;
    QStringList Boxes;
};

// A modified picture: the save question comes first, then the first of the files opens as Open
// would open it; the name may be any bytes.
TEST_F(DropTest, TheFirstFileOpensAfterTheSaveQuestion) {
    const QString png = RedPicture(QByteArray("r") + char(0xE9) + "d.png");
    const QString other = RedPicture("other.png");
    form->Core().Document.Modified = true;
    std::unique_ptr<QMimeData> data(Files({png, other}));
    EXPECT_TRUE(Drop(data.get()));
    EXPECT_EQ(Boxes, QStringList{QStringLiteral("無題 への変更を保存しますか？")});
    EXPECT_EQ(form->windowTitle(), png + QStringLiteral(" - Kasumiro"));
    EXPECT_EQ(form->StatusPanel1->text(), QStringLiteral("サイズ( 20 x 10 )"));
    EXPECT_EQ(form->Core().Image1.Pixel(19, 9), kRed);
    EXPECT_FALSE(form->Core().Document.Modified);
    EXPECT_TRUE(TakeRecordedErrorBoxes().isEmpty());
    EXPECT_EQ(unlink(FileNameBytes(png).constData()), 0);  // Qt could not remove it by name
}

// A file of another type is refused with the program's message, without the save question, and
// the picture stays; a file that cannot be read gets the error box and changes nothing.
TEST_F(DropTest, FilesWeCannotOpenChangeNothing) {
    QFile text(Path("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    form->Core().Document.Modified = true;
    std::unique_ptr<QMimeData> unsupported(Files({Path("notes.txt"), RedPicture("red.png")}));
    EXPECT_TRUE(Drop(unsupported.get()));
    EXPECT_EQ(Boxes, QStringList{QStringLiteral("このファイルには対応していません。")});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("無題 - Kasumiro"));
    EXPECT_TRUE(form->Core().Document.Modified);

    Boxes.clear();
    QFile::copy(Path("notes.txt"), Path("broken.png"));
    std::unique_ptr<QMimeData> broken(Files({Path("broken.png")}));
    EXPECT_TRUE(Drop(broken.get()));
    EXPECT_EQ(Boxes, QStringList{QStringLiteral("無題 への変更を保存しますか？")});
    EXPECT_EQ(TakeRecordedErrorBoxes(), QStringList{QStringLiteral("画像ﾌｫｰﾏｯﾄが不正です")});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("無題 - Kasumiro"));
    EXPECT_EQ(form->Core().PictureWidth(), 400);
}

// A picture without a file (a browser's image) floats as a pasted one, its transparency laid
// over white; text alone is not taken.
TEST_F(DropTest, APictureWithoutAFileFloatsAsAPaste) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 255, 255));
    image.setPixelColor(0, 0, QColor(255, 0, 0, 0));
    image.setPixelColor(1, 0, QColor(0, 0, 0, 128));
    auto data = std::make_unique<QMimeData>();
    data->setImageData(image);
    EXPECT_TRUE(Drop(data.get()));
    EXPECT_TRUE(form->Core().Tools.PastePending);
    EXPECT_TRUE(form->Core().Tools.PasteFollowing);
    const Bitmap& floating = form->Core().Image7.Picture;
    ASSERT_EQ(floating.Width(), 3);
    EXPECT_EQ(floating.Pixel(0, 0), clWhite);
    EXPECT_EQ(floating.Pixel(1, 0), RgbColour(127, 127, 127));  // (255 * 127 + 127) / 255
    EXPECT_EQ(floating.Pixel(2, 1), RgbColour(0, 0, 255));
    EXPECT_FALSE(form->Core().Document.Modified);

    auto text = std::make_unique<QMimeData>();
    text->setText(QStringLiteral("just words"));
    EXPECT_FALSE(Drop(text.get()));
}

}  // namespace
