#include "FakeServices.h"
#include "RealLocales.h"
#include "engine/QuestionDraw.h"
#include "window/Tavola.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <QTest>

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void everyControlOnce();
    void lines_data();
    void lines();
    void windowSettings();
    void menuBar();
    void tabOrder();
    void fitsTextGrowsToTheRight();
    void pictures();
    void answerBoxesDrawInTheirLargeFont();
    void question_data();
    void question();
    void questionClearsThePreviousOne();
    void questionDrawGivesUpWhenEveryNumberReadsWhole();
    void gradientBands();
    void backColorErasesDrawing();
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

} // namespace

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twipsPlace"); // left, top, width, height
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("spoken"); // the name a screen reader says ("": not checked)
    const auto row = [](const char *name, const char *kind, const char *text, QRect r,
                        bool visible = true, bool enabled = true, const char *spoken = "") {
        QTest::newRow(name) << QString(name) << QString(kind) << QString::fromUtf8(text) << r
                            << visible << enabled << QString::fromUtf8(spoken);
    };
    row("lblNum1", "label", "1,5", {1080, 120, 1425, 1185});
    row("Label4", "label", "=", {5280, 240, 615, 975});
    row("txtAnswer", "text box", "10", {8160, 0, 1815, 1200}, true, true, "Numeratore");
    row("text3", "text box", "2", {8160, 1440, 1815, 1155}, true, true, "Denominatore");
    row("lblMessage", "label", "", {1200, 1800, 6615, 615});
    row("Label6", "label", "Risposte esatte", {240, 3360, 2565, 495});
    row("lblScore", "label", "0", {1080, 4080, 555, 885});
    row("Label1", "label", "Risposte errate", {3840, 3360, 2520, 495});
    row("lblScore1", "label", "0", {4830, 4080, 540, 885});
    row("Label3", "label", "Risposte totali", {7440, 3360, 2340, 495});
    row("lblScore2", "label", "0", {8310, 4080, 555, 885});
    row("Label11", "label", "Tempo restante", {240, 1680, 1575, 375});
    row("lblconto", "label", "00.00.00", {360, 2400, 1575, 495});
    // A button is spoken by its caption: "press Exit" said to speech input must find it.
    row("cmdNext", "graphical button", "&Nuovo calcolo", {4320, 5520, 1815, 1095}, true, false,
        "Nuovo calcolo");
    row("cmdExit", "graphical button", "E&xit", {7920, 5520, 1815, 1095}, true, true, "Exit");
    row("Command1", "button", "Command1", {4800, 5640, 855, 615}, true, true, "Command1");
    row("Label14", "label", "Sfidante", {240, 5880, 1095, 420});
    row("lblnome1", "label", "", {240, 6720, 165, 420});
    row("Label12", "label", "Il record  è di ", {120, 7200, 2295, 375});
    row("lblnome", "label", "", {2520, 7200, 3735, 495});
    row("Label13", "label", "con punti", {7560, 7200, 1455, 435});
    row("lblpunti", "label", "0", {9360, 7080, 270, 555});
    row("Image1", "image", "", {2040, 3600, 2625, 1620});
    row("Picture1", "picture box", "", {480, 5160, 9615, 255});
    row("Picture2", "picture box", "", {13200, 2280, 255, 495}, false);
    row("Text1", "text box", "1", {3960, 1920, 975, 495}, false);
    row("Text2", "text box", "2", {3840, 2520, 975, 615}, false);
    row("Text5", "text box", "5", {5640, 1920, 1095, 615}, false);
    row("Text6", "text box", "6", {5520, 2760, 1095, 495}, false);
    row("Text9", "text box", "", {8160, 1680, 855, 495}, false);
    row("Text10", "text box", "", {8160, 2400, 975, 735}, false);
    row("Text4", "text box", "Text4 ex txt2", {1080, 6000, 2535, 735}, false);
    row("lblNum2", "label", "", {3000, 1800, 345, 1185}, false);
    row("classe", "label", "Label2", {5760, 7680, 1215, 375}, false);
    row("Lbltime", "label", "Label2", {960, 6960, 1335, 255}, false);
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, twipsPlace);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    QFETCH(QString, spoken);
    FakeServices services;
    Tavola w(services);
    auto *control = w.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(kindOf(control), kind);
    QCOMPARE(textOf(control), text);
    const QRect pixels(twipsPlace.x() / 15, twipsPlace.y() / 15, twipsPlace.width() / 15,
                       twipsPlace.height() / 15);
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(!control->isHidden(), visible);
    QCOMPARE(control->isEnabled(), enabled);
    if (!spoken.isEmpty())
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), spoken);
    // A hidden working field or solution never takes the focus, so it is never read out.
    if (!visible) QCOMPARE(control->focusPolicy(), Qt::NoFocus);
}

