// What the register's two charts tell: their titles, scales, bars in the order of the
// summary and the points of a pupil's days, and, in the window, what assistive technology
// reads of them as the filter and the order of the summary change.

#include "ChartSamples.h"
#include "DataColumns.h"
#include "GameLines.h"
#include "OpenRegister.h"
#include "registro/RegisterSession.h"
#include "registro/RegisterWindow.h"
#include "registro/charts/ChartView.h"
#include "registro/charts/ScoreCharts.h"

#include <QAccessible>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace registro;
using namespace chartsamples;

class TestRegistroCharts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bestScoreChart_data();
    void bestScoreChart();
    void progressChart_data();
    void progressChart();
    void readByAssistiveTechnology_data();
    void readByAssistiveTechnology();

private:
    QTemporaryDir m_data;
    RegisterSession *m_session = nullptr;
    RegisterWindow *m_window = nullptr;
};

void TestRegistroCharts::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const QList<std::tuple<const char *, int, const char *>> played = {
        {"Anna", 7, "03/03/25"},   {"Luca", 5, "03/03/25"},  {"Sara", 9, "04/03/25"},
        {"Anna", 10, "05/03/25"},  {"Piero", 3, "05/03/25"}, {"Luca", 8, "06/03/25"},
        {"Piero", 11, "11/03/25"},
    };
    QFile log(m_data.filePath("3A.txt"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    for (const auto &[name, correct, date] : played)
        log.write(gameLine(name, correct, 1, date));
    log.close();
    QVERIFY(openRegister(m_data.path(), m_session, m_window));
}

void TestRegistroCharts::cleanupTestCase()
{
    delete m_window;
    delete m_session;
}

void TestRegistroCharts::bestScoreChart_data()
{
    testdata::columns<QList<int>, QString, int, int, int>("best", "title", "bars", "top", "ticks");

    const QString title = "Miglior punteggio di ogni alunno (risposte esatte)";
    // clang-format off
    QTest::newRow("no pupil")                   << QList<int>{}        << "Nessuna partita da mostrare"      << 0  << 5  << 6;
    QTest::newRow("best 3: a tick per answer")  << QList<int>{3, 1}    << title                              << 2  << 5  << 6;
    QTest::newRow("best 9: room for its label") << QList<int>{2, 9, 4} << title                              << 3  << 10 << 11;
    QTest::newRow("best 10: five steps to 15")  << QList<int>{10}      << title                              << 1  << 15 << 6;
    QTest::newRow("best 0: still up to 5")      << QList<int>{0, 0}    << title                              << 2  << 5  << 6;
    QTest::newRow("sixty pupils: all shown")    << scores(60, 12)      << title                              << 60 << 15 << 6;
    QTest::newRow("sixty-one: the first sixty") << scores(61, 12)      << title + " — primi 60 alunni su 61" << 60 << 15 << 6;
    // clang-format on
}

void TestRegistroCharts::bestScoreChart()
{
    QFETCH(QList<int>, best);
    QFETCH(QString, title);
    QFETCH(int, bars);

    const QList<PupilSummary> summaries = pupils(best);
    const ChartData chart = makeBestScoreChart(summaries);
    QCOMPARE(chart.title, title);
    QCOMPARE(chart.bars.size(), bars);
    for (int i = 0; i < bars; ++i) { // top to bottom in the order given
        QCOMPARE(chart.bars[i].label, summaries[i].name);
        QCOMPARE(chart.bars[i].value, summaries[i].bestScore);
    }
    if (bars == 0) return;
    QTEST(chart.values.top, "top");
    QTEST(chart.values.ticks, "ticks");
    QCOMPARE(chart.valueTitle, "Risposte esatte");
    QCOMPARE(chart.color, QColor(0x2e, 0x7d, 0x32));
}

void TestRegistroCharts::progressChart_data()
{
    // points: "day/month hour:minute score"
    // span: first and last tick, and how many ticks
    testdata::columns<QStringList, QString, QStringList, int, QStringList>("played", "title",
                                                                           "points", "top", "span");

    const QString title = "Andamento di Anna: risposte esatte partita dopo partita";
    // clang-format off
    QTest::newRow("no game")                 << QStringList{}                                                << "Nessuna partita con data da mostrare" << QStringList{}                                                   << 0  << QStringList{};
    QTest::newRow("no date could be read")   << QStringList{" 5"}                                            << "Nessuna partita con data da mostrare" << QStringList{}                                                   << 0  << QStringList{};
    QTest::newRow("one game: mid-day")       << QStringList{"03/03/2025 7"}                                  << title                                  << QStringList{"03/03 12:00 7"}                                    << 10 << QStringList{"03/03/25", "04/03/25", "2"};
    QTest::newRow("one day: spread over it") << QStringList{"03/03/2025 1", "03/03/2025 9", "03/03/2025 4"}  << title                                  << QStringList{"03/03 06:00 1", "03/03 12:00 9", "03/03 18:00 4"}  << 10 << QStringList{"03/03/25", "04/03/25", "2"};
    QTest::newRow("by date, a day in order") << QStringList{"05/03/2025 4", "03/03/2025 11", "05/03/2025 6"} << title                                  << QStringList{"03/03 12:00 11", "05/03 08:00 4", "05/03 16:00 6"} << 15 << QStringList{"03/03/25", "06/03/25", "4"};
    QTest::newRow("undated ones left out")   << QStringList{" 8", "04/03/2025 2"}                            << title                                  << QStringList{"04/03 12:00 2"}                                    << 5  << QStringList{"04/03/25", "05/03/25", "2"};
    QTest::newRow("a month: seven ticks")    << QStringList{"01/03/2025 3", "28/03/2025 10"}                 << title                                  << QStringList{"01/03 12:00 3", "28/03 12:00 10"}                  << 10 << QStringList{"01/03/25", "29/03/25", "7"};
    // clang-format on
}

void TestRegistroCharts::progressChart()
{
    QFETCH(QStringList, played);
    QFETCH(QStringList, points);
    QFETCH(QStringList, span);

    const ChartData chart = makeProgressChart("Anna", games(played));
    QTEST(chart.title, "title");
    QVERIFY(chart.bars.isEmpty());
    QStringList shown;
    for (const ChartPoint &p : chart.points)
        shown << p.at.toString("dd/MM HH:mm ") + QString::number(p.value);
    QCOMPARE(shown, points);
    if (points.isEmpty()) return;
    QTEST(chart.values.top, "top");
    QCOMPARE(chart.times.from.toString(chart.times.format), span[0]);
    QCOMPARE(chart.times.to.toString(chart.times.format), span[1]);
    QCOMPARE(chart.times.ticks, span[2].toInt());
    QCOMPARE(chart.timeTitle, "Data");
}

void TestRegistroCharts::readByAssistiveTechnology_data()
{
    testdata::columns<QString, QString, int, Qt::SortOrder, QString, QString>(
        "chart", "filter", "sortColumn", "order", "name", "description");

    const QString best = "Miglior punteggio di ogni alunno (risposte esatte)";
    const QString progress = "Andamento di Piero: risposte esatte partita dopo partita";
    // clang-format off
    QTest::newRow("every pupil, by name") << "graficoMigliori"  << ""      << 0 << Qt::AscendingOrder  << best                                   << "Miglior punteggio: Anna 10, Luca 8, Piero 11, Sara 9";
    QTest::newRow("resorted: best first") << "graficoMigliori"  << ""      << 2 << Qt::DescendingOrder << best                                   << "Miglior punteggio: Piero 11, Anna 10, Sara 9, Luca 8";
    QTest::newRow("filtered by name")     << "graficoMigliori"  << "a"     << 2 << Qt::AscendingOrder  << best                                   << "Miglior punteggio: Luca 8, Sara 9, Anna 10";
    QTest::newRow("no pupil left")        << "graficoMigliori"  << "x"     << 0 << Qt::AscendingOrder  << "Nessuna partita da mostrare"          << "Miglior punteggio: ";
    QTest::newRow("a pupil's progress")   << "graficoAndamento" << "piero" << 0 << Qt::AscendingOrder  << progress                               << "Piero: 2 partite; risposte esatte delle ultime: 3, 11";
    QTest::newRow("no pupil to follow")   << "graficoAndamento" << "x"     << 0 << Qt::AscendingOrder  << "Nessuna partita con data da mostrare" << "";
    // clang-format on
}

void TestRegistroCharts::readByAssistiveTechnology()
{
    QFETCH(QString, chart);
    QFETCH(QString, filter);
    QFETCH(int, sortColumn);
    QFETCH(Qt::SortOrder, order);

    auto *name = m_window->findChild<QLineEdit *>("filtroNome");
    auto *summary = m_window->findChild<QTableView *>("riepilogo");
    name->clear();
    QTest::keyClicks(name, filter);
    summary->sortByColumn(sortColumn, order);
    auto *view = m_window->findChild<ChartView *>(chart);
    QVERIFY(view);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(view);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Chart);
    QTEST(iface->text(QAccessible::Name), "name");
    QTEST(iface->text(QAccessible::Description), "description");
    summary->sortByColumn(0, Qt::AscendingOrder);
}

QTEST_MAIN(TestRegistroCharts)
#include "tst_registrocharts.moc"
