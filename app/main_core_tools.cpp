// The main window's tools: retouch, fill, colour picking, the palette and the text tool.
#include "app/main_core.h"

void MainWindowCore::PickPress(TMouseButton, TShiftState, int, int) {}
void MainWindowCore::PickMove(TShiftState, int, int) {}
void MainWindowCore::FillPress(TMouseButton, TShiftState, int, int) {}
void MainWindowCore::RetouchDab(int, int) {}
void MainWindowCore::TextPreviewAt(int, int) {}
void MainWindowCore::StampText(int, int) {}
