// Program start: the application, the twelve windows in their fixed order, the message loop.
#include <QApplication>
#include <QDir>

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "document/export_command.h"

int main(int argc, char** argv) {
    // An export needs no window and no display.
    if (IsExportCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        return RunExportCommand(QCoreApplication::arguments().mid(2));
    }
    // Relative command-line paths are taken from where we were started, before start-up
    // moves the current directory to the program's folder.
    const QString startDir = QDir::currentPath();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kasumiro"));
    InstallFontSubstitutes();

    QStringList args = QApplication::arguments();
    args.removeFirst();
    ProgramWindows windows(args, startDir);
    windows.Show();
    return QApplication::exec();
}
