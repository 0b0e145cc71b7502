#pragma once
// Profile (INI) strings: "[Section]" lines followed by "key=value" lines.
//
// Reads never fail: a missing or unreadable file, section or key gives the default.
// Writes go to the file at once; an existing key is replaced in place, a new key is appended
// at the end of its section and a new section at the end of the file. Every other line is kept
// byte for byte, and so is a leading UTF-8 byte order mark. The file is replaced atomically,
// so a failed write leaves the old one intact; a read-only file is refused, not replaced.
#include <string>

namespace Profile {

// Files larger than this, and anything that is not a regular file, are not taken for settings:
// reads give defaults, writes are refused.
constexpr long long kMaxFileSize = 16LL * 1024 * 1024;

// The value of key in section (names compared without regard to ASCII case), trimmed of
// surrounding blanks and cut to maxLength characters; def when there is none.
std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t maxLength = 1023);

// Returns false when the file cannot be written.
bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

}  // namespace Profile
