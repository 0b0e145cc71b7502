// The main window's file commands: new, open, save, save as, the save question and the
// start-up open. Files are read and decoded in full before the open document is touched, and
// written to a temporary file that replaces the target only when complete.
#include <algorithm>
#include <utility>

#include "app/main_core.h"
#include "document/document_errors.h"
#include "document/jpeg_codec.h"
#include "platform/file_names.h"

namespace {

const QString kTitleSuffix = QStringLiteral(" - Kasumiro");

// The layered format's progress goes to the title and the tool panel's bar.
class ScreenProgress : public FileProgress {
  public:
    explicit ScreenProgress(MainScreen& screen) : screen_(screen) {}
    void SetCaption(const QString& caption) override { screen_.SetCaption(caption); }
    void SetProgressRange(int minimum, int maximum) override {
        screen_.SetProgressRange(minimum, maximum);
    }
    void SetProgressPosition(int position) override { screen_.SetProgressPosition(position); }

  private:
    MainScreen& screen_;
};

FileType TypeOfEntry(int filterIndex) {
    return filterIndex >= 1 && filterIndex <= 4 ? FileType(filterIndex) : FileType::Unknown;
}

}  // namespace

bool MainWindowCore::AskToSaveChanges() {
    if (!Document.Modified || !screen_.AskSaveChanges(Document.FileName)) return false;
    N1Click();
    return true;
}

void MainWindowCore::ResetDocument() {
    if (Tools.PastePending) {
        // Dropped into a document that is about to go, the paste would leave nothing behind
        // but what its drop marks; it goes without asking memory of the old picture.
        Image7.Discard();
        ShowFloatingPaste();
        Tools.UndoPhase = 0;
        Tools.TextToolActive = false;
        Document.Modified = true;
    }
    Tools.EndSelectionAndPaste();
    // A floating text keeps the old picture under it as its backdrop; left floating, the next
    // move would put that backdrop into the new document. The text tool stays chosen.
    Tools.TextFloating = false;
    // Its backdrop is the old picture: nothing will float over it again.
    Text.TextBackdrop = Bitmap();
    Tools.UndoLayer = 0;
    History.Clear();
    ShowUndoSteps();
    Stroke.InkLevel = Stroke.SpeedSquared = 0;
    Stroke.TickDrawing = false;
    RegenerateBristles();
    Layers.ResetToOneLayer();
}

void MainWindowCore::ShowDocumentTitle(const QString& name) {
    screen_.SetCaption(name + kTitleSuffix);
    screen_.SetStatusText(1, SizeText());
}

void MainWindowCore::ReportFileError(const UserError& error) {
    if (dynamic_cast<const UnsupportedVersionError*>(&error)) {
        screen_.Beep();
        screen_.ShowMessage(error.Text());
    } else {
        screen_.ErrorBox(error.Text());
    }
}

bool MainWindowCore::OpenDocumentFile(const QString& path, FileType type) {
    ScreenProgress progress(screen_);
    LoadedFile file;
    WindowBuffers buffers;
    try {
        CheckRoomToOpen(path, type);
        file = LoadFile(path, type, &progress);
        buffers = MakeWindowBuffers(file.Width(), file.Height());
    } catch (const UserError& e) {
        screen_.SetProgressPosition(0);
        ReportFileError(e);
        return false;
    } catch (const std::bad_alloc&) {
        screen_.SetProgressPosition(0);
        ReportFileError(OutOfMemoryError());
        return false;
    }
    // From here on nothing asks for a picture's memory: the old document gives way.
    ResetDocument();
    // The file's layers were counted before it was read.
    auto roomForLayers = std::exchange(Layers.RoomForLayers, nullptr);
    InstallLoadedFile(std::move(file), Layers, Compositor, Image1);
    Layers.RoomForLayers = std::move(roomForLayers);
    TakeWindowBuffers(std::move(buffers));
    Document.Modified = false;
    DiscardRecoveryCopy();
    // Both undo snapshots hold the current layer as loaded, so that undo finds nothing to undo.
    Image3.CopyFrom(Compositor.CurrentLayerImage());
    ResetAfterSnapshot(Compositor.CurrentLayerImage());
    Compositor.RebuildLayerCache({&Image3, &Image4, Tools.UndoLayer});
    return true;
}

void MainWindowCore::N2Click() {
    AskToSaveChanges();
    int width = Image1.Width();
    int height = Image1.Height();
    if (!screen_.ShowNewPictureDialog(width, height)) return;
    // The dialog lets a side be 0 or less; the smallest picture has one pixel a side.
    width = std::max(width, 1);
    height = std::max(height, 1);
    try {
        CheckPictureSize(width, height);
        if (!DocumentFits({width, height, 1})) throw OutOfMemoryError();
    } catch (const UserError& e) {
        screen_.ErrorBox(e.Text());
        return;
    }
    Document.FileName = Document.OpenFileName = kUntitled;
    ResetDocument();
    Image1.MakeWhite(width, height);
    Compositor.Reset(width, height);
    Image3.CopyFrom(Image1);
    ResetAfterSnapshot(Image1);
    ShowDocumentTitle(kUntitled);
    Compositor.RebuildLayerCache({&Image3, &Image4, Tools.UndoLayer});
}

