#include "DataDirectory.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "TextFiles.h"
#include "platform/PlainFiles.h"
#include "platform/WindowsCalls.h"

#include <QCoreApplication>
#include <QSettings>
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
// The folder the installer was given for the whole machine (a shared school folder), or
// nothing.
QString installedDataDirectory()
{
    const QSettings machine(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Solfira"),
                            QSettings::NativeFormat);
    return machine.value(QStringLiteral("DataDir")).toString().trimmed();
}

// Whether this user can make files in `dir`, found out by making one and removing it at once.
// The folder's permissions do not tell: a filtered administrator's token, Controlled Folder
// Access or a file system that keeps no ACLs can refuse what they allow.
bool canWriteIn(const QString &dir)
{
    const std::string probe =
        ".solfira." + std::to_string(QCoreApplication::applicationPid()) + ".prova";
    return !platform::files::probeDirectory(nativeFilePath(dir), probe);
}
#endif

} // namespace

QString defaultDataDirectory()
{
#ifdef Q_OS_WIN
    const QString installed = installedDataDirectory();
    if (!installed.isEmpty()) return withTrailingSlash(installed);
    // A standard user on current Windows may not write in the Windows directory.
    const QString windowsDir =
        withTrailingSlash(QString::fromLocal8Bit(platform::windowsDirectory().c_str()));
    if (canWriteIn(windowsDir)) return windowsDir;
#endif
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/Solfira"));
}

DataDirectory resolveDataDirectory(const QString &overridden)
{
    const QString dir =
        overridden.isEmpty() ? defaultDataDirectory() : withTrailingSlash(overridden);
    if (QDir().mkpath(dir)) return {dir, std::nullopt};
    return {dir, Failure{Failure::Step::CreateFolder, dir, {}, {}}};
}

} // namespace records
