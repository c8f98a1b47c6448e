#include "DataDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// A machine-wide value of the registry, trimmed; empty when missing.
QString machineValue(const QString &key, const QString &name)
{
    const QSettings machine(QStringLiteral("HKEY_LOCAL_MACHINE\\") + key, QSettings::NativeFormat);
    return machine.value(name).toString().trimmed();
}

const QString PolicyKey = QStringLiteral("Software\\Policies\\Solfira");

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

QString builtInDataDirectory()
{
#ifdef Q_OS_WIN
    // The folder the installer was given for the whole machine.
    const QString installed =
        machineValue(QStringLiteral("Software\\Solfira"), QStringLiteral("DataDir"));
    if (!installed.isEmpty()) return withTrailingSlash(installed);
    // A standard user on current Windows may not write in the Windows directory.
    const QString windowsDir =
        withTrailingSlash(QString::fromLocal8Bit(platform::windowsDirectory().c_str()));
    if (canWriteIn(windowsDir)) return windowsDir;
#endif
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/Solfira"));
}

} // namespace

std::optional<QString> readSettingsFileDataDir(const QString &file)
{
    QFile settings(file);
    if (!settings.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    // A settings file is a few lines; anything longer is not one.
    const QByteArray bytes = settings.read(64 * 1024);
    for (const QString &rawLine : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';'))) continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || line.left(equals).trimmed() != QLatin1String("DataDir")) continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        if (value.isEmpty()) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

std::optional<SchoolSetting> schoolSetting()
{
#ifdef Q_OS_WIN
    const QString policy = machineValue(PolicyKey, QStringLiteral("DataDir"));
    if (policy.isEmpty()) return std::nullopt;
    return SchoolSetting{policy, QStringLiteral("HKEY_LOCAL_MACHINE\\") + PolicyKey};
#else
    const QString file = QLatin1String(SchoolSettingFile);
    const std::optional<QString> directory = readSettingsFileDataDir(file);
    if (!directory) return std::nullopt;
    return SchoolSetting{*directory, file};
#endif
}

QString defaultDataDirectory()
{
    if (const std::optional<SchoolSetting> school = schoolSetting())
        return withTrailingSlash(school->directory);
    return builtInDataDirectory();
}

DataDirectory resolveDataDirectory(const QString &overridden)
{
    DataDirectory chosen;
    if (!overridden.isEmpty()) {
        chosen.path = withTrailingSlash(overridden);
    } else if ((chosen.school = schoolSetting())) {
        chosen.path = withTrailingSlash(chosen.school->directory);
        if (!QFileInfo(chosen.path).isDir())
            chosen.failure = Failure{Failure::Step::ReachFolder, chosen.path, {}, {}};
        return chosen;
    } else {
        chosen.path = builtInDataDirectory();
    }
    if (!QDir().mkpath(chosen.path))
        chosen.failure = Failure{Failure::Step::CreateFolder, chosen.path, {}, {}};
    return chosen;
}

} // namespace records
