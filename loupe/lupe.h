#pragma once
// The magnifier: shows a bitmap enlarged by an integer factor, one source pixel as a square
// block, with optional grid lines and its own scroll bars.
//
// Repaints go through an off-screen work bitmap and touch only the blocks that meet the area
// asked for; scrolling moves the pixels already on screen and draws only the strip uncovered,
// so following a moving brush stays cheap whatever the size of the source. The clip origin and
// the source change as often as the brush ticks, but the screen takes them at most once a
// frame: the moves and changes in between are shown together.
#include <cstdint>
#include <functional>

#include <QTimer>
#include <QWidget>

#include "loupe/lupe_layout.h"
#include "loupe/lupe_shown.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

class QPainter;
class QScrollBar;

enum TLupeStyle { lsStandard, lsOwnerDraw };
enum TLupeOwnerDrawState { lodBeforePicture, lodBeforeGrid, lodAfterGrid };

class TLupe : public QWidget {
    Q_OBJECT
  public:
    using TNotifyEvent = std::function<void(TLupe* Sender)>;
    // Bar is the scroll bar that moved; a change to ScrollPos has no effect.
    using TScrollEvent = std::function<void(TLupe* Sender, Qt::Orientation Bar,
                                            TScrollCode ScrollCode, int& ScrollPos)>;
    // X and Y are source pixel coordinates.
    using TMouseEvent =
        std::function<void(TLupe* Sender, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TLupe* Sender, Qt::MouseButtons Buttons,
                                               Qt::KeyboardModifiers Shift, int X, int Y)>;
    // LupeCanvas paints on the work bitmap (on the control while no source is set); DestClip
    // is in view pixels, SorcClip in source pixels. Clearing DrawResult suppresses the
    // control's own drawing of this stage and the stages after it.
    using TDrawLupeEvent =
        std::function<void(TLupe* Sender, QPainter& LupeCanvas, const QRect& DestClip,
                           const QRect& SorcClip, TLupeOwnerDrawState State, bool& DrawResult)>;

    explicit TLupe(QWidget* parent = nullptr);
    ~TLupe() override;

    int Power() const { return power_; }
    // Below 2 or unchanged: ignored.
    void SetPower(int power);
    bool DrawGrid() const { return drawGrid_; }
    void SetDrawGrid(bool on);
    TLupeStyle Style() const { return style_; }
    void SetStyle(TLupeStyle style);
    // The control keeps its own copy of the source.
    const ::Bitmap& Bitmap() const { return shared_ ? *shared_ : source_; }
    void SetBitmap(const ::Bitmap& source);
    // Shows picture itself instead of a copy: the owner keeps it alive for as long as it is
    // shown, and calls this again after changing it. Again with the same picture of the same
    // size, only the blocks whose pixels differ from what the view shows are repainted.
    void SharePicture(const ::Bitmap* picture);
    const ::Pen& GridPen() const { return gridPen_; }
    void SetGridPen(const ::Pen& pen);
    // Fills what lies outside the view.
    TColor Color() const { return color_; }
    void SetColor(TColor colour);

    int ClipLeft() const { return layout_.ClipLeft; }
    int ClipTop() const { return layout_.ClipTop; }
    // Out-of-range values are refused, not clamped; an accepted value scrolls.
    void SetClipLeft(int v);
    void SetClipTop(int v);
    int ClipWidth() const;
    int ClipHeight() const;
    // Resizes the control to show n columns or rows (plus a scroll bar where one is needed).
    void SetClipWidth(int n);
    void SetClipHeight(int n);

    // A scroll request as its bar would send it.
    void Scroll(Qt::Orientation bar, TScrollCode code, int position);

    // A move or change waits for its frame to reach the screen (the view's or a bar's).
    bool FramePending() const;

    const LupeLayout& Layout() const { return layout_; }
    const ::Bitmap& WorkBitmap() const { return work_; }
    QScrollBar* VertScrollBar() const { return vbar_; }
    QScrollBar* HorzScrollBar() const { return hbar_; }

    TScrollEvent OnScroll;
    TNotifyEvent OnResize;
    TNotifyEvent OnChange;
    TDrawLupeEvent OnDrawLupe;
    TMouseEvent OnSourceMouseDown;
    TMouseMoveEvent OnSourceMouseMove;
    TMouseEvent OnSourceMouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int BarExtent() const;
    QRect ClientRect() const;
    void Relayout();
    void PlaceBars();
    void SourceChanged();
    void PictureChanged();
    bool SourceSizeChanged() const;
    QRect ClipRect() const;
    void ResizeForClip(int width, int height);
    void BarAction(Qt::Orientation bar, int action);
    void RequestFrame();
    void ShowFrame();
    void SyncScreenClip();
    void ScrollPixels(QPoint delta);
    void PaintEmpty(QPainter& painter, const QRect& area);
    void FillOutsideView(QPainter& painter, const QRect& area);
    void PaintBarCorner(QPainter& painter, const QRect& area);
    void ComposeWork(const QRect& dest);
    void PutOnScreen(QPainter& painter, const QRect& dest);
    bool OwnerDraws() const { return style_ == lsOwnerDraw && OnDrawLupe != nullptr; }
    // Lets the owner draw a stage on the work bitmap, when it draws at all.
    void OwnerDrawStage(TLupeOwnerDrawState state, const QRect& dest, const QRect& source,
                        bool& result);
    QPoint SourcePoint(const QPointF& local) const;

    int power_ = 8;
    bool drawGrid_ = true;
    TLupeStyle style_ = lsStandard;
    TColor color_;
    ::Bitmap source_;
    const ::Bitmap* shared_ = nullptr;
    LupeShownPixels shown_;
    ::Bitmap work_;
    ::Pen gridPen_;
    LupeLayout layout_;
    QScrollBar* vbar_;
    QScrollBar* hbar_;
    // The clip origin the screen shows; it catches up with the layout's at the next frame.
    QPoint screenClip_;
    std::uint32_t frameAt_ = 0;
    QTimer frame_;
};
