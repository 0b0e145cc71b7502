#include "loupe/lupe_bar.h"

#include <QStyle>
#include <QStyleOptionSlider>

#include "platform/clock.h"

LupeScrollBar::LupeScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    pending_.setSingleShot(true);
    connect(&pending_, &QTimer::timeout, this, [this] { ShowThumb(); });
}

void LupeScrollBar::sliderChange(SliderChange change) {
    if (change != SliderValueChange) {
        // A new range or orientation: repaint now, as a plain bar would.
        shownThumb_ = Thumb();
        QScrollBar::sliderChange(change);
        return;
    }
    if (Thumb() == shownThumb_ || pending_.isActive()) return;
    const std::uint32_t since = TimeGetTime() - shownAt_;
    if (since < kFrameMs)
        pending_.start(int(kFrameMs - since));
    else
        ShowThumb();
}

void LupeScrollBar::ShowThumb() {
    const QRect thumb = Thumb();
    if (thumb == shownThumb_) return;
    shownThumb_ = thumb;
    shownAt_ = TimeGetTime();
    update();
}

void LupeScrollBar::resizeEvent(QResizeEvent* event) {
    shownThumb_ = QRect();
    QScrollBar::resizeEvent(event);
}

QRect LupeScrollBar::Thumb() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}
