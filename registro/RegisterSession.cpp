#include "RegisterSession.h"

#include "GameFilterProxy.h"
#include "GameTableModel.h"
#include "PupilSummaryBuilder.h"
#include "RegisterFormat.h"

#include <QFileInfo>
#include <QSortFilterProxyModel>

namespace registro {

using records::ClassLogEntry;
using records::ClassLogStreamParser;
using texts::FolderProblem;

RegisterSession::RegisterSession(QObject *parent)
    : QObject(parent), m_games(new GameTableModel(this)), m_shown(new GameFilterProxy(this)),
      m_pupils(new PupilSummaryModel(this)), m_pupilsSorted(new QSortFilterProxyModel(this))
{
    m_shown->setGameModel(m_games);
    m_pupilsSorted->setSourceModel(m_pupils);
    m_pupilsSorted->setSortRole(PupilSummaryModel::ValueRole);
    m_pupilsSorted->sort(PupilSummaryModel::Name);
    setLocale(QLocale());

    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &RegisterSession::refresh);
    connect(&m_poll, &QTimer::timeout, this, &RegisterSession::refresh);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    setPollInterval(5000);
}

RegisterSession::~RegisterSession() = default;

void RegisterSession::setLocale(const QLocale &locale)
{
    m_locale = locale;
    m_source.setDateOrder(records::dateOrderOf(locale));
    m_games->setLocale(locale);
    m_pupils->setLocale(locale);
}

void RegisterSession::setPollInterval(int milliseconds)
{
    if (milliseconds > 0)
        m_poll.start(milliseconds);
    else
        m_poll.stop();
}

QString RegisterSession::directoryProblemText() const
{
    QString text = texts::folderProblemText(m_directoryProblem, m_directory);
    if (!text.isEmpty() && !m_schoolSetting.isEmpty())
        text += texts::schoolSettingNote(m_schoolSetting);
    return text;
}

void RegisterSession::setDataDirectory(const QString &directory, const QString &schoolSetting)
{
    m_schoolSetting = schoolSetting;
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    m_directory = directory;
    const QFileInfo info(directory);
    if (directory.isEmpty() || !info.exists())
        m_directoryProblem = FolderProblem::Missing;
    else if (!info.isDir())
        m_directoryProblem = FolderProblem::NotAFolder;
    else if (!info.isReadable())
        m_directoryProblem = FolderProblem::Unreadable;
    else
        m_directoryProblem = FolderProblem::None;
    const bool usable = m_directoryProblem == FolderProblem::None;
    if (usable) m_watcher.addPath(directory);

    m_classes = listClassLogs(usable ? directory : QString());
    m_current = mostRecent(m_classes);
    emit classesChanged();
    openCurrent();
}

const ClassLogFile *RegisterSession::currentClass() const
{
    return m_current >= 0 && m_current < m_classes.size() ? &m_classes[m_current] : nullptr;
}

bool RegisterSession::selectClass(int index)
{
    if (index < 0 || index >= m_classes.size()) return false;
    if (index != m_current) {
        m_current = index;
        openCurrent();
    }
    return true;
}

bool RegisterSession::selectClassNamed(const QString &className)
{
    for (int i = 0; i < m_classes.size(); ++i)
        if (m_classes[i].className.compare(className, Qt::CaseInsensitive) == 0)
            return selectClass(i);
    return false;
}

void RegisterSession::openCurrent()
{
    watchCurrent();
    const ClassLogFile *file = currentClass();
    ClassLogSource::Update update;
    if (file) {
        update = m_source.open(file->path);
    } else {
        m_source.close();
        update.kind = ClassLogSource::Update::Reloaded;
    }
    apply(std::move(update));
    emit currentClassChanged();
}

void RegisterSession::watchCurrent()
{
    const QStringList watched = m_watcher.files();
    const ClassLogFile *file = currentClass();
    const QString wanted = file ? file->path : QString();
    for (const QString &path : watched)
        if (path != wanted) m_watcher.removePath(path);
    // A file replaced by a new one drops out of the watch list: take it in again.
    if (!wanted.isEmpty() && !watched.contains(wanted) && QFileInfo::exists(wanted))
        m_watcher.addPath(wanted);
}

