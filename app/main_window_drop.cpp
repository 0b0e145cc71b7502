// Files and pictures dragged onto the main window (the paint surface among it) from a file
// manager or another program.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include "app/main_window.h"
#include "document/document_errors.h"
#include "platform/file_names.h"
#include "tools/clipboard_picture.h"

namespace {

// The local files among the dropped addresses, named by their bytes (the addresses carry a
// name that is no UTF-8 as percent-encoded bytes).
QStringList DroppedFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            files << FileNameFromBytes(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    return files;
}

bool Offered(const QMimeData* data) {
    return data && (!DroppedFiles(*data).isEmpty() || data->hasImage());
}

}  // namespace

// A running filter lets the window system in to show its progress; nothing may be dropped on
// the picture it is working on.
bool TForm1::DropWanted(const QMimeData* data) const {
    return !core_.FilterRunning() && Offered(data);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (DropWanted(event->mimeData())) event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (DropWanted(event->mimeData())) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (!DropWanted(data)) return;
    const QStringList files = DroppedFiles(*data);
    const QImage image = files.isEmpty() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    event->acceptProposedAction();
    // The program the drag came from waits until the drop returns: the save question and the
    // messages of opening come once it has.
    QMetaObject::invokeMethod(
        this,
        [this, files, image] {
            core_.Guarded([&] {
                Bitmap picture;
                if (!files.isEmpty())
                    core_.DropFiles(files);
                else if (PictureFromImage(image, picture, kMaxPictureSide))
                    core_.DropPicture(std::move(picture));
            });
        },
        Qt::QueuedConnection);
}
