// Program start: the command line, the application, the twelve windows in their fixed order,
// the message loop.
#include <unistd.h>
#include <QApplication>

#include <QDir>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "document/export_command.h"
#include "platform/file_names.h"
#include "platform/fonts.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QString CurrentFolder() {
    std::vector<char> path(4096);
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) return QDir::currentPath();
        path.resize(path.size() * 2);
    }
    return FileNameFromBytes(QByteArray(path.data()));
}

}  // namespace

int main(int argc, char** argv) {
    // An export needs no window and no display.
    if (IsExportCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        QStringList args;
        for (int i = 2; i < argc; ++i) args << FileNameFromBytes(argv[i]);
        return RunExportCommand(args);
    }

    // The command line is read before Qt opens a display: --help, --version and a usage error
    // answer on a terminal without one.
    QStringList args;
    // File names are kept as the bytes they are (platform/file_names.h).
    for (int i = 1; i < argc; ++i) args << FileNameFromBytes(argv[i]);
    const CommandLine line = ParseCommandLine(args);
    switch (line.action) {
        case CommandLine::acHelp:
            Print(stdout, UsageText());
            return 0;
        case CommandLine::acVersion:
            Print(stdout, VersionText());
            return 0;
        case CommandLine::acUsageError:
            Print(stderr, UnknownOptionText(line.badOption) + QLatin1Char('\n') + UsageText());
            return kUsageErrorStatus;
        case CommandLine::acRun:
            break;
    }

    // Relative command-line paths are taken from where we were started, before start-up
    // moves the current directory to the program's folder.
    const QString startDir = CurrentFolder();
    // Qt is given its own options only, so that a file named like one after "--" stays a file.
    std::vector<char*> qtArgv{argv[0]};
    for (int i : line.qtArguments) qtArgv.push_back(argv[i + 1]);
    int qtArgc = int(qtArgv.size());
    qtArgv.push_back(nullptr);
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Kasumiro"));
    InstallFontSubstitutes();

    ProgramWindows windows(line.files, startDir);
    windows.Show();
    return QApplication::exec();
}
