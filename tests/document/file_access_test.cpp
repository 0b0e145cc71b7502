// Saving replaces a file only when the new content is complete; reading reports the runtime's
// messages.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include "document/file_access.h"
#include "document/picture_files.h"
#include "platform/file_names.h"
#include "platform/runtime_errors.h"
#include "support/small_disk.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// Lowers the file size limit for one scope, so that writes fail as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

  private:
    rlimit saved_{};
};

TEST(SaveFileAtomically, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.tav"));
    const QByteArray old("the good old file");
    const QByteArray big(1 << 20, 'x');
    const struct {
        const char* what;
        std::function<void(QIODevice&)> write;
    } failures[] = {
        {"writer stops half-way",
         [&](QIODevice& out) {
             WriteAll(out, big);
             throw InOutError(ioReadBeyondEnd);
         }},
        {"disk full",
         [&](QIODevice& out) {
             for (int i = 0; i < 4; ++i) WriteAll(out, big);
         }},
    };
    for (const auto& f : failures) {
        Put(path, old);
        {
            FileSizeLimit limit(64 * 1024);
            EXPECT_THROW(SaveFileAtomically(path, f.write), InOutError) << f.what;
        }
        EXPECT_EQ(Contents(path), old) << f.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"picture.tav"}) << f.what;
    }
    SaveFileAtomically(path, [](QIODevice& out) { WriteAll(out, QByteArray("new")); });
    EXPECT_EQ(Contents(path), QByteArray("new"));
}

TEST(ReadWholeFile, MissingFilesAndFoldersGiveTheRuntimesMessages) {
    QTemporaryDir dir;
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath(QStringLiteral("none.bmp")), QStringLiteral("ﾌｧｲﾙが見つかりません")},
        {dir.path(), QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました")},
    };
    for (const auto& c : cases) {
        QString message;
        try {
            ReadWholeFile(c.path);
        } catch (const UserError& e) {
            message = e.Text();
        }
        EXPECT_EQ(message, c.message) << c.path.toStdString();
    }
}

const std::string kDiskFull = "ﾃﾞｨｽｸがいっぱいです";
const std::string kAccessDenied = "ﾌｧｲﾙへのｱｸｾｽが拒否されました";

// The message of what a call threw, or "" when it threw nothing.
template <typename Call>
std::string Thrown(Call call) {
    try {
        call();
    } catch (const UserError& e) {
        return e.Text().toStdString();
    }
    return std::string();
}

// Writes size bytes in rows, as the bitmap writer does.
std::function<void(QIODevice&)> Rows(qint64 size) {
    return [size](QIODevice& out) {
        const QByteArray row(1200, 'r');
        for (qint64 done = 0; done < size; done += row.size())
            WriteAll(out, row.constData(), std::min<qint64>(row.size(), size - done));
    };
}

// The file system fills up part-way: the first bytes go to the disk, the last ones (held in a
// buffer until the end) do not. The old file must stay whole, and the user be told.
TEST(SaveFileAtomically, ADiskThatFillsKeepsTheOldFileAndSaysSo) {
    SmallDisk disk(1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    const QString path = disk.Path(QStringLiteral("old.jpg"));
    const QByteArray old(691, 'o');
    const struct {
        qint64 size;  // written
        qint64 free;  // left on the disk before the save
    } cases[] = {{691, 0}, {12342, 4096}, {480054, 471040}};
    for (const auto& c : cases) {
        Put(path, old);
        QFile::remove(disk.Path(QStringLiteral("filler")));
        disk.Fill(c.free);
        EXPECT_EQ(Thrown([&] { SaveFileAtomically(path, Rows(c.size)); }), kDiskFull) << c.size;
        EXPECT_TRUE(Contents(path) == old) << c.size;
        EXPECT_EQ(QDir(disk.Path(QString())).entryList(QDir::Files),
                  QStringList({"filler", "old.jpg"}))
            << c.size;
    }
    QFile::remove(disk.Path(QStringLiteral("filler")));
    SaveFileAtomically(path, Rows(480054));
    EXPECT_EQ(QFile(path).size(), 480054);
}

// A device that takes fewer bytes than it is given fails the write, however few are missing:
// a file size limit inside the last buffered block, and a device that stops short.
TEST(SaveFileAtomically, AWriteThatStopsShortIsAFailure) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    Put(path, "old");
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(Thrown([&] { SaveFileAtomically(path, Rows(64 * 1024 + 1)); }), kDiskFull);
    }
    EXPECT_EQ(Contents(path), QByteArray("old"));

    struct ShortDevice : QIODevice {
        qint64 take;
        explicit ShortDevice(qint64 n) : take(n) { open(QIODevice::WriteOnly); }
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64 size) override { return std::min(size, take); }
    };
    for (qint64 take : {qint64(-1), qint64(0), qint64(9)}) {
        ShortDevice device(take);
        EXPECT_EQ(Thrown([&] { WriteAll(device, QByteArray(10, 'x')); }), kDiskFull) << take;
    }
}

