// The register's files without a window: the class logs of a directory, a log followed
// while it grows, the session that ties them to the models and never writes, and the
// fields of the CSV it exports.

#include "DataColumns.h"
#include "GameLines.h"
#include "records/ClassLogWriter.h"
#include "registro/ClassLogFiles.h"
#include "registro/ClassLogSource.h"
#include "registro/CsvExport.h"
#include "registro/GameFilterProxy.h"
#include "registro/GameTableModel.h"
#include "registro/PupilSummary.h"
#include "registro/RegisterSession.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace registro;
using records::LogForm;

namespace {

void writeFile(const QString &path, const QByteArray &bytes,
               QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    QVERIFY(file.open(mode));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Names, sizes and times of everything in a directory.
QStringList snapshot(const QString &path)
{
    QStringList out;
    const QFileInfoList infos = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos)
        out << QStringLiteral("%1 %2 %3")
                   .arg(info.fileName())
                   .arg(info.size())
                   .arg(info.lastModified().toMSecsSinceEpoch());
    return out;
}

} // namespace

class TestRegisterSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsClassLogs();
    void sourceFollowsAppends();
    void sourceRereadsWhatChanged_data();
    void sourceRereadsWhatChanged();
    void sessionFollowsDirectory();
    void sessionNeverWrites();
    void csvDelimiter_data();
    void csvDelimiter();
    void csvField_data();
    void csvField();
};

void TestRegisterSession::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestRegisterSession::listsClassLogs()
{
    QTemporaryDir dir;
    for (const char *name : {"3A.txt", "3B.TXT", "velmora.txt", "VELMORA1.TXT", ".txt",
                             "Label2.txt", "note.csv", "velmora.txt.txt"})
        writeFile(dir.filePath(name), "x\r\n");
    QVERIFY(QDir(dir.path()).mkdir("cartella.txt"));
    const QDateTime now = QDateTime::currentDateTime();
    for (const char *name : {"3A.txt", "3B.TXT", ".txt", "Label2.txt", "velmora.txt.txt"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(now.addSecs(name == QByteArrayLiteral("3B.TXT") ? 0 : -3600),
                                 QFileDevice::FileModificationTime));
    }

    const QList<ClassLogFile> files = listClassLogs(dir.path());
    QStringList names;
    for (const ClassLogFile &f : files)
        names << f.displayName();
    QCOMPARE(names, QStringList({"(classe senza nome)", "3A", "3B", "Label2", "velmora.txt"}));
    QCOMPARE(files.at(mostRecent(files)).fileName, "3B.TXT");
    QCOMPARE(listClassLogs(dir.filePath("manca")).size(), 0);
    QCOMPARE(mostRecent({}), -1);
}

void TestRegisterSession::sourceFollowsAppends()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("3A.txt");
    writeFile(path, gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "03/03/25"));

    ClassLogSource source;
    ClassLogSource::Update update = source.open(path);
    QCOMPARE(update.kind, ClassLogSource::Update::Reloaded);
    QCOMPARE(update.entries.size(), 2);
    QCOMPARE(source.refresh().kind, ClassLogSource::Update::Unchanged);

    // A game ends: one line more.
    writeFile(path, gameLine("Sara", 9, 0, "04/03/25", LogForm::NewRecord), QIODevice::Append);
    update = source.refresh();
    QCOMPARE(update.kind, ClassLogSource::Update::Appended);
    QCOMPARE(update.keepEntries, 2);
    QCOMPARE(update.entries.size(), 1);
    QCOMPARE(update.entries.at(0).lineNumber, 3);
    QVERIFY(update.entries.at(0).setRecord());

    // The next line arrives in two writes: first half, then the rest.
    const QByteArray next = gameLine("Piero", 4, 4, "04/03/25");
    writeFile(path, next.first(20), QIODevice::Append);
    update = source.refresh();
    QCOMPARE(update.kind, ClassLogSource::Update::Appended);
    QCOMPARE(update.keepEntries, 3);
    QCOMPARE(update.entries.size(), 0);
    QCOMPARE(update.warnings.size(), 1);
    QCOMPARE(update.warnings.at(0).lineNumber, 4);

    writeFile(path, next.sliced(20), QIODevice::Append);
    update = source.refresh();
    QCOMPARE(update.kind, ClassLogSource::Update::Appended);
    QCOMPARE(update.keepEntries, 3);
    QCOMPARE(update.keepWarnings, 0); // the warning about the half line is gone
    QCOMPARE(update.keepWarningCount, 0);
    QCOMPARE(update.warnings.size(), 0);
    QCOMPARE(update.entries.size(), 1);
    QCOMPARE(update.entries.at(0).name, "Piero");
    QCOMPARE(update.entries.at(0).lineNumber, 4);
}

