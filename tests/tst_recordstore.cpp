#include "DataColumns.h"
#include "Failures.h"
#include "GameLines.h"
#include "TestFiles.h"
#include "records/DataDirectory.h"
#include "records/RecordStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <cerrno>

using namespace records;

// The record files and class logs of a data folder: made at load, compared and written at
// the end of a game, never left half-written; the folder itself.
class TestRecordStore : public QObject
{
    Q_OBJECT
private slots:
    void firstLoadCreatesEmptyFiles();
    void secondLoadChangesNothing();
    void recordOf12ByAnna();
    void finishGame_data();
    void finishGame();
    void higherRecordWrittenMeanwhileIsKept();
    void failedWriteLosesNothing();
    void rewriteKilledMidwayLeavesAWholeRecord();
    void unusableDirectoryIsReported();
    void dataDirectoryOverride();
    void schoolSettingFile_data();
    void schoolSettingFile();
};

void TestRecordStore::firstLoadCreatesEmptyFiles()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    const StandingRecord record = store.prepare();
    QVERIFY(!record.failure);
    QCOMPARE(record.score, "");
    QCOMPARE(record.holder, "");
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray());
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray());
    QCOMPARE(Leggifiletxt(store.recordScorePath()).text, "");
}

void TestRecordStore::secondLoadChangesNothing()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    writeBytes(store.recordScorePath(), "12\r\n");
    writeBytes(store.recordHolderPath(), "Anna\r\n");
    const QDateTime before = QFileInfo(store.recordScorePath()).lastModified();
    store.prepare();
    const StandingRecord record = store.prepare();
    QCOMPARE(record.score, "12\r\n");
    QCOMPARE(record.holder, "Anna\r\n");
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("12\r\n"));
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Anna\r\n"));
    QCOMPARE(QFileInfo(store.recordScorePath()).lastModified(), before);
}

void TestRecordStore::recordOf12ByAnna()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    store.prepare();
    FinishedGame game{annasGame(), "3A", 12};
    game.summary.correct = "12";
    const FinishOutcome outcome = store.finishGame(game);
    QVERIFY(outcome.newRecord);
    QVERIFY(!outcome.failure);
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("\x31\x32\x0d\x0a"));
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Anna\r\n"));
    QCOMPARE(store.prepare().score, "12\r\n");
}

void TestRecordStore::finishGame_data()
{
    testdata::columns<QByteArray, QString, bool, QByteArray, QByteArray>(
        "record", "score", "newRecord", "recordAfter", "holderAfter");
    // clang-format off
    QTest::newRow("first run, score 0")          << QByteArray()             << "0"  << false << QByteArray()            << QByteArray();
    QTest::newRow("first run, score 1")          << QByteArray()             << "1"  << true  << QByteArray("1\r\n")     << QByteArray("Bea\r\n");
    QTest::newRow("equal keeps the record")      << QByteArray("12\r\n")     << "12" << false << QByteArray("12\r\n")    << QByteArray("Anna\r\n");
    QTest::newRow("12 beaten by 13")             << QByteArray("12\r\n")     << "13" << true  << QByteArray("13\r\n")    << QByteArray("Bea\r\n");
    QTest::newRow("hand-edited record reads 0")  << QByteArray("dodici")     << "1"  << true  << QByteArray("1\r\n")     << QByteArray("Bea\r\n");
    QTest::newRow("400 nines read as 0, beaten") << QByteArray(400, '9')     << "1"  << true  << QByteArray("1\r\n")     << QByteArray("Bea\r\n");
    QTest::newRow("six digits: no game reaches it, beaten") << QByteArray("999999\r\n") << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("five digits stand")           << QByteArray("99999\r\n")  << "50" << false << QByteArray("99999\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("lower score")                 << QByteArray("12\r\n")     << "3"  << false << QByteArray("12\r\n")    << QByteArray("Anna\r\n");
    // clang-format on
}

void TestRecordStore::finishGame()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, score);
    QFETCH(bool, newRecord);
    QFETCH(QByteArray, recordAfter);
    QFETCH(QByteArray, holderAfter);
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    writeBytes(store.recordScorePath(), record);
    writeBytes(store.recordHolderPath(), record.isEmpty() ? QByteArray() : "Anna\r\n");
    writeBytes(store.classLogPath("Label2"), "riga di prima\r\n");

    GameSummary summary = annasGame();
    summary.name = "Bea";
    summary.correct = score;
    const FinishOutcome outcome = store.finishGame({summary, "Label2", score.toDouble()});
    QVERIFY(!outcome.failure);
    QCOMPARE(outcome.newRecord, newRecord);
    QCOMPARE(bytesOf(store.recordScorePath()), recordAfter);
    QCOMPARE(bytesOf(store.recordHolderPath()), holderAfter);
    const QByteArray expectedLine =
        encodeLine(classLogLine(summary, newRecord ? LogForm::NewRecord : LogForm::RecordStands));
    QCOMPARE(bytesOf(store.classLogPath("Label2")), "riga di prima\r\n" + expectedLine);
}

