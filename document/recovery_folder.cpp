#include "document/recovery_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/file_names.h"

namespace {

const QString kCopySuffix = QStringLiteral(".rec");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kDamagedSuffix = QStringLiteral(".damaged");

QByteArray Bytes(const QString& path) {
    return FileNameBytes(path);
}

bool Exists(const QString& path) {
    struct stat st {};
    return lstat(Bytes(path).constData(), &st) == 0;
}

// Makes the folder and those above it, as bytes (a name need not be UTF-8). New folders are the
// user's alone.
bool MakeFolders(const QByteArray& path) {
    for (qsizetype slash = path.indexOf('/', 1); slash != -1; slash = path.indexOf('/', slash + 1))
        mkdir(path.left(slash).constData(), 0700);
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           access(path.constData(), W_OK | X_OK) == 0;
}

}  // namespace

RecoveryLock::RecoveryLock(QString folder, QString name, int fd)
    : folder_(std::move(folder)), name_(std::move(name)), fd_(fd) {}

RecoveryLock::~RecoveryLock() {
    if (fd_ < 0) return;
    // A lock without a copy (none written yet, saved, set aside) guards nothing: it goes, while
    // still held.
    if (!Exists(CopyPath())) unlink(Bytes(LockPath()).constData());
    close(fd_);
}

QString RecoveryLock::CopyPath() const {
    return folder_ + QLatin1Char('/') + name_ + kCopySuffix;
}

QString RecoveryLock::LockPath() const {
    return folder_ + QLatin1Char('/') + name_ + kLockSuffix;
}

void RecoveryLock::RemoveAll() {
    unlink(Bytes(CopyPath()).constData());
    // Removed while held, so that nobody locks a file that is about to go.
    unlink(Bytes(LockPath()).constData());
    close(fd_);
    fd_ = -1;
}

QString RecoveryFolder::DefaultPath() {
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    const QString base = !state.isEmpty() && state.startsWith('/')
                             ? FileNameFromBytes(state)
                             : QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/kasumiro/recovery");
}

RecoveryFolder::RecoveryFolder(QString path) : path_(std::move(path)) {}

std::unique_ptr<RecoveryLock> RecoveryFolder::TryLock(const QString& name, bool create) const {
    const QByteArray path = Bytes(path_ + QLatin1Char('/') + name + kLockSuffix);
    const int fd =
        open(path.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : O_CREAT), 0600);
    if (fd < 0) return nullptr;
    struct stat held {};
    struct stat named {};
    // The lock must still be the file under the name: one removed meanwhile locks nothing.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &held) != 0 ||
        stat(path.constData(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
        close(fd);
        return nullptr;
    }
    const QByteArray pid = QByteArray::number(qint64(getpid())) + '\n';
    if (ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = pwrite(fd, pid.constData(), size_t(pid.size()), 0);
    }
    return std::make_unique<RecoveryLock>(path_, name, fd);
}

std::unique_ptr<RecoveryLock> RecoveryFolder::ClaimOwnName() const {
    if (!MakeFolders(Bytes(path_))) return nullptr;
    const QString base = QStringLiteral("kasumiro-%1").arg(qint64(getpid()));
    // A program that ended with our process id may have left its copy behind: that name is
    // not ours.
    for (int n = 0; n < 1000; ++n) {
        const QString name = n == 0 ? base : base + QStringLiteral("-%1").arg(n);
        if (Exists(path_ + QLatin1Char('/') + name + kCopySuffix)) continue;
        if (auto lock = TryLock(name, true)) return lock;
    }
    return nullptr;
}

std::vector<std::unique_ptr<RecoveryLock>> RecoveryFolder::UnownedCopies() const {
    // Names as bytes, newest copy first.
    std::vector<std::pair<struct timespec, QString>> copies;
    const QByteArray folder = Bytes(path_);
    if (DIR* dir = opendir(folder.constData())) {
        while (const dirent* entry = readdir(dir)) {
            const QString file = FileNameFromBytes(QByteArray(entry->d_name));
            struct stat st {};
            if (file.endsWith(kLockSuffix)) {
                // Left by a program that ended without a copy: taken and let go, it goes.
                const QString name = file.chopped(kLockSuffix.size());
                if (!Exists(path_ + QLatin1Char('/') + name + kCopySuffix)) TryLock(name, false);
                continue;
            }
            if (!file.endsWith(kCopySuffix) ||
                stat(Bytes(path_ + QLatin1Char('/') + file).constData(), &st) != 0 ||
                !S_ISREG(st.st_mode))
                continue;
            copies.emplace_back(st.st_mtim, file.chopped(kCopySuffix.size()));
        }
        closedir(dir);
    }
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) {
        return a.first.tv_sec != b.first.tv_sec ? a.first.tv_sec > b.first.tv_sec
                                                : a.first.tv_nsec > b.first.tv_nsec;
    });
    std::vector<std::unique_ptr<RecoveryLock>> found;
    for (const auto& [time, name] : copies) {
        std::unique_ptr<RecoveryLock> lock = TryLock(name, false);
        if (!lock) continue;
        // Removed by its owner while we were looking.
        if (!Exists(lock->CopyPath())) {
            unlink(Bytes(lock->LockPath()).constData());
            continue;
        }
        found.push_back(std::move(lock));
    }
    return found;
}

void RecoveryFolder::SetAside(const RecoveryLock& lock) const {
    QString aside = lock.CopyPath() + kDamagedSuffix;
    for (int n = 1; Exists(aside); ++n)
        aside = lock.CopyPath() + QStringLiteral("-%1").arg(n) + kDamagedSuffix;
    std::rename(Bytes(lock.CopyPath()).constData(), Bytes(aside).constData());
}
