// The register's texts worked out from what it shows, without a window: the status line,
// the filter as the report describes it and the span of dates a class played in.

#include "registro/RegisterTexts.h"

#include <QtTest>

using namespace registro;

class TestRegisterTexts : public QObject
{
    Q_OBJECT

private slots:
    void statusLine_data();
    void statusLine();
    void filterDescription_data();
    void filterDescription();
    void dateSpan_data();
    void dateSpan();
};

void TestRegisterTexts::statusLine_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<bool>("noClasses");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("all");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<QDateTime>("lastRead");
    QTest::addColumn<QString>("text");

    const QDateTime read(QDate(2025, 3, 14), QTime(10, 31, 2));
    QTest::newRow("a directory problem says all") << "La cartella non esiste." << true << 0 << 0 << 3 << read << "La cartella non esiste.";
    QTest::newRow("no class log yet") << "" << true << 0 << 0 << 0 << QDateTime() << "Nessun registro di classe in questa cartella: un registro compare quando finisce la prima partita di una classe.";
    QTest::newRow("one game, not read yet") << "" << false << 1 << 12 << 0 << QDateTime() << "1 partita mostrata su 12";
    QTest::newRow("one warning") << "" << false << 3 << 12 << 1 << read << "3 partite mostrate su 12 · 1 avviso di lettura · letto alle 10:31:02";
    QTest::newRow("warnings beyond those kept") << "" << false << 0 << 0 << 1500 << read << "0 partite mostrate su 0 · 1500 avvisi di lettura · letto alle 10:31:02";
}

void TestRegisterTexts::statusLine()
{
    StatusFacts facts;
    QFETCH(QString, problem);
    facts.directoryProblem = problem;
    QFETCH(bool, noClasses);
    facts.noClasses = noClasses;
    QFETCH(int, shown);
    facts.shown = shown;
    QFETCH(int, all);
    facts.all = all;
    QFETCH(int, warnings);
    facts.warnings = warnings;
    QFETCH(QDateTime, lastRead);
    facts.lastRead = lastRead;
    QFETCH(QString, text);
    QCOMPARE(statusText(facts), text);
}

void TestRegisterTexts::filterDescription_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("text");

    const QDate from(2025, 3, 3);
    const QDate to(2025, 3, 14);
    QTest::newRow("no filter") << "it_IT" << "" << QDate() << QDate() << "Tutte le partite del registro.";
    QTest::newRow("name only") << "it_IT" << "an" << QDate() << QDate() << "Partite con nome che contiene «an».";
    QTest::newRow("from a day on") << "it_IT" << "" << from << QDate() << "Partite con dal 03/03/2025.";
    QTest::newRow("everything, American dates") << "en_US" << "Anna" << from << to << "Partite con nome che contiene «Anna», dal 3/3/2025, al 3/14/2025.";
}

void TestRegisterTexts::filterDescription()
{
    QFETCH(QString, locale);
    QFETCH(QString, name);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, text);
    QCOMPARE(registro::filterDescription(name, from, to, QLocale(locale)), text);
}

void TestRegisterTexts::dateSpan_data()
{
    QTest::addColumn<QList<QDate>>("dates");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");

    const QDate d3(2025, 3, 3), d5(2025, 3, 5), d14(2025, 3, 14);
    QTest::newRow("no games") << QList<QDate>{} << QDate() << QDate();
    QTest::newRow("no date readable") << QList<QDate>{QDate(), QDate()} << QDate() << QDate();
    QTest::newRow("one day") << QList<QDate>{d5} << d5 << d5;
    QTest::newRow("out of order, unreadable ones skipped") << QList<QDate>{d5, QDate(), d14, d3, QDate()} << d3 << d14;
}

void TestRegisterTexts::dateSpan()
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

QTEST_GUILESS_MAIN(TestRegisterTexts)
#include "tst_registrotexts.moc"
