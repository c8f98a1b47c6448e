#pragma once

// Storing the end of a game: the record files and the class logs of one data directory.
#include "ClassLogWriter.h"
#include "DataFileNames.h"
#include "FolderLock.h"
#include "TextFiles.h"

#include <QString>

#include <optional>

namespace records {

// What the window shows of the standing record.
struct StandingRecord {
    QString score;                  // the record score file's whole text ("12\r\n", or "")
    QString holder;                 // the record holder file's whole text ("Anna\r\n", or "")
    std::optional<Failure> failure; // which file could not be created or read, and why
};

// The end of a game as the window hands it over.
struct FinishedGame {
    GameSummary summary; // the captions that make up the class log line
    QString className;   // the class as the window holds it ("Label2" when none was given)
    double score = 0;    // correct answers
    // An earlier try of this same game stored its score as the record, then a later step
    // failed: the game is still logged as the record game it was.
    bool recordStored = false;
};

struct FinishOutcome {
    bool newRecord = false;
    bool recordStored = false;      // the record score file holds this game's score
    QString line;                   // the class log line, as written (or as it would have been)
    std::optional<Failure> failure; // the step that stopped the sequence, if any
};

// The record files and class logs in one data directory (a path ending in '/').
class RecordStore
{
public:
    explicit RecordStore(QString directory) : m_directory(std::move(directory)) {}

    const QString &directory() const { return m_directory; }
    QString recordScorePath() const { return m_directory + QLatin1String(RecordScoreFileName); }
    QString recordHolderPath() const { return m_directory + QLatin1String(RecordHolderFileName); }
    QString classLogPath(const QString &className) const;

    // At load: creates the two record files, empty, when they do not exist (an existing
    // file is left as it is) and reads them whole.
    StandingRecord prepare() const;

    // At the end of a game, under a lock on the data directory so that copies of the
    // program sharing it take turns: reads the record as the file holds it now, and when
    // `game.score` beats it rewrites the score file and then the holder file (each replaced
    // whole, atomically), then appends the class log line in form 2; otherwise appends it
    // in form 1. The class log is opened before any record file is touched, so a log that
    // cannot be opened stops the game's end before anything is written. A failing step stops
    // the sequence: what earlier steps wrote stays, and a failed append leaves no part of
    // its line. A retry of a game with `recordStored` writes form 2 (and both record files
    // again while the score file still holds its score). `watch` is what the earlier tries
    // of this game saw of a lock they could not take.
    FinishOutcome finishGame(const FinishedGame &game, LockWatch &watch) const;
    FinishOutcome finishGame(const FinishedGame &game) const
    {
        LockWatch watch;
        return finishGame(game, watch);
    }

    // The longest start of `className` whose class log fits in this directory on every
    // common file system (on Windows, within the path limit as well).
    QString fittingClassName(const QString &className) const;

    // Single steps, also used by tests. A line holding a control character is refused.
    std::optional<Failure> rewriteRecordFile(const QString &path, const QString &line) const;
    std::optional<Failure> appendLine(const QString &path, const QString &line) const;

private:
    QString m_directory;
};

} // namespace records
