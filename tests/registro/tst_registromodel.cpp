// The register's models and texts without a window: the table and summary models, the
// filter, the CSV export, the status line, the report, the filter's description and the
// words for an export that failed.

#include "DataColumns.h"
#include "registro/CsvExport.h"
#include "registro/ExportFailure.h"
#include "registro/GameFilterProxy.h"
#include "registro/GameTableModel.h"
#include "registro/PupilSummaryBuilder.h"
#include "registro/PupilSummaryModel.h"
#include "registro/RegisterReport.h"
#include "registro/RegisterTexts.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QtTest>

using namespace registro;
using records::ClassLogEntry;
using records::LogForm;

Q_DECLARE_METATYPE(registro::StatusFacts)
Q_DECLARE_METATYPE(registro::ExportFailure)

namespace {

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
    void cellTexts_data();
    void cellTexts();
    void sorting_data();
    void sorting();
    void filter_data();
    void filter();
    void summary();
    void csvBytes();
    void statusLine_data();
    void statusLine();
    void reportEscapesNames();
    void filterDescription_data();
    void filterDescription();
    void dateSpan_data();
    void dateSpan();
    void exportFailureText_data();
    void exportFailureText();
};

void TestRegisterModel::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void TestRegisterModel::cellTexts_data()
{
    testdata::columns<QString, int, QStringList>("locale", "row", "texts");

    // clang-format off
    QTest::newRow("plain game")                  << "it_IT" << 0 << QStringList{"Luca", "7", "2", "9", "77,8%", "11:48", "03/03/2025", "no"};
    QTest::newRow("record, little time left")    << "it_IT" << 1 << QStringList{"Anna", "12", "0", "12", "100,0%", "14:30", "05/03/2025", "sì"};
    QTest::newRow("no answers, date unreadable") << "it_IT" << 3 << QStringList{"Zeno", "0", "0", "0", "", "00:00", "", "no"};
    QTest::newRow("time left unknown")           << "it_IT" << 4 << QStringList{"anna ", "7", "7", "14", "50,0%", "", "10/03/2025", "no"};
    QTest::newRow("no name")                     << "it_IT" << 5 << QStringList{"(senza nome)", "1", "1", "2", "50,0%", "11:48", "12/03/2025", "no"};
    QTest::newRow("whole game")                  << "it_IT" << 6 << QStringList{"Ánnibale", "7", "1", "8", "87,5%", "15:00", "01/03/2025", "no"};
    QTest::newRow("American locale")             << "en_US" << 0 << QStringList{"Luca", "7", "2", "9", "77.8%", "11:48", "3/3/2025", "no"};
    // clang-format on
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
    testdata::columns<int, Qt::SortOrder, QList<qint64>>("column", "order", "lines");

    const auto up = Qt::AscendingOrder;
    const auto down = Qt::DescendingOrder;
    // Ties keep the order of the file either way.
    // clang-format off
    QTest::newRow("file order")                                 << -1                            << up   << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("name, case and accents as a reader expects") << int(GameTableModel::Name)     << up   << QList<qint64>{6, 2, 5, 7, 3, 1, 8, 4};
    QTest::newRow("correct, ascending")                         << int(GameTableModel::Correct)  << up   << QList<qint64>{4, 6, 3, 1, 5, 7, 8, 2};
    QTest::newRow("correct, descending")                        << int(GameTableModel::Correct)  << down << QList<qint64>{2, 8, 1, 5, 7, 3, 6, 4};
    QTest::newRow("total")                                      << int(GameTableModel::Total)    << down << QList<qint64>{5, 2, 3, 8, 1, 7, 6, 4};
    QTest::newRow("accuracy, none last")                        << int(GameTableModel::Accuracy) << down << QList<qint64>{2, 7, 1, 8, 5, 6, 3, 4};
    QTest::newRow("time used")                                  << int(GameTableModel::TimeUsed) << up   << QList<qint64>{5, 4, 1, 3, 6, 8, 2, 7};
    QTest::newRow("date, unreadable first")                     << int(GameTableModel::Date)     << up   << QList<qint64>{4, 7, 1, 2, 3, 5, 6, 8};
    QTest::newRow("record first")                               << int(GameTableModel::Record)   << down << QList<qint64>{2, 1, 3, 4, 5, 6, 7, 8};
    // clang-format on
}