void MainWindowCore::N3Click() {
    AskToSaveChanges();
    QString name = Document.OpenFileName;
    int entry = 0;
    bool opened = true;
    if (screen_.ShowOpenDialog(name, entry)) {
        Document.OpenFileName = name;
        // No tick may run against a half-built layer stack; the timer runs again however the
        // load ends.
        Timer1.SetEnabled(false);
        opened = OpenDocumentFile(name, TypeOfEntry(entry));
        if (opened) Document.FileName = name;
        Timer1.SetEnabled(true);
    }
    // A file that could not be opened left the document as it was, under its own name.
    ShowDocumentTitle(opened ? Document.OpenFileName : Document.FileName);
}

void MainWindowCore::OpenStartupFile() {
    if (!Document.OpenAtFirstTick) return;
    Document.OpenAtFirstTick = false;
    const QString& file = Document.CommandLineFile;
    const FileType type = TypeOfName(file);
    if (type == FileType::Unknown) {
        screen_.ShowMessage(QStringLiteral("このファイルには対応していません。"));
        return;
    }
    if (!OpenDocumentFile(file, type)) {
        ShowDocumentTitle(Document.FileName);
        return;
    }
    Document.FileName = Document.OpenFileName = file;
    ShowDocumentTitle(file);
}

bool MainWindowCore::WriteDocumentFile(const QString& path, FileType type, int quality,
                                       bool progressive) {
    try {
        switch (type) {
            case FileType::Bmp:
                SaveBmpFile(path, Image1);
                break;
            case FileType::Jpeg:
                SaveJpegFile(path, Image1, quality, progressive);
                break;
            case FileType::Png:
                SavePngFile(path, Image1);
                break;
            case FileType::Layered: {
                ScreenProgress progress(screen_);
                SaveLayeredFile(path, Image1.Width(), Image1.Height(),
                                DocumentLayers(Layers, Compositor), &progress);
                break;
            }
            case FileType::Unknown:
                return false;
        }
    } catch (const UserError& e) {
        screen_.SetProgressPosition(0);
        ReportFileError(e);
        return false;
    } catch (const std::bad_alloc&) {
        screen_.SetProgressPosition(0);
        ReportFileError(OutOfMemoryError());
        return false;
    }
    // Changes made since are unsaved again; the previous file was never destroyed.
    Document.Modified = false;
    DiscardRecoveryCopy();
    return true;
}

void MainWindowCore::Save1Click() {
    if (Document.FileName == kUntitled) {
        N1Click();
        return;
    }
    const QString& target = Document.FileName;
    const FileType type = TypeOfName(target);
    if (type == FileType::Unknown) return;
    int quality = kDefaultJpegQuality;
    bool progressive = false;
    if (type == FileType::Jpeg) {
        int chosenQuality = 0;
        bool chosenProgressive = false;
        if (screen_.ShowJpegQualityDialog(Image1, chosenQuality, chosenProgressive))
            quality = chosenQuality, progressive = chosenProgressive;
    }
    if (!WriteDocumentFile(target, type, quality, progressive)) {
        ShowDocumentTitle(target);
        return;
    }
    if (type == FileType::Jpeg) {
        // The paint surface shows the compressed result, as the file now holds it.
        try {
            LoadedFile written = LoadFile(target, FileType::Jpeg);
            Compositor.ShowOnPaintSurface(written.Picture);
            RepaintPaintSurface();
        } catch (const UserError& e) {
            ReportFileError(e);
        }
    }
    ShowDocumentTitle(target);
}

void MainWindowCore::N1Click() {
    QString name = Document.FileName;
    int entry = 0;
    while (screen_.ShowSaveDialog(name, entry) && TypeOfEntry(entry) != FileType::Unknown) {
        const FileType type = TypeOfEntry(entry);
        // The file written is named by the entry, not as typed: that is the one to ask about.
        // Declining goes back to the dialog.
        const QString target = WithTypeExtension(name, type);
        if (IsRegularFile(target) && !screen_.AskReplaceFile(target)) continue;
        bool progressive = false;
        if (type == FileType::Jpeg) {
            int chosenQuality = 0;
            bool chosenProgressive = false;
            if (screen_.ShowJpegQualityDialog(Image1, chosenQuality, chosenProgressive)) {
                Document.JpegQuality = chosenQuality;
                progressive = chosenProgressive;
            }
        }
        Document.FileName = target;
        WriteDocumentFile(Document.FileName, type, Document.JpegQuality, progressive);
        break;
    }
    ShowDocumentTitle(Document.FileName);
}
