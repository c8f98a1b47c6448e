#include "TestFiles.h"
#include "records/ClassLogWriter.h"
#include "records/DataDirectory.h"
#include "records/DataFileNames.h"
#include "records/RecordStore.h"
#include "records/SingleByteText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace records;

namespace {

GameSummary anna()
{
    return {"Anna", "Risposte esatte", "7",        "Risposte errate",
            "2",    "Tempo restante",  "00:03:12", "15/04/2007"};
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
    void fittingClassNames_data();
    void fittingClassNames();
    void promptTexts_data();
    void promptTexts();
    void hostileClassNamesStayInside();
    void hostileFileStates_data();
    void hostileFileStates();
    void writersRefuseControlCharacters();
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
    QTest::newRow("plain") << "3A"
                           << "3A.txt";
    QTest::newRow("kept as typed") << "3 b Rossi"
                                   << "3 b Rossi.txt";
    QTest::newRow("never given") << "Label2"
                                 << "Label2.txt";
    QTest::newRow("empty") << ""
                           << ".txt";
    QTest::newRow("parent directory") << "../x"
                                      << ".._x.txt";
    QTest::newRow("two dots") << ".."
                              << "...txt";
    QTest::newRow("subfolder") << "a/b"
                               << "a_b.txt";
    QTest::newRow("drive") << "C:\\x"
                           << "C__x.txt";
    QTest::newRow("wildcards") << "a*b?c"
                               << "a_b_c.txt";
    QTest::newRow("quotes and pipes") << "\"<a|b>\""
                                      << "__a_b__.txt";
    QTest::newRow("control characters") << QString("a\tb\nc") << "a_b_c.txt";
    QTest::newRow("reserved") << "CON"
                              << "CON_.txt";
    QTest::newRow("reserved any case") << "nul"
                                       << "nul_.txt";
    QTest::newRow("reserved with extension") << "com1.a"
                                             << "com1_.a.txt";
    QTest::newRow("not reserved") << "CONTE"
                                  << "CONTE.txt";
    QTest::newRow("accented") << "3ª è"
                              << "3ª è.txt";
    QTest::newRow("C1 control character") << QString("a\u0085b") << "a_b.txt";
    QTest::newRow("record score file") << "velmora"
                                       << "velmora_.txt";
    QTest::newRow("record holder file, other case") << "VELMORA1"
                                                    << "VELMORA1_.txt";
    QTest::newRow("record file name as class") << "velmora.txt"
                                               << "velmora.txt.txt";
    QTest::newRow("lock file name as class") << ".solfira.lock"
                                             << ".solfira.lock.txt";
}

void TestRecords::classFileNames()
{
    QFETCH(QString, className);
    QFETCH(QString, fileName);
    QCOMPARE(classLogFileName(className), fileName);
}

void TestRecords::fittingClassNames_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<qsizetype>("room"); // UTF-16 units the path limit leaves for the name
    QTest::addColumn<QString>("kept");
    const qsizetype any = 1 << 20;
    QTest::newRow("short") << "3A" << any << "3A";
    QTest::newRow("300 letters: 255 bytes with .txt")
        << QString(300, 'a') << any << QString(251, 'a');
    QTest::newRow("200 è, two bytes each")
        << QString(200, QChar(0xe8)) << any << QString(125, QChar(0xe8));
    const QString clef = QString::fromUcs4(U"\U0001D11E"); // four bytes, two UTF-16 units
    QTest::newRow("never half a character") << clef.repeated(100) << any << clef.repeated(62);
    QTest::newRow("Windows path limit")
        << "abcdefghijklmnopqrstuvwxyz" << qsizetype(20) << "abcdefghijklmnop";
    QTest::newRow("pasted megabyte") << QString(1 << 20, 'b') << any << QString(251, 'b');
}

void TestRecords::fittingClassNames()
{
    QFETCH(QString, className);
    QFETCH(qsizetype, room);
    QFETCH(QString, kept);
    QCOMPARE(fittingClassName(className, room), kept);
}

void TestRecords::promptTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain") << "Anna Maria"
                           << "Anna Maria";
    QTest::newRow("pasted second line") << "Eve\r\nNome:  Mallory Risposte esatte 99"
                                        << "Eve";
    QTest::newRow("line break first") << "\nAnna\n"
                                      << "Anna";
    QTest::newRow("tab and escape dropped") << "3\tA\x1b"
                                            << "3A";
    QTest::newRow("DEL and C1 dropped") << "A\x7f\u009bB"
                                        << "AB";
    QTest::newRow("next line (C1)") << "Anna\u0085Eva"
                                    << "Anna";
    QTest::newRow("Unicode line separator") << "Anna\u2028Eva"
                                            << "Anna";
}

void TestRecords::promptTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(promptText(typed), kept);
}

