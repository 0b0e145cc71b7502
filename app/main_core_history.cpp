// The undo history of more than one level: walking it, keeping the edit being made in step with
// the tools and the layer window, and the number of levels the user chose. With one level none
// of this runs: undo is the pair of snapshots that toggles.
#include <algorithm>

#include "app/main_core.h"
#include "platform/blit.h"

namespace {

const QString kUndoSection = QStringLiteral("undo");
const QString kLevelsKey = QStringLiteral("Levels");
const QString kMemoryKey = QStringLiteral("MemoryMB");

}  // namespace

void MainWindowCore::ReadUndoSettings() {
    const int levels = IniGT1.ReadIntegerIn(kUndoSection, kLevelsKey, UndoHistory::kMinLevels,
                                            UndoHistory::kMinLevels, UndoHistory::kMaxLevels);
    const int megabytes = IniGT1.ReadIntegerIn(
        kUndoSection, kMemoryKey, UndoHistory::kDefaultMemoryMB, 1, UndoHistory::kMaxMemoryMB);
    History.SetBudget(std::uint64_t(megabytes) << 20);
    History.SetLevels(levels);
    ShowUndoSteps();
}

void MainWindowCore::UndoLevels1Click() {
    int levels = History.Levels();
    if (!screen_.AskUndoLevels(levels)) return;
    SetUndoLevels(levels);
    try {
        IniGT1.WriteInteger(kUndoSection, kLevelsKey, History.Levels());
    } catch (const UserError& e) {
        screen_.ErrorBox(e.Text());
    }
}

void MainWindowCore::SetUndoLevels(int levels) {
    levels = std::clamp(levels, UndoHistory::kMinLevels, UndoHistory::kMaxLevels);
    const int was = History.Levels();
    if (levels == was) return;
    if (was > 1) {
        EndRunningEdit();
        History.DropGoneLayers(Layers);
    }
    if (levels == 1)
        HandLastStepToPair();
    else if (was == 1)
        HandPairToHistory();
    History.SetLevels(levels);
    ShowUndoSteps();
}

// The last step done becomes the pair: undo toggles it as it would have toggled the last
// operation. Without one, undo finds nothing to take back.
void MainWindowCore::HandLastStepToPair() {
    const auto last = History.LastDone();
    const int index = last ? last->Layer : Layers.CurrentLayerIndex();
    const Bitmap& layer = LayerImages()[std::size_t(index)];
    // Both snapshots are counted before either changes.
    CheckRoomToCopy(layer, Image4);
    CheckRoomToCopy(layer, Image3);
    Image4.CopyFrom(layer);
    Image3.CopyFrom(layer);
    if (last) DrawOpaque(Image3, *last->Before, last->Area.left(), last->Area.top());
    Tools.UndoLayer = index;
    Tools.UndoPhase = 0;
    History.Clear();
}

// The operation the pair holds stays undoable as the history's first step; the after-snapshot
// is not needed from then on.
void MainWindowCore::HandPairToHistory() {
    const int index = Tools.UndoLayer;
    if (Tools.UndoPhase == 0 && Layers.InUse(index) &&
        LayerImages()[std::size_t(index)] == Image4) {
        History.BeginEdit(index, Layers.LayerSerial(index));
        History.EndEdit(Image3, Image4);
    }
    Image4.ReleaseToWhite();
}

void MainWindowCore::ResetAfterSnapshot(const Bitmap& layer) {
    if (DeepUndo()) {
        Image4.ReleaseToWhite();
        Image4.MakeWhite(layer.Width(), layer.Height());
    } else {
        Image4.CopyFrom(layer);
    }
}

void MainWindowCore::Redo1Click() {
    if (DeepUndo()) WalkHistory(false);
}

void MainWindowCore::WalkHistory(bool back) {
    EndRunningEdit();
    // A floating text's preview is no edit: its layer goes back to the copy the text floats
    // over, and the text floats on over the layer as the step leaves it.
    const int from = Text.BackdropLayer;
    Bitmap* textLayer = nullptr;
    if (Tools.TextFloating) {
        Bitmap& layer = LayerImages()[std::size_t(std::clamp(from, 0, kLayerSlots - 1))];
        if (Layers.Lives(from, Text.BackdropSerial) && Text.BackdropFits(layer)) {
            layer.CopyFrom(Text.TextBackdrop);
            textLayer = &layer;
        } else {
            Tools.TextFloating = false;
        }
    }
    History.DropGoneLayers(Layers);
    const std::optional<RestoredArea> restored =
        back ? History.Undo(LayerImages()) : History.Redo(LayerImages());
    if (restored && Layers.LayersChanged) {
        // Positions the layer window changed since the last tick: the undo pair's rebuild.
        Layers.SetThumbnail(restored->Layer, LayerImages()[std::size_t(restored->Layer)]);
        Compositor.RebuildAfterUndo();
    } else if (restored) {
        Compositor.RefreshArea(restored->Area, restored->Layer);
        screen_.RepaintPaintSurface(restored->Area);
    }
    if (textLayer) {
        Text.TakeBackdrop(*textLayer, from, Text.BackdropSerial);
        TextPreviewAt(Stroke.PointerX, Stroke.PointerY);
    }
    ShowUndoSteps();
}

void MainWindowCore::EndRunningEdit() {
    if (History.EditMarked() && Stroke.StrokeActive) {
        StrokeEnd();
        Stroke.SnapshotTaken = false;
    }
    Tools.RetouchDragging = false;
    EndMarkedEdit();
    // Any edit still open is the colour pick's press, which changes nothing: walked past, it
    // would take the step undone for its own change.
    History.AbandonEdit();
}

void MainWindowCore::EndMarkedEdit() {
    if (DeepUndo() && History.EditMarked()) RecordEdit();
}

void MainWindowCore::RecordEdit() {
    const int index = History.EditLayer();
    if (History.EditOpen() && Layers.Lives(index, History.EditSerial()))
        History.EndEdit(Image3, LayerImages()[std::size_t(index)]);
    History.AbandonEdit();
    ShowUndoSteps();
}

void MainWindowCore::KeepStrokeInEdit() {
    if (!DeepUndo() || !Stroke.TickDrawing) return;
    const int index = Layers.CurrentLayerIndex();
    if (History.EditMarked() && History.EditLayer() == index &&
        History.EditSerial() == Layers.LayerSerial(index))
        return;
    // A stroke that went on to another layer, or draws on after its edit ended: what it draws
    // from here is a step of its own.
    TakeBeforeSnapshot();
    History.Mark(QRect());
}

void MainWindowCore::FollowLayerChanges() {
    const bool merging = Layers.MergeRequested;
    Compositor.RebuildLayerCache({&Image3, &Image4, Tools.UndoLayer});
    // A merge rewrites every layer; a delete takes its layer's steps along.
    if (merging)
        History.Clear();
    else
        History.DropGoneLayers(Layers);
    ShowUndoSteps();
}

void MainWindowCore::ShowUndoSteps() {
    screen_.ShowUndoSteps(History.Levels(), History.Back(), History.Forward());
}
