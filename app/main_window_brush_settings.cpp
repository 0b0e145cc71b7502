// The main window's widgets and menu items for this group of commands, wired to the core.
#include "app/main_window.h"

void TForm1::ConnectBrushSettings() {}
