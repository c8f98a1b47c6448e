#pragma once

#include "ClassLogFiles.h"
#include "ClassLogSource.h"
#include "PupilSummaryModel.h"
#include "records/ClassLogStreamParser.h"
#include "texts/FolderProblemText.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QLocale>
#include <QObject>
#include <QTimer>

class QSortFilterProxyModel;

namespace registro {

class GameFilterProxy;
class GameTableModel;

// What the register shows, without any widget: the class logs of a data directory,
// the games of the chosen class (all of them, and those passing the filter), the
// summary per pupil and the reading warnings. It follows the directory and the chosen
// log while they change, and it never writes anything.
class RegisterSession : public QObject
{
    Q_OBJECT

public:
    explicit RegisterSession(QObject *parent = nullptr);
    ~RegisterSession() override;

    // Formats numbers and dates, and tells in which order a date like 4/5/07 is read.
    void setLocale(const QLocale &locale);
    QLocale locale() const { return m_locale; }

    // Lists the class logs of `directory` and opens the most recently played one.
    // `schoolSetting` is where the school's setting that names it is kept, if one does.
    void setDataDirectory(const QString &directory, const QString &schoolSetting = {});
    QString dataDirectory() const { return m_directory; }
    QString schoolSetting() const { return m_schoolSetting; }
    // Why the directory cannot be used, if it cannot.
    texts::FolderProblem directoryProblem() const { return m_directoryProblem; }
    // The teacher's sentence for it, naming the school's setting when that gave the folder;
    // empty when the directory can be used.
    QString directoryProblemText() const;

    const QList<ClassLogFile> &classes() const { return m_classes; }
    int currentIndex() const { return m_current; }
    const ClassLogFile *currentClass() const;
    bool selectClass(int index);
    bool selectClassNamed(const QString &className);

    GameTableModel *games() const { return m_games; }
    GameFilterProxy *shownGames() const { return m_shown; }
    PupilSummaryModel *pupils() const { return m_pupils; }
    QSortFilterProxyModel *shownPupils() const { return m_pupilsSorted; }

    const QList<records::ClassLogWarning> &warnings() const { return m_warnings; }
    qint64 warningCount() const { return m_warningCount; }
    const std::optional<records::Failure> &readFailure() const { return m_readFailure; }
    QDateTime lastRead() const { return m_lastRead; }

    void setNameFilter(const QString &text);
    void setDateRange(const QDate &from, const QDate &to);
    // The summaries in the order the summary table shows them.
    QList<PupilSummary> shownSummaries() const;
    // The shown games of one pupil (by pupilKey), in the order they were played.
    QList<records::ClassLogEntry> gamesOf(const QString &key) const;

    // How often the files are checked besides the system's change notices, which a
    // shared network folder may not give. 0 stops the checks.
    void setPollInterval(int milliseconds);

public slots:
    // Lists the directory again and reads what was added to the open log.
    void refresh();

signals:
    void classesChanged();
    // Another class log is open; its games are already in the models.
    void currentClassChanged();
    // The games, the filter or the summary changed.
    void gamesChanged();
    void warningsChanged();

private:
    void openCurrent();
    void apply(ClassLogSource::Update update);
    void summarize();
    void watchCurrent();

    QLocale m_locale;
    QString m_directory;
    texts::FolderProblem m_directoryProblem = texts::FolderProblem::None;
    QString m_schoolSetting;
    QList<ClassLogFile> m_classes;
    int m_current = -1;
    ClassLogSource m_source;
    GameTableModel *m_games;
    GameFilterProxy *m_shown;
    PupilSummaryModel *m_pupils;
    QSortFilterProxyModel *m_pupilsSorted;
    QList<records::ClassLogWarning> m_warnings;
    qint64 m_warningCount = 0;
    std::optional<records::Failure> m_readFailure;
    QDateTime m_lastRead;
    QFileSystemWatcher m_watcher;
    QTimer m_settle; // gathers a burst of change notices into one refresh
    QTimer m_poll;
};

} // namespace registro
