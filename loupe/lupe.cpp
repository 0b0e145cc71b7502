#include "loupe/lupe.h"

#include <QMouseEvent>
#include <QStyle>

#include "loupe/lupe_bar.h"
#include "platform/clock.h"
#include "platform/pointer_pixel.h"

TLupe::TLupe(QWidget* parent)
    : QWidget(parent),
      color_(FromQColor(palette().color(QPalette::Window))),
      vbar_(new LupeScrollBar(Qt::Vertical, this)),
      hbar_(new LupeScrollBar(Qt::Horizontal, this)) {
    // Every pixel of the control is painted by paintEvent: no erase under the picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    for (QScrollBar* bar : {vbar_, hbar_}) {
        bar->hide();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { BarAction(bar->orientation(), action); });
        connect(bar, &QAbstractSlider::sliderReleased, this,
                [this, bar] { Scroll(bar->orientation(), scPosition, bar->sliderPosition()); });
    }
    frame_.setSingleShot(true);
    connect(&frame_, &QTimer::timeout, this, [this] { ShowFrame(); });
    resize(128, 128);
    Relayout();
}

TLupe::~TLupe() = default;

void TLupe::SetPower(int power) {
    if (power < 2 || power == power_) return;
    power_ = power;
    Relayout();
    update();
}

void TLupe::SetDrawGrid(bool on) {
    if (on == drawGrid_) return;
    drawGrid_ = on;
    update();
}

void TLupe::SetStyle(TLupeStyle style) {
    if (style == style_) return;
    style_ = style;
    update();
}

void TLupe::SetBitmap(const ::Bitmap& source) {
    shared_ = nullptr;
    source_.CopyFrom(source);
    SourceChanged();
}

void TLupe::SharePicture(const ::Bitmap* picture) {
    if (picture && picture == shared_) {
        PictureChanged();
        return;
    }
    shared_ = picture;
    source_ = ::Bitmap();
    SourceChanged();
}

// The shared picture changed: a new size lays the view out anew; otherwise the next frame
// repaints the blocks whose pixels differ from what the view shows.
void TLupe::PictureChanged() {
    if (SourceSizeChanged()) {
        SourceChanged();
        return;
    }
    RequestFrame();
    if (OnChange) OnChange(this);
}

// A frame follows the last one by at least kFrameMs of the platform's clock, and waits at
// least for the event loop, so that the moves and changes of one tick show together; a hidden
// control has no screen to bring up to date.
void TLupe::RequestFrame() {
    if (!isVisible()) {
        SyncScreenClip();
        return;
    }
    if (frame_.isActive()) return;
    const std::uint32_t since = TimeGetTime() - frameAt_;
    frame_.start(since < LupeScrollBar::kFrameMs ? int(LupeScrollBar::kFrameMs - since) : 0);
}

bool TLupe::FramePending() const {
    return frame_.isActive() || static_cast<const LupeScrollBar*>(vbar_)->ThumbPending() ||
           static_cast<const LupeScrollBar*>(hbar_)->ThumbPending();
}

// Moves the screen's pixels to the current clip and asks for the uncovered strips and the
// changed blocks; the next paint event draws them together.
void TLupe::ShowFrame() {
    frame_.stop();
    frameAt_ = TimeGetTime();
    const QPoint delta = QPoint(layout_.ClipLeft, layout_.ClipTop) - screenClip_;
    SyncScreenClip();
    ScrollPixels(delta);
    const QRect changed = shown_.Changed(Bitmap());
    if (!changed.isEmpty())
        update(QRect((changed.left() - layout_.ClipLeft) * power_,
                     (changed.top() - layout_.ClipTop) * power_, changed.width() * power_,
                     changed.height() * power_));
}

void TLupe::SyncScreenClip() {
    screenClip_ = QPoint(layout_.ClipLeft, layout_.ClipTop);
    shown_.SetClip(ClipRect(), Bitmap());
}

void TLupe::SetGridPen(const ::Pen& pen) {
    gridPen_ = pen;
    SourceChanged();
}

void TLupe::SetColor(TColor colour) {
    color_ = colour;
    update();
}

void TLupe::SourceChanged() {
    // An emptied source counts as a new size too, so no bars are left over a picture that is
    // gone.
    if (SourceSizeChanged()) {
        layout_.SourceWidth = Bitmap().Empty() ? 0 : Bitmap().Width();
        layout_.SourceHeight = Bitmap().Empty() ? 0 : Bitmap().Height();
        Relayout();
    }
    update();
    if (OnChange) OnChange(this);
}

void TLupe::SetClipLeft(int v) {
    if (v < 0 || v > layout_.MaxClipLeft()) return;
    Scroll(Qt::Horizontal, scPosition, v);
}

void TLupe::SetClipTop(int v) {
    if (v < 0 || v > layout_.MaxClipTop()) return;
    Scroll(Qt::Vertical, scPosition, v);
}

int TLupe::ClipWidth() const {
    if (!Bitmap().Empty()) return layout_.VisibleCols;
    return (width() + power_ - 1) / power_;
}

int TLupe::ClipHeight() const {
    if (!Bitmap().Empty()) return layout_.VisibleRows;
    return (height() + power_ - 1) / power_;
}

void TLupe::SetClipWidth(int n) {
    if (!Bitmap().Empty() && n > layout_.SourceWidth) n = layout_.SourceWidth;
    if (n <= 0) return;
    int w = n * power_;
    if (!Bitmap().Empty() && ClipHeight() < layout_.SourceHeight) w += BarExtent();
    ResizeForClip(w, height());
}

