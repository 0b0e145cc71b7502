#include "controls/placement_fit.h"

#include <algorithm>
#include <cstdint>

namespace {

bool Grabbable(const QRect& window, const QRect& screen) {
    const QRect strip(window.x(), window.y(), window.width(),
                      std::min(window.height(), kGrabHeight));
    const QRect onScreen = strip.intersected(screen);
    return onScreen.height() == strip.height() &&
           onScreen.width() >= std::min(window.width(), kGrabWidth);
}

std::int64_t Gap(int start, int length, int otherStart, int otherLength) {
    const std::int64_t end = std::int64_t(start) + length;
    const std::int64_t otherEnd = std::int64_t(otherStart) + otherLength;
    if (end <= otherStart) return otherStart - end;
    if (otherEnd <= start) return start - otherEnd;
    return 0;
}

// How near a screen is: the larger the shared area the nearer, and for no shared area the
// smaller the gap. In 64 bits, as the rectangle may lie far out.
std::int64_t Nearness(const QRect& window, const QRect& screen) {
    const QRect shared = window.intersected(screen);
    if (!shared.isEmpty()) return std::int64_t(shared.width()) * shared.height();
    const std::int64_t dx = Gap(window.x(), window.width(), screen.x(), screen.width());
    const std::int64_t dy = Gap(window.y(), window.height(), screen.y(), screen.height());
    return -(dx * dx + dy * dy);
}

}  // namespace

QRect RectFromEdges(int left, int top, int right, int bottom) {
    const auto cut = [](std::int64_t v, std::int64_t low) {
        return int(std::clamp<std::int64_t>(v, low, kFarAway));
    };
    std::int64_t width = std::int64_t(right) - left;
    std::int64_t height = std::int64_t(bottom) - top;
    if (width <= 0 || height <= 0) width = height = 0;
    return QRect(cut(left, -kFarAway), cut(top, -kFarAway), cut(width, 0), cut(height, 0));
}

QRect FitOnScreens(const QRect& window, const QList<QRect>& screens) {
    if (screens.isEmpty()) return window;
    int widest = 0, tallest = 0;
    bool grabbable = false;
    for (const QRect& s : screens) {
        widest = std::max(widest, s.width());
        tallest = std::max(tallest, s.height());
        grabbable = grabbable || Grabbable(window, s);
    }
    if (grabbable && window.width() <= widest && window.height() <= tallest) return window;

    const QRect nearest = *std::max_element(
        screens.begin(), screens.end(),
        [&](const QRect& a, const QRect& b) { return Nearness(window, a) < Nearness(window, b); });
    const int width = std::min(window.width(), nearest.width());
    const int height = std::min(window.height(), nearest.height());
    const int x = std::clamp(window.x(), nearest.x(), nearest.x() + nearest.width() - width);
    const int y = std::clamp(window.y(), nearest.y(), nearest.y() + nearest.height() - height);
    return QRect(x, y, width, height);
}
