#include "platform/profile.h"

#include <vector>

#include "platform/profile_file.h"

namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char ca = a[i], cb = b[i];
        if (ca >= 'A' && ca <= 'Z') ca = char(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = char(cb - 'A' + 'a');
        if (ca != cb) return false;
    }
    return true;
}

// "[name]" gives true and the name.
bool SectionName(const std::string& line, std::string* name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const auto close = t.find(']');
    if (close == std::string::npos) return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

// "key=value" gives true, the key and the value.
bool KeyValue(const std::string& line, std::string* key, std::string* value) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    *key = Trim(line.substr(0, eq));
    *value = Trim(line.substr(eq + 1));
    return !key->empty();
}

}  // namespace

namespace Profile {

std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t maxLength) {
    ProfileFile::Text text;
    if (!ProfileFile::Read(path, &text, kMaxFileSize)) return def;
    bool inSection = false;
    for (const std::string& line : text.lines) {
        std::string name, k, v;
        if (SectionName(line, &name)) {
            inSection = SameName(name, section);
            continue;
        }
        if (inSection && KeyValue(line, &k, &v) && SameName(k, key))
            return v.size() > maxLength ? v.substr(0, maxLength) : v;
    }
    return def;
}

bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
    ProfileFile::Text text;  // keeps the line ends and byte order mark the file has
    if (!ProfileFile::Read(path, &text, kMaxFileSize)) return false;
    std::vector<std::string>& lines = text.lines;

    // Find the section, the key within it, and the last key line of the section.
    long sectionLine = -1, keyLine = -1, lastKeyLine = -1;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name, k, v;
        if (SectionName(lines[i], &name)) {
            if (inSection) break;
            inSection = SameName(name, section);
            if (inSection) sectionLine = static_cast<long>(i);
            continue;
        }
        if (!inSection) continue;
        if (KeyValue(lines[i], &k, &v)) {
            lastKeyLine = static_cast<long>(i);
            if (SameName(k, key)) {
                keyLine = static_cast<long>(i);
                break;
            }
        }
    }
    const std::string entry = key + "=" + value;
    if (keyLine >= 0) {
        lines[std::size_t(keyLine)] = entry;
    } else if (sectionLine >= 0) {
        const long after = lastKeyLine >= 0 ? lastKeyLine : sectionLine;
        lines.insert(lines.begin() + after + 1, entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
    return ProfileFile::Write(path, text);
}

}  // namespace Profile
