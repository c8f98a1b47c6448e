// The register without a window: the class logs of a directory, a log followed while
// it grows, the table and summary models, the filter, the CSV export and the session
// that ties them together and never writes.

#include "records/ClassLog.h"
#include "registro/ClassLogFiles.h"
#include "registro/ClassLogSource.h"
#include "registro/CsvExport.h"
#include "registro/GameFilterProxy.h"
#include "GameLines.h"
#include "registro/GameTableModel.h"
#include "registro/PupilSummary.h"
#include "registro/RegisterReport.h"
#include "registro/RegisterSession.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QtTest>

using namespace registro;
using records::ClassLogEntry;
using records::LogForm;

namespace {

QByteArray gameLine(const QString &name, int correct, int wrong, const QString &date,
                    LogForm form = LogForm::RecordStands, const QString &left = "00:03:12")
{
    return records::encodeLine(records::classLogLine(gameSummary(name, correct, wrong, left, date), form));
}

ClassLogEntry entry(qint64 line, const QString &name, int correct, int wrong, QDate date,
                    int secondsLeft = 192, LogForm form = LogForm::RecordStands)
{
    ClassLogEntry e;
    e.lineNumber = line;
    e.name = name;
    e.correct = correct;
    e.wrong = wrong;
    e.date = date;
    e.dateText = date.toString("dd/MM/yy");
    e.secondsLeft = secondsLeft;
    e.form = form;
    return e;
}

void writeFile(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    QVERIFY(file.open(mode));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Names, sizes and times of everything in a directory.
QStringList snapshot(const QString &path)
{
    QStringList out;
    const QFileInfoList infos =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos)
        out << QStringLiteral("%1 %2 %3").arg(info.fileName()).arg(info.size())
                   .arg(info.lastModified().toMSecsSinceEpoch());
    return out;
}

QList<qint64> shownLines(const GameFilterProxy &proxy)
{
    QList<qint64> lines;
    for (int r = 0; r < proxy.rowCount(); ++r)
        lines << proxy.entryAt(r).lineNumber;
    return lines;
}

// Eight games: lines 1 to 8.
QList<ClassLogEntry> sampleGames()
{
    return {
        entry(1, "Luca", 7, 2, QDate(2025, 3, 3)),
        entry(2, "Anna", 12, 0, QDate(2025, 3, 5), 30, LogForm::NewRecord),
        entry(3, "giovanna", 3, 9, QDate(2025, 3, 5)),
        entry(4, "Zeno", 0, 0, QDate(), 900),
        entry(5, "anna ", 7, 7, QDate(2025, 3, 10), -1),
        entry(6, "", 1, 1, QDate(2025, 3, 12)),
        entry(7, "Ánnibale", 7, 1, QDate(2025, 3, 1), 0),
        entry(8, "Luca", 9, 3, QDate(2025, 3, 12)),
    };
}

} // namespace

class TestRegisterModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsClassLogs();
    void sourceFollowsAppends();
    void sourceRereadsWhatChanged_data();
    void sourceRereadsWhatChanged();
    void cellTexts_data();
    void cellTexts();
    void sorting_data();
    void sorting();
    void filter_data();
    void filter();
    void summary();
    void csvDelimiter_data();
    void csvDelimiter();
    void csvField_data();
    void csvField();
    void csvBytes();
    void reportEscapesNames();
    void sessionFollowsDirectory();
    void sessionNeverWrites();
};

void TestRegisterModel::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestRegisterModel::listsClassLogs()
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

void TestRegisterModel::sourceFollowsAppends()
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

void TestRegisterModel::sourceRereadsWhatChanged_data()
{
    QTest::addColumn<QByteArray>("rewritten"); // empty: the file is removed
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<bool>("error");

    const QByteArray three = gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "03/03/25")
                             + gameLine("Sara", 2, 1, "03/03/25");
    QTest::newRow("cut to fewer lines")
        << three.first(three.indexOf('\n') + 1) << 1 << "Anna" << false;
    QTest::newRow("same size, other names")
        << QByteArray(three).replace("Anna", "Ugo!").replace("Luca", "Ivo!") << 3 << "Ugo!" << false;
    QTest::newRow("edited and grown")
        << QByteArray(three).replace("Anna", "Annamaria") + gameLine("Bea", 1, 1, "04/03/25") << 4
        << "Annamaria" << false;
    QTest::newRow("removed") << QByteArray() << 0 << "" << true;
}