void TestRegisterSession::sourceRereadsWhatChanged_data()
{
    // rewritten: empty: the file is removed
    testdata::columns<QByteArray, int, QString, bool>("rewritten", "entries", "firstName", "error");

    const QByteArray three = gameLine("Anna", 7, 2, "03/03/25") +
                             gameLine("Luca", 5, 1, "03/03/25") +
                             gameLine("Sara", 2, 1, "03/03/25");
    // clang-format off
    QTest::newRow("cut to fewer lines")     << three.first(three.indexOf('\n') + 1) << 1 << "Anna" << false;
    QTest::newRow("same size, other names") << QByteArray(three).replace("Anna", "Ugo!").replace("Luca", "Ivo!") << 3 << "Ugo!" << false;
    QTest::newRow("edited and grown")       << QByteArray(three).replace("Anna", "Annamaria") + gameLine("Bea", 1, 1, "04/03/25") << 4 << "Annamaria" << false;
    QTest::newRow("removed")                << QByteArray() << 0 << ""          << true;
    // clang-format on
}

void TestRegisterSession::sourceRereadsWhatChanged()
{
    QFETCH(QByteArray, rewritten);
    QFETCH(int, entries);
    QFETCH(QString, firstName);
    QFETCH(bool, error);

    QTemporaryDir dir;
    const QString path = dir.filePath("3A.txt");
    writeFile(path, gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "03/03/25") +
                        gameLine("Sara", 2, 1, "03/03/25"));
    ClassLogSource source;
    QCOMPARE(source.open(path).entries.size(), 3);

    if (rewritten.isEmpty()) {
        QVERIFY(QFile::remove(path));
    } else {
        writeFile(path, rewritten);
        // Make sure the change shows in the time even on coarse file systems.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
    }
    const ClassLogSource::Update update = source.refresh();
    QCOMPARE(update.kind, ClassLogSource::Update::Reloaded);
    QCOMPARE(update.entries.size(), entries);
    QCOMPARE(update.failure.has_value(), error);
    if (!error) QCOMPARE(update.entries.at(0).name, firstName);
    QCOMPARE(source.refresh().kind, ClassLogSource::Update::Unchanged);
}

