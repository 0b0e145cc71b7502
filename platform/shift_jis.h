#pragma once
// Conversion between the program's text (UTF-8 / QString) and Shift-JIS (code page 932),
// the encoding of the layered document format and of "Readme.txt".
#include <optional>
#include <string>

#include <QString>

// Encodes text as Shift-JIS; characters that code page 932 lacks become "?".
std::string ToShiftJis(const QString& text);
// Decodes Shift-JIS bytes; invalid sequences become U+FFFD rather than failing.
QString FromShiftJis(const std::string& bytes);