void TestWindow::everyControlOnce()
{
    FakeServices services;
    Tavola w(services);
    const QStringList names = {
        "Picture2",  "Picture1",  "text3",   "Text10",  "Text9",     "Text6",    "Text5",
        "Text2",     "Text1",     "Text4",   "Timer1",  "txtAnswer", "cmdNext",  "cmdExit",
        "Command1",  "classe",    "Lbltime", "Image1",  "lblnome",   "Label12",  "lblpunti",
        "Label13",   "lblnome1",  "Label14", "Label11", "lblconto",  "Label3",   "Label1",
        "lblScore2", "lblScore1", "lblNum2", "Label4",  "lblNum1",   "lblScore", "lblMessage",
        "Label6",    "clas",      "HELP",    "Next"};
    for (const QString &name : names)
        QCOMPARE(w.findChildren<QObject *>(name).size(), 1);
    QCOMPARE(w.findChildren<LineShape *>("Line1").size(), 4);
    QVERIFY(w.Timer1->isActive());
    QCOMPARE(w.Timer1->interval(), 1000);
}

void TestWindow::lines_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QLine>("twipsLine");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("visible");
    QTest::newRow("fraction bar") << 3 << QLine(8160, 1320, 9960, 1320) << 8 << true;
    QTest::newRow("Line1(2)") << 2 << QLine(8040, 2280, 9360, 2280) << 6 << false;
    QTest::newRow("Line1(1)") << 1 << QLine(5400, 2640, 6720, 2640) << 6 << false;
    QTest::newRow("Line1(0)") << 0 << QLine(3840, 2520, 5160, 2520) << 6 << false;
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

void TestWindow::tabOrder()
{
    FakeServices services;
    Tavola w(services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.cmdExit);
    // cmdNext is disabled, so skipped; Tab from the numerator reaches Command1 first.
    const QList<QWidget *> expected = {w.txtAnswer, w.Command1, w.text3, w.Picture1, w.cmdExit};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    w.cmdNext->setEnabled(true);
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

void TestWindow::question_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("red");
    // value = 8r + 1; decimals = floor(2 r2 + 1)
    QTest::newRow("one decimal") << "," << QList<double>{0.3375, 0.2} << "3,7" << 74;
    QTest::newRow("two decimals end in 0") << "," << QList<double>{0.3875, 0.9} << "4,10" << 82;
    QTest::newRow("English") << "." << QList<double>{0.3875, 0.9} << "4.10" << 82;
    QTest::newRow("half up 1,25") << "," << QList<double>{0.03125, 0.1} << "1,3" << 25;
    QTest::newRow("half up 1,125") << "," << QList<double>{0.015625, 0.6} << "1,13" << 22;
    QTest::newRow("red of 1,625 is 32") << "," << QList<double>{0.078125, 0.6} << "1,63" << 32;
    QTest::newRow("1,0 redrawn") << "," << QList<double>{0.0049, 0.2, 0.3375, 0.2} << "3,7" << 74;
    QTest::newRow("8,95 shows 9,0, redrawn")
        << "," << QList<double>{0.99375, 0.2, 0.3375, 0.2} << "3,7" << 74;
    QTest::newRow("9,00 redrawn") << "," << QList<double>{0.99999, 0.9, 0.3375, 0.2} << "3,7" << 74;
}

