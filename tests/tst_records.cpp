#include "TestFiles.h"
#include "records/ClassLog.h"
#include "records/DataDirectory.h"
#include "records/RecordFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

using namespace records;

namespace {

GameSummary anna()
{
    return {"Anna", "Risposte esatte", "7", "Risposte errate", "2", "Tempo restante", "00:03:12",
            "15/04/2007"};
}

QString dirOf(const QTemporaryDir &d)
{
    return d.path() + QLatin1Char('/');
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void logLineForms_data();
    void logLineForms();
    void classFileNames_data();
    void classFileNames();
    void hostileClassNamesStayInside();
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
    void textIsSingleByte();
};

void TestRecords::logLineForms_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("record stands")
        << 1
        << QByteArray("Nome:  Anna  Risposte esatte 7  Risposte errate  2Tempo restante   "
                      "00:03:12Data:   15/04/2007\r\n");
    QTest::newRow("new record")
        << 2
        << QByteArray("Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante   "
                      "00:03:12-\"Data:  15/04/2007\r\n");
}

void TestRecords::logLineForms()
{
    QFETCH(int, form);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeLine(classLogLine(anna(), LogForm(form))), bytes);
}

void TestRecords::classFileNames_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("plain") << "3A" << "3A.txt";
    QTest::newRow("kept as typed") << "3 b Rossi" << "3 b Rossi.txt";
    QTest::newRow("never given") << "Label2" << "Label2.txt";
    QTest::newRow("empty") << "" << ".txt";
    QTest::newRow("parent directory") << "../x" << ".._x.txt";
    QTest::newRow("two dots") << ".." << "...txt";
    QTest::newRow("subfolder") << "a/b" << "a_b.txt";
    QTest::newRow("drive") << "C:\\x" << "C__x.txt";
    QTest::newRow("wildcards") << "a*b?c" << "a_b_c.txt";
    QTest::newRow("quotes and pipes") << "\"<a|b>\"" << "__a_b__.txt";
    QTest::newRow("control characters") << QString("a\tb\nc") << "a_b_c.txt";
    QTest::newRow("reserved") << "CON" << "CON_.txt";
    QTest::newRow("reserved any case") << "nul" << "nul_.txt";
    QTest::newRow("reserved with extension") << "com1.a" << "com1_.a.txt";
    QTest::newRow("not reserved") << "CONTE" << "CONTE.txt";
    QTest::newRow("accented") << "3ª è" << "3ª è.txt";
}

void TestRecords::classFileNames()
{
    QFETCH(QString, className);
    QFETCH(QString, fileName);
    QCOMPARE(classLogFileName(className), fileName);
}

void TestRecords::hostileClassNamesStayInside()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    const QStringList names = {"../fuori", "../../etc/x", "/tmp/x", "a/../../b", "..\\..\\x",
                               "C:\\Windows\\x", "..", ".", "", "\x01\x02", "sub/dir/"};
    for (const QString &name : names) {
        const QString path = store.classLogPath(name);
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
        QVERIFY2(store.appendLine(path, "riga").isEmpty(), qPrintable(name));
        QVERIFY(QFileInfo(path).isFile());
    }
    // Nothing was written outside.
    QVERIFY(!QFile::exists(QDir(dir.path()).absoluteFilePath("../fuori.txt")));
}

void TestRecords::firstLoadCreatesEmptyFiles()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    const StandingRecord record = store.prepare();
    QCOMPARE(record.error, "");
    QCOMPARE(record.score, "");
    QCOMPARE(record.holder, "");
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray());
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray());
    QCOMPARE(Leggifiletxt(store.recordScorePath()), "");
}

void TestRecords::secondLoadChangesNothing()
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

void TestRecords::recordOf12ByAnna()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    store.prepare();
    FinishedGame game{anna(), "3A", 12};
    game.summary.correct = "12";
    const FinishOutcome outcome = store.finishGame(game);
    QVERIFY(outcome.newRecord);
    QCOMPARE(outcome.error, "");
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("\x31\x32\x0d\x0a"));
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Anna\r\n"));
    QCOMPARE(store.prepare().score, "12\r\n");
}

