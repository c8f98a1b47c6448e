#include "DataColumns.h"
#include "Failures.h"
#include "GameLines.h"
#include "TestFiles.h"
#include "records/RecordStore.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTest>

#include <csignal>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace records;

// What a pupil may leave in the shared data folder: names that point outside it, links,
// pipes, folders and oversized files under the names the game uses, and typed text holding
// line breaks. Nothing outside the folder is ever touched, and a refusal names its step.
class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    void hostileClassNamesStayInside();
    void hostileFileStates_data();
    void hostileFileStates();
    void writersRefuseControlCharacters();
};

void TestHostileFiles::hostileClassNamesStayInside()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    const QStringList names = {"../fuori",  "../../etc/x",    "/tmp/x",  "a/../../b",
                               "..\\..\\x", "C:\\Windows\\x", "..",      ".",
                               "",          "\x01\x02",       "sub/dir/"};
    for (const QString &name : names) {
        const QString path = store.classLogPath(name);
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(dir.path()).absolutePath());
        QVERIFY2(!store.appendLine(path, "riga"), qPrintable(name));
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

void TestHostileFiles::hostileFileStates_data()
{
    // What a pupil may leave in the shared folder, under the name of a file the game uses.
    // file: its name in the data folder ("" the folder itself)
    // state: what stands there
    // step: load; game (the record stands); record (beaten)
    testdata::columns<QString, QString, QString>("file", "state", "step");
    // The step that fails, on that file (on the data folder for the lock), and why; none
    // when the step goes through.
    testdata::columns<std::optional<Failure>>("failure");
    using F = FileError;
    const auto fails = [](Step step, FileError error) {
        return std::optional(Failure{step, {}, error, {}});
    };
    const QString longName = QString(300, 'a') + ".txt";
    // clang-format off
    QTest::newRow("score file links outside")            << "velmora.txt"   << "link"       << "record" << fails(Step::ReadFile,   {F::Link});
    QTest::newRow("holder file links outside")           << "velmora1.txt"  << "link"       << "record" << fails(Step::WriteFile,  {F::Link});
    QTest::newRow("holder link read at load")            << "velmora1.txt"  << "link"       << "load"   << fails(Step::CreateFile, {F::Link});
    QTest::newRow("class log links outside")             << "3A.txt"        << "link"       << "record" << fails(Step::WriteFile,  {F::Link});
    QTest::newRow("dangling link as record file")        << "velmora.txt"   << "dangling"   << "load"   << fails(Step::CreateFile, {F::Link});
    QTest::newRow("dangling link as class log")          << "3A.txt"        << "dangling"   << "game"   << fails(Step::WriteFile,  {F::Link});
    QTest::newRow("pipe as class log")                   << "3A.txt"        << "pipe"       << "record" << fails(Step::WriteFile,  {F::Special});
    QTest::newRow("pipe as record file")                 << "velmora.txt"   << "pipe"       << "load"   << fails(Step::CreateFile, {F::Special});
    QTest::newRow("socket as class log")                 << "3A.txt"        << "socket"     << "game"   << fails(Step::WriteFile,  {F::Special});
    QTest::newRow("folder as holder file")               << "velmora1.txt"  << "folder"     << "record" << fails(Step::WriteFile,  {F::Directory});
    QTest::newRow("folder as lock file")                 << ".solfira.lock" << "folder"     << "game"   << fails(Step::LockFolder, {F::Directory});
    QTest::newRow("data folder is a file")               << ""              << "file"       << "game"   << fails(Step::LockFolder, F::system(ENOTDIR));
    QTest::newRow("class name too long for a file name") << longName        << "missing"    << "record" << fails(Step::WriteFile,  F::system(ENAMETOOLONG));
    // The file may grow by 10 bytes only: the line is cut short by the system.
    QTest::newRow("append cut short by the system")      << "3A.txt"        << "full"       << "game"   << fails(Step::WriteFile,  F::system(EFBIG));
    QTest::newRow("log ends in the middle of a line")    << "3A.txt"        << "unfinished" << "game"   << std::optional<Failure>();
    QTest::newRow("holder file of a megabyte")           << "velmora1.txt"  << "huge"       << "load"   << std::optional<Failure>();
    // clang-format on
}

void TestHostileFiles::hostileFileStates()
{
    QFETCH(QString, file);
    QFETCH(QString, state);
    QFETCH(QString, step);
    QFETCH(std::optional<Failure>, failure);
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

    GameSummary summary = annasGame();
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
    const std::optional<Failure> got = step == "load" ? loaded.failure : finished.failure;

    // Nothing outside the folder was written or created.
    QCOMPARE(bytesOf(outside), QByteArray("di un altro\r\n"));
    QCOMPARE(QDir(outsideDir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"altrui.txt"});
    if (failure) {
        failure->path =
            failure->step == Step::LockFolder ? store.directory() : dirOf(dataDir) + file;
        QVERIFY(got);
        QCOMPARE(*got, *failure);
        // Refused before anything was written: every file is as it was.
        QCOMPARE(contents(dataDir.path()), before);
        return;
    }
    QVERIFY2(!got, got ? toString(*got) : "");
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

void TestHostileFiles::writersRefuseControlCharacters()
{
    QTemporaryDir dir;
    const RecordStore store(dirOf(dir));
    QVERIFY(writeBytes(store.recordScorePath(), "12\r\n"));
    QVERIFY(writeBytes(store.recordHolderPath(), "Anna\r\n"));
    const QMap<QString, QByteArray> before = contents(dir.path());
    GameSummary summary = annasGame();
    summary.name = "Eve\r\nNome:  Mallory";
    summary.correct = "13";
    const auto refused = [](const QString &path) {
        return Failure{Step::RefuseLine, path, {}, {}};
    };
    QCOMPARE(store.finishGame({summary, "3A", 13}).failure.value(),
             refused(store.classLogPath("3A")));
    QCOMPARE(store.rewriteRecordFile(store.recordHolderPath(), "Eve\tX").value(),
             refused(store.recordHolderPath()));
    QCOMPARE(store.appendLine(store.classLogPath("3A"), "a\u0085b").value(),
             refused(store.classLogPath("3A")));
    QCOMPARE(contents(dir.path()), before);
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