void TestWindow::question()
{
    QFETCH(QString, separator);
    QFETCH(QList<double>, draws);
    QFETCH(QString, caption);
    QFETCH(int, red);
    FakeServices services;
    services.locale.decimal = separator;
    Tavola w(services);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.cmdNext->setEnabled(true);
    for (double d : draws)
        services.draws.enqueue(d);
    w.cmdNext_Click();
    QCOMPARE(w.lblNum1->caption(), caption);
    QVERIFY(services.draws.isEmpty());
    QCOMPARE(services.randomizeCount, 3);
    QVERIFY(!w.cmdNext->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w.txtAnswer);
    const QColor top = w.surface()->pixelAt(QPoint(10, 0));
    QCOMPARE(top, QColor(red, 0, 0));
    QCOMPARE(w.surface()->pixelAt(QPoint(900, 652)), QColor(red, 0, 255));
}

void TestWindow::questionClearsThePreviousOne()
{
    FakeServices services;
    Tavola w(services);
    w.lblMessage->setCaption("Esatto, è incredibile!!!");
    w.txtAnswer->setText("3");
    w.text3->setText("2");
    w.lblScore->setCaption("4");
    w.Text9->setText("3");
    w.numeratore = 3;
    w.cmdNext_Click();
    QCOMPARE(w.lblMessage->caption(), "");
    QCOMPARE(w.txtAnswer->text(), "");
    QCOMPARE(w.text3->text(), "");
    QCOMPARE(w.lblScore->caption(), "4");
    // Posing a question does not compute its solution.
    QCOMPARE(w.Text9->text(), "3");
    QCOMPARE(w.numeratore, 3);
}

void TestWindow::questionDrawGivesUpWhenEveryNumberReadsWhole()
{
    // A broken read-back (as strtod under an Italian C locale was: "8,90" read as 8) must end
    // in an error report, never in an endless redraw.
    static int readBacks = 0;
    readBacks = 0;
    const question::ReadBack alwaysWhole = [](const QString &, const platform::NumberLocale &) {
        ++readBacks;
        return 3.0;
    };
    FakeServices services;
    QVERIFY_THROWS_EXCEPTION(question::NoQuestion,
                             question::draw(services, services.locale, alwaysWhole));
    QCOMPARE(readBacks, question::MaxDraws);
}

void TestWindow::gradientBands()
{
    FakeServices services;
    Tavola w(services);
    services.draws.append({0.25, 0.2});    // 3,0 -> whole, redrawn
    services.draws.append({0.5, 0.2});     // 5,0 -> whole, redrawn
    services.draws.append({0.30625, 0.2}); // 3,45 -> 3,5; red 20 * 3,45 = 69
    w.cmdNext_Click();
    QCOMPARE(w.lblNum1->caption(), "3,5");
    const int h = w.surface()->height();
    // Blue rises by one per band of 2/512 of the height, top to bottom, no gaps.
    int previousBlue = -1, bands = 0;
    for (int y = 0; y < h; ++y) {
        const QColor c = w.surface()->pixelAt(QPoint(466, y));
        QCOMPARE(c.red(), 69);
        QCOMPARE(c.green(), 0);
        QVERIFY(c.blue() == previousBlue || c.blue() == previousBlue + 1);
        bands += c.blue() != previousBlue;
        previousBlue = c.blue();
    }
    QCOMPARE(previousBlue, 255);
    QCOMPARE(bands, 256);
    // Every stroke spans the whole width.
    QCOMPARE(w.surface()->pixelAt(QPoint(0, 100)), w.surface()->pixelAt(QPoint(931, 100)));
}

void TestWindow::backColorErasesDrawing()
{
    FakeServices services;
    Tavola w(services);
    w.cmdNext_Click();
    QVERIFY(w.surface()->hasDrawing());
    w.surface()->setBackColor(Qt::black);
    QVERIFY(!w.surface()->hasDrawing());
    QCOMPARE(w.surface()->pixelAt(QPoint(5, 5)), QColor(Qt::black));
    // The drawing survives a repaint.
    w.cmdNext_Click();
    const QColor before = w.surface()->pixelAt(QPoint(5, 300));
    w.surface()->repaint();
    QCOMPARE(w.surface()->pixelAt(QPoint(5, 300)), before);
    const QImage shown = w.surface()->grab().toImage();
    QCOMPARE(shown.pixelColor(5, 300), before);
}

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestWindow)
#include "tst_window.moc"
