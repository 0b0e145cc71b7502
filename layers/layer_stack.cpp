#include "layers/layer_stack.h"

#include <QRect>

#include "platform/blit.h"
#include "platform/runtime_errors.h"

namespace {

bool ValidIndex(int index) {
    return index >= 0 && index < kLayerSlots;
}

}  // namespace

QString ColourText(TColor colour) {
    return QStringLiteral("$") +
           QStringLiteral("%1").arg(colour & 0xFFFFFFu, 8, 16, QLatin1Char('0')).toUpper();
}

QString RankText(int rank) {
    return QStringLiteral("表示順位") + QString::number(rank) + QStringLiteral("番目");
}

QString DefaultLayerName(int index) {
    return QStringLiteral("新規レイヤ") + QString::number(index + 1);
}

LayerStack::LayerStack(LayerStackHost* host) : host_(host) {
    StartWithLayerZero(true);
}

// ---- Order ----

int LayerStack::DisplayOrder(int position) const {
    if (position < -1 || position >= kLayerSlots) return -1;
    return order_[std::size_t(position + 1)];
}

int LayerStack::LayerCount() const {
    int count = 0;
    while (count < kLayerSlots && DisplayOrder(count) >= 0) ++count;
    return count;
}

int LayerStack::PositionOf(int index) const {
    if (!ValidIndex(index)) return -1;
    for (int p = 0; p < kLayerSlots && DisplayOrder(p) >= 0; ++p)
        if (DisplayOrder(p) == index) return p;
    return -1;
}

// ---- Per layer index ----

const LayerStack::Layer& LayerStack::At(int index) const {
    static const Layer none;
    return ValidIndex(index) ? layers_[std::size_t(index)] : none;
}

LayerStack::Layer& LayerStack::At(int index) {
    return layers_[std::size_t(index)];
}

void LayerStack::SetLayerName(int index, const QString& name) {
    if (!ValidIndex(index) || At(index).name == name) return;
    At(index).name = name;
    At(index).loadedName.reset();
    NotifyRow(index);
}

void LayerStack::SetLoadedLayerName(int index, const QString& name, const std::string& bytes) {
    if (!ValidIndex(index)) return;
    SetLayerName(index, name);
    At(index).loadedName = bytes;
}

void LayerStack::SetVisibilityMark(int index, const QString& mark) {
    if (!ValidIndex(index)) return;
    At(index).mark = mark;
    NotifyRow(index);
}

void LayerStack::SetTransparentColour(int index, TColor colour) {
    if (!ValidIndex(index)) return;
    At(index).colour = colour & 0xFFFFFFu;
    NotifyRow(index);
}

void LayerStack::SetThumbnail(int index, const Bitmap& layerBitmap) {
    if (!ValidIndex(index)) return;
    Bitmap& thumbnail = At(index).thumbnail;
    if (layerBitmap.IsLazyWhite() || layerBitmap.Empty()) {
        thumbnail.MakeWhite(kThumbnailSize, kThumbnailSize);
    } else {
        StretchCopy(thumbnail, QRect(0, 0, kThumbnailSize, kThumbnailSize), layerBitmap,
                    QRect(0, 0, layerBitmap.Width(), layerBitmap.Height()));
    }
    NotifyRow(index);
}

void LayerStack::BuildRow(int index, bool fullHints) {
    Layer& layer = At(index);
    layer.name = DefaultLayerName(index);
    layer.loadedName.reset();
    layer.mark = kShownMark;
    layer.colour = clWhite;
    layer.thumbnail = Bitmap(kThumbnailSize, kThumbnailSize);
    layer.fullHints = fullHints;
    layer.serial = ++lastSerial_;
}

void LayerStack::StartWithLayerZero(bool fullHints) {
    order_.fill(-1);
    order_[1] = 0;
    current_ = 0;
    BuildRow(0, fullHints);
    SetColourPanel(0);
    SetRankPanel(1);
}

// ---- Operations ----