void TestRecords::hostileClassNamesStayInside()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    const QStringList names = {"../fuori",  "../../etc/x",    "/tmp/x",  "a/../../b",
                               "..\\..\\x", "C:\\Windows\\x", "..",      ".",
                               "",          "\x01\x02",       "sub/dir/"};
    for (const QString &name : names) {
        const QString path = store.classLogPath(name);
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
        QVERIFY2(store.appendLine(path, "riga").isEmpty(), qPrintable(name));
        QVERIFY(QFileInfo(path).isFile());
    }
    // Nothing was written outside.
    QVERIFY(!QFile::exists(QDir(dir.path()).absoluteFilePath("../fuori.txt")));
}

namespace {

bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// Every regular file of a folder with its bytes.
QMap<QString, QByteArray> contents(const QString &directory)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo &info :
         QDir(directory).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        if (!info.isSymLink() && info.isFile())
            files.insert(info.fileName(), bytesOf(info.filePath()));
    return files;
}

} // namespace

void TestRecords::hostileFileStates_data()
{
    // What a pupil may leave in the shared folder, under the name of a file the game uses.
    QTest::addColumn<QString>("file");   // its name in the data folder ("" the folder itself)
    QTest::addColumn<QString>("state");  // what stands there
    QTest::addColumn<QString>("step");   // load; game (the record stands); record (beaten)
    QTest::addColumn<QString>("reason"); // in the message; "" when the step goes through
    const QString link = "un collegamento";
    const QString special = "pipe, un dispositivo o un socket";
    QTest::newRow("score file links outside") << "velmora.txt"
                                              << "link"
                                              << "record" << link;
    QTest::newRow("holder file links outside") << "velmora1.txt"
                                               << "link"
                                               << "record" << link;
    QTest::newRow("holder link read at load") << "velmora1.txt"
                                              << "link"
                                              << "load" << link;
    QTest::newRow("class log links outside") << "3A.txt"
                                             << "link"
                                             << "record" << link;
    QTest::newRow("dangling link as record file") << "velmora.txt"
                                                  << "dangling"
                                                  << "load" << link;
    QTest::newRow("dangling link as class log") << "3A.txt"
                                                << "dangling"
                                                << "game" << link;
    QTest::newRow("pipe as class log") << "3A.txt"
                                       << "pipe"
                                       << "record" << special;
    QTest::newRow("pipe as record file") << "velmora.txt"
                                         << "pipe"
                                         << "load" << special;
    QTest::newRow("socket as class log") << "3A.txt"
                                         << "socket"
                                         << "game" << special;
    QTest::newRow("folder as holder file") << "velmora1.txt"
                                           << "folder"
                                           << "record"
                                           << "una cartella";
    QTest::newRow("folder as lock file") << ".solfira.lock"
                                         << "folder"
                                         << "game"
                                         << "una cartella";
    QTest::newRow("data folder is a file") << ""
                                           << "file"
                                           << "game"
                                           << "non porta a una cartella";
    QTest::newRow("class name too long for a file name") << QString(300, 'a') + ".txt"
                                                         << "missing"
                                                         << "record"
                                                         << "nome del file troppo lungo";
    // The file may grow by 10 bytes only: the line is cut short by the system.
    QTest::newRow("append cut short by the system") << "3A.txt"
                                                    << "full"
                                                    << "game"
                                                    << "il file è troppo grande";
    QTest::newRow("log ends in the middle of a line") << "3A.txt"
                                                      << "unfinished"
                                                      << "game"
                                                      << "";
    QTest::newRow("holder file of a megabyte") << "velmora1.txt"
                                               << "huge"
                                               << "load"
                                               << "";
}

