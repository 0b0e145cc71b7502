#include "platform/app_paths.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& Override() {
    static QString dir;
    return dir;
}

}  // namespace

namespace AppPaths {

QString ExecutableDir() {
    if (!Override().isEmpty()) return Override();
    return QCoreApplication::applicationDirPath();
}

QString ExecutableBaseName() {
    const QString path = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("kasumiro") : base;
}

QString WritableDir() {
    const QString dir = ExecutableDir();
    if (access(QFile::encodeName(dir).constData(), W_OK) == 0) return dir;
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    const QString own = config + QStringLiteral("/kasumiro");
    QDir().mkpath(own);
    return own;
}

void OverrideExecutableDir(const QString& dir) {
    Override() = dir;
}

QString ResolveAgainst(const QString& startDir, const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isAbsolute()) return path;
    return QDir::cleanPath(QDir(startDir).absoluteFilePath(path));
}

}  // namespace AppPaths
