#include "DataColumns.h"
#include "FakeServices.h"
#include "platform/QtServices.h"
#include "window/Tavola.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The production dialogs, answered from a timer while they are open, and the report of an
// error that escapes a handler.
class TestServices : public QObject
{
    Q_OBJECT
private slots:
    void yesNoQuestion_data();
    void yesNoQuestion();
    void okBoxHasTheProgramTitle();
    void inputBox_data();
    void inputBox();
    void boxesBeforeTheWindowIsShown();
    void generatorStaysBelowOne();
    void reseedingGivesAFreshSequence();
    void escapedErrorIsReportedAndEnds();

private:
    // Runs `act` on the modal dialog as soon as it is open.
    void whenModal(std::function<void(QWidget *)> act)
    {
        QTimer::singleShot(0, this, [act] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            act(modal);
        });
    }
};

void TestServices::yesNoQuestion_data()
{
    testdata::columns<bool, int>("pressYes", "answer");
    // clang-format off
    QTest::newRow("Yes") << true  << 6;
    QTest::newRow("No")  << false << 7;
    // clang-format on
}

void TestServices::yesNoQuestion()
{
    QFETCH(bool, pressYes);
    QFETCH(int, answer);
    platform::QtServices services;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QAbstractButton *defaultButton = nullptr, *noButton = nullptr;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        icon = box->icon();
        defaultButton = box->defaultButton();
        noButton = box->button(QMessageBox::No);
        box->button(pressYes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    const platform::Answer result = services.messageBox(
        "Vuoi veramente lasciarmi  ?", platform::Buttons::YesNoQuestion, "Uscire dal programma");
    QCOMPARE(int(result), answer);
    QCOMPARE(title, "Uscire dal programma");
    QCOMPARE(icon, QMessageBox::Question);
    QVERIFY(defaultButton);
    QCOMPARE(defaultButton, noButton);
}

void TestServices::okBoxHasTheProgramTitle()
{
    platform::QtServices services;
    QString title, text;
    int buttons = 0;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    platform::Services &asService = services;
    QCOMPARE(asService.messageBox(" Anna vediamo se sei un vero campione  "), platform::Answer::Ok);
    QCOMPARE(title, "Solfira");
    QCOMPARE(text, " Anna vediamo se sei un vero campione  ");
    QCOMPARE(buttons, 1);
}

void TestServices::inputBox_data()
{
    testdata::columns<bool, QString>("accept", "result");
    // clang-format off
    QTest::newRow("typed")     << true  << "Anna";
    QTest::newRow("cancelled") << false << "";
    // clang-format on
}

void TestServices::inputBox()
{
    QFETCH(bool, accept);
    QFETCH(QString, result);
    platform::QtServices services;
    QString label, title;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        label = dialog->labelText();
        title = dialog->windowTitle();
        dialog->setTextValue("Anna");
        accept ? dialog->accept() : dialog->reject();
    });
    QCOMPARE(services.inputBox("Come ti chiami?", QString()), result);
    QCOMPARE(label, "Come ti chiami?");
    QCOMPARE(title, "Solfira");
}

// A box opened before the window first appears must not make the window on the screen's side
// (under Windows that probes the graphics card), yet sit where it would over the window.
void TestServices::boxesBeforeTheWindowIsShown()
{
    platform::QtServices services;
    QWidget window;
    window.resize(932, 672);
    services.setDialogParent(&window);
    QWidget *owner = nullptr;
    QPoint place[2];
    bool windowMade = true;
    for (QPoint &at : place) {
        whenModal([&](QWidget *modal) {
            windowMade = window.testAttribute(Qt::WA_WState_Created);
            owner = modal->parentWidget();
            at = modal->pos();
            qobject_cast<QDialog *>(modal)->reject();
        });
        services.inputBox("Come ti chiami?", QString());
        if (&at == &place[0]) {
            QVERIFY(!windowMade);
            window.winId(); // made, still hidden: from now on the boxes are the window's
        }
    }
    QCOMPARE(owner, &window);
    QCOMPARE(place[1], place[0]);
}

void TestServices::generatorStaysBelowOne()
{
    platform::QtServices services;
    double low = 1, high = 0, sum = 0;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const double r = services.rnd();
        QVERIFY(r >= 0 && r < 1);
        low = std::min(low, r);
        high = std::max(high, r);
        sum += r;
    }
    QVERIFY(low < 0.001 && high > 0.999);
    QVERIFY(std::abs(sum / n - 0.5) < 0.01);
}

void TestServices::reseedingGivesAFreshSequence()
{
    platform::QtServices services;
    services.randomize();
    const double a = services.rnd();
    services.randomize(); // within the same clock tick, most likely
    const double b = services.rnd();
    QVERIFY(a != b);
}

void TestServices::escapedErrorIsReportedAndEnds()
{
    FakeServices services;
    Tavola w(services);
    // A question that is not a number in the user's locale: the conversion raises error 13.
    w.lblNum1->setCaption("x");
    w.Command1->click();
    QVERIFY(w.hasEnded());
    QCOMPARE(services.endCount, 1);
    QCOMPARE(services.boxes.size(), 1);
    QVERIFY(services.boxes[0].prompt.startsWith("Errore di run-time '13':"));
    QCOMPARE(services.boxes[0].title, "Solfira");
    QVERIFY(!w.Timer1->isActive());
    // Nothing is handled after the end.
    w.cmdExit->click();
    QCOMPARE(services.boxes.size(), 1);
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
