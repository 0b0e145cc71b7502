// The settings file is the user's to edit by hand, and a damaged disk or a half-finished copy
// can leave anything in it. Every read the start-up makes, and the writes of the exit, must
// survive it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "brush/menu_checks.h"
#include "controls/ini_gt.h"
#include "platform/app_paths.h"

namespace {

const QString& Folder() {
    static QTemporaryDir dir;
    static const bool pointed = (AppPaths::OverrideExecutableDir(dir.path()), true);
    (void)pointed;
    static const QString path = dir.path();
    return path;
}

void ReadEverything(const TIniGT& ini) {
    ini.ReadInteger(QStringLiteral("Image"), QStringLiteral("Width"), 400);
    ini.ReadInteger(QStringLiteral("Image"), QStringLiteral("Height"), 400);
    ini.ReadBool(QStringLiteral("Form1"), QStringLiteral("palette"), true);
    for (const MenuChecks::Entry& e : MenuChecks::Persisted())
        ini.ReadBool(QString::fromLatin1(e.section), QString::fromLatin1(e.key), e.def);
    for (const char* form : {"Form1", "Form10", "Form11"})
        ini.ReadPlacement(QString::fromLatin1(form), QStringLiteral("Pos"), WindowPlacement());
    ini.ReadString(QStringLiteral("Layer"), QStringLiteral("Name"), QString());
    for (const char* key : {"Levels", "MemoryMB"}) {
        const int value =
            ini.ReadIntegerIn(QStringLiteral("undo"), QString::fromLatin1(key), 7, 1, 100);
        if (value < 1 || value > 100) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = Folder();
    TIniGT ini;
    {
        QFile file(ini.Path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ReadEverything(ini);
    try {
        ini.WriteInteger(QStringLiteral("Image"), QStringLiteral("Width"), 640);
        ini.WriteBool(QStringLiteral("option"), QStringLiteral("lupe1"), false);
        // What was written must read back, whatever the file held before.
        if (ini.ReadInteger(QStringLiteral("Image"), QStringLiteral("Width"), 0) != 640)
            std::abort();
        if (ini.ReadBool(QStringLiteral("option"), QStringLiteral("lupe1"), true)) std::abort();
    } catch (const UserError&) {
        // A refused write is reported to the user; nothing else to check.
    }
    ReadEverything(ini);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return 0;
}
