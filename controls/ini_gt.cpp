#include "controls/ini_gt.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "platform/app_paths.h"
#include "platform/profile.h"

namespace {

std::string Std(const QString& s) {
    return s.toStdString();
}

}  // namespace

TIniGT::TIniGT() {
    Resolve();
}

void TIniGT::SetFileName(const QString& name) {
    fileName_ = name;
    Resolve();
}

void TIniGT::SetDefaultDir(TIniGTDefaultDir dir) {
    defaultDir_ = dir;
    Resolve();
}

void TIniGT::Resolve() {
    // An empty name means the executable's own name with ".ini".
    const QString name =
        fileName_.isEmpty() ? AppPaths::ExecutableBaseName() + QStringLiteral(".ini") : fileName_;
    if (name.contains(QLatin1Char('/'))) {
        path_ = name;
        return;
    }
    switch (defaultDir_) {
        case ddApplication:
        case ddWindows:  // no system folder to speak of here: the program's own one
            path_ = QDir(AppPaths::WritableDir()).filePath(name);
            break;
        case ddNone:
            path_ = name;
            break;
    }
}

QString TIniGT::ReadString(const QString& section, const QString& key, const QString& def) const {
    return QString::fromStdString(
        Profile::ReadString(Std(path_), Std(section), Std(key), Std(def), 1023));
}

int TIniGT::ReadInteger(const QString& section, const QString& key, int def) const {
    const QString text = ReadString(section, key, QString());
    bool ok = false;
    int value = 0;
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        value = text.mid(2).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : def;
}

int TIniGT::ReadIntegerIn(const QString& section, const QString& key, int def, int lowest,
                          int highest) const {
    const QString number = ReadString(section, key, QString()).trimmed();
    bool ok = false;
    const qlonglong value = number.toLongLong(&ok);
    if (ok) return int(std::clamp<qlonglong>(value, lowest, highest));
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (!digits.match(number).hasMatch()) return def;
    return number.startsWith(QLatin1Char('-')) ? lowest : highest;
}

bool TIniGT::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniGT::WriteString(const QString& section, const QString& key, const QString& value) {
    if (!Profile::WriteString(Std(path_), Std(section), Std(key), Std(value)))
        throw UserError(QStringLiteral("%1 に書き込めません").arg(path_));
}

void TIniGT::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniGT::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

WindowPlacement TIniGT::ReadPlacement(const QString& section, const QString& prefix,
                                      const WindowPlacement& current) const {
    WindowPlacement p;
    p.Flags = ReadInteger(section, prefix + QStringLiteral(".Flags"), current.Flags);
    p.Show = ReadInteger(section, prefix + QStringLiteral(".Show"), current.Show);
    p.MaxX = ReadInteger(section, prefix + QStringLiteral(".MaxX"), current.MaxX);
    p.MaxY = ReadInteger(section, prefix + QStringLiteral(".MaxY"), current.MaxY);
    p.X = ReadInteger(section, prefix + QStringLiteral(".X"), current.X);
    p.Y = ReadInteger(section, prefix + QStringLiteral(".Y"), current.Y);
    p.XSize = ReadInteger(section, prefix + QStringLiteral(".XSize"), current.XSize);
    p.YSize = ReadInteger(section, prefix + QStringLiteral(".YSize"), current.YSize);
    return p;
}

void TIniGT::WritePlacement(const QString& section, const QString& prefix,
                            const WindowPlacement& p) {
    WriteInteger(section, prefix + QStringLiteral(".Flags"), p.Flags);
    WriteInteger(section, prefix + QStringLiteral(".Show"), p.Show);
    WriteInteger(section, prefix + QStringLiteral(".MaxX"), p.MaxX);
    WriteInteger(section, prefix + QStringLiteral(".MaxY"), p.MaxY);
    WriteInteger(section, prefix + QStringLiteral(".X"), p.X);
    WriteInteger(section, prefix + QStringLiteral(".Y"), p.Y);
    WriteInteger(section, prefix + QStringLiteral(".XSize"), p.XSize);
    WriteInteger(section, prefix + QStringLiteral(".YSize"), p.YSize);
}