void TestRecords::hostileFileStates()
{
    QFETCH(QString, file);
    QFETCH(QString, state);
    QFETCH(QString, step);
    QFETCH(QString, reason);
    QTemporaryDir outsideDir, dataDir;
    const QString outside = outsideDir.filePath("altrui.txt");
    QVERIFY(writeBytes(outside, "di un altro\r\n"));
    const QString target = file.isEmpty() ? dataDir.filePath("cartella") : dataDir.filePath(file);
    const RecordStore store(file.isEmpty() ? target + '/' : dirOf(dataDir));
    if (!file.isEmpty()) {
        QVERIFY(writeBytes(store.recordScorePath(), "12\r\n"));
        QVERIFY(writeBytes(store.recordHolderPath(), "Anna\r\n"));
        QVERIFY(writeBytes(store.classLogPath("3A"), "riga di prima\r\n"));
    }
    QFile::remove(target);
    const QByteArray nativeTarget = QFile::encodeName(target);
    if (state == "link")
        QVERIFY(QFile::link(outside, target));
    else if (state == "dangling")
        QVERIFY(QFile::link(outsideDir.filePath("nuovo.txt"), target));
    else if (state == "pipe")
        QCOMPARE(::mkfifo(nativeTarget.constData(), 0666), 0);
    else if (state == "socket")
        QVERIFY(makeSocket(target));
    else if (state == "folder")
        QVERIFY(QDir().mkdir(target));
    else if (state == "file")
        QVERIFY(writeBytes(target, "riga di prima\r\n"));
    else if (state == "full") // longer than the lock file, which must still be made
        QVERIFY(writeBytes(target, QByteArray("riga di prima\r\n").repeated(100)));
    else if (state == "unfinished")
        QVERIFY(writeBytes(target, "riga di prima\r\nNome:  Eve  Risposte esatte "));
    else if (state == "huge")
        QVERIFY(writeBytes(target, QByteArray(1 << 20, 'x')));
    const QMap<QString, QByteArray> before = contents(dataDir.path());

    GameSummary summary = anna();
    summary.correct = step == "record" ? "13" : "3";
    const QString className = file.endsWith(".txt") && !file.startsWith("velmora")
                                  ? file.chopped(4)
                                  : QStringLiteral("3A");
    StandingRecord loaded;
    FinishOutcome finished;
    if (step == "load") {
        loaded = store.prepare();
    } else {
        rlimit old{};
        if (state == "full") {
            // Past the limit a write fails with EFBIG (and SIGXFSZ, ignored here).
            ::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit small = old;
            small.rlim_cur = rlim_t(QFileInfo(target).size() + 10);
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        finished = store.finishGame({summary, className, summary.correct.toDouble()});
        if (state == "full") QCOMPARE(::setrlimit(RLIMIT_FSIZE, &old), 0);
    }
    const QString error = step == "load" ? loaded.error : finished.error;

    // Nothing outside the folder was written or created.
    QCOMPARE(bytesOf(outside), QByteArray("di un altro\r\n"));
    QCOMPARE(QDir(outsideDir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"altrui.txt"});
    if (!reason.isEmpty()) {
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(file.isEmpty() ? "cartella" : file.left(40)), qPrintable(error));
        // Refused before anything was written: every file is as it was.
        QCOMPARE(contents(dataDir.path()), before);
        return;
    }
    QCOMPARE(error, "");
    if (step == "load") {
        QVERIFY(loaded.holder.size() <= TextFileReadLimit);
        return;
    }
    // The line stands on a line of its own, whole.
    const QByteArray log = bytesOf(target);
    const QByteArray line = encodeLine(finished.line);
    QVERIFY2(log.endsWith("\r\n" + line), log.constData());
    QCOMPARE(log.count("\r\n"), before.value(file).count("\r\n") + 2);
}

void TestRecords::writersRefuseControlCharacters()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    QVERIFY(writeBytes(store.recordScorePath(), "12\r\n"));
    QVERIFY(writeBytes(store.recordHolderPath(), "Anna\r\n"));
    const QMap<QString, QByteArray> before = contents(dir.path());
    GameSummary summary = anna();
    summary.name = "Eve\r\nNome:  Mallory";
    summary.correct = "13";
    QVERIFY(store.finishGame({summary, "3A", 13}).error.contains("caratteri di controllo"));
    QVERIFY(store.rewriteRecordFile(store.recordHolderPath(), "Eve\tX")
                .contains("caratteri di controllo"));
    QVERIFY(
        store.appendLine(store.classLogPath("3A"), "a\u0085b").contains("caratteri di controllo"));
    QCOMPARE(contents(dir.path()), before);
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
    QTest::newRow("first run, score 0")
        << QByteArray() << "0" << false << QByteArray() << QByteArray();
    QTest::newRow("first run, score 1")
        << QByteArray() << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("equal keeps the record")
        << QByteArray("12\r\n") << "12" << false << QByteArray("12\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("12 beaten by 13")
        << QByteArray("12\r\n") << "13" << true << QByteArray("13\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("hand-edited record reads 0")
        << QByteArray("dodici") << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("400 nines read as 0, beaten")
        << QByteArray(400, '9') << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("six digits: no game reaches it, beaten")
        << QByteArray("999999\r\n") << "1" << true << QByteArray("1\r\n") << QByteArray("Bea\r\n");
    QTest::newRow("five digits stand") << QByteArray("99999\r\n") << "50" << false
                                       << QByteArray("99999\r\n") << QByteArray("Anna\r\n");
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

    // A holder file that cannot be replaced: the score file is not replaced either.
    QVERIFY(QDir(dir.path()).rmdir("3A.txt"));
    QVERIFY(QFile::remove(store.recordHolderPath()));
    QVERIFY(QDir(dir.path()).mkdir(RecordHolderFileName));
    summary.correct = "30";
    const FinishOutcome beaten = store.finishGame({summary, "3A", 30});
    QVERIFY(beaten.newRecord);
    QVERIFY(beaten.error.contains(RecordHolderFileName));
    QCOMPARE(bytesOf(store.recordScorePath()), QByteArray("12\r\n"));
    QCOMPARE(bytesOf(store.classLogPath("3A")), QByteArray()); // opened, nothing written
    QVERIFY(!beaten.recordStored);

    // A retry of a game whose score was stored before its holder failed finds its own score
    // in the file and still ends the record game it was, holder included.
    QVERIFY(QDir(dir.path()).rmdir(RecordHolderFileName));
    QVERIFY(writeBytes(store.recordScorePath(), "30\r\n"));
    const FinishOutcome retried = store.finishGame({summary, "3A", 30, true});
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
        QVERIFY2(whole.contains(bytesOf(store.recordScorePath())),
                 qPrintable(QString::number(round)));
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
