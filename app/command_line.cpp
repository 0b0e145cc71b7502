#include "app/command_line.h"

#include <algorithm>
#include <iterator>

#include "help/version.h"

namespace {

// Qt's own options (QGuiApplication, QApplication and the X11 platform), which Qt takes out
// of the argument list itself. Qt accepts them with one dash or two.
const char* const kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",
};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool Listed(const QString& name, const char* const* first, const char* const* last) {
    return std::any_of(first, last, [&](const char* o) { return name == QLatin1String(o); });
}

// The option's name without its dashes and without an "=value" part.
QString OptionName(const QString& arg, bool* hasValue) {
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const int eq = name.indexOf(QLatin1Char('='));
    *hasValue = eq >= 0;
    return eq >= 0 ? name.left(eq) : name;
}

bool IsOption(const QString& arg) {
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            line.files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.action = CommandLine::acHelp;
            return line;
        }
        if (arg == QLatin1String("--version")) {
            line.action = CommandLine::acVersion;
            return line;
        }
        bool hasValue = false;
        const QString name = OptionName(arg, &hasValue);
        if (Listed(name, std::begin(kQtFlags), std::end(kQtFlags)) && !hasValue) {
            line.qtArguments << i;
        } else if (Listed(name, std::begin(kQtOptionsWithValue), std::end(kQtOptionsWithValue))) {
            line.qtArguments << i;
            if (!hasValue && i + 1 < args.size()) line.qtArguments << ++i;
        } else {
            line.action = CommandLine::acUsageError;
            line.badOption = arg;
            return line;
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "使い方: kasumiro [オプション] [ファイル]\n"
        "Usage:  kasumiro [options] [file]\n"
        "\n"
        "Kasumiro を起動し、ファイル (.tav .bmp .jpg .png) があれば開きます。\n"
        "Starts Kasumiro and opens the file (.tav .bmp .jpg .png), if one is given.\n"
        "\n"
        "  -h, --help    この説明を表示して終了 / show this help and exit\n"
        "  --version     版を表示して終了 / show the version and exit\n"
        "  --            以降はすべてファイル名 / everything after it is a file name\n"
        "  --export OUT IN [--quality N] [--progressive]\n"
        "                IN の絵を OUT (.bmp .jpg .png .tav) に書き出して終了 /\n"
        "                write IN's picture to OUT (.bmp .jpg .png .tav) and exit\n"
        "\n"
        "Qt のオプション (-platform, -qwindowgeometry など) も使えます。\n"
        "Qt's own options (-platform, -qwindowgeometry ...) are accepted too.\n");
}

QString VersionText() {
    return QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName),
                                         QLatin1String(kProgramVersion));
}

QString UnknownOptionText(const QString& option) {
    return QStringLiteral("kasumiro: 不明なオプションです / unknown option: %1\n").arg(option);
}
