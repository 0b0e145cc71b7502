#pragma once
// "kasumiro --export OUT IN [--quality N] [--progressive]": writes the composed picture of IN
// (BMP, JPEG or layered document) to OUT as BMP or JPEG by OUT's extension, or as a one-layer
// layered document for ".tav". No window and no display are needed.
#include <QStringList>

// Whether the program was started for an export (the first argument is "--export").
bool IsExportCommand(int argc, char** argv);

// Runs the export; args are the arguments after "--export". Messages go to standard error.
// Returns 0 on success, 1 when a file could not be read or written, 2 for a bad command line.
// OUT is replaced only once it is complete.
int RunExportCommand(const QStringList& args);