void TestRegisterModel::sorting()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<qint64>, lines);

    GameTableModel model;
    const QAbstractItemModelTester modelCheck(
        &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setEntries(sampleGames());
    GameFilterProxy proxy;
    proxy.setGameModel(&model);
    const QAbstractItemModelTester proxyCheck(
        &proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
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
    testdata::columns<QString, QDate, QDate, QList<qint64>>("name", "from", "to", "lines");

    // clang-format off
    QTest::newRow("nothing")                  << ""        << QDate()            << QDate()            << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("part of a name, any case") << "ANN"     << QDate()            << QDate()            << QList<qint64>{2, 3, 5};
    QTest::newRow("blanks folded")            << "  luca " << QDate()            << QDate()            << QList<qint64>{1, 8};
    QTest::newRow("no match")                 << "Zoe"     << QDate()            << QDate()            << QList<qint64>{};
    QTest::newRow("from, inclusive")          << ""        << QDate(2025, 3, 5)  << QDate()            << QList<qint64>{2, 3, 5, 6, 8};
    QTest::newRow("to, inclusive")            << ""        << QDate()            << QDate(2025, 3, 5)  << QList<qint64>{1, 2, 3, 7};
    QTest::newRow("one day")                  << ""        << QDate(2025, 3, 12) << QDate(2025, 3, 12) << QList<qint64>{6, 8};
    QTest::newRow("name and range")           << "luca"    << QDate(2025, 3, 4)  << QDate(2025, 3, 31) << QList<qint64>{8};
    QTest::newRow("range backwards")          << ""        << QDate(2025, 3, 12) << QDate(2025, 3, 1)  << QList<qint64>{};
    // clang-format on
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
    const QAbstractItemModelTester proxyCheck(
        &proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
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
            if (p.key == key) return p;
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
    const QAbstractItemModelTester modelCheck(
        &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
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

    // Names as a reader expects them, case and accents aside, like the games' table.
    sorted.sort(PupilSummaryModel::Name, Qt::AscendingOrder);
    QStringList names;
    for (int r = 0; r < sorted.rowCount(); ++r)
        names << sorted.index(r, PupilSummaryModel::Name).data().toString();
    QCOMPARE(names, QStringList({"(senza nome)", "anna ", "Ánnibale", "giovanna", "Luca", "Zeno"}));
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

void TestRegisterModel::statusLine_data()
{
    testdata::columns<StatusFacts, QString>("facts", "text");

    const QDateTime read(QDate(2025, 3, 14), QTime(10, 31, 2));
    // clang-format off
    QTest::newRow("a directory problem says all") << StatusFacts{"La cartella non esiste.", true, 0, 0, 3, read} << "La cartella non esiste.";
    QTest::newRow("no class log yet")             << StatusFacts{{}, true, 0, 0, 0, {}}                          << "Nessun registro di classe in questa cartella: un registro compare quando finisce la prima partita di una classe.";
    QTest::newRow("one game, not read yet")       << StatusFacts{{}, false, 1, 12, 0, {}}                        << "1 partita mostrata su 12";
    QTest::newRow("one warning")                  << StatusFacts{{}, false, 3, 12, 1, read}                      << "3 partite mostrate su 12 · 1 avviso di lettura · letto alle 10:31:02";
    QTest::newRow("warnings beyond those kept")   << StatusFacts{{}, false, 0, 0, 1500, read}                    << "0 partite mostrate su 0 · 1500 avvisi di lettura · letto alle 10:31:02";
    // clang-format on
}

void TestRegisterModel::statusLine()
{
    QFETCH(StatusFacts, facts);
    QFETCH(QString, text);
    QCOMPARE(statusText(facts), text);
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

void TestRegisterModel::filterDescription_data()
{
    const QDate from(2025, 3, 3);
    const QDate to(2025, 3, 14);
    testdata::columns<QString, QString, QDate, QDate, QString>("locale", "name", "from", "to",
                                                               "text");
    // clang-format off
    QTest::newRow("no filter")                  << "it_IT" << ""     << QDate() << QDate() << "Tutte le partite del registro.";
    QTest::newRow("name only")                  << "it_IT" << "an"   << QDate() << QDate() << "Partite con nome che contiene «an».";
    QTest::newRow("from a day on")              << "it_IT" << ""     << from    << QDate() << "Partite con dal 03/03/2025.";
    QTest::newRow("everything, American dates") << "en_US" << "Anna" << from    << to      << "Partite con nome che contiene «Anna», dal 3/3/2025, al 3/14/2025.";
    // clang-format on
}

void TestRegisterModel::filterDescription()
{
    QFETCH(QString, locale);
    QFETCH(QString, name);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, text);
    QCOMPARE(registro::filterDescription(name, from, to, QLocale(locale)), text);
}

void TestRegisterModel::dateSpan_data()
{
    testdata::columns<QList<QDate>, QDate, QDate>("dates", "first", "last");

    const QDate d3(2025, 3, 3), d5(2025, 3, 5), d14(2025, 3, 14);
    // clang-format off
    QTest::newRow("no games")                              << QList<QDate>{}                              << QDate() << QDate();
    QTest::newRow("no date readable")                      << QList<QDate>{QDate(), QDate()}              << QDate() << QDate();
    QTest::newRow("one day")                               << QList<QDate>{d5}                            << d5      << d5;
    QTest::newRow("out of order, unreadable ones skipped") << QList<QDate>{d5, QDate(), d14, d3, QDate()} << d3      << d14;
    // clang-format on
}

void TestRegisterModel::dateSpan()
{
    QFETCH(QList<QDate>, dates);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QList<records::ClassLogEntry> games;
    for (const QDate &date : dates) {
        records::ClassLogEntry e;
        e.date = date;
        games << e;
    }
    const DateSpan span = registro::dateSpan(games);
    QCOMPARE(span.first, first);
    QCOMPARE(span.last, last);
}

void TestRegisterModel::exportFailureText_data()
{
    testdata::columns<ExportFailure, QString>("failure", "sentence");
    using Step = ExportFailure::Step;
    // clang-format off
    QTest::newRow("export into the data folder") << ExportFailure{Step::RefuseExport, "/dati/3A.csv", {}}                  << "Il registro non scrive nella cartella dei dati del gioco: scegli un'altra cartella.";
    QTest::newRow("export not written")          << ExportFailure{Step::WriteExport,  "/casa/3A.csv", "Permission denied"} << "Permission denied";
    QTest::newRow("report not written")          << ExportFailure{Step::WritePdf,     "/casa/3A.pdf", {}}                  << "Impossibile scrivere /casa/3A.pdf.";
    // clang-format on
}

void TestRegisterModel::exportFailureText()
{
    QFETCH(ExportFailure, failure);
    QFETCH(QString, sentence);
    QCOMPARE(registro::exportFailureText(failure), sentence);
}

QTEST_GUILESS_MAIN(TestRegisterModel)
#include "tst_registromodel.moc"