void LayerStack::CreateLayer() {
    const int count = LayerCount();
    if (count >= kMaxLayers) {
        if (host_)
            host_->ConfirmLimit(QStringLiteral("レイヤは") + QString::number(kMaxLayers) +
                                QStringLiteral("個までしか作れません"));
        return;
    }
    if (RoomForLayers && !RoomForLayers(count + 1)) {
        if (host_) host_->ErrorBox(OutOfMemoryError().Text());
        return;
    }
    int index = 0;
    while (InUse(index)) ++index;
    order_[std::size_t(count + 1)] = index;
    BuildRow(index, true);
    if (host_) host_->ScrollRowsToTop();
    SetRankPanel(CurrentRank());
    SetColourPanel(current_);
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::SelectLayer(int index) {
    if (!InUse(index)) return;
    current_ = index;
    SetRankPanel(CurrentRank());
    SetColourPanel(index);
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::ToggleVisibility(int index) {
    if (!InUse(index)) return;
    At(index).mark = IsShown(index) ? kHiddenMark : kShownMark;
    LayersChanged = true;
    NotifyRow(index);
}

void LayerStack::ChooseTransparentColour(int index) {
    if (!InUse(index)) return;
    const std::optional<TColor> chosen = host_ ? host_->ChooseColour(dialogColour_) : std::nullopt;
    if (chosen) {
        dialogColour_ = *chosen & 0xFFFFFFu;
        At(index).colour = dialogColour_;
        NotifyRow(index);
    }
    // Also on cancel: the panel shows this row's colour and the caches are renewed.
    SetColourPanel(index);
    LayersChanged = true;
}

void LayerStack::SwapWithPosition(int p, int q) {
    std::swap(order_[std::size_t(p + 1)], order_[std::size_t(q + 1)]);
}

void LayerStack::MoveUp() {
    const int p = PositionOf(current_);
    if (DisplayOrder(p + 1) < 0) {
        Beep();
        return;
    }
    SwapWithPosition(p, p + 1);
    SetRankPanel(LayerCount() - p - 1);
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::MoveDown() {
    const int p = PositionOf(current_);
    if (p == 0) {
        Beep();
        return;
    }
    SwapWithPosition(p, p - 1);
    SetRankPanel(LayerCount() - p + 1);
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::DeleteLayer() {
    const int p = PositionOf(current_);
    if (DisplayOrder(p + 1) < 0 && DisplayOrder(p - 1) < 0) {
        Beep();
        if (host_) host_->MessageBox(QStringLiteral("レイヤが一つしかないので削除できません。"));
        return;
    }
    DeleteRequested = true;
    DeletedLayerIndex = current_;
    for (int q = p; q < kLayerSlots - 1; ++q)
        order_[std::size_t(q + 1)] = order_[std::size_t(q + 2)];
    order_[kLayerSlots] = -1;
    // The layer that was directly below becomes current; for the bottom layer, the one above.
    current_ = DisplayOrder(p > 0 ? p - 1 : 0);
    SetRankPanel(CurrentRank());
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::Merge() {
    if (LayerCount() == 1) {
        Beep();
        if (host_) host_->MessageBox(QStringLiteral("レイヤが一つしかないので結合できません。"));
        return;
    }
    StartWithLayerZero(false);
    MergeRequested = true;
    LayersChanged = true;
    NotifyRows();
}

void LayerStack::ResetToOneLayer() {
    StartWithLayerZero(false);
    DeleteRequested = false;
    DeletedLayerIndex = -1;
    MergeRequested = false;
    NotifyRows();
}

// ---- Status and notifications ----

void LayerStack::SetColourPanel(int index) {
    colourPanel_ = ColourText(TransparentColour(index));
    NotifyStatus();
}

void LayerStack::SetRankPanel(int rank) {
    rankPanel_ = RankText(rank);
    NotifyStatus();
}

void LayerStack::Beep() {
    if (host_) host_->Beep();
}

void LayerStack::NotifyRows() {
    if (host_) host_->RowsChanged();
}

void LayerStack::NotifyRow(int index) {
    if (host_) host_->RowChanged(index);
}

void LayerStack::NotifyStatus() {
    if (host_) host_->StatusChanged();
}
