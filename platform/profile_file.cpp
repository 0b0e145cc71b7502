#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_names.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and tells whether the close kept every byte.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

  private:
    int fd_;
};

// Reads to the end; false past the cap or on a read error. The size a file reports is not
// trusted: a device or a growing file may report anything.
bool ReadAll(int fd, long long maxBytes, std::string* bytes) {
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes->append(chunk, std::size_t(n));
        if (static_cast<long long>(bytes->size()) > maxBytes) return false;
    }
}

void SplitLines(std::string bytes, ProfileFile::Text* text) {
    if (bytes.compare(0, 3, kBom) == 0) {
        bytes.erase(0, 3);
        text->bom = true;
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            text->crlf = true;
        }
        text->lines.push_back(std::move(line));
        start = end + 1;
    }
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

std::string Join(const ProfileFile::Text& text) {
    std::string bytes = text.bom ? kBom : "";
    for (const std::string& line : text.lines) bytes += line + (text.crlf ? "\r\n" : "\n");
    return bytes;
}

// The mode the new file gets: the old file's, or what the user's umask gives a new one.
// False when the old file must not be replaced: it is no regular file, the user made it
// read-only, or it is someone else's (a rename would take it over).
bool ReplacementMode(const std::string& target, mode_t* mode) {
    struct stat st {};
    if (stat(target.c_str(), &st) != 0) {
        const mode_t mask = umask(0);
        umask(mask);
        *mode = 0666 & ~mask;
        return errno == ENOENT;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != geteuid() || !(st.st_mode & S_IWUSR)) return false;
    *mode = st.st_mode & 07777;
    return true;
}

}  // namespace

namespace ProfileFile {

bool Read(const std::string& path, Text* text, long long maxBytes) {
    *text = Text();
    // Non-blocking, so that a FIFO in the file's place cannot stop the program.
    Fd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT;
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::string bytes;
    if (!ReadAll(fd.get(), maxBytes, &bytes)) return false;
    SplitLines(std::move(bytes), text);
    return true;
}

bool Write(const std::string& path, const Text& text) {
    const std::string target = LinkTarget(path);
    mode_t mode = 0;
    if (!ReplacementMode(target, &mode)) return false;
    // A fresh name for every write: a leftover of an earlier one cannot stand in the way.
    std::string temp = target + ".XXXXXX";
    Fd fd(mkstemp(&temp[0]));
    if (fd.get() < 0) return false;
    const bool written =
        fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), Join(text)) && fd.Close();
    if (!written || std::rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace ProfileFile
