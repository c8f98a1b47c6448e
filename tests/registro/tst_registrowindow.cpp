// The register's window on a data directory with two classes and twenty games: the
// class list, the table and its sorting, the summary per pupil, the filter, the CSV
// and PDF files, live refresh and names for assistive technology.

#include "DataColumns.h"
#include "GameLines.h"
#include "OpenRegister.h"
#include "registro/RegisterSession.h"
#include "registro/RegisterWindow.h"
#include "registro/charts/ChartView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace registro;

namespace {

struct Game {
    const char *name;
    int correct;
    int wrong;
    const char *date;
    bool record;
};

// Class 3A: twelve games of four pupils.
const Game ClassA[] = {
    {"Anna", 7, 2, "03/03/25", false},  {"Luca", 5, 5, "03/03/25", false},
    {"Sara", 9, 1, "04/03/25", true},   {"Anna", 10, 0, "05/03/25", true},
    {"Piero", 3, 6, "05/03/25", false}, {"Luca", 8, 2, "06/03/25", false},
    {"Sara", 6, 3, "07/03/25", false},  {"Anna", 4, 4, "10/03/25", false},
    {"Piero", 11, 2, "11/03/25", true}, {"Luca", 2, 8, "12/03/25", false},
    {"Sara", 9, 0, "13/03/25", false},  {"Anna", 6, 1, "14/03/25", false},
};
// Class 3B: eight games of three pupils.
const Game ClassB[] = {
    {"Bea", 4, 2, "17/03/25", false}, {"Ugo", 6, 1, "17/03/25", false},
    {"Bea", 8, 0, "18/03/25", true},  {"Ivo", 1, 7, "18/03/25", false},
    {"Ugo", 3, 3, "19/03/25", false}, {"Ivo", 5, 5, "19/03/25", false},
    {"Bea", 2, 2, "20/03/25", false}, {"Ugo", 7, 0, "21/03/25", false},
};

QByteArray line(const Game &game)
{
    return gameLine(QString::fromUtf8(game.name), game.correct, game.wrong,
                    QString::fromUtf8(game.date),
                    game.record ? records::LogForm::NewRecord : records::LogForm::RecordStands);
}

template <std::size_t N> QByteArray log(const Game (&games)[N])
{
    QByteArray bytes;
    for (const Game &g : games)
        bytes += line(g);
    return bytes;
}

QStringList column(const QTableView *view, int column)
{
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        texts << view->model()->index(r, column).data().toString();
    return texts;
}

QStringList rowTexts(const QAbstractItemModel *model, int row)
{
    QStringList texts;
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->index(row, c).data().toString();
    return texts;
}

} // namespace

class TestRegisterWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void opensMostRecentClass();
    void choosingAClassFillsTheTable();
    void sortingByHeader_data();
    void sortingByHeader();
    void summaryPerPupil();
    void nameFilter();
    void dateFilter();
    void csvOfTheShownRows();
    void pdfReport();
    void refusesToWriteInTheDataDirectory();
    void widgetsHaveItalianNames();
    void tableIsReadableByAssistiveTechnology();
    void warningsTab();
    void newGamesAppear();

private:
    template <typename T> T *child(const char *name)
    {
        T *found = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!found) qFatal("missing widget %s", name);
        return found;
    }
    void clearFilter() { QTest::mouseClick(child<QPushButton>("azzeraFiltri"), Qt::LeftButton); }

    QTemporaryDir m_data;
    QTemporaryDir m_out;
    RegisterSession *m_session = nullptr;
    RegisterWindow *m_window = nullptr;
    QTableView *m_games = nullptr;
};

void TestRegisterWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QFile a(m_data.filePath("3A.txt"));
    QVERIFY(a.open(QIODevice::WriteOnly));
    // Twelve games, then a line cut short.
    a.write(log(ClassA) + "Nome:  Piero  Risposte esatte 5  Risp\r\n");
    QVERIFY(a.flush());
    QVERIFY(a.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                          QFileDevice::FileModificationTime));
    a.close();
    QFile b(m_data.filePath("3B.txt"));
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write(log(ClassB));
    b.close();
    QFile record(m_data.filePath("velmora.txt"));
    QVERIFY(record.open(QIODevice::WriteOnly));
    record.write("11\r\n");
    record.close();

    QVERIFY(openRegister(m_data.path(), m_session, m_window));
    m_games = child<QTableView>("partite");
}

void TestRegisterWindow::cleanupTestCase()
{
    delete m_window;
    delete m_session;
}

void TestRegisterWindow::opensMostRecentClass()
{
    auto *classes = child<QComboBox>("classi");
    QCOMPARE(classes->count(), 2); // the record files are no class
    QCOMPARE(classes->itemText(0), "3A");
    QCOMPARE(classes->itemText(1), "3B");
    QCOMPARE(classes->currentText(), "3B");
    QCOMPARE(m_games->model()->rowCount(), 8);
    QVERIFY(m_window->windowTitle().endsWith("3B"));
    QCOMPARE(child<QDateEdit>("dal")->date(), QDate(2025, 3, 17));
}

