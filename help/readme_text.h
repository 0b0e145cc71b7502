#pragma once
// Reading "Readme.txt" for the Readme viewer.
#include <QString>
#include <QStringList>

struct ReadmeText {
    QStringList Lines;  // what was read, one entry per line of the file
    QString Error;      // the runtime's error text, empty when the whole file was read
};

// The Readme's place: beside the executable, or for an installed program in its data folder
// (share/kasumiro beside the bin folder). Beside the executable when it is in neither.
QString ReadmePath();

// Reads the file line by line. Lines end at LF, CR LF or CR. The text is UTF-8 when the whole
// file is valid UTF-8 (a leading byte order mark is dropped), otherwise Shift-JIS. When the
// file cannot be opened or read, Error holds the runtime's text and Lines what came before.
ReadmeText LoadReadmeText(const QString& path);
