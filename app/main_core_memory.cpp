// Memory as the main window counts it: what a document holds, the room an edit or an open needs
// before it starts, and the way back when an allocation fails anyway.
#include <algorithm>

#include "app/main_core.h"
#include "platform/memory_room.h"

namespace {

bool HoldsPictureOfSize(const Bitmap& bitmap, int width, int height) {
    return bitmap.AllocatedBytes() > 0 && bitmap.Width() == width && bitmap.Height() == height;
}

std::uint64_t MissingBytes(const Bitmap& bitmap) {
    return bitmap.IsLazyWhite() ? PictureBytes(bitmap.Width(), bitmap.Height()) : 0;
}

}  // namespace

std::uint64_t MainWindowCore::HeldDocumentBytes() const {
    std::uint64_t bytes = Image1.AllocatedBytes() + Image3.AllocatedBytes() +
                          Image4.AllocatedBytes() + BelowComposite().AllocatedBytes() +
                          Text.TextBackdrop.AllocatedBytes();
    for (const Bitmap& layer : Compositor.LayerImages) bytes += layer.AllocatedBytes();
    return bytes;
}

bool MainWindowCore::DocumentFits(const DocumentShape& shape) const {
    const std::uint64_t needed = WindowDocumentBytes(shape);
    // Undo steps give way to what the document needs: New and Open clear them, an edit drops
    // the oldest.
    const std::uint64_t held = HeldDocumentBytes() + History.Bytes();
    return needed <= held || needed - held <= MemoryRoom();
}

// An edit of the current layer ends with the layer, both snapshots and the paint surface
// holding memory. What is missing is counted against the machine first. The after-snapshot and
// the paint surface take theirs at once, so that the change can always be put back and shown
// without asking for more.
//
// A layer that a recovery copy is still reading gets its own copy here, at the press, rather
// than in the middle of the first tick that draws.
void MainWindowCore::ReserveEditBuffers() {
    Bitmap& layer = Compositor.CurrentLayerImage();
    GiveWayToEdit(layer);
    const bool layerHeld = !layer.IsLazyWhite();
    // A paint surface that shows the layer itself needs no memory of its own, nor does the
    // after-snapshot that more undo levels leave unused.
    const bool surfaceIsLayer = Image1.ShowsPixelsOf(layer);
    const bool afterUsed = !DeepUndo();
    const std::uint64_t missing =
        MissingBytes(layer) + (surfaceIsLayer ? 0 : MissingBytes(Image1)) +
        (afterUsed ? MissingBytes(Image4) : 0) + (layerHeld ? MissingBytes(Image3) : 0) +
        (layer.IsShared() ? layer.AllocatedBytes() : 0);
    if (missing == 0) return;
    // Old undo steps give way to the edit.
    if (!History.MakeRoom(missing, MemoryRoom())) throw OutOfMemoryError();
    if (layer.IsShared()) layer.HoldMemory();
    if (!surfaceIsLayer) Image1.HoldMemory();
    if (layerHeld && afterUsed) Image4.HoldMemory();
}

void MainWindowCore::CheckRoomToCopy(const Bitmap& from, const Bitmap& into) const {
    if (from.AllocatedBytes() > 0 && !HoldsPictureOfSize(into, from.Width(), from.Height()))
        CheckMemoryRoom(PictureBytes(from.Width(), from.Height()));
}

void MainWindowCore::PutBackBeforeSnapshot() {
    const int index = Tools.UndoLayer;
    if (DeepUndo()) {
        // A step already made stands; only an edit still open is taken back.
        const int edited = History.EditLayer();
        if (History.EditOpen() && Layers.Lives(edited, History.EditSerial()))
            LayerImages()[std::size_t(edited)].CopyFrom(Image3);
        History.AbandonEdit();
        return;
    }
    if (Layers.InUse(index)) LayerImages()[std::size_t(index)].CopyFrom(Image3);
    Image4.CopyFrom(Image3);
    Tools.UndoPhase = 0;
}

void MainWindowCore::RecoverFromOutOfMemory(long long snapshots) {
    // An edit begun by this command, or a stroke begun by an earlier one and still running.
    const bool editing = beforeSnapshots_ != snapshots || Stroke.SnapshotTaken ||
                         Stroke.TickDrawing || Tools.RetouchDragging;
    const bool putBack = !DeepUndo() || History.EditOpen();
    // Nothing here asks for a picture's memory: the reservation made the buffers the way back
    // needs. Should even that fail, the message still goes out.
    try {
        if (editing) {
            PutBackBeforeSnapshot();
            if (putBack) Document.Modified = modifiedBeforeEdit_;
            Stroke.SnapshotTaken = false;
            Tools.RetouchDragging = false;
            if (Stroke.StrokeActive || Stroke.TickDrawing) Brush.ReleaseOutside();
        }
        screen_.SetProgressPosition(0);
        Compositor.CompositeRefresh();
    } catch (const std::bad_alloc&) {
    }
    // Old undo steps may have given way to the edit that failed.
    ShowUndoSteps();
    screen_.ErrorBox(OutOfMemoryError().Text());
}

void MainWindowCore::CheckRoomToOpen(const QString& path, FileType type) const {
    const PictureFileSize file = ProbePictureFile(path, type);
    if (!file.Known) return;
    const DocumentShape& shape = file.Shape;
    // The open document stays as it is until the new one is complete: its layers, then the
    // decoder's work or the new paint surface and undo pair, come on top of what is held now.
    const std::uint64_t opening =
        LayerBytes(shape) +
        std::max(file.DecodeBytes, WindowBuffersBytes(shape.Width, shape.Height));
    if (opening > MemoryRoom() || !DocumentFits(shape)) throw OutOfMemoryError();
}

std::uint64_t MainWindowCore::WindowBuffersBytes(int width, int height) const {
    std::uint64_t bytes = 0;
    for (const Bitmap* own : {&Image1, &Image3, &Image4})
        if (!HoldsPictureOfSize(*own, width, height)) bytes += PictureBytes(width, height);
    return bytes;
}

MainWindowCore::WindowBuffers MainWindowCore::MakeWindowBuffers(int width, int height) const {
    WindowBuffers made;
    const auto make = [&](const Bitmap& own, Bitmap& buffer) {
        if (HoldsPictureOfSize(own, width, height)) return;
        buffer.MakeWhite(width, height);
        buffer.HoldMemory();
    };
    make(Image1, made.Surface);
    make(Image3, made.Before);
    make(Image4, made.After);
    return made;
}

void MainWindowCore::TakeWindowBuffers(WindowBuffers&& buffers) {
    if (!buffers.Surface.Empty()) Image1 = std::move(buffers.Surface);
    if (!buffers.Before.Empty()) Image3 = std::move(buffers.Before);
    if (!buffers.After.Empty()) Image4 = std::move(buffers.After);
}
