// Taking turns on a shared data folder when the PCs' clocks disagree: another PC's lock is
// judged by what this PC sees of it over time, never by its clock against the file's time.
// CTest runs this program with this PC's clock as it is, 10 minutes ahead, 10 minutes behind
// and in 1970 (libfaketime; file times stay the folder's own).
#include "DataColumns.h"
#include "TestFiles.h"
#include "records/FolderLock.h"
#include "records/RecordStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <QThread>

#include <csignal>
#include <memory>

using namespace std::chrono_literals;
using records::Failure;
using records::FolderLock;
using records::LockWatch;

namespace {

// A lock file as QLockFile writes it: PID, program, host name, machine id, boot id.
QByteArray lockOf(qint64 pid, const QByteArray &host, const QByteArray &machine,
                  const QByteArray &boot)
{
    return QByteArray::number(pid) + "\nsolfira\n" + host + "\n" + machine + "\n" + boot + "\n";
}

const QByteArray OtherPc = lockOf(4242, "pc07", "0123456789abcdef0123456789abcdef",
                                  "11111111-2222-3333-4444-555555555555");

// Moves a file's time by `seconds` from the time the folder gave it.
void shiftFileTime(const QString &path, qint64 seconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime written = QFileInfo(path).lastModified();
    QVERIFY(file.setFileTime(written.addSecs(seconds), QFileDevice::FileModificationTime));
}

} // namespace

class TestFolderLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void otherPcsLock_data();
    void otherPcsLock();
    void holderKilledMidFinish();

private:
    qint64 m_skew = 0;
};

// The clock must really be off as CTest set it: a run whose skew did not take proves nothing.
void TestFolderLock::initTestCase()
{
    m_skew = qEnvironmentVariableIntValue("EXPECTED_CLOCK_SKEW_MINUTES") * 60;
    QTemporaryDir dir;
    const QString probe = dir.filePath("probe");
    QVERIFY(writeBytes(probe, "x"));
    const qint64 skew = QFileInfo(probe).lastModified().secsTo(QDateTime::currentDateTime());
    if (qEnvironmentVariableIsSet("EXPECTED_CLOCK_YEAR"))
        QCOMPARE(QDate::currentDate().year(), qEnvironmentVariableIntValue("EXPECTED_CLOCK_YEAR"));
    else
        QVERIFY2(qAbs(skew - m_skew) < 30, qPrintable(QString("clock off by %1 s").arg(skew)));
}

void TestFolderLock::otherPcsLock_data()
{
    // fileAge: the lock's time against the folder's clock now, in seconds. tries: lock() calls
    // 300 ms apart, each waiting 200 ms, with a watch that calls a lock abandoned after 1.5 s.
    // renewed: the other PC makes a new lock file between tries.
    testdata::columns<qint64, int, bool, bool>("fileAge", "tries", "renewed", "taken");
    // clang-format off
    QTest::newRow("written a second ago")                  << qint64(1)    << 1 << false << false;
    QTest::newRow("written an hour ago, first seen now")   << qint64(3600) << 1 << false << false;
    QTest::newRow("dated an hour ahead of the folder")     << qint64(-3600) << 1 << false << false;
    QTest::newRow("written 56 years ago")                  << qint64(56) * 365 * 86400 << 1 << false << false;
    QTest::newRow("seen unchanged past the bound")         << qint64(1)    << 7 << false << true;
    QTest::newRow("renewed while watched, same contents")  << qint64(1)    << 7 << true  << false;
    // clang-format on
}

void TestFolderLock::otherPcsLock()
{
    QFETCH(qint64, fileAge);
    QFETCH(int, tries);
    QFETCH(bool, renewed);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    const QString lockPath = dirOf(dir) + records::LockFileName;
    QVERIFY(writeBytes(lockPath, OtherPc));
    shiftFileTime(lockPath, -fileAge);

    LockWatch watch(1500ms);
    std::unique_ptr<FolderLock> lock;
    std::optional<Failure> failure;
    for (int t = 0; t < tries; ++t) {
        if (t > 0) QThread::msleep(300);
        if (renewed && t > 0) {
            // Released and taken again by the same PC: a new file under the name.
            QVERIFY(QFile::remove(lockPath));
            QVERIFY(writeBytes(lockPath, OtherPc));
        }
        lock = std::make_unique<FolderLock>(dirOf(dir), watch);
        failure = lock->lock(200ms);
        if (!failure) break;
    }
    if (taken) {
        QCOMPARE(failure, std::nullopt);
        QCOMPARE(bytesOf(lockPath).split('\n').value(0).toLongLong(),
                 QCoreApplication::applicationPid());
    } else {
        QVERIFY(failure);
        QCOMPARE(failure->step, Failure::Step::FolderBusy);
        QCOMPARE(bytesOf(lockPath), OtherPc);
    }
    // Nothing left beside the lock: no file moved aside stays in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A copy of this PC killed while it ends a game (holding the lock, before its line): the next
// game's end takes the lock at once and writes its line.
void TestFolderLock::holderKilledMidFinish()
{
    QTemporaryDir dir;
    QProcess holder;
    holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    holder.start(QCoreApplication::applicationFilePath(), {"--hold-lock", dirOf(dir)});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
    ::kill(pid_t(holder.processId()), SIGKILL);
    QVERIFY(holder.waitForFinished(10000));
    QVERIFY(QFile::exists(dirOf(dir) + records::LockFileName));

    const records::GameSummary summary{"Anna", "Risposte esatte", "7",        "Risposte errate",
                                       "1",    "Tempo restante",  "00:14:00", "15/04/2007"};
    LockWatch watch(1h);
    QElapsedTimer took;
    took.start();
    const records::FinishOutcome outcome =
        records::RecordStore(dirOf(dir)).finishGame({summary, "3A", 7}, watch);
    QCOMPARE(outcome.failure, std::nullopt);
    QVERIFY2(took.elapsed() < 5000, "the dead copy's lock was not taken at once");
    QVERIFY(bytesOf(dirOf(dir) + "3A.txt").startsWith(outcome.line.toLatin1()));
}

// The copy to be killed: takes the lock as a game's end does, says so, and waits.
static int holdLock(const QString &directory)
{
    LockWatch watch;
    FolderLock lock(directory, watch);
    if (lock.lock(1s)) return 1;
    fputs("held\n", stdout);
    fflush(stdout);
    QThread::sleep(60);
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--hold-lock") return holdLock(QString(argv[2]));
    TestFolderLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_folderlock.moc"
