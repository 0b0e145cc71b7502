// Window placements on live Qt windows.
#include <QWidget>

#include "controls/ini_gt.h"

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
    const int width = p.XSize - p.X;
    const int height = p.YSize - p.Y;
    // The restored rectangle first, so that leaving the maximised state returns to it.
    if (width > 0 && height > 0)
        window->setGeometry(p.X, p.Y, width, height);
    else
        window->move(p.X, p.Y);
    Qt::WindowStates state = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (p.Show == WindowPlacement::swMaximized) state |= Qt::WindowMaximized;
    if (p.Show == WindowPlacement::swMinimized) state |= Qt::WindowMinimized;
    window->setWindowState(state);
}

void TIniGT::LoadPlacement(const QString& section, const QString& prefix, QWidget* window) const {
    ApplyPlacement(window, ReadPlacement(section, prefix, PlacementOf(window)));
}

void TIniGT::SavePlacement(const QString& section, const QString& prefix, QWidget* window) {
    WritePlacement(section, prefix, PlacementOf(window));
}
