#pragma once
// The magnifier's scroll bar. While the loupe follows the brush its origin changes every
// tick, far more often than a screen shows a new picture, and a bar's repaint costs more
// than the blocks the move uncovers. So the bar takes every new value at once (its value()
// is always the clip origin) but repaints for it only when its thumb moves on screen, and
// then at most once a frame; a move that comes sooner is shown when the frame is up.
#include <QRect>
#include <QScrollBar>
#include <QTimer>
#include <cstdint>

class LupeScrollBar : public QScrollBar {
  public:
    // A frame of the screen, in milliseconds of the platform's clock.
    static constexpr std::uint32_t kFrameMs = 16;

    LupeScrollBar(Qt::Orientation orientation, QWidget* parent);

    // A thumb move waits for its frame.
    bool ThumbPending() const { return pending_.isActive(); }

  protected:
    void sliderChange(SliderChange change) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRect Thumb() const;
    void ShowThumb();

    QRect shownThumb_;
    std::uint32_t shownAt_ = 0;
    QTimer pending_;
};
