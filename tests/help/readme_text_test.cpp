// Reading "Readme.txt": line ends, the two encodings and failures.
#include <gtest/gtest.h>

#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "help/readme_text.h"
#include "platform/app_paths.h"

namespace {

class ReadmeTextTest : public ::testing::Test {
  protected:
    QString Write(const std::string& bytes) {
        const QString path = dir.filePath(QStringLiteral("Readme.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ReadmeTextTest, LinesEndAtLfCrLfOrCr) {
    const ReadmeText text = LoadReadmeText(Write("one\r\ntwo\n\nfour\rfive"));
    EXPECT_EQ(text.Lines, QStringList({"one", "two", "", "four", "five"}));
    EXPECT_TRUE(text.Error.isEmpty());
    EXPECT_EQ(LoadReadmeText(Write("last\n")).Lines, QStringList({"last"}));
}

TEST_F(ReadmeTextTest, AnEmptyFileGivesNoLinesAndNoError) {
    const ReadmeText text = LoadReadmeText(Write(""));
    EXPECT_TRUE(text.Lines.isEmpty());
    EXPECT_TRUE(text.Error.isEmpty());
}

TEST_F(ReadmeTextTest, Utf8IsReadAsUtf8WithoutItsByteOrderMark) {
    const ReadmeText text =
        LoadReadmeText(Write("\xEF\xBB\xBF\xE7\xAD\x86\xE3\x81\xA7\r\nKasumiro\r\n"));
    EXPECT_EQ(text.Lines, QStringList({QStringLiteral("筆で"), QStringLiteral("Kasumiro")}));
}

TEST_F(ReadmeTextTest, AnythingElseIsShiftJis) {
    // "新規レイヤ" and "ﾌｧｲﾙ" in code page 932; neither is valid UTF-8.
    const ReadmeText text =
        LoadReadmeText(Write("\x90\x56\x8b\x4b\x83\x8c\x83\x43\x83\x84\r\n\xcc\xa7\xb2\xd9\r\n"));
    EXPECT_EQ(text.Lines, QStringList({QStringLiteral("新規レイヤ"), QStringLiteral("ﾌｧｲﾙ")}));
    EXPECT_TRUE(text.Error.isEmpty());
}

TEST_F(ReadmeTextTest, FailuresGiveTheRuntimesText) {
    const ReadmeText missing = LoadReadmeText(dir.filePath(QStringLiteral("Readme.txt")));
    EXPECT_EQ(missing.Error, QStringLiteral("ﾌｧｲﾙが見つかりません"));
    EXPECT_TRUE(missing.Lines.isEmpty());

    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const ReadmeText unreadable = LoadReadmeText(folder);
    EXPECT_EQ(unreadable.Error, QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました"));
    EXPECT_TRUE(unreadable.Lines.isEmpty());
}

TEST_F(ReadmeTextTest, ItIsFoundBesideTheProgramOrInTheInstallsDataFolder) {
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString data = dir.filePath(QStringLiteral("share/kasumiro"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(data));
    AppPaths::OverrideExecutableDir(bin);
    // In neither place: the name beside the program, for the error box to report.
    EXPECT_EQ(ReadmePath(), bin + QStringLiteral("/Readme.txt"));
    QFile(data + QStringLiteral("/Readme.txt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ReadmePath(), data + QStringLiteral("/Readme.txt"));
    QFile(bin + QStringLiteral("/Readme.txt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ReadmePath(), bin + QStringLiteral("/Readme.txt"));
    AppPaths::OverrideExecutableDir(QString());
}

}  // namespace