void TestRecords::finishGame_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("score");
    QTest::addColumn<bool>("newRecord");
    QTest::addColumn<QByteArray>("recordAfter");
    QTest::addColumn<QByteArray>("holderAfter");
    QTest::newRow("first run, score 0") << QByteArray() << "0" << false << QByteArray()
                                        << QByteArray();
    QTest::newRow("first run, score 1") << QByteArray() << "1" << true << QByteArray("1\r\n")
                                        << QByteArray("Bea\r\n");
    QTest::newRow("equal keeps the record") << QByteArray("12\r\n") << "12" << false
                                            << QByteArray("12\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("12 beaten by 13") << QByteArray("12\r\n") << "13" << true
                                     << QByteArray("13\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("hand-edited record reads 0")
        << QByteArray("dodici") << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("lower score") << QByteArray("12\r\n") << "3" << false << QByteArray("12\r\n")
                                 << QByteArray("Anna\r\n");
}

void TestRecords::finishGame()
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

    GameSummary summary = anna();
    summary.name = "Bea";
    summary.correct = score;
    const FinishOutcome outcome = store.finishGame({summary, "Label2", score.toDouble()});
    QCOMPARE(outcome.error, "");
    QCOMPARE(outcome.newRecord, newRecord);
    QCOMPARE(bytesOf(store.recordScorePath()), recordAfter);
    QCOMPARE(bytesOf(store.recordHolderPath()), holderAfter);
    const QByteArray expectedLine =
        encodeLine(classLogLine(summary, newRecord ? LogForm::NewRecord : LogForm::RecordStands));
    QCOMPARE(bytesOf(store.classLogPath("Label2")), "riga di prima\r\n" + expectedLine);
}

void TestRecords::higherRecordWrittenMeanwhileIsKept()
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

    GameSummary summary = anna();
    summary.name = "Bea";
    summary.correct = "13";
    const FinishOutcome outcome = store.finishGame({summary, "3A", 13});
    QVERIFY(!outcome.newRecord);
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("20\r\n"));
    QCOMPARE(bytesOf(store.recordHolderPath()), QByteArray("Carlo\r\n"));
    QVERIFY(bytesOf(store.classLogPath("3A")).contains("Data:   15/04/2007"));
}

void TestRecords::failedWriteLosesNothing()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    writeBytes(store.recordScorePath(), "12\r\n");
    writeBytes(store.recordHolderPath(), "Anna\r\n");
    // The class log cannot be written: a folder stands where the file should be.
    QVERIFY(QDir(dir.path()).mkdir("3A.txt"));
    GameSummary summary = anna();
    summary.correct = "3";
    const FinishOutcome outcome = store.finishGame({summary, "3A", 3});
    QVERIFY(outcome.error.contains("3A.txt"));
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("12\r\n"));

    // A record file that cannot be replaced keeps its old content.
    QVERIFY(QDir(dir.path()).rmdir("3A.txt"));
    QVERIFY(QFile::remove(store.recordHolderPath()));
    QVERIFY(QDir(dir.path()).mkdir(RecordHolderFileName));
    summary.correct = "30";
    const FinishOutcome beaten = store.finishGame({summary, "3A", 30});
    QVERIFY(beaten.newRecord);
    QVERIFY(beaten.error.contains(RecordHolderFileName));
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("30\r\n"));
    QVERIFY(!QFile::exists(store.classLogPath("3A"))); // stopped before the class log

    // The retry finds its own score in the file and still ends the record game it was.
    QVERIFY(beaten.recordStored);
    QVERIFY(QDir(dir.path()).rmdir(RecordHolderFileName));
    const FinishOutcome retried = store.finishGame({summary, "3A", 30, beaten.recordStored});
    QCOMPARE(retried.error, "");
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

void TestRecords::rewriteKilledMidwayLeavesAWholeRecord()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    QVERIFY(store.rewriteRecordFile(store.recordScorePath(), recordLine('0')).isEmpty());
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
        QVERIFY2(whole.contains(bytesOf(store.recordScorePath())), qPrintable(QString::number(round)));
    }
}

void TestRecords::unusableDirectoryIsReported()
{
    QTemporaryDir dir;
    // A file where the data directory should be.
    const QString notADirectory = dir.filePath("file");
    writeBytes(notADirectory, "x");
    const RecordStore store(notADirectory + QLatin1Char('/'));
    const StandingRecord record = store.prepare();
    QVERIFY(record.error.contains(RecordScoreFileName));
    QCOMPARE(record.score, "");
    QCOMPARE(record.holder, "");
    QString error;
    resolveDataDirectory(notADirectory, &error);
    QVERIFY(!error.isEmpty());
}

void TestRecords::dataDirectoryOverride()
{
    QTemporaryDir dir;
    const QString wanted = dir.filePath("scuola/condivisa");
    QString error;
    const QString resolved = resolveDataDirectory(wanted, &error);
    QCOMPARE(error, "");
    QCOMPARE(resolved, QDir(wanted).absolutePath() + "/");
    QVERIFY(QFileInfo(wanted).isDir());
    QVERIFY(defaultDataDirectory().endsWith("/"));
}

void TestRecords::textIsSingleByte()
{
    QCOMPARE(encodeLine("Niccolò"), QByteArray("Niccol\xf2\r\n"));
    QCOMPARE(decodeText("Niccol\xf2"), "Niccolò");
    QCOMPARE(encodeText("€"), QByteArray("?"));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--rewrite-forever")
        rewriteForever(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestRecords test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_records.moc"
