#include "DataDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "platform/WindowsCalls.h"
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#endif

namespace records {

namespace {

QString withTrailingSlash(QString path)
{
    path = QDir::fromNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

#ifdef Q_OS_WIN
// Asks the file system's permissions, writing nothing (the register must not write there).
bool canWriteIn(const QString &dir)
{
    ++qt_ntfs_permission_lookup;
    const bool writable = QFileInfo(dir).isWritable();
    --qt_ntfs_permission_lookup;
    return writable;
}
#endif

} // namespace

QString defaultDataDirectory()
{
#ifdef Q_OS_WIN
    // A standard user on current Windows may not write in the Windows directory.
    const QString windowsDir =
        withTrailingSlash(QString::fromLocal8Bit(platform::windowsDirectory().c_str()));
    if (canWriteIn(windowsDir)) return windowsDir;
#endif
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/Solfira"));
}

QString resolveDataDirectory(const QString &overridden, QString *error)
{
    const QString dir =
        overridden.isEmpty() ? defaultDataDirectory() : withTrailingSlash(overridden);
    if (error) error->clear();
    if (!QDir().mkpath(dir) && error)
        *error = QStringLiteral("Impossibile creare la cartella dei dati %1")
                     .arg(QDir::toNativeSeparators(dir));
    return dir;
}

} // namespace records
