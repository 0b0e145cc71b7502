#pragma once
// Qt's own dialogs (colour, font and file dialogs, message box buttons, the overwrite question)
// speak the interface's language, Japanese, whatever the system's locale.

// Loads Qt's Japanese translations once; later calls do nothing. False when they are not
// installed: the dialogs then keep Qt's English and the program goes on.
bool InstallQtJapanese();