void TestRegisterWindow::choosingAClassFillsTheTable()
{
    auto *classes = child<QComboBox>("classi");
    classes->setCurrentIndex(0);
    QCOMPARE(m_games->model()->rowCount(), 12);
    QCOMPARE(rowTexts(m_games->model(), 2),
             QStringList({"Sara", "9", "1", "10", "90,0%", "11:48", "04/03/2025", "sì"}));
    QVERIFY(child<QLabel>("stato")->text().startsWith("12 partite mostrate su 12 "));
    QVERIFY(m_window->windowTitle().endsWith("3A"));
    // The date range follows the class chosen (3B played from the 17th to the 21st).
    QCOMPARE(child<QDateEdit>("dal")->date(), QDate(2025, 3, 3));
    QCOMPARE(child<QDateEdit>("al")->date(), QDate(2025, 3, 14));
}

void TestRegisterWindow::sortingByHeader_data()
{
    testdata::columns<int, QStringList, QStringList>("column", "firstClick", "secondClick");

    // clang-format off
    QTest::newRow("correct: highest first")   << 1 << QStringList{"11", "10", "9", "9", "8", "7", "6", "6", "5", "4", "3", "2"} << QStringList{"2", "3", "4", "5", "6", "6", "7", "8", "9", "9", "10", "11"};
    QTest::newRow("name: alphabetical first") << 0 << QStringList{"Anna", "Anna", "Anna", "Anna", "Luca", "Luca", "Luca", "Piero", "Piero", "Sara", "Sara", "Sara"} << QStringList{"Sara", "Sara", "Sara", "Piero", "Piero", "Luca", "Luca", "Luca", "Anna", "Anna", "Anna", "Anna"};
    QTest::newRow("date: latest first")       << 6 << QStringList{"14/03/2025", "13/03/2025", "12/03/2025", "11/03/2025", "10/03/2025", "07/03/2025", "06/03/2025", "05/03/2025", "05/03/2025", "04/03/2025", "03/03/2025", "03/03/2025"} << QStringList{"03/03/2025", "03/03/2025", "04/03/2025", "05/03/2025", "05/03/2025", "06/03/2025", "07/03/2025", "10/03/2025", "11/03/2025", "12/03/2025", "13/03/2025", "14/03/2025"};
    // clang-format on
}

void TestRegisterWindow::sortingByHeader()
{
    QFETCH(int, column);
    QFETCH(QStringList, firstClick);
    QFETCH(QStringList, secondClick);

    QHeaderView *header = m_games->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(::column(m_games, column), firstClick);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(::column(m_games, column), secondClick);
}

void TestRegisterWindow::summaryPerPupil()
{
    const QAbstractItemModel *pupils = child<QTableView>("riepilogo")->model();
    QCOMPARE(pupils->rowCount(), 4);
    // Anna: 7/9, 10/10, 4/8 and 6/7 right, a mean of 78.4%.
    QCOMPARE(rowTexts(pupils, 0), QStringList({"Anna", "4", "10", "78,4%", "14/03/2025"}));
    QCOMPARE(rowTexts(pupils, 2), QStringList({"Piero", "2", "11", "59,0%", "11/03/2025"}));
    auto *bars = child<ChartView>("graficoMigliori");
    QVERIFY(bars->accessibleDescription().contains("Piero 11"));
}

void TestRegisterWindow::nameFilter()
{
    clearFilter();
    auto *name = child<QLineEdit>("filtroNome");
    QTest::keyClicks(name, "an");
    QCOMPARE(::column(m_games, 0), QStringList({"Anna", "Anna", "Anna", "Anna"}));
    QCOMPARE(child<QTableView>("riepilogo")->model()->rowCount(), 1);
    QTest::keyClicks(name, "x");
    QCOMPARE(m_games->model()->rowCount(), 0);
    QCOMPARE(child<QTableView>("riepilogo")->model()->rowCount(), 0);
    QVERIFY(child<QLabel>("stato")->text().startsWith("0 partite mostrate su 12"));
    clearFilter();
    QCOMPARE(m_games->model()->rowCount(), 12);
}

