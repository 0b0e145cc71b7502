#pragma once
// The magnifier shows its moves and changes at most once a frame: before they look at the
// screen, tests let the frame come (the event loop runs until its timers have fired) and the
// paints it asked for be delivered.
#include <QApplication>

#include "loupe/lupe.h"

inline void ShowNextFrame(const TLupe& lupe) {
    while (lupe.FramePending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}
