// Recovery copies: while the document has unsaved changes, a copy of it goes to the recovery
// folder every so often, written on a thread of its own; the next start offers the copy of a
// program that ended without saving.
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <climits>
#include <memory>

#include "app/main_core.h"
#include "document/document_errors.h"
#include "document/recovery_folder.h"
#include "document/recovery_writer.h"
#include "platform/file_names.h"
#include "platform/memory_room.h"

namespace {

// While a copy is due but something is drawing, we look again this often.
constexpr int kRetryMs = 1000;
// The compressor's pieces and the layered writer's block, beside the pictures.
constexpr std::uint64_t kWriterBytes = std::uint64_t(4) << 20;

void AppendInt(QByteArray& key, std::uint64_t v) {
    key.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void AppendText(QByteArray& key, const QString& text) {
    AppendInt(key, std::uint64_t(text.size()));
    key.append(reinterpret_cast<const char*>(text.constData()), text.size() * 2);
}

}  // namespace

struct MainWindowCore::RecoveryState {
    RecoveryFolder folder;
    // Our own copy's lock, taken with the first copy.
    std::unique_ptr<RecoveryLock> lock;
    RecoveryWriter writer;
    QTimer timer;
    int intervalMs = 0;
    // What the copy on disk holds, and what the copy being written will hold.
    QByteArray writtenKey;
    QByteArray pendingKey;
};

void MainWindowCore::RecoveryStateDeleter::operator()(RecoveryState* state) const {
    delete state;
}

void MainWindowCore::StartRecoveryCopies() {
    recovery_.reset(new RecoveryState);
    RecoveryState& r = *recovery_;
    const int seconds =
        IniGT1.ReadInteger(QStringLiteral("autosave"), QStringLiteral("Interval"), 60);
    // 0 (or less) turns the copies off; the longest wait is what the timer can count.
    r.intervalMs = std::max(0, std::min(seconds, INT_MAX / 1000)) * 1000;
    r.writer.OnFinished = [this](bool written, const QString&) {
        // A copy that failed (a full disk, say) is tried again at the next interval; the user
        // is not interrupted for it.
        if (written) recovery_->writtenKey = recovery_->pendingKey;
    };
    r.timer.setSingleShot(true);
    QObject::connect(&r.timer, &QTimer::timeout, [this] { RecoveryTimeout(); });
    if (r.intervalMs > 0) r.timer.start(r.intervalMs);
}

bool MainWindowCore::RecoveryCopiesOn() const {
    return recovery_ && recovery_->intervalMs > 0;
}

bool MainWindowCore::RecoveryCopyRunning() const {
    return recovery_ && recovery_->writer.Busy();
}

QString MainWindowCore::RecoveryCopyPath() const {
    return recovery_ && recovery_->lock ? recovery_->lock->CopyPath() : QString();
}

bool MainWindowCore::DrawingNow() const {
    // The button held (the stroke's snapshot is taken until the release), or a tick about to
    // draw. A tail that waits for the pointer to move draws nothing meanwhile.
    const bool held = Stroke.SnapshotTaken || (Stroke.StrokeActive && Stroke.StrokePhase == 1);
    return held || Stroke.TickDrawing || Tools.RetouchDragging || filterRunning_ ||
           Tools.PastePending || Tools.PasteFollowing || Tools.TextFloating;
}

QByteArray MainWindowCore::RecoveryKeyNow() const {
    QByteArray key;
    AppendInt(key, std::uint64_t(Image1.Width()));
    AppendInt(key, std::uint64_t(Image1.Height()));
    AppendText(key, Document.FileName);
    for (int p = 0; p < Layers.LayerCount(); ++p) {
        const int index = Layers.DisplayOrder(p);
        AppendInt(key, Layers.LayerSerial(index));
        AppendInt(key, Compositor.LayerImages[std::size_t(index)].Version());
        AppendInt(key, Layers.TransparentColour(index));
        AppendText(key, Layers.LayerName(index));
        AppendText(key, Layers.VisibilityMark(index));
    }
    return key;
}

RecoveryContent MainWindowCore::RecoveryContentNow() const {
    RecoveryContent content;
    content.Width = Image1.Width();
    content.Height = Image1.Height();
    content.FileName = Document.FileName == kUntitled ? QString() : Document.FileName;
    content.Type = content.FileName.isEmpty() ? FileType::Unknown : TypeOfName(content.FileName);
    for (int p = 0; p < Layers.LayerCount(); ++p) {
        const int index = Layers.DisplayOrder(p);
        // A filter half way through its layer: the layer as it was before.
        const bool halfFiltered = filterRunning_ && index == Tools.UndoLayer;
        const Bitmap& picture = halfFiltered ? Image3 : Compositor.LayerImages[std::size_t(index)];
        RecoveryLayer layer;
        layer.TransparentColour = Layers.TransparentColour(index);
        layer.VisibilityMark = Layers.VisibilityMark(index);
        layer.Name = Layers.LayerName(index);
        if (const std::string* bytes = Layers.LoadedNameBytes(index)) layer.NameBytes = *bytes;
        layer.Picture = picture.Shared();
        content.Layers.push_back(std::move(layer));
    }
    return content;
}

bool MainWindowCore::ClaimRecoveryName() {
    RecoveryState& r = *recovery_;
    if (!r.lock) r.lock = r.folder.ClaimOwnName();
    return r.lock != nullptr;
}

void MainWindowCore::RecoveryTimeout() {
    RecoveryState& r = *recovery_;
    if (r.intervalMs <= 0) return;
    r.timer.start(r.intervalMs);
    if (!Document.Modified) {
        // Saved, or opened anew, by some way that did not say so.
        DiscardRecoveryCopy();
        return;
    }
    if (r.writer.Busy()) return;
    if (DrawingNow()) {
        r.timer.start(kRetryMs);
        return;
    }
    const QByteArray key = RecoveryKeyNow();
    if (key == r.writtenKey) return;
    // The copy holds every layer without copying it; a layer drawn on meanwhile is copied by
    // that drawing. That copy, of the current layer, must fit beside the writer's buffers:
    // else this copy is skipped, and the next one tried at the next interval.
    if (PictureBytes(Image1.Width(), Image1.Height()) + kWriterBytes > MemoryRoom()) return;
    if (!ClaimRecoveryName()) return;
    r.pendingKey = key;
    r.writer.Start(r.lock->CopyPath(), RecoveryContentNow());
}

void MainWindowCore::RecoveryCopyDue() {
    if (recovery_) RecoveryTimeout();
}

void MainWindowCore::WaitForRecoveryCopy() {
    if (recovery_) recovery_->writer.Wait();
}

void MainWindowCore::GiveWayToEdit(const Bitmap& layer) {
    if (!layer.IsShared() || !recovery_) return;
    if (PictureBytes(layer.Width(), layer.Height()) <= MemoryRoom()) return;
    // No room for the layer's own copy: the recovery copy gives way, and its layers come back.
    recovery_->writer.Cancel();
}

void MainWindowCore::DiscardRecoveryCopy() {
    if (!recovery_) return;
    RecoveryState& r = *recovery_;
    r.writer.Cancel();
    r.writtenKey.clear();
    if (r.lock) unlink(FileNameBytes(r.lock->CopyPath()).constData());
}

void MainWindowCore::EndRecoveryCopies(bool keep) {
    if (!recovery_) return;
    RecoveryState& r = *recovery_;
    r.timer.stop();
    if (keep) WriteRecoveryCopyNow();
    r.writer.Cancel();
    if (r.lock && !keep) r.lock->RemoveAll();
    r.lock.reset();
    r.intervalMs = 0;
}

bool MainWindowCore::WriteRecoveryCopyNow() {
    if (!recovery_ || !Document.Modified) return false;
    RecoveryState& r = *recovery_;
    // A copy under way holds an older state: this one replaces it.
    r.writer.Cancel();
    const QByteArray key = RecoveryKeyNow();
    if (key == r.writtenKey) return true;
    if (!ClaimRecoveryName()) return false;
    try {
        WriteRecoveryCopy(r.lock->CopyPath(), RecoveryContentNow());
    } catch (const UserError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    r.writtenKey = key;
    return true;
}

void MainWindowCore::CommitDataRequest(bool mayAsk) {
    if (!Document.Modified) return;
    if (mayAsk && !AskToSaveChanges()) {
        // Not to be saved, as at the close: nothing is kept.
        DiscardRecoveryCopy();
        return;
    }
    // A logout may end us without a close: what is still unsaved (the save could not be
    // asked for, or failed) is kept for the next start.
    WriteRecoveryCopyNow();
}

void MainWindowCore::OfferRecoveryCopies() {
    if (!recovery_) return;
    for (std::unique_ptr<RecoveryLock>& copy : recovery_->folder.UnownedCopies()) {
        if (!screen_.AskRestoreRecoveryCopy()) {
            copy->RemoveAll();
            continue;
        }
        if (!RestoreRecoveryCopy(*copy)) continue;
        // The copy is ours now: the next copy of this document replaces it.
        if (recovery_->lock) recovery_->lock->RemoveAll();
        recovery_->lock = std::move(copy);
        recovery_->writtenKey = RecoveryKeyNow();
        return;
    }
}

bool MainWindowCore::RestoreRecoveryCopy(const RecoveryLock& copy) {
    const QString unpacked = copy.CopyPath() + QStringLiteral(".tav");
    const auto removeUnpacked = [&] { unlink(FileNameBytes(unpacked).constData()); };
    RecoveredCopy recovered;
    try {
        recovered = UnpackRecoveryCopy(copy.CopyPath(), unpacked);
        const PictureFileSize file = ProbePictureFile(unpacked, FileType::Layered);
        const DocumentShape& shape = file.Shape;
        if (file.Known && recovered.Edges.size() != std::size_t(shape.Layers) *
                                                        (std::size_t(shape.Width) + shape.Height) *
                                                        3)
            throw DamagedDocument();
        // Without room for it, the copy stays as it is for a later start.
        CheckRoomToOpen(unpacked, FileType::Layered);
    } catch (const UserError& e) {
        removeUnpacked();
        // A damaged copy is kept for the user, out of the way of the next start. One that only
        // could not be had now (no memory, a full disk, no access) stays for a later start.
        const auto* io = dynamic_cast<const InOutError*>(&e);
        const bool damaged =
            io ? io->Code() == ioReadBeyondEnd
               : !dynamic_cast<const OutOfMemoryError*>(&e) && e.Text() != PictureTooLarge().Text();
        if (damaged) recovery_->folder.SetAside(copy);
        ReportFileError(e);
        return false;
    } catch (const std::bad_alloc&) {
        removeUnpacked();
        ReportFileError(OutOfMemoryError());
        return false;
    }
    const bool opened = OpenDocumentFile(unpacked, FileType::Layered);
    removeUnpacked();
    if (!opened) {
        recovery_->folder.SetAside(copy);
        return false;
    }
    std::vector<Bitmap*> layers;
    for (int p = 0; p < Layers.LayerCount(); ++p)
        layers.push_back(&LayerImages()[std::size_t(Layers.DisplayOrder(p))]);
    try {
        RestoreEdges(recovered.Edges, layers);
    } catch (const UserError&) {
        // Checked against the document before it was opened; only memory can be missing here,
        // and then column 0 and row 0 stay as the layered document had them.
    } catch (const std::bad_alloc&) {
    }
    // Undo finds nothing to undo in the document as restored.
    Image3.CopyFrom(Compositor.CurrentLayerImage());
    Image4.CopyFrom(Compositor.CurrentLayerImage());
    Compositor.CompositeRefresh();
    const bool named = !recovered.FileName.isEmpty() &&
                       TypeOfName(recovered.FileName) == recovered.Type &&
                       recovered.Type != FileType::Unknown;
    Document.FileName = Document.OpenFileName = named ? recovered.FileName : kUntitled;
    Document.Modified = true;
    // The restored work comes first: a file named on the command line is not opened over it.
    Document.OpenAtFirstTick = false;
    ShowDocumentTitle(Document.FileName);
    return true;
}
