// The main window's file commands: new, open, save, save as.
#include "app/main_core.h"

void MainWindowCore::OpenStartupFile() {}
