#pragma once
// The magnifier shows its moves and changes at most once a frame: tests let a frame pass
// before they look at the screen.
#include <QApplication>
#include <QElapsedTimer>

#include "loupe/lupe_bar.h"

inline void ShowNextFrame() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 2 * qint64(LupeScrollBar::kFrameMs))
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}