void TestRegisterModel::sourceRereadsWhatChanged()
{
    QFETCH(QByteArray, rewritten);
    QFETCH(int, entries);
    QFETCH(QString, firstName);
    QFETCH(bool, error);

    QTemporaryDir dir;
    const QString path = dir.filePath("3A.txt");
    writeFile(path, gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "03/03/25")
                        + gameLine("Sara", 2, 1, "03/03/25"));
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
    QCOMPARE(!update.error.isEmpty(), error);
    if (!error)
        QCOMPARE(update.entries.at(0).name, firstName);
    QCOMPARE(source.refresh().kind, ClassLogSource::Update::Unchanged);
}

void TestRegisterModel::cellTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("plain game") << "it_IT" << 0
        << QStringList{"Luca", "7", "2", "9", "77,8%", "11:48", "03/03/2025", "no"};
    QTest::newRow("record, little time left") << "it_IT" << 1
        << QStringList{"Anna", "12", "0", "12", "100,0%", "14:30", "05/03/2025", "sì"};
    QTest::newRow("no answers, date unreadable") << "it_IT" << 3
        << QStringList{"Zeno", "0", "0", "0", "", "00:00", "", "no"};
    QTest::newRow("time left unknown") << "it_IT" << 4
        << QStringList{"anna ", "7", "7", "14", "50,0%", "", "10/03/2025", "no"};
    QTest::newRow("no name") << "it_IT" << 5
        << QStringList{"(senza nome)", "1", "1", "2", "50,0%", "11:48", "12/03/2025", "no"};
    QTest::newRow("whole game") << "it_IT" << 6
        << QStringList{"Ánnibale", "7", "1", "8", "87,5%", "15:00", "01/03/2025", "no"};
    QTest::newRow("American locale") << "en_US" << 0
        << QStringList{"Luca", "7", "2", "9", "77.8%", "11:48", "3/3/2025", "no"};
}

void TestRegisterModel::cellTexts()
{
    QFETCH(QString, locale);
    QFETCH(int, row);
    QFETCH(QStringList, texts);

    GameTableModel model;
    model.setLocale(QLocale(locale));
    QList<ClassLogEntry> games = sampleGames();
    games[3].dateText.clear();
    model.setEntries(games);
    QCOMPARE(model.columnCount(), GameTableModel::ColumnCount);
    QStringList shown;
    for (int c = 0; c < model.columnCount(); ++c)
        shown << model.index(row, c).data().toString();
    QCOMPARE(shown, texts);
}

void TestRegisterModel::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QList<qint64>>("lines");

    const auto up = Qt::AscendingOrder;
    const auto down = Qt::DescendingOrder;
    // Ties keep the order of the file either way.
    QTest::newRow("file order") << -1 << up << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("name, case and accents as a reader expects")
        << int(GameTableModel::Name) << up << QList<qint64>{6, 2, 5, 7, 3, 1, 8, 4};
    QTest::newRow("correct, ascending") << int(GameTableModel::Correct) << up << QList<qint64>{4, 6, 3, 1, 5, 7, 8, 2};
    QTest::newRow("correct, descending") << int(GameTableModel::Correct) << down << QList<qint64>{2, 8, 1, 5, 7, 3, 6, 4};
    QTest::newRow("total") << int(GameTableModel::Total) << down << QList<qint64>{5, 2, 3, 8, 1, 7, 6, 4};
    QTest::newRow("accuracy, none last") << int(GameTableModel::Accuracy) << down << QList<qint64>{2, 7, 1, 8, 5, 6, 3, 4};
    QTest::newRow("time used") << int(GameTableModel::TimeUsed) << up << QList<qint64>{5, 4, 1, 3, 6, 8, 2, 7};
    QTest::newRow("date, unreadable first") << int(GameTableModel::Date) << up << QList<qint64>{4, 7, 1, 2, 3, 5, 6, 8};
    QTest::newRow("record first") << int(GameTableModel::Record) << down << QList<qint64>{2, 1, 3, 4, 5, 6, 7, 8};
}

