#include "DataColumns.h"
#include "FakeServices.h"
#include "RealLocales.h"
#include "window/Tavola.h"
#include "window/TimeNotice.h"

#include <QAccessible>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <QTest>

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void controlTable();
    void everyControlInsideTheWindow();
    void everyControlOnce();
    void lines_data();
    void lines();
    void windowSettings();
    void menuBar();
    void tabCycle();
    void fitsTextGrowsToTheRight();
    void pictures();
    void answerBoxesDrawInTheirLargeFont();
};

namespace {

QString kindOf(QObject *o)
{
    if (qobject_cast<AnswerBox *>(o) || qobject_cast<QLineEdit *>(o)) return "text box";
    if (qobject_cast<PictureButton *>(o)) return "graphical button";
    if (qobject_cast<QPushButton *>(o)) return "button";
    if (qobject_cast<PictureBox *>(o)) return "picture box";
    if (qobject_cast<Label *>(o)) return "label";
    if (qobject_cast<QLabel *>(o)) return "image";
    return "other";
}

QString textOf(QObject *o)
{
    if (auto *l = qobject_cast<Label *>(o)) return l->caption();
    if (auto *e = qobject_cast<QLineEdit *>(o)) return e->text();
    if (auto *b = qobject_cast<QAbstractButton *>(o)) return b->text();
    return QString();
}

// One line of the window's control table (tests/tavola-controls.txt): name, kind, place in
// twips, shown, enabled, caption and the name a screen reader says.
QString describe(QWidget *control)
{
    const QRect r = control->geometry();
    QStringList cells = {control->objectName().leftJustified(11),
                         kindOf(control).leftJustified(16)};
    for (int pixels : {r.x(), r.y(), r.width(), r.height()})
        cells << QString::number(pixels * 15).rightJustified(5);
    cells << (control->isHidden() ? "no " : "yes") << (control->isEnabled() ? "yes" : "no ");
    const QString spoken = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    cells << '"' + textOf(control) + '"' << '"' + spoken + '"';
    return cells.join(' ');
}

// The controls of the surface, apart from the lines of the fraction bars and the unpainted
// notice of the countdown's time marks.
QList<QWidget *> surfaceControls(Tavola &w)
{
    QList<QWidget *> found;
    for (QWidget *child : w.surface()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<LineShape *>(child) && !qobject_cast<TimeNotice *>(child)) found << child;
    return found;
}

QList<QWidget *> tabStops(Tavola &w)
{
    QList<QWidget *> stops;
    for (QWidget *control : surfaceControls(w))
        if (control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus))
            stops << control;
    return stops;
}

} // namespace

