#pragma once
// UndoHistory: the steps that undo and redo walk when more than one level is kept. A step is the
// rectangle one operation changed on one layer, with that rectangle's pixels as the layer does
// not hold them now: as they were before the operation while the step is done, as the operation
// left them once it is undone. Undo and redo exchange those pixels with the layer's, so that
// they cost the rectangle, not the picture.
//
// The history also follows the edit being made: the main window begins one at every
// before-snapshot and ends it at the after-snapshot, where the pixels that differ from the
// before-snapshot become the step. A stroke marks the areas its ticks draw, and only those are
// compared.
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "layers/layer_stack.h"
#include "platform/bitmap.h"

// The layer and the rectangle an undo or redo changed.
struct RestoredArea {
    int Layer = -1;
    QRect Area;
};

class UndoHistory {
  public:
    static constexpr int kMinLevels = 1;
    static constexpr int kMaxLevels = 100;
    static constexpr int kDefaultMemoryMB = 512;
    static constexpr int kMaxMemoryMB = 1 << 20;

    // How much more memory the machine can give (bytes); unset, there is no limit. Asked before
    // a step takes memory of its own, so that old steps go before the machine runs out.
    std::function<std::uint64_t()> Room;

    // One level is the single undo pair of the main window; the history holds steps only
    // above it. Fewer levels drop the oldest steps.
    int Levels() const { return levels_; }
    void SetLevels(int levels);
    // The memory the steps may hold, in bytes; the oldest go first when it is exceeded, but a
    // step alone stays even when it is larger.
    std::uint64_t Budget() const { return budget_; }
    void SetBudget(std::uint64_t bytes);

    // Steps that undo can take back, and that redo can bring again.
    int Back() const { return done_; }
    int Forward() const { return int(steps_.size()) - done_; }
    // The pixel memory the steps hold.
    std::uint64_t Bytes() const;

    // ---- The edit being made ----
    // An edit of layer index (in the life serial names) begins; an edit still open is given
    // up. It is compared whole unless areas are marked.
    void BeginEdit(int index, unsigned serial);
    // An area the open edit may have changed (a tick's drawing). Once one is marked, even an
    // empty one, the edit's changes lie only in the marked areas.
    void Mark(const QRect& area);
    bool EditOpen() const { return edit_.open; }
    bool EditMarked() const { return edit_.open && edit_.marked; }
    int EditLayer() const { return edit_.index; }
    unsigned EditSerial() const { return edit_.serial; }
    void AbandonEdit() { edit_.open = false; }
    // Ends the open edit: where layer differs from before (the layer as the edit began, whole)
    // becomes a step, dropping the steps ahead; no difference, no step. When the whole layer
    // changed the step takes before's buffer, and before is left white or with the buffer of
    // a step the history let go. Throws (std::bad_alloc, or OutOfMemoryError when the step
    // does not fit even without the old steps) leaving the history and before as they were.
    void EndEdit(Bitmap& before, const Bitmap& layer);

    // Undo and redo of one step: the step's layer exchanges the step's rectangle with it. The
    // steps of layers that are gone must have been dropped first.
    std::optional<RestoredArea> Undo(std::array<Bitmap, kLayerSlots>& layers);
    std::optional<RestoredArea> Redo(std::array<Bitmap, kLayerSlots>& layers);
    // The last step done, for handing it over to the single undo pair.
    struct DoneStep {
        int Layer;
        QRect Area;
        const Bitmap* Before;
    };
    std::optional<DoneStep> LastDone() const;

    // Drops the steps (and the open edit) of layers that no longer live in the stack. True when
    // any went.
    bool DropGoneLayers(const LayerStack& stack);
    // Drops the oldest steps until bytes fit in room together with the rest; false, dropping
    // nothing, when even an empty history leaves too little.
    bool MakeRoom(std::uint64_t bytes, std::uint64_t room);
    void Clear();

  private:
    struct Step {
        int index = -1;
        unsigned serial = 0;
        QRect area;
        Bitmap pixels;
    };
    struct Edit {
        bool open = false;
        bool marked = false;
        int index = -1;
        unsigned serial = 0;
        QRect area;
    };

    static void Exchange(Step& step, Bitmap& layer);
    // Drops the oldest done step (the farthest step ahead when none is done); its buffer goes
    // to refill when that is a white bitmap without memory of the same size.
    void DropOne(Bitmap* refill);
    // Drops steps until the levels and the budget are kept.
    void Trim(Bitmap* refill);

    std::vector<Step> steps_;
    int done_ = 0;
    int levels_ = kMinLevels;
    std::uint64_t budget_ = std::uint64_t(kDefaultMemoryMB) << 20;
    Edit edit_;
};

// The smallest rectangle inside within that holds every pixel where a and b (same size)
// differ; empty when none does.
QRect ChangedArea(const Bitmap& a, const Bitmap& b, const QRect& within);