void RegisterSession::refresh()
{
    if (m_directory.isEmpty()) return;
    const QString openPath = currentClass() ? currentClass()->path : QString();
    const bool wasUsable = m_directoryProblem == FolderProblem::None;
    const QFileInfo info(m_directory);
    if (!info.isDir() && wasUsable) {
        // The shared folder went away: keep what is shown, say so, and wait.
        m_directoryProblem = FolderProblem::Unreachable;
        emit classesChanged();
        return;
    }
    if (!info.isDir()) return;
    if (!wasUsable) {
        m_directoryProblem = FolderProblem::None;
        m_watcher.addPath(m_directory);
    }

    QList<ClassLogFile> files = listClassLogs(m_directory);
    bool sameList = files.size() == m_classes.size();
    for (qsizetype i = 0; sameList && i < files.size(); ++i)
        sameList = files[i].fileName == m_classes[i].fileName;
    m_classes = std::move(files);
    int current = -1;
    for (int i = 0; i < m_classes.size(); ++i)
        if (m_classes[i].path == openPath) current = i;
    const int before = m_current;
    m_current = current >= 0 ? current : mostRecent(m_classes);
    if (!sameList || !wasUsable) emit classesChanged();
    if (current < 0) {
        // The open log is gone (or none was open): show the class playing now, if any.
        if (!openPath.isEmpty() || before != m_current) openCurrent();
        return;
    }
    watchCurrent();
    apply(m_source.refresh());
}

void RegisterSession::apply(ClassLogSource::Update update)
{
    using Update = ClassLogSource::Update;
    if (update.kind == Update::Unchanged) return;
    if (update.kind == Update::Reloaded) {
        m_games->setEntries(std::move(update.entries));
        m_warnings = std::move(update.warnings);
        m_warningCount = update.warningCount;
    } else {
        m_games->replaceTail(update.keepEntries, std::move(update.entries));
        m_warnings.resize(std::min(update.keepWarnings, m_warnings.size()));
        for (const records::ClassLogWarning &w : std::as_const(update.warnings))
            if (m_warnings.size() < ClassLogStreamParser::MaxWarnings) m_warnings.append(w);
        m_warningCount = update.keepWarningCount + update.warningCount;
    }
    m_readFailure = update.failure;
    m_lastRead = QDateTime::currentDateTime();
    summarize();
    emit warningsChanged();
    emit gamesChanged();
}

void RegisterSession::summarize()
{
    PupilSummaryBuilder builder;
    for (const ClassLogEntry &e : m_games->entries())
        if (m_shown->accepts(e)) builder.add(e);
    m_pupils->setSummaries(builder.result());
}

void RegisterSession::setNameFilter(const QString &text)
{
    const QString before = m_shown->nameFilter();
    m_shown->setNameFilter(text);
    if (m_shown->nameFilter() == before) return;
    summarize();
    emit gamesChanged();
}

void RegisterSession::setDateRange(const QDate &from, const QDate &to)
{
    if (from == m_shown->dateFrom() && to == m_shown->dateTo()) return;
    m_shown->setDateRange(from, to);
    summarize();
    emit gamesChanged();
}

QList<PupilSummary> RegisterSession::shownSummaries() const
{
    QList<PupilSummary> sorted;
    const int rows = m_pupilsSorted->rowCount();
    sorted.reserve(rows);
    for (int r = 0; r < rows; ++r)
        sorted.append(m_pupils->summaries().at(
            m_pupilsSorted->mapToSource(m_pupilsSorted->index(r, 0)).row()));
    return sorted;
}

QList<ClassLogEntry> RegisterSession::gamesOf(const QString &key) const
{
    QList<ClassLogEntry> games;
    for (const ClassLogEntry &e : m_games->entries())
        if (m_shown->accepts(e) && pupilKey(e.name) == key) games.append(e);
    return games;
}

} // namespace registro