void TestRecordStore::higherRecordWrittenMeanwhileIsKept()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    writeBytes(store.recordScorePath(), "12\r\n");
    writeBytes(store.recordHolderPath(), "Anna\r\n");
    const StandingRecord atLoad = store.prepare(); // this copy saw 12
    QCOMPARE(atLoad.score, "12\r\n");
    // Another PC sharing the folder finishes first with 20.
    writeBytes(store.recordScorePath(), "20\r\n");
    writeBytes(store.recordHolderPath(), "Carlo\r\n");

    GameSummary summary = annasGame();
    summary.name = "Bea";
    summary.correct = "13";
    const FinishOutcome outcome = store.finishGame({summary, "3A", 13});
    QVERIFY(!outcome.newRecord);
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("20\r\n"));
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Carlo\r\n"));
    QVERIFY(bytesOf(store.classLogPath("3A")).contains("Data:   15/04/2007"));
}

void TestRecordStore::failedWriteLosesNothing()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    writeBytes(store.recordScorePath(), "12\r\n");
    writeBytes(store.recordHolderPath(), "Anna\r\n");
    // The class log cannot be written: a folder stands where the file should be.
    QVERIFY(QDir(dir.path()).mkdir("3A.txt"));
    GameSummary summary = annasGame();
    summary.correct = "3";
    const FinishOutcome outcome = store.finishGame({summary, "3A", 3});
    const FileError folder{FileError::Directory};
    QCOMPARE(outcome.failure.value(),
             (Failure{Step::WriteFile, store.classLogPath("3A"), folder, {}}));
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("12\r\n"));

    // A holder file that cannot be replaced: the score file is not replaced either.
    QVERIFY(QDir(dir.path()).rmdir("3A.txt"));
    QVERIFY(QFile::remove(store.recordHolderPath()));
    QVERIFY(QDir(dir.path()).mkdir(RecordHolderFileName));
    summary.correct = "30";
    const FinishOutcome beaten = store.finishGame({summary, "3A", 30});
    QVERIFY(beaten.newRecord);
    QCOMPARE(beaten.failure.value(),
             (Failure{Step::WriteFile, store.recordHolderPath(), folder, {}}));
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("12\r\n"));
    QCOMPARE(bytesOf(store.classLogPath("3A")), QByteArray()); // opened, nothing written
    QVERIFY(!beaten.recordStored);

    // A retry of a game whose score was stored before its holder failed finds its own score
    // in the file and still ends the record game it was, holder included.
    QVERIFY(QDir(dir.path()).rmdir(RecordHolderFileName));
    QVERIFY(writeBytes(store.recordScorePath(), "30\r\n"));
    const FinishOutcome retried = store.finishGame({summary, "3A", 30, true});
    QVERIFY(!retried.failure);
    QVERIFY(retried.newRecord);
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Anna\r\n"));
    QCOMPARE(bytesOf(store.classLogPath("3A")),
             encodeLine(classLogLine(summary, LogForm::NewRecord)));
}

namespace {

// Two record lines long enough that writing one takes a while.
QString recordLine(char digit)
{
    return QString(200000, QLatin1Char(digit));
}

// Run as a child process: rewrites the record file again and again until it is killed.
[[noreturn]] void rewriteForever(const QString &directory)
{
    const RecordStore store(directory);
    for (int i = 0;; ++i)
        store.rewriteRecordFile(store.recordScorePath(), recordLine(i % 2 ? '2' : '1'));
}

} // namespace