void TestRegisterModel::sorting()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<qint64>, lines);

    GameTableModel model;
    model.setEntries(sampleGames());
    GameFilterProxy proxy;
    proxy.setGameModel(&model);
    proxy.sort(column, order);
    QCOMPARE(shownLines(proxy), lines);

    // A game that arrives later takes its place in the sorted view.
    model.replaceTail(8, {entry(9, "Bruno", 8, 8, QDate(2025, 3, 4), 100)});
    QCOMPARE(proxy.rowCount(), 9);
    QVERIFY(shownLines(proxy).contains(9));
    if (column == GameTableModel::Correct && order == Qt::AscendingOrder)
        QCOMPARE(shownLines(proxy).indexOf(9), 6);
}

void TestRegisterModel::filter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QList<qint64>>("lines");

    QTest::newRow("nothing") << "" << QDate() << QDate() << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("part of a name, any case") << "ANN" << QDate() << QDate() << QList<qint64>{2, 3, 5};
    QTest::newRow("blanks folded") << "  luca " << QDate() << QDate() << QList<qint64>{1, 8};
    QTest::newRow("no match") << "Zoe" << QDate() << QDate() << QList<qint64>{};
    QTest::newRow("from, inclusive") << "" << QDate(2025, 3, 5) << QDate() << QList<qint64>{2, 3, 5, 6, 8};
    QTest::newRow("to, inclusive") << "" << QDate() << QDate(2025, 3, 5) << QList<qint64>{1, 2, 3, 7};
    QTest::newRow("one day") << "" << QDate(2025, 3, 12) << QDate(2025, 3, 12) << QList<qint64>{6, 8};
    QTest::newRow("name and range") << "luca" << QDate(2025, 3, 4) << QDate(2025, 3, 31) << QList<qint64>{8};
    QTest::newRow("range backwards") << "" << QDate(2025, 3, 12) << QDate(2025, 3, 1) << QList<qint64>{};
}

void TestRegisterModel::filter()
{
    QFETCH(QString, name);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QList<qint64>, lines);

    GameTableModel model;
    model.setEntries(sampleGames());
    GameFilterProxy proxy;
    proxy.setGameModel(&model);
    proxy.setNameFilter(name);
    proxy.setDateRange(from, to);
    QCOMPARE(shownLines(proxy), lines);
    QCOMPARE(proxy.isFiltering(), !name.trimmed().isEmpty() || from.isValid() || to.isValid());
}

void TestRegisterModel::summary()
{
    PupilSummaryBuilder builder;
    const QList<ClassLogEntry> games = sampleGames();
    // In any order: the name shown is the one of the latest game.
    for (qsizetype i = games.size() - 1; i >= 0; --i)
        builder.add(games[i]);
    QList<PupilSummary> pupils = builder.result();
    QCOMPARE(pupils.size(), 6);

    auto find = [&](const QString &key) {
        for (const PupilSummary &p : pupils)
            if (p.key == key)
                return p;
        return PupilSummary();
    };
    const PupilSummary anna = find("anna");
    QCOMPARE(anna.name, "anna ");
    QCOMPARE(anna.games, 2);
    QCOMPARE(anna.bestScore, 12);
    QCOMPARE(anna.records, 1);
    QCOMPARE(anna.meanAccuracy(), 75.0); // 100% and 50%
    QCOMPARE(anna.lastDate, QDate(2025, 3, 10));

    const PupilSummary zeno = find("zeno");
    QCOMPARE(zeno.games, 1);
    QCOMPARE(zeno.meanAccuracy(), -1.0); // no answers at all
    QVERIFY(!zeno.lastDate.isValid());
    QCOMPARE(find("luca").bestScore, 9);
    QCOMPARE(find("luca").lastDate, QDate(2025, 3, 12));

    PupilSummaryModel model;
    model.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    model.setSummaries(pupils);
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(PupilSummaryModel::ValueRole);
    sorted.sort(PupilSummaryModel::BestScore, Qt::DescendingOrder);
    QStringList first;
    for (int c = 0; c < PupilSummaryModel::ColumnCount; ++c)
        first << sorted.index(0, c).data().toString();
    QCOMPARE(first, QStringList({"anna ", "2", "12", "75,0%", "10/03/2025"}));
}

void TestRegisterModel::csvDelimiter_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QChar>("delimiter");
    QTest::newRow("Italian") << "it_IT" << QChar(';');
    QTest::newRow("German") << "de_DE" << QChar(';');
    QTest::newRow("Swiss Italian") << "it_CH" << QChar(',');
    QTest::newRow("British") << "en_GB" << QChar(',');
    QTest::newRow("C") << "C" << QChar(',');
}

