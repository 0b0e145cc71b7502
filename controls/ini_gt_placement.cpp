// Window placements on live Qt windows.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "controls/ini_gt.h"
#include "controls/placement_fit.h"

namespace {

QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    return areas;
}

}  // namespace

WindowPlacement PlacementOf(const QWidget* window) {
    WindowPlacement p;
    QRect normal = window->normalGeometry();
    if (!normal.isValid()) normal = window->geometry();
    p.X = normal.x();
    p.Y = normal.y();
    p.XSize = normal.x() + normal.width();
    p.YSize = normal.y() + normal.height();
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized)
        p.Show = WindowPlacement::swMinimized;
    else if (state & Qt::WindowMaximized)
        p.Show = WindowPlacement::swMaximized;
    else
        p.Show = WindowPlacement::swNormal;
    return p;
}

void ApplyPlacement(QWidget* window, const WindowPlacement& p) {
    QRect normal = RectFromEdges(p.X, p.Y, p.XSize, p.YSize);
    // No size of its own: the window keeps its size and only moves.
    if (normal.isEmpty()) normal.setSize(window->size());
    // The restored rectangle first, so that leaving the maximised state returns to it.
    window->setGeometry(FitOnScreens(normal, ScreenAreas()));
    Qt::WindowStates state = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (p.Show == WindowPlacement::swMaximized) state |= Qt::WindowMaximized;
    if (p.Show == WindowPlacement::swMinimized) state |= Qt::WindowMinimized;
    window->setWindowState(state);
}

void KeepOnScreen(QWidget* window) {
    // The native window holds a geometry given on the command line before the widget hears
    // of it from the window system.
    const QWindow* handle = window->windowHandle();
    const QRect now = handle ? handle->geometry() : window->geometry();
    const QRect fitted = FitOnScreens(now, ScreenAreas());
    if (fitted != now) window->setGeometry(fitted);
}

void TIniGT::LoadPlacement(const QString& section, const QString& prefix, QWidget* window) const {
    ApplyPlacement(window, ReadPlacement(section, prefix, PlacementOf(window)));
}

void TIniGT::SavePlacement(const QString& section, const QString& prefix, QWidget* window) {
    WritePlacement(section, prefix, PlacementOf(window));
}
