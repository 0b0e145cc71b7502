// Files and pictures dropped on the main window from other programs.
#include "app/main_core.h"

void MainWindowCore::DropFiles(const QStringList& paths) {
    if (paths.isEmpty() || filterRunning_) return;
    // Only one document is open at a time: of several files, the first.
    const QString& path = paths.first();
    const FileType type = TypeOfName(path);
    if (type == FileType::Unknown) {
        screen_.ShowMessage(QStringLiteral("このファイルには対応していません。"));
        return;
    }
    AskToSaveChanges();
    Document.OpenFileName = path;
    Timer1.SetEnabled(false);
    const bool opened = OpenDocumentFile(path, type);
    if (opened) Document.FileName = path;
    Timer1.SetEnabled(true);
    ShowDocumentTitle(Document.FileName);
}

void MainWindowCore::DropPicture(Bitmap picture) {
    if (filterRunning_) return;
    StartPaste();
    Image7.Picture = std::move(picture);
    FloatPaste();
}