void TestRegisterModel::csvDelimiter()
{
    QFETCH(QString, locale);
    QFETCH(QChar, delimiter);
    QCOMPARE(csvDelimiterFor(QLocale(locale)), delimiter);
}

void TestRegisterModel::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("semicolon");
    QTest::addColumn<QString>("comma");
    QTest::newRow("plain") << "Anna" << "Anna" << "Anna";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("comma") << "Rossi, Anna" << "Rossi, Anna" << "\"Rossi, Anna\"";
    QTest::newRow("semicolon") << "a;b" << "\"a;b\"" << "a;b";
    QTest::newRow("quote") << "Anna \"la rossa\"" << "\"Anna \"\"la rossa\"\"\"" << "\"Anna \"\"la rossa\"\"\"";
    QTest::newRow("line break") << "a\r\nb" << "\"a\r\nb\"" << "\"a\r\nb\"";
    QTest::newRow("outer blanks kept") << " Anna " << "\" Anna \"" << "\" Anna \"";
}

void TestRegisterModel::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, semicolon);
    QFETCH(QString, comma);
    QCOMPARE(registro::csvField(text, ';'), semicolon);
    QCOMPARE(registro::csvField(text, ','), comma);
}

void TestRegisterModel::csvBytes()
{
    GameTableModel model;
    model.setEntries({
        entry(1, "Rossi; Anna", 7, 2, QDate(2025, 3, 3)),
        entry(2, "=1+1", 1234, 0, QDate(2025, 3, 4), 0, LogForm::NewRecord),
        entry(3, "Nicolò \"Nico\"", 0, 0, QDate(), 900),
    });
    GameFilterProxy proxy;
    proxy.setGameModel(&model);
    proxy.sort(GameTableModel::Correct, Qt::DescendingOrder);

    const QByteArray italian = gamesCsv(proxy, QLocale(QLocale::Italian, QLocale::Italy));
    QCOMPARE(italian,
             QByteArray("\xEF\xBB\xBF"
                        "Nome;Esatte;Errate;Totale;Precisione (%);Tempo impiegato;Data;Record\r\n"
                        "'=1+1;1234;0;1234;100,0;0:15:00;2025-03-04;s\xC3\xAC\r\n"
                        "\"Rossi; Anna\";7;2;9;77,8;0:11:48;2025-03-03;no\r\n"
                        "\"Nicol\xC3\xB2 \"\"Nico\"\"\";0;0;0;;0:00:00;;no\r\n"));
    const QByteArray english = gamesCsv(proxy, QLocale(QLocale::English, QLocale::UnitedKingdom));
    QVERIFY(english.contains("\r\nRossi; Anna,7,2,9,77.8,0:11:48,2025-03-03,no\r\n"));
    QVERIFY(english.contains("'=1+1,1234,0,1234,100.0,0:15:00,2025-03-04,s\xC3\xAC\r\n"));
}

void TestRegisterModel::reportEscapesNames()
{
    GameTableModel model;
    model.setEntries({entry(1, "<b>Anna</b> & co", 7, 2, QDate(2025, 3, 3))});
    const QString html = tableHtml(model, 10);
    QVERIFY(html.contains("&lt;b&gt;Anna&lt;/b&gt; &amp; co"));
    QVERIFY(!html.contains("<b>Anna"));
    QCOMPARE(html.count("<tr>"), 2);
    QCOMPARE(tableHtml(model, 0).count("<tr>"), 1);
}

void TestRegisterModel::sessionFollowsDirectory()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("3A.txt"), gameLine("Anna", 7, 2, "03/03/25") + gameLine("Luca", 5, 1, "04/03/25"));
    writeFile(dir.filePath("3B.txt"), gameLine("Sara", 9, 1, "05/03/25"));
    writeFile(dir.filePath("velmora.txt"), "9\r\n");
    {
        QFile older(dir.filePath("3A.txt"));
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                  QFileDevice::FileModificationTime));
    }

    RegisterSession session;
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

void TestRegisterModel::sessionNeverWrites()
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
    QVERIFY(!session.directoryProblem().isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath("non-ancora")));
    QCOMPARE(session.classes().size(), 0);
    QVERIFY(!session.currentClass());
}

QTEST_GUILESS_MAIN(TestRegisterModel)
#include "tst_registromodel.moc"
