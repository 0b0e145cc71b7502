#include "tools/undo_history.h"

#include <algorithm>
#include <cstring>

#include "platform/runtime_errors.h"
#include "tools/picture_edit.h"

namespace {

// Smaller steps fit in the share of memory nobody counts; asking the machine costs more than
// they do.
constexpr std::uint64_t kRoomCheckFrom = std::uint64_t(1) << 20;

bool SameSize(const Bitmap& a, const Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height();
}

}  // namespace

QRect ChangedArea(const Bitmap& a, const Bitmap& b, const QRect& within) {
    const QRect r = within & QRect(0, 0, a.Width(), a.Height());
    if (r.isEmpty() || !SameSize(a, b)) return QRect();
    const std::size_t offset = std::size_t(r.left()) * 3;
    const std::size_t bytes = std::size_t(r.width()) * 3;
    const auto rowDiffers = [&](int y) {
        return std::memcmp(a.ConstScanLine(y) + offset, b.ConstScanLine(y) + offset, bytes) != 0;
    };
    int top = r.top();
    while (top <= r.bottom() && !rowDiffers(top)) ++top;
    if (top > r.bottom()) return QRect();
    int bottom = r.bottom();
    while (!rowDiffers(bottom)) --bottom;
    int left = r.right() + 1;
    int right = r.left() - 1;
    for (int y = top; y <= bottom && (left > r.left() || right < r.right()); ++y) {
        if (!rowDiffers(y)) continue;
        const std::uint8_t* p = a.ConstScanLine(y);
        const std::uint8_t* q = b.ConstScanLine(y);
        const auto same = [&](int x) { return std::memcmp(p + x * 3, q + x * 3, 3) == 0; };
        int x = r.left();
        while (x < left && same(x)) ++x;
        left = std::min(left, x);
        x = r.right();
        while (x > right && same(x)) --x;
        right = std::max(right, x);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void UndoHistory::SetLevels(int levels) {
    levels_ = std::clamp(levels, kMinLevels, kMaxLevels);
    Trim(nullptr);
}

void UndoHistory::SetBudget(std::uint64_t bytes) {
    budget_ = bytes;
    Trim(nullptr);
}

std::uint64_t UndoHistory::Bytes() const {
    std::uint64_t bytes = 0;
    for (const Step& step : steps_) bytes += step.pixels.AllocatedBytes();
    return bytes;
}

void UndoHistory::BeginEdit(int index, unsigned serial) {
    edit_ = {true, false, index, serial, QRect()};
}

void UndoHistory::Mark(const QRect& area) {
    if (!edit_.open) return;
    edit_.marked = true;
    edit_.area |= area;
}

void UndoHistory::EndEdit(Bitmap& before, const Bitmap& layer) {
    if (!edit_.open) return;
    const QRect whole(0, 0, layer.Width(), layer.Height());
    const QRect area = ChangedArea(before, layer, edit_.marked ? edit_.area : whole);
    if (area.isEmpty()) {
        edit_.open = false;
        return;
    }
    Step step{edit_.index, edit_.serial, area, Bitmap()};
    const bool takeBuffer = area == whole;
    if (!takeBuffer) {
        const std::uint64_t bytes = std::uint64_t((area.width() * 3 + 3) & ~3) * area.height();
        if (Room && bytes >= kRoomCheckFrom && !MakeRoom(bytes, Room())) throw OutOfMemoryError();
        CopyRectangle(before, area, step.pixels);
    }
    steps_.reserve(steps_.size() + 1);
    // Nothing below asks for memory: the history changes whole or not at all.
    steps_.erase(steps_.begin() + done_, steps_.end());
    steps_.push_back(std::move(step));
    done_ = int(steps_.size());
    edit_.open = false;
    Bitmap* refill = nullptr;
    if (takeBuffer) {
        steps_.back().pixels = std::move(before);
        before.MakeWhite(whole.width(), whole.height());
        refill = &before;
    }
    Trim(refill);
}

void UndoHistory::Exchange(Step& step, Bitmap& layer) {
    if (step.area == QRect(0, 0, layer.Width(), layer.Height()) && SameSize(step.pixels, layer)) {
        std::swap(step.pixels, layer);
        return;
    }
    // Both take their memory before either changes.
    layer.HoldMemory();
    step.pixels.HoldMemory();
    const std::size_t offset = std::size_t(step.area.left()) * 3;
    const std::size_t bytes = std::size_t(step.area.width()) * 3;
    for (int y = 0; y < step.area.height(); ++y) {
        std::uint8_t* row = layer.ScanLine(step.area.top() + y) + offset;
        std::swap_ranges(row, row + bytes, step.pixels.ScanLine(y));
    }
}

std::optional<RestoredArea> UndoHistory::Undo(std::array<Bitmap, kLayerSlots>& layers) {
    if (done_ == 0) return std::nullopt;
    Step& step = steps_[std::size_t(done_ - 1)];
    Exchange(step, layers[std::size_t(step.index)]);
    --done_;
    return RestoredArea{step.index, step.area};
}

std::optional<RestoredArea> UndoHistory::Redo(std::array<Bitmap, kLayerSlots>& layers) {
    if (done_ == int(steps_.size())) return std::nullopt;
    Step& step = steps_[std::size_t(done_)];
    Exchange(step, layers[std::size_t(step.index)]);
    ++done_;
    return RestoredArea{step.index, step.area};
}

std::optional<UndoHistory::DoneStep> UndoHistory::LastDone() const {
    if (done_ == 0) return std::nullopt;
    const Step& step = steps_[std::size_t(done_ - 1)];
    return DoneStep{step.index, step.area, &step.pixels};
}

bool UndoHistory::DropGoneLayers(const LayerStack& stack) {
    if (edit_.open && !stack.Lives(edit_.index, edit_.serial)) edit_.open = false;
    // The steps of one layer touch that layer only: the others stay valid without them.
    int kept = 0;
    int keptDone = 0;
    for (int i = 0; i < int(steps_.size()); ++i) {
        Step& step = steps_[std::size_t(i)];
        if (!stack.Lives(step.index, step.serial)) continue;
        if (i < done_) ++keptDone;
        if (kept != i) steps_[std::size_t(kept)] = std::move(step);
        ++kept;
    }
    const bool dropped = kept != int(steps_.size());
    steps_.resize(std::size_t(kept));
    done_ = keptDone;
    return dropped;
}

bool UndoHistory::MakeRoom(std::uint64_t bytes, std::uint64_t room) {
    // Counted in the order DropOne lets them go: the oldest done steps, then the farthest ahead.
    std::uint64_t freed = 0;
    int count = 0;
    for (int i = 0; i < int(steps_.size()) && bytes > room + freed; ++i, ++count) {
        const std::size_t at =
            i < done_ ? std::size_t(i) : steps_.size() - 1 - std::size_t(i - done_);
        freed += steps_[at].pixels.AllocatedBytes();
    }
    if (bytes > room + freed) return false;
    while (count-- > 0) DropOne(nullptr);
    return true;
}

void UndoHistory::Clear() {
    steps_.clear();
    done_ = 0;
    edit_.open = false;
}

void UndoHistory::DropOne(Bitmap* refill) {
    Step dropped;
    if (done_ > 0) {
        dropped = std::move(steps_.front());
        steps_.erase(steps_.begin());
        --done_;
    } else {
        dropped = std::move(steps_.back());
        steps_.pop_back();
    }
    if (refill && refill->IsLazyWhite() && dropped.pixels.AllocatedBytes() > 0 &&
        SameSize(*refill, dropped.pixels))
        *refill = std::move(dropped.pixels);
}

void UndoHistory::Trim(Bitmap* refill) {
    // The budget leaves the last step standing, however large: one level keeps the last
    // operation undoable whatever it cost, and more levels must not give less.
    while (int(steps_.size()) > levels_ || (steps_.size() > 1 && Bytes() > budget_))
        DropOne(refill);
}