void TestWindow::controlTable()
{
    QFile file(QFINDTESTDATA("tavola-controls.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    FakeServices services;
    Tavola w(services);
    QStringList listed;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QString name = line.section(' ', 0, 0);
        auto *control = w.surface()->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(describe(control), line);
        listed << name;
    }
    // Every control of the window stands in the table, once.
    QStringList present;
    for (QWidget *control : surfaceControls(w))
        present << control->objectName();
    listed.sort();
    present.sort();
    QCOMPARE(present, listed);
}

void TestWindow::everyControlInsideTheWindow()
{
    FakeServices services;
    Tavola w(services);
    const QRect window = w.surface()->rect();
    for (QWidget *control : surfaceControls(w)) {
        QVERIFY2(window.contains(control->geometry()), qPrintable(control->objectName()));
        // A hidden working field or solution never takes the focus, so it is never read out.
        if (control->isHidden())
            QVERIFY2(control->focusPolicy() == Qt::NoFocus, qPrintable(control->objectName()));
    }
    for (LineShape *line : w.Line1)
        QVERIFY(window.contains(line->from()) && window.contains(line->to()));
}

void TestWindow::everyControlOnce()
{
    FakeServices services;
    Tavola w(services);
    QMap<QString, int> names;
    for (QObject *child : w.findChildren<QObject *>())
        if (!child->objectName().isEmpty()) ++names[child->objectName()];
    for (const char *name : {"Timer1", "clas", "HELP", "Next", "surface", "lblNum1"})
        QVERIFY2(names.contains(name), name);
    for (auto [name, count] : names.asKeyValueRange())
        QVERIFY2(count == (name == "Line1" ? 4 : 1), qPrintable(name));
    QVERIFY(w.Timer1->isActive());
    QCOMPARE(w.Timer1->interval(), 1000);
}

void TestWindow::lines_data()
{
    testdata::columns<int, QLine, int, bool>("index", "twipsLine", "width", "visible");
    // clang-format off
    QTest::newRow("fraction bar") << 3 << QLine(8160, 1320, 9960, 1320) << 8 << true;
    QTest::newRow("Line1(2)")     << 2 << QLine(8040, 2280, 9360, 2280) << 6 << false;
    QTest::newRow("Line1(1)")     << 1 << QLine(5400, 2640, 6720, 2640) << 6 << false;
    QTest::newRow("Line1(0)")     << 0 << QLine(3840, 2520, 5160, 2520) << 6 << false;
    // clang-format on
}

void TestWindow::lines()
{
    QFETCH(int, index);
    QFETCH(QLine, twipsLine);
    QFETCH(int, width);
    QFETCH(bool, visible);
    FakeServices services;
    Tavola w(services);
    LineShape *line = w.Line1[size_t(index)];
    QCOMPARE(line->property("index").toInt(), index);
    QCOMPARE(line->from(), twipsLine.p1() / 15);
    QCOMPARE(line->to(), twipsLine.p2() / 15);
    QCOMPARE(line->lineWidth(), width);
    QCOMPARE(line->colour(), QColor(255, 0, 0));
    QCOMPARE(!line->isHidden(), visible);
}

void TestWindow::windowSettings()
{
    FakeServices services;
    Tavola w(services);
    QCOMPARE(w.windowTitle(), "Converti i seguenti numeri decimali in frazioni ");
    QCOMPARE(w.centralWidget()->size(), QSize(932, 653));
    QCOMPARE(w.txtAnswer->toolTip(), "Inserisci il risultato e  premi il tasto  Invio");
    QCOMPARE(w.lblScore->toolTip(), "Questo è il tuo punteggio. Forza con il  record");
    QCOMPARE(w.cmdNext->toolTip(), "Go");
    QCOMPARE(w.cmdExit->toolTip(), "Allora ti arrendi?");
    QCOMPARE(w.centralWidget()->cursor().hotSpot(), QPoint(1, 1));
    QCOMPARE(w.cmdExit->cursor().hotSpot(), QPoint(3, 3));
    QCOMPARE(w.lblnome->cursor().hotSpot(), QPoint(0, 0));
    QCOMPARE(w.lblNum1->palette().color(QPalette::Window), QColor(0, 255, 255));
    QVERIFY(w.lblNum1->autoFillBackground());
    QVERIFY(!w.lblMessage->autoFillBackground()); // transparent
    QCOMPARE(w.lblMessage->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(w.lblMessage->font().italic());
    QCOMPARE(w.lblNum1->font().pixelSize(), 64); // 48 pt
    QCOMPARE(w.Label11->font().pixelSize(), 13); // 9.75 pt
}

void TestWindow::menuBar()
{
    FakeServices services;
    Tavola w(services);
    const QList<QAction *> entries = w.menuBar()->actions();
    QCOMPARE(entries.size(), 5);
    QVERIFY(entries[0]->menu() && entries[1]->menu() && entries[2]->menu());
    QCOMPARE(entries[3], w.HELP);
    QCOMPARE(entries[3]->text(), "AIUTO");
    QCOMPARE(entries[4], w.Next);
    QCOMPARE(entries[4]->text(), "NUOVA GARA");
    QCOMPARE(entries[0]->menu()->actions().size(), 2);
    QCOMPARE(entries[0]->menu()->actions().at(1), w.clas);
    QCOMPARE(w.clas->property("index").toInt(), 2);
    QCOMPARE(entries[2]->menu()->actions().at(0)->text(),
             "Contattare gli autori per segnalare eventuali errori");
}

void TestWindow::tabCycle()
{
    FakeServices services;
    Tavola w(services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.cmdExit);
    // cmdNext is disabled, so skipped; Tab from the numerator reaches Command1 first. The
    // cycle holds every control that can take the focus, once, and Shift+Tab walks it back.
    const QList<QWidget *> cycle = {w.txtAnswer, w.Command1, w.text3, w.Picture1, w.cmdExit};
    const QList<QWidget *> stops = tabStops(w);
    QCOMPARE(QSet(cycle.begin(), cycle.end()), QSet(stops.begin(), stops.end()));
    for (QWidget *next : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        // Every stop is said by a name of its own.
        const QString spoken = QAccessible::queryAccessibleInterface(next)->text(QAccessible::Name);
        QVERIFY2(!spoken.isEmpty(), qPrintable(next->objectName()));
    }
    for (auto previous = cycle.rbegin() + 1; previous != cycle.rend(); ++previous) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), *previous);
    }
    w.cmdNext->setEnabled(true);
    w.cmdExit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.cmdNext);
}

void TestWindow::fitsTextGrowsToTheRight()
{
    FakeServices services;
    Tavola w(services);
    const QRect before = w.lblnome1->geometry();
    w.lblnome1->setCaption("Annamaria Bianchi");
    QCOMPARE(w.lblnome1->x(), before.x());
    QVERIFY(w.lblnome1->width() > before.width() * 5);
    const int holderWidth = w.lblnome->width();
    w.lblnome->setCaption("Un nome lunghissimo che non ci starebbe mai");
    QCOMPARE(w.lblnome->width(), holderWidth);
    // A caption keeps its line end; the label shows it as a line break.
    w.lblpunti->setCaption("12\r\n");
    QCOMPARE(w.lblpunti->caption(), "12\r\n");
    QCOMPARE(w.lblpunti->text(), "12\n");
}

void TestWindow::pictures()
{
    FakeServices services;
    Tavola w(services);
    QCOMPARE(w.Image1->pixmap().size(), QSize(175, 108));
    w.show();
    QCOMPARE(w.Picture1->pixmap().size(), QSize(640, 12));
    // The hidden picture is never decoded.
    QVERIFY(w.Picture2->pixmap().isNull());
    QCOMPARE(QPixmap(w.Picture2->resource()).size(), QSize(459, 426));
    QCOMPARE(w.cmdNext->icon().availableSizes().value(0), QSize(32, 32));
}

void TestWindow::answerBoxesDrawInTheirLargeFont()
{
    FakeServices services;
    Tavola w(services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The 48-point face (64 pixels) is what the boxes lay their text out with once shown.
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(w.txtAnswer), static_cast<QLineEdit *>(w.text3)}) {
        QCOMPARE(box->font().pixelSize(), 64);
        QVERIFY2(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().height() > 50,
                 qPrintable(box->objectName()));
    }
}

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestWindow)
#include "tst_window.moc"
