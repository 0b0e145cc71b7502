// The main window's editing commands: undo, clear, the selection rectangle and the clipboard.
#include "app/main_core.h"

void MainWindowCore::StartCutRectangle(int, int) {}
void MainWindowCore::StartCopyRectangle(int, int) {}
void MainWindowCore::DragSelection(int, int) {}
void MainWindowCore::FinishCut() {}
void MainWindowCore::FinishCopy() {}
void MainWindowCore::MoveFloatingPaste(int, int) {}
void MainWindowCore::CommitFloatingPaste() {}