void TLupe::SetClipHeight(int n) {
    if (!Bitmap().Empty() && n > layout_.SourceHeight) n = layout_.SourceHeight;
    if (n <= 0) return;
    int h = n * power_;
    if (!Bitmap().Empty() && ClipWidth() < layout_.SourceWidth) h += BarExtent();
    ResizeForClip(width(), h);
}

void TLupe::ResizeForClip(int width, int height) {
    if (QSize(width, height) == size()) return;
    resize(width, height);
    // A hidden widget hears of its new size only when shown; the getters must not wait.
    if (!isVisible()) Relayout();
}

bool TLupe::SourceSizeChanged() const {
    const ::Bitmap& source = Bitmap();
    const int w = source.Empty() ? 0 : source.Width();
    const int h = source.Empty() ? 0 : source.Height();
    return w != layout_.SourceWidth || h != layout_.SourceHeight;
}

QRect TLupe::ClipRect() const {
    return QRect(layout_.ClipLeft, layout_.ClipTop, layout_.VisibleCols, layout_.VisibleRows);
}

int TLupe::BarExtent() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect TLupe::ClientRect() const {
    return QRect(0, 0, width() - layout_.VertBarWidth, height() - layout_.HorzBarHeight);
}

void TLupe::resizeEvent(QResizeEvent*) {
    Relayout();
}

void TLupe::Relayout() {
    const int extent = BarExtent();
    layout_.Relayout(width(), height(), power_, extent, extent);
    PlaceBars();
    // Whatever lays the view out anew repaints all of it.
    SyncScreenClip();
    if (!Bitmap().Empty() &&
        (work_.Width() != layout_.ViewWidth || work_.Height() != layout_.ViewHeight))
        work_ = ::Bitmap(layout_.ViewWidth, layout_.ViewHeight);
    if (OnResize) OnResize(this);
}

// The bars sit at the right and bottom edges, where the system would put a window's own
// scroll bars; their ranges let the thumb reach exactly the last clip origin.
void TLupe::PlaceBars() {
    const LupeLayout& l = layout_;
    vbar_->setRange(0, l.MaxClipTop());
    vbar_->setPageStep(l.VisibleRows);
    vbar_->setSingleStep(l.LineStepY);
    vbar_->setValue(l.ClipTop);
    vbar_->setGeometry(width() - l.VertBarWidth, 0, l.VertBarWidth, height() - l.HorzBarHeight);
    vbar_->setVisible(l.VertBarWidth > 0);
    hbar_->setRange(0, l.MaxClipLeft());
    hbar_->setPageStep(l.VisibleCols);
    hbar_->setSingleStep(l.LineStepX);
    hbar_->setValue(l.ClipLeft);
    hbar_->setGeometry(0, height() - l.HorzBarHeight, width() - l.VertBarWidth, l.HorzBarHeight);
    hbar_->setVisible(l.HorzBarHeight > 0);
}

void TLupe::BarAction(Qt::Orientation bar, int action) {
    QScrollBar* sb = bar == Qt::Vertical ? vbar_ : hbar_;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            Scroll(bar, scLineUp, 0);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            Scroll(bar, scLineDown, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            Scroll(bar, scPageUp, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            Scroll(bar, scPageDown, 0);
            break;
        case QAbstractSlider::SliderMove:
            Scroll(bar, scTrack, sb->sliderPosition());
            break;
        case QAbstractSlider::SliderToMinimum:
            Scroll(bar, scTop, 0);
            break;
        case QAbstractSlider::SliderToMaximum:
            Scroll(bar, scBottom, 0);
            break;
        default:
            break;
    }
}

void TLupe::Scroll(Qt::Orientation bar, TScrollCode code, int position) {
    const bool vertical = bar == Qt::Vertical;
    const int delta =
        vertical ? layout_.ScrollVert(code, position) : layout_.ScrollHorz(code, position);
    if (delta != 0) RequestFrame();
    int clip = vertical ? layout_.ClipTop : layout_.ClipLeft;
    // Also overrides the position a bar proposed for the action it is reporting.
    (vertical ? vbar_ : hbar_)->setValue(clip);
    if (OnScroll) OnScroll(this, bar, code, clip);
}

void TLupe::ScrollPixels(QPoint delta) {
    if (delta.isNull() || !isVisible()) return;
    const QRect view = QRect(0, 0, layout_.ViewWidth, layout_.ViewHeight) & ClientRect();
    if (view.isEmpty()) return;
    const QPoint pixels = delta * power_;
    scroll(-pixels.x(), -pixels.y(), view);
    // Painted by the next paint event together with the changed blocks: one paint and one
    // flush a frame.
    update(QRegion(view) - QRegion(view.translated(-pixels)));
}

QPoint TLupe::SourcePoint(const QPointF& local) const {
    // Division truncates towards zero, also for a pointer held beyond the left or top edge.
    const QPoint p = PointerPixel(local);
    return QPoint(p.x() / power_ + layout_.ClipLeft, p.y() / power_ + layout_.ClipTop);
}

void TLupe::mousePressEvent(QMouseEvent* event) {
    if (!OnSourceMouseDown) return;
    const QPoint s = SourcePoint(event->position());
    OnSourceMouseDown(this, event->button(), event->buttons(), event->modifiers(), s.x(), s.y());
}

void TLupe::mouseMoveEvent(QMouseEvent* event) {
    if (!OnSourceMouseMove) return;
    const QPoint s = SourcePoint(event->position());
    OnSourceMouseMove(this, event->buttons(), event->modifiers(), s.x(), s.y());
}

void TLupe::mouseReleaseEvent(QMouseEvent* event) {
    if (!OnSourceMouseUp) return;
    const QPoint s = SourcePoint(event->position());
    OnSourceMouseUp(this, event->button(), event->buttons(), event->modifiers(), s.x(), s.y());
}