// Root may write anywhere; the folder's refusal is seen by someone else, in a child process.
int AsOtherUser(const std::function<bool()>& check) {
    if (geteuid() != 0) return check() ? 0 : 1;
    const pid_t child = fork();
    if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

// A folder that takes no temporary file: a file there that may be written is written in place;
// one that may not, or a new one, is refused as before.
TEST(SaveFileAtomically, AFolderWithoutRoomForATemporaryFileIsWrittenInPlace) {
    QTemporaryDir dir;
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString writable = dir.filePath(QStringLiteral("open.bmp"));
    const QString locked = dir.filePath(QStringLiteral("locked.bmp"));
    Put(writable, QByteArray(5000, 'o'));
    Put(locked, "locked");
    chmod(QFile::encodeName(writable).constData(), 0666);
    chmod(QFile::encodeName(locked).constData(), 0644);
    chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const QByteArray fresh(300, 'n');
    const auto save = [&](const QString& path) {
        return Thrown(
            [&] { SaveFileAtomically(path, [&](QIODevice& out) { WriteAll(out, fresh); }); });
    };
    EXPECT_EQ(AsOtherUser([&] { return save(writable).empty(); }), 0);
    EXPECT_EQ(AsOtherUser([&] { return save(locked) == kAccessDenied; }), 0);
    EXPECT_EQ(
        AsOtherUser([&] { return save(dir.filePath(QStringLiteral("new.bmp"))) == kAccessDenied; }),
        0);
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_TRUE(Contents(writable) == fresh);  // cut to the new length
    EXPECT_EQ(Contents(locked), QByteArray("locked"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"locked.bmp", "open.bmp"}));
}

// Names are the system's bytes: one that is no UTF-8 is found, and made, under those bytes.
TEST(FileAccess, NamesThatAreNoUtf8KeepTheirBytes) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    const QByteArray latin = folder + "latin\xE9.bmp";
    const int fd = open(latin.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "bytes", 5), 5);
    close(fd);
    EXPECT_EQ(ReadWholeFile(FileNameFromBytes(latin)), QByteArray("bytes"));

    const QByteArray bad = folder + "bad\xFF.bmp";
    SaveFileAtomically(FileNameFromBytes(bad),
                       [](QIODevice& out) { WriteAll(out, QByteArray("made")); });
    struct stat st {};
    EXPECT_EQ(stat(bad.constData(), &st), 0);
    EXPECT_EQ(st.st_size, 4);
    // Qt lists no such name, nor can it remove it.
    EXPECT_EQ(unlink(bad.constData()), 0);
    EXPECT_EQ(unlink(latin.constData()), 0);
    EXPECT_EQ(rmdir(QFile::encodeName(dir.path()).constData()), 0);  // nothing else was made
}

// Something that is no regular file is refused at once, for every type: a FIFO would block an
// ordinary open until someone wrote to it.
TEST(FileAccess, FifosDevicesAndFoldersAreRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), dir.path()})
        for (FileType type : {FileType::Bmp, FileType::Jpeg, FileType::Layered})
            EXPECT_EQ(Thrown([&] { LoadFile(path, type); }), kAccessDenied)
                << path.toStdString() << " as " << int(type);
}

}  // namespace