void TestRecordStore::rewriteKilledMidwayLeavesAWholeRecord()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    QVERIFY(!store.rewriteRecordFile(store.recordScorePath(), recordLine('0')));
    const QList<QByteArray> whole = {encodeLine(recordLine('0')), encodeLine(recordLine('1')),
                                     encodeLine(recordLine('2'))};
    for (int round = 0; round < 20; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--rewrite-forever", dirOf(dir)});
        QVERIFY(child.waitForStarted());
        QThread::msleep(20 + 7 * round % 40);
        child.kill();
        QVERIFY(child.waitForFinished());
        // Killed at any point, the record is one whole record, never empty or cut.
        QVERIFY2(whole.contains(bytesOf(store.recordScorePath())),
                 qPrintable(QString::number(round)));
    }
}

void TestRecordStore::unusableDirectoryIsReported()
{
    QTemporaryDir dir;
    // A file where the data directory should be.
    const QString notADirectory = dir.filePath("file");
    writeBytes(notADirectory, "x");
    const RecordStore store(notADirectory + QLatin1Char('/'));
    const StandingRecord record = store.prepare();
    QCOMPARE(record.failure.value(),
             (Failure{Step::CreateFile, store.recordScorePath(), FileError::system(ENOTDIR), {}}));
    QCOMPARE(record.score, "");
    QCOMPARE(record.holder, "");
    QCOMPARE(resolveDataDirectory(notADirectory).failure.value(),
             (Failure{Step::CreateFolder, notADirectory + '/', {}, {}}));
}

void TestRecordStore::dataDirectoryOverride()
{
    QTemporaryDir dir;
    const QString wanted = dir.filePath("scuola/condivisa");
    const DataDirectory resolved = resolveDataDirectory(wanted);
    QVERIFY(!resolved.failure);
    QCOMPARE(resolved.path, QDir(wanted).absolutePath() + "/");
    QVERIFY(QFileInfo(wanted).isDir());
    QVERIFY(defaultDataDirectory().endsWith("/"));
}

// What a school's IT writes in /etc/solfira.conf, by hand or by a deployment tool.
void TestRecordStore::schoolSettingFile_data()
{
    testdata::columns<QByteArray, QString>("file", "directory");
    // clang-format off
    QTest::newRow("as shipped: commented out")     << QByteArray("# La cartella\n#DataDir=/srv/scuola/solfira\n")   << "";
    QTest::newRow("set")                           << QByteArray("# La cartella\nDataDir=/srv/scuola/solfira\n")    << "/srv/scuola/solfira";
    QTest::newRow("spaces, quotes, no line end")   << QByteArray("  DataDir = \"/mnt/aula 3/dati, 2026\"  ")       << "/mnt/aula 3/dati, 2026";
    QTest::newRow("spaces in the path, no quotes") << QByteArray("DataDir=/mnt/aula 3/dati\r\n")                 << "/mnt/aula 3/dati";
    QTest::newRow("in a section, after others")    << QByteArray("[Solfira]\nAltro=1\n; nota\nDataDir=/dati\n")  << "/dati";
    QTest::newRow("empty value sets nothing")      << QByteArray("DataDir=\n")                                    << "";
    QTest::newRow("another name only")             << QByteArray("DataDirectory=/dati\n")                         << "";
    QTest::newRow("accented folder name (UTF-8)")  << QByteArray("DataDir=/srv/scuola/attività\n")               << "/srv/scuola/attività";
    // clang-format on
}

void TestRecordStore::schoolSettingFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, directory);
    QTemporaryDir dir;
    const QString path = dir.filePath("solfira.conf");
    QVERIFY(writeBytes(path, file));
    QCOMPARE(readSettingsFileDataDir(path).value_or(QString()), directory);
    QCOMPARE(readSettingsFileDataDir(dir.filePath("mancante.conf")), std::nullopt);
}

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--rewrite-forever")
        rewriteForever(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestRecordStore test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_recordstore.moc"
