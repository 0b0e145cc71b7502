// The main window's side of the loupe window.
#include "app/main_core.h"

void MainWindowCore::LoupeFollowTip() {}