void TestRegisterSession::sessionFollowsDirectory()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("3A.txt"),
              gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "04/03/25"));
    writeFile(dir.filePath("3B.txt"), gameLine("Sara", 9, 1, "05/03/25"));
    writeFile(dir.filePath("velmora.txt"), "9\r\n");
    {
        QFile older(dir.filePath("3A.txt"));
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                  QFileDevice::FileModificationTime));
    }

    RegisterSession session;
    // The three models keep their contract through every change below.
    const QAbstractItemModelTester gamesCheck(
        session.games(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QAbstractItemModelTester shownCheck(
        session.shownGames(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QAbstractItemModelTester pupilsCheck(
        session.pupils(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    session.setPollInterval(0); // only the change notices
    session.setDataDirectory(dir.path());
    QCOMPARE(session.classes().size(), 2);
    QCOMPARE(session.currentClass()->className, "3B"); // played most recently
    QCOMPARE(session.games()->rowCount(), 1);

    QVERIFY(session.selectClassNamed("3a"));
    QCOMPARE(session.games()->rowCount(), 2);
    QCOMPARE(session.pupils()->rowCount(), 2);
    session.setNameFilter("luc");
    QCOMPARE(session.shownGames()->rowCount(), 1);
    QCOMPARE(session.pupils()->rowCount(), 1);
    QCOMPARE(session.gamesOf("luca").size(), 1);
    QCOMPARE(session.gamesOf("anna").size(), 0);
    session.setNameFilter("");

    // A game ends in 3A while the register is open.
    QSignalSpy changed(&session, &RegisterSession::gamesChanged);
    writeFile(dir.filePath("3A.txt"), gameLine("Luca", 8, 0, "06/03/25", LogForm::NewRecord),
              QIODevice::Append);
    QTRY_COMPARE(session.games()->rowCount(), 3);
    QVERIFY(changed.count() >= 1);
    QCOMPARE(session.shownSummaries().at(1).bestScore, 8);

    // A new class plays its first game.
    QSignalSpy classes(&session, &RegisterSession::classesChanged);
    writeFile(dir.filePath("4C.txt"), gameLine("Ugo", 1, 1, "06/03/25"));
    QTRY_COMPARE(session.classes().size(), 3);
    QVERIFY(classes.count() >= 1);
    QCOMPARE(session.currentClass()->className, "3A");

    // The open log disappears: the session moves to another class.
    QVERIFY(QFile::remove(dir.filePath("3A.txt")));
    QTRY_COMPARE(session.classes().size(), 2);
    QVERIFY(session.currentClass());
    QVERIFY(session.currentClass()->className != "3A");
}

void TestRegisterSession::sessionNeverWrites()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("3A.txt"), gameLine("Anna", 7, 2, "03/03/25") + "rumore\r\n");
    const QStringList before = snapshot(dir.path());
    {
        RegisterSession session;
        session.setDataDirectory(dir.path());
        session.refresh();
        session.setDateRange(QDate(2025, 1, 1), QDate(2025, 12, 31));
        QCOMPARE(session.warningCount(), 1);
        QCOMPARE(session.warnings().at(0).lineNumber, 2);
    }
    QCOMPARE(snapshot(dir.path()), before);

    // A missing directory is reported, not created.
    RegisterSession session;
    session.setDataDirectory(dir.filePath("non-ancora"));
    QCOMPARE(session.directoryProblem(), texts::FolderProblem::Missing);
    QVERIFY(!QFileInfo::exists(dir.filePath("non-ancora")));
    QCOMPARE(session.classes().size(), 0);
    QVERIFY(!session.currentClass());

    // The school's share not mounted: the teacher is told where the folder comes from, and
    // only while that folder is the one shown.
    const QString share = dir.filePath("condivisa");
    session.setDataDirectory(share, "/etc/solfira.conf");
    QCOMPARE(session.directoryProblemText(),
             QString("La cartella %1 non esiste. È la cartella indicata dalle impostazioni della "
                     "scuola (/etc/solfira.conf).")
                 .arg(QDir::toNativeSeparators(share)));
    session.setDataDirectory(dir.filePath("non-ancora"));
    QVERIFY(!session.directoryProblemText().contains("scuola"));
}

void TestRegisterSession::csvDelimiter_data()
{
    testdata::columns<QString, QChar>("locale", "delimiter");
    // clang-format off
    QTest::newRow("Italian")       << "it_IT" << QChar(';');
    QTest::newRow("German")        << "de_DE" << QChar(';');
    QTest::newRow("Swiss Italian") << "it_CH" << QChar(',');
    QTest::newRow("British")       << "en_GB" << QChar(',');
    QTest::newRow("C")             << "C"     << QChar(',');
    // clang-format on
}

void TestRegisterSession::csvDelimiter()
{
    QFETCH(QString, locale);
    QFETCH(QChar, delimiter);
    QCOMPARE(csvDelimiterFor(QLocale(locale)), delimiter);
}

void TestRegisterSession::csvField_data()
{
    testdata::columns<QString, QString, QString>("text", "semicolon", "comma");
    // clang-format off
    QTest::newRow("plain")             << "Anna"              << "Anna"                      << "Anna";
    QTest::newRow("empty")             << ""                  << ""                          << "";
    QTest::newRow("comma")             << "Rossi, Anna"       << "Rossi, Anna"               << "\"Rossi, Anna\"";
    QTest::newRow("semicolon")         << "a;b"               << "\"a;b\""                   << "a;b";
    QTest::newRow("quote")             << "Anna \"la rossa\"" << "\"Anna \"\"la rossa\"\"\"" << "\"Anna \"\"la rossa\"\"\"";
    QTest::newRow("line break")        << "a\r\nb"            << "\"a\r\nb\""                << "\"a\r\nb\"";
    QTest::newRow("outer blanks kept") << " Anna "            << "\" Anna \""                << "\" Anna \"";
    // clang-format on
}

void TestRegisterSession::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, semicolon);
    QFETCH(QString, comma);
    QCOMPARE(registro::csvField(text, ';'), semicolon);
    QCOMPARE(registro::csvField(text, ','), comma);
}

QTEST_GUILESS_MAIN(TestRegisterSession)
#include "tst_registrosession.moc"