void TestRegisterWindow::dateFilter()
{
    clearFilter();
    auto *from = child<QDateEdit>("dal");
    auto *to = child<QDateEdit>("al");
    // The range starts as the span of the class.
    QCOMPARE(from->date(), QDate(2025, 3, 3));
    QCOMPARE(to->date(), QDate(2025, 3, 14));
    QVERIFY(!from->isEnabled());

    QTest::mouseClick(child<QCheckBox>("usaDal"), Qt::LeftButton);
    QVERIFY(from->isEnabled());
    from->setDate(QDate(2025, 3, 6));
    QCOMPARE(m_games->model()->rowCount(), 7);
    QTest::mouseClick(child<QCheckBox>("usaAl"), Qt::LeftButton);
    to->setDate(QDate(2025, 3, 11));
    QCOMPARE(m_games->model()->rowCount(), 4);
    QCOMPARE(child<QTableView>("riepilogo")->model()->rowCount(), 4);
    QVERIFY(child<QLabel>("stato")->text().startsWith("4 partite mostrate su 12"));
    clearFilter();
    QCOMPARE(m_games->model()->rowCount(), 12);
    QVERIFY(!child<QCheckBox>("usaDal")->isChecked());
}

void TestRegisterWindow::csvOfTheShownRows()
{
    clearFilter();
    QTest::keyClicks(child<QLineEdit>("filtroNome"), "piero");
    m_games->sortByColumn(1, Qt::DescendingOrder);
    const QString path = m_out.filePath("piero.csv");
    const auto failure = m_window->exportCsv(path);
    QVERIFY2(!failure, failure ? qPrintable(failure->systemText) : "");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("\xEF\xBB\xBF"
                        "Nome;Esatte;Errate;Totale;Precisione (%);Tempo impiegato;Data;Record\r\n"
                        "Piero;11;2;13;84,6;0:11:48;2025-03-11;s\xC3\xAC\r\n"
                        "Piero;3;6;9;33,3;0:11:48;2025-03-05;no\r\n"));
    clearFilter();
}

void TestRegisterWindow::pdfReport()
{
    const QString path = m_out.filePath("registro.pdf");
    QVERIFY(!m_window->savePdf(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 10'000); // text and two chart images
}

void TestRegisterWindow::refusesToWriteInTheDataDirectory()
{
    using Step = registro::ExportFailure::Step;
    QCOMPARE(m_window->exportCsv(m_data.filePath("3A.csv")).value().step, Step::RefuseExport);
    QCOMPARE(m_window->savePdf(m_data.filePath("3A.pdf")).value().step, Step::RefuseExport);
    QVERIFY(!QFileInfo::exists(m_data.filePath("3A.csv")));
    QVERIFY(!QFileInfo::exists(m_data.filePath("3A.pdf")));
}

void TestRegisterWindow::widgetsHaveItalianNames()
{
    const QStringList ours = {"classi",
                              "cartella",
                              "filtroNome",
                              "usaDal",
                              "dal",
                              "usaAl",
                              "al",
                              "azzeraFiltri",
                              "partite",
                              "riepilogo",
                              "schede",
                              "graficoMigliori",
                              "alunnoGrafico",
                              "graficoAndamento",
                              "avvisi",
                              "stato",
                              "strumenti"};
    for (const QString &name : ours)
        QVERIFY2(m_window->findChild<QWidget *>(name), qPrintable(name));
    // Every widget of ours, found or not in the list above, has a name to be read by.
    const QList<QWidget *> widgets = m_window->findChildren<QWidget *>();
    int named = 0;
    for (QWidget *w : widgets) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY(iface);
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        ++named;
    }
    QVERIFY(named >= ours.size());
}

void TestRegisterWindow::tableIsReadableByAssistiveTechnology()
{
    clearFilter();
    m_games->sortByColumn(-1, Qt::AscendingOrder); // file order
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_games);
    QVERIFY(iface && iface->tableInterface());
    QCOMPARE(iface->text(QAccessible::Name), "Partite della classe");
    QCOMPARE(iface->tableInterface()->rowCount(), 12);
    QAccessibleInterface *cell = iface->tableInterface()->cellAt(2, 0);
    QVERIFY(cell);
    QCOMPARE(cell->text(QAccessible::Name), "Sara");
    QCOMPARE(iface->tableInterface()->columnDescription(7), "Record");
}

void TestRegisterWindow::warningsTab()
{
    auto *tabs = child<QTabWidget>("schede");
    QCOMPARE(tabs->tabText(2), "Avvisi (1)");
    auto *list = child<QListWidget>("avvisi");
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().startsWith("Riga 13: riga incompleta"));
}

void TestRegisterWindow::newGamesAppear()
{
    clearFilter();
    QFile a(m_data.filePath("3A.txt"));
    QVERIFY(a.open(QIODevice::Append));
    a.write(line({"Nuovo alunno", 12, 1, "15/03/25", true}));
    a.close();
    QTRY_COMPARE(m_games->model()->rowCount(), 13);
    QCOMPARE(child<QTableView>("riepilogo")->model()->rowCount(), 5);
    QVERIFY(child<QComboBox>("alunnoGrafico")->findText("Nuovo alunno") >= 0);
    QCOMPARE(child<QListWidget>("avvisi")->count(), 1); // the old warning stays, no new one
}

QTEST_MAIN(TestRegisterWindow)
#include "tst_registrowindow.moc"
