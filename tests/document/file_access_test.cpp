// Saving replaces a file only when the new content is complete; reading reports the runtime's
// messages.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include "document/file_access.h"
#include "platform/runtime_errors.h"

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

}  // namespace
