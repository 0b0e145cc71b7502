// Recovery copies of a real running program: killed, ended by a signal, two at once, ended
// normally. The program is a test build of the real windows (recovery_probe), started offscreen
// with a recovery folder and settings of the test's own; the tests wait for the copy's file to
// appear, never for a time.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "document/bmp_file.h"

namespace {

constexpr TColor kRed = RgbColour(200, 30, 40);
constexpr TColor kGreen = RgbColour(20, 160, 40);
constexpr TColor kBlue = RgbColour(0, 0, 255);
// Only a bound for a program that never does what is awaited; nothing waits for it to pass.
constexpr int kGiveUpMs = 120000;

class RecoveryProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(Folder()));
        ASSERT_TRUE(QDir().mkpath(dump));
        // The program reads its Readme from its folder at start-up.
        QFile readme(settings.path() + QStringLiteral("/Readme.txt"));
        ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    }

    // The settings file the probe reads, by its name.
    void SetInterval(int seconds) {
        QFile ini(settings.path() + QStringLiteral("/recovery_probe.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[autosave]\nInterval=" + QByteArray::number(seconds) + "\n");
    }

    QString Folder() const { return state.path() + QStringLiteral("/kasumiro/recovery"); }
    QStringList Files(const QString& pattern) const {
        return QDir(Folder()).entryList({pattern}, QDir::Files);
    }

    std::unique_ptr<QProcess> Start(const QStringList& args) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(QStringLiteral(KASUMIRO_RECOVERY_PROBE),
                       QStringList{QStringLiteral("--settings"), settings.path()} + args);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }

    // Reads the probe's output up to the line that starts with prefix; everything read so far
    // is kept in output.
    bool WaitForLine(QProcess& process, const QString& prefix) {
        for (;;) {
            output += QString::fromUtf8(process.readAllStandardOutput());
            for (const QString& line : output.split(QLatin1Char('\n')))
                if (line.startsWith(prefix)) return true;
            if (!process.waitForReadyRead(kGiveUpMs)) return false;
        }
    }

    // Waits until the folder holds count copies, as its changes are reported.
    bool WaitForCopies(int count) {
        QFileSystemWatcher watcher({Folder()});
        QEventLoop loop;
        QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
            if (Files(QStringLiteral("*.rec")).size() >= count) loop.quit();
        });
        QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
        if (Files(QStringLiteral("*.rec")).size() < count) loop.exec();
        return Files(QStringLiteral("*.rec")).size() >= count;
    }

    void Kill(QProcess& process, int signal) {
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(kGiveUpMs));
    }

    // Starts the program again, answers the question with はい, and checks that the document
    // is every layer the probe painted. The program then ends normally, declining to save.
    void ExpectRestored() {
        output.clear();
        std::unique_ptr<QProcess> again =
            Start({QStringLiteral("--answer"), QStringLiteral("yes"), QStringLiteral("--dump"),
                   dump, QStringLiteral("--quit")});
        ASSERT_TRUE(again->waitForFinished(kGiveUpMs));
        EXPECT_EQ(again->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(again->exitCode(), 0);
        output += QString::fromUtf8(again->readAllStandardOutput());
        const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 5) << output.toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("asked\t確認\t前回保存されなかった作業があります。"
                                           "復元しますか？\tはい(&Y)"));
        EXPECT_EQ(lines[1], QStringLiteral("layer\t0\t新規レイヤ1\t○\t%1").arg(clWhite));
        EXPECT_EQ(lines[2], QStringLiteral("layer\t1\t下書き\t×\t%1").arg(kBlue));
        EXPECT_EQ(lines[3], QStringLiteral("document\t無題\t1"));
        // The close asks the save question; declined, the program ends normally.
        EXPECT_TRUE(
            lines[4].startsWith(QStringLiteral("asked\t確認\t無題 への変更を保存しますか？")));
        for (const auto& [layer, colour] : {std::pair{0, kRed}, {1, kGreen}}) {
            SCOPED_TRACE(layer);
            QFile file(dump + QStringLiteral("/layer%1.bmp").arg(layer));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const Bitmap picture = ReadBmp(bytes.constData(), std::size_t(bytes.size()));
            ASSERT_EQ(picture.Width(), 400);
            ASSERT_EQ(picture.Height(), 400);
            for (int y = 0; y < 400; ++y)
                for (int x = 0; x < 400; ++x)
                    ASSERT_EQ(picture.Pixel(x, y), colour) << x << "," << y;
        }
        // No copy and no lock outlive a normal end.
        EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList());
    }

    QTemporaryDir state;
    QTemporaryDir settings;
    QString dump = state.path() + QStringLiteral("/dump");
    QString output;
};

}  // namespace

TEST_F(RecoveryProcessTest, AKilledProgramsWorkComesBack) {
    SetInterval(1);
    std::unique_ptr<QProcess> first = Start({QStringLiteral("--paint")});
    ASSERT_TRUE(WaitForLine(*first, QStringLiteral("painted")));
    ASSERT_TRUE(WaitForCopies(1));
    Kill(*first, SIGKILL);
    ASSERT_EQ(Files(QStringLiteral("*.rec")).size(), 1);
    ExpectRestored();
}

// Each ends as the signal would end it, and leaves its work behind, also with the periodic
// copies off.
TEST_F(RecoveryProcessTest, SigtermAndSighupWriteACopyBeforeTheEnd) {
    SetInterval(0);
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        output.clear();
        std::unique_ptr<QProcess> running = Start({QStringLiteral("--paint")});
        ASSERT_TRUE(WaitForLine(*running, QStringLiteral("painted")));
        EXPECT_EQ(Files(QStringLiteral("*.rec")), QStringList());
        Kill(*running, signal);
        EXPECT_EQ(running->exitStatus(), QProcess::CrashExit);
        ASSERT_EQ(Files(QStringLiteral("*.rec")).size(), 1);
        ExpectRestored();
    }
}

TEST_F(RecoveryProcessTest, TwoRunningProgramsEachKeepTheirOwnCopy) {
    SetInterval(1);
    std::unique_ptr<QProcess> first = Start({QStringLiteral("--paint")});
    ASSERT_TRUE(WaitForLine(*first, QStringLiteral("painted")));
    ASSERT_TRUE(WaitForCopies(1));
    // The second is not offered the first one's copy: its owner runs.
    std::unique_ptr<QProcess> second = Start({QStringLiteral("--paint")});
    ASSERT_TRUE(WaitForLine(*second, QStringLiteral("painted")));
    EXPECT_FALSE(output.contains(QStringLiteral("asked")));
    ASSERT_TRUE(WaitForCopies(2));
    EXPECT_EQ(Files(QStringLiteral("*.lock")).size(), 2);
    Kill(*first, SIGKILL);
    Kill(*second, SIGKILL);

    // Both owners gone: the next start offers both, and "いいえ" removes each.
    output.clear();
    std::unique_ptr<QProcess> third = Start({QStringLiteral("--quit")});
    ASSERT_TRUE(third->waitForFinished(kGiveUpMs));
    output += QString::fromUtf8(third->readAllStandardOutput());
    EXPECT_EQ(output.count(QStringLiteral("復元しますか？")), 2);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList());
}
