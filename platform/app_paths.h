#pragma once
// Where the program finds its own files.
//
// "Readme.txt" ships beside the executable. The settings file and the JPEG preview file
// "temp.tmp" live there too while that folder is writable; an installed program whose folder
// is read-only keeps them in the user's configuration folder instead.
#include <QString>

namespace AppPaths {

// The folder of the running executable.
QString ExecutableDir();
// The executable's file name without folder and extension ("kasumiro").
QString ExecutableBaseName();
// The folder for the settings file and temporary files (created when needed).
QString WritableDir();

// Tests point the program at a folder of their own.
void OverrideExecutableDir(const QString& dir);

// A command-line path resolved against the folder the program was started from.
QString ResolveAgainst(const QString& startDir, const QString& path);

}  // namespace AppPaths
