#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform {

bool installQtTranslation(QTranslator &translator, const QLocale &locale)
{
    const QString name = QStringLiteral("qtbase");
    const QString prefix = QStringLiteral("_");
    for (const QString &folder :
         {QStringLiteral(":/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator.load(locale, name, prefix, folder))
            return QCoreApplication::installTranslator(&translator);
    }
    return false;
}

} // namespace platform
