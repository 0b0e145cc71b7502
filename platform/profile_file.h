#pragma once
// The settings file as lines: read safely, replaced atomically. Used by the profile strings.
#include <string>
#include <vector>

namespace ProfileFile {

struct Text {
    std::vector<std::string> lines;  // without their line ends
    bool crlf = false;               // the file ends its lines with CR LF
    bool bom = false;                // the file starts with a UTF-8 byte order mark
};

// A missing file reads as empty. False when something is there that is no settings file:
// not a regular file (a FIFO, a device, a folder), larger than the cap, or unreadable.
bool Read(const std::string& path, Text* text, long long maxBytes);

// Replaces the file (through a symbolic link: its target) with the text in one step. False,
// leaving everything as it was, when the file is read-only or someone else's, or when the
// new contents cannot be written in full.
bool Write(const std::string& path, const Text& text);

}  // namespace ProfileFile
