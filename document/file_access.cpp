#include "document/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include <QFile>

#include "document/document_errors.h"
#include "platform/file_names.h"

namespace {

// The runtime's error for a failed file operation: errno when the system left one, else the
// given fallback.
[[noreturn]] void ThrowFileError(int fallback) {
    if (errno != 0) ThrowInOutErrorFromErrno();
    throw InOutError(fallback);
}

// The descriptor a save writes to. Until Keep(), going out of scope closes it and removes the
// temporary file it names.
class SaveTarget {
  public:
    SaveTarget(int fd, std::string temporary) : fd_(fd), temporary_(std::move(temporary)) {}
    SaveTarget(const SaveTarget&) = delete;
    SaveTarget& operator=(const SaveTarget&) = delete;
    ~SaveTarget() {
        if (fd_ >= 0) close(fd_);
        if (!temporary_.empty()) unlink(temporary_.c_str());
    }
    int fd() const { return fd_; }
    // Closes now; a file system may report a failed write only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }
    void Keep() { temporary_.clear(); }

  private:
    int fd_;
    std::string temporary_;
};

// The mode a new file gets from the user's umask. The umask is read by setting it, once: a
// save on another thread (the recovery copy's) must not find it 0 meanwhile.
mode_t NewFileMode() {
    static const mode_t mask = [] {
        const mode_t m = umask(0);
        umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

// Makes a rename survive a crash; a file system that cannot sync folders has nothing to lose.
void SyncFolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

void OpenFileForReading(QFile& file, const QString& path) {
    errno = 0;
    // Non-blocking, so that a FIFO in the file's place cannot stop the program.
    const int fd = open(FileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) ThrowFileError(ioFileNotFound);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        throw InOutError(ioAccessDenied);
    }
}

qint64 ReadAt(QFile& file, qint64 offset, void* into, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const ssize_t n = pread(file.handle(), static_cast<char*>(into) + done,
                                std::size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowFileError(ioAccessDenied);
        if (n == 0) break;
        done += n;
    }
    return done;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file;
    OpenFileForReading(file, path);
    const qint64 size = file.size();
    if (size < 0 || !FitsInMemory(std::uint64_t(size))) throw PictureTooLarge();
    QByteArray bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = file.read(bytes.data() + done, size - done);
        if (n < 0) ThrowFileError(ioAccessDenied);
        if (n == 0) break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void WriteAll(QIODevice& out, const char* data, qint64 size) {
    errno = 0;
    if (out.write(data, size) != size) ThrowFileError(ioDiskFull);
}

void SaveFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write) {
    const std::string target = LinkTarget(FileNameBytes(path).toStdString());
    struct stat old {};
    errno = 0;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) throw InOutError(ioAccessDenied);
    if (exists && access(target.c_str(), W_OK) != 0) ThrowFileError(ioAccessDenied);

    std::string temporary = target + ".XXXXXX";
    errno = 0;
    int fd = mkostemp(&temporary[0], O_CLOEXEC);
    const bool inPlace = fd < 0 && errno == EACCES && exists;
    if (inPlace) {
        // The folder takes no new file but the file may be written: as other editors do, it
        // is written where it is, over its old bytes, and cut to its new length at the end.
        temporary.clear();
        fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    }
    if (fd < 0) ThrowFileError(ioAccessDenied);
    SaveTarget file(fd, temporary);
    if (!inPlace) fchmod(fd, exists ? old.st_mode & 07777 : NewFileMode());

    {
        QFile out;
        if (!out.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            throw InOutError(ioAccessDenied);
        write(out);
        // The last bytes may still wait in the buffer; their failure is the save's failure.
        errno = 0;
        if (!out.flush()) ThrowFileError(ioDiskFull);
        if (inPlace && ftruncate(fd, out.pos()) != 0) ThrowFileError(ioDiskFull);
    }
    errno = 0;
    if (fsync(fd) != 0 || !file.Close()) ThrowFileError(ioDiskFull);
    if (!inPlace) {
        errno = 0;
        if (std::rename(temporary.c_str(), target.c_str()) != 0) ThrowFileError(ioAccessDenied);
        file.Keep();
        SyncFolderOf(target);
    }
}
