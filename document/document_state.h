#pragma once
// The open document's bookkeeping: unsaved changes, the JPEG quality, the names the two file
// dialogs hold and the file named on the command line.
#include <QString>

struct DocumentState {
    bool Modified = false;
    int JpegQuality = 75;
    bool OpenAtFirstTick = false;
    QString CommandLineFile;
    // The file name the save dialog holds (the target of Save); "無題" until a file is opened
    // or saved.
    QString FileName = QStringLiteral("無題");
    // The file name the open dialog holds.
    QString OpenFileName = QStringLiteral("無題");
};
