#pragma once
// The program's command line: its own options, Qt's options passed on, and the file to open.
// Read before any window system is touched, so that --help and --version answer without one.
#include <QList>
#include <QString>
#include <QStringList>

struct CommandLine {
    enum Action {
        acRun,         // start the program
        acHelp,        // print the usage and exit
        acVersion,     // print the version and exit
        acUsageError,  // print what was wrong and the usage, exit with status 2
    };
    Action action = acRun;
    // The file names (the first is opened), everything after "--" included.
    QStringList files;
    // Positions in the argument list of Qt's own options and their values, for QApplication.
    QList<int> qtArguments;
    // For acUsageError: the option that was not understood.
    QString badOption;
};

// args: the arguments after the program name.
CommandLine ParseCommandLine(const QStringList& args);

QString UsageText();
QString VersionText();
// For acUsageError: the line that names the option, before the usage.
QString UnknownOptionText(const QString& option);

// The exit status of a usage error, as command-line programs give it.
inline constexpr int kUsageErrorStatus = 2;
