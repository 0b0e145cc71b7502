// The main window's filter commands.
#include "app/main_core.h"
