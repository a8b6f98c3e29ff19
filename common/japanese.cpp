#include "common/japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Japanese {

bool install(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // Owned by the application, which it must outlive.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace Japanese
