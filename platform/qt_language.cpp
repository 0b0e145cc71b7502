#include "platform/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtJapanese() {
    static bool installed = false;
    if (installed) return true;
    // Owned by the application, so that it lives exactly as long as the texts it gives.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    installed = QCoreApplication::installTranslator(translator);
    return installed;
}
