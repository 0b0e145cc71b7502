#pragma once
// File names as the system has them: bytes, which are UTF-8 only by custom. A name is carried in
// a QString so that every byte comes back: a byte that is no part of valid UTF-8 is held as the
// lone surrogate U+DC80 + byte, which no valid UTF-8 decodes to. (Qt's own conversion puts
// U+FFFD in its place, and the file can then be neither found nor made under its name.)
#include <string>

#include <QByteArray>
#include <QString>

QString FileNameFromBytes(const QByteArray& bytes);
QByteArray FileNameBytes(const QString& name);

// Whether the name is that of a regular file (through symbolic links).
bool IsRegularFile(const QString& name);

// The file a symbolic link finally points at (the path itself when it is no link), so that a
// replacement lands there and the link stays a link.
std::string LinkTarget(std::string path);
