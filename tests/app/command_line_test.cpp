// The command line: the program's own options, Qt's options passed on, files after "--", and
// the real program answering --help, --version and a bad option without a display.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "app/command_line.h"

namespace {

using A = CommandLine;

struct ParseCase {
    QStringList args;
    CommandLine::Action action;
    QStringList files;
    QList<int> qtArguments;
    QString badOption;
};

}  // namespace

TEST(CommandLine, OptionsFilesAndQtsOwnOptions) {
    const ParseCase cases[] = {
        {{}, A::acRun, {}, {}, {}},
        {{"picture.tav"}, A::acRun, {"picture.tav"}, {}, {}},
        {{"--help"}, A::acHelp, {}, {}, {}},
        {{"a.bmp", "-h"}, A::acHelp, {"a.bmp"}, {}, {}},
        {{"--version", "--help"}, A::acVersion, {}, {}, {}},
        {{"--bogus", "--help"}, A::acUsageError, {}, {}, "--bogus"},
        {{"-x"}, A::acUsageError, {}, {}, "-x"},
        {{"-help"}, A::acUsageError, {}, {}, "-help"},
        // After "--" everything is a file name, options and "--" alike.
        {{"--", "-odd.tav", "--help", "--"}, A::acRun, {"-odd.tav", "--help", "--"}, {}, {}},
        // A lone dash is a name.
        {{"-"}, A::acRun, {"-"}, {}, {}},
        // Qt's options, with one or two dashes, keep their values and go to Qt.
        {{"-qwindowgeometry", "1x1+5+5", "a.jpg"}, A::acRun, {"a.jpg"}, {0, 1}, {}},
        {{"--platform", "offscreen", "-reverse", "b.tav"}, A::acRun, {"b.tav"}, {0, 1, 2}, {}},
        {{"-style=fusion", "c.bmp"}, A::acRun, {"c.bmp"}, {0}, {}},
        {{"-reverse=1"}, A::acUsageError, {}, {}, "-reverse=1"},
        {{"--", "-platform", "x"}, A::acRun, {"-platform", "x"}, {}, {}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        if (c.action == A::acRun) {
            EXPECT_EQ(line.files, c.files);
            EXPECT_EQ(line.qtArguments, c.qtArguments);
        }
        EXPECT_EQ(line.badOption, c.badOption);
    }
}

TEST(CommandLine, UsageIsOneScreenInJapaneseAndEnglish) {
    const QString usage = UsageText();
    EXPECT_LE(usage.count(QLatin1Char('\n')), 24);
    EXPECT_TRUE(usage.startsWith(QStringLiteral("使い方: kasumiro")));
    EXPECT_TRUE(usage.contains(QStringLiteral("\nUsage:  kasumiro [options] [file]\n")));
    for (const char* option : {"--help", "--version", "--  ", "--export OUT IN"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
}

// The real program, with no display to open: a window would fail to start at all.
TEST(CommandLine, TheProgramAnswersWithoutADisplay) {
    const struct {
        QStringList args;
        int status;
        QString out;
        QString err;
    } cases[] = {
        {{"--help"}, 0, UsageText(), {}},
        {{"-h", "file.tav"}, 0, UsageText(), {}},
        {{"--version"}, 0, QStringLiteral("Kasumiro 3.80\n"), {}},
        // An export goes its own way, before the window's options are read.
        {{"--export"},
         2,
         {},
         QStringLiteral("usage: kasumiro --export OUT IN [--quality N] [--progressive]\n")},
        {{"--nonsense"},
         2,
         {},
         QStringLiteral("kasumiro: 不明なオプションです / unknown option: --nonsense\n\n") +
             UsageText()},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KASUMIRO_EXECUTABLE), c.args);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.status);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
        EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()), c.err);
    }
}
