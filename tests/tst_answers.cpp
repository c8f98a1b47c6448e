#include "DataColumns.h"
#include "FakeServices.h"
#include "window/Tavola.h"

#include "RealLocales.h"

#include <QTest>

// The answer cycle driven with real key events, on the question 1,5 (solution 3/2).
class TestAnswers : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void judging_data();
    void judging();
    void letterMovesAndSolves();
    void slashAndPlusAreTyped();
    void questionReachedByTabIsJudgedAgainstItsOwnSolution();
    void questionReachedByClickAfterAnother();
    void eachQuestionIsJudgedOnce();
    void otherKeyLeavesWithoutJudging();
    void command1SolvesWithoutMoving();
    void countersNeverOverflow();
    void enterOnNextPosesANewQuestion();
    void accessKeys();

private:
    void pose(double draw, double decimalsDraw);
    void type(QWidget *box, const QString &text);

    FakeServices *services = nullptr;
    Tavola *w = nullptr;
};

void TestAnswers::init()
{
    services = new FakeServices;
    w = new Tavola(*services);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    pose(0.0625, 0.2); // 1,5
}

void TestAnswers::cleanup()
{
    delete w;
    delete services;
}

void TestAnswers::pose(double draw, double decimalsDraw)
{
    services->draws.append({draw, decimalsDraw});
    w->cmdNext_Click();
}

// Types into `box`, then, like a keyboard, into whatever has the focus after each key.
void TestAnswers::type(QWidget *box, const QString &text)
{
    QWidget *target = box;
    for (QChar c : text) {
        if (c == QLatin1Char('\r'))
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::keyClick(target, c.toLatin1());
        target = QApplication::focusWidget();
    }
}

void TestAnswers::judging_data()
{
    // scores: right, wrong, total
    testdata::columns<QString, QString, QString, QStringList, QString>(
        "numerator", "denominator", "message", "scores", "numeratorAfter");
    // clang-format off
    QTest::newRow("3 and 2")                << "3"   << "2"    << "Esatto, è incredibile!!!" << QStringList{"1", "0", "1"} << "3";
    QTest::newRow("unreduced 15 and 10")    << "15"  << "10"   << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "15";
    QTest::newRow("empty numerator")        << ""    << "2"    << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "1";
    QTest::newRow("leading zero")           << "03"  << "2"    << "Esatto, è incredibile!!!" << QStringList{"1", "0", "1"} << "03";
    QTest::newRow("blanks around")          << " 3 " << "2 "   << "Esatto, è incredibile!!!" << QStringList{"1", "0", "1"} << " 3 ";
    QTest::newRow("leading plus")           << "+3"  << " +2 " << "Esatto, è incredibile!!!" << QStringList{"1", "0", "1"} << "+3";
    // Boxes that are not plain whole numbers get one verdict: wrong.
    QTest::newRow("3/2 in the numerator")   << "3/2" << "2"    << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "3/2";
    QTest::newRow("1 5 reads 15, wrong")    << "1 5" << "10"   << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "1 5";
    QTest::newRow("3+ in the numerator")    << "3+"  << "2"    << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "3+";
    QTest::newRow("2 / in the denominator") << "3"   << "2/"   << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "3";
    QTest::newRow("swapped")                << "2"   << "3"    << "Sbagliato!! 3 / 2"        << QStringList{"0", "1", "1"} << "2";
    // clang-format on
}

void TestAnswers::judging()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, message);
    QFETCH(QStringList, scores);
    QFETCH(QString, numeratorAfter);

    QCOMPARE(QApplication::focusWidget(), w->txtAnswer);
    type(w->txtAnswer, numerator + "\r");
    QCOMPARE(QApplication::focusWidget(), w->text3);
    QCOMPARE(w->lblNum2->caption(), "1+1/2");
    QCOMPARE(w->numeratore, 3);
    QCOMPARE(w->denominatore, 2);
    type(w->text3, denominator + "\r");

    QCOMPARE(w->lblMessage->caption(), message);
    QCOMPARE(w->lblScore->caption(), scores[0]);
    QCOMPARE(w->lblScore1->caption(), scores[1]);
    QCOMPARE(w->lblScore2->caption(), scores[2]);
    QCOMPARE(w->esatte, qint16(scores[0].toInt()));
    QCOMPARE(w->errate, qint16(scores[1].toInt()));
    QCOMPARE(w->txtAnswer->text(), numeratorAfter);
    QCOMPARE(w->surface()->backColor(), QColor(Qt::black));
    QVERIFY(!w->surface()->hasDrawing());
    QVERIFY(w->cmdNext->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->cmdNext);
}

void TestAnswers::letterMovesAndSolves()
{
    type(w->txtAnswer, "3a");
    QCOMPARE(w->txtAnswer->text(), "3a");
    QCOMPARE(QApplication::focusWidget(), w->text3);
    QCOMPARE(w->Text9->text(), "3");
    QCOMPARE(w->Text10->text(), "2");
    QVERIFY(!w->cmdNext->isEnabled());
}

void TestAnswers::slashAndPlusAreTyped()
{
    type(w->txtAnswer, "3/+ ");
    QCOMPARE(w->txtAnswer->text(), "3/+ ");
    QCOMPARE(QApplication::focusWidget(), w->txtAnswer);
    QCOMPARE(w->Text9->text(), ""); // nothing computed
    QTest::keyClick(w->txtAnswer, Qt::Key_Backspace);
    QCOMPARE(w->txtAnswer->text(), "3/+");
    QCOMPARE(QApplication::focusWidget(), w->txtAnswer);
    w->text3->setFocus();
    type(w->text3, "2/+");
    QCOMPARE(w->text3->text(), "2/+");
    QCOMPARE(w->lblMessage->caption(), "");
}

void TestAnswers::questionReachedByTabIsJudgedAgainstItsOwnSolution()
{
    // The first question: no solution has been computed yet.
    type(w->txtAnswer, "3");
    QTest::keyClick(w->txtAnswer, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->Command1);
    QTest::keyClick(w->Command1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->text3);
    QCOMPARE(w->Text9->text(), "");
    type(w->text3, "2\r");
    QCOMPARE(w->lblMessage->caption(), "Esatto, è incredibile!!!");
    QCOMPARE(w->lblNum2->caption(), "1+1/2");
    QCOMPARE(w->esatte, qint16(1));
    QCOMPARE(w->errate, qint16(0));
}

void TestAnswers::questionReachedByClickAfterAnother()
{
    type(w->txtAnswer, "3\r2\r");
    QCOMPARE(w->esatte, qint16(1));
    pose(0.28125, 0.9); // 3,25
    QCOMPARE(w->lblNum1->caption(), "3,25");
    type(w->txtAnswer, "13");
    QTest::mouseClick(w->text3, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->text3);
    type(w->text3, "4\r");
    QCOMPARE(w->lblMessage->caption(), "Esatto, è incredibile!!!");
    QCOMPARE(w->esatte, qint16(2));
    QCOMPARE(w->Text9->text(), "13");
}

void TestAnswers::eachQuestionIsJudgedOnce()
{
    type(w->txtAnswer, "3\r2\r");
    QCOMPARE(w->lblScore->caption(), "1");
    for (int i = 0; i < 3; ++i) {
        w->text3->setFocus();
        w->cmdNext->setEnabled(false);
        w->lblMessage->setCaption("guardato");
        type(w->text3, "\r");
        QCOMPARE(w->esatte, qint16(1));
        QCOMPARE(w->errate, qint16(0));
        QCOMPARE(w->lblScore2->caption(), "1");
        QCOMPARE(w->lblMessage->caption(), "guardato");
        QVERIFY(w->cmdNext->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w->cmdNext);
    }
    // The next question can be judged again.
    pose(0.0625, 0.2);
    type(w->txtAnswer, "3\r5\r");
    QCOMPARE(w->lblScore1->caption(), "1");
    QCOMPARE(w->lblScore2->caption(), "2");
}

void TestAnswers::otherKeyLeavesWithoutJudging()
{
    type(w->txtAnswer, "3\r");
    QTest::keyClick(w->text3, Qt::Key_Escape);
    QVERIFY(w->cmdNext->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->cmdNext);
    QCOMPARE(w->lblMessage->caption(), "");
    QCOMPARE(w->lblScore2->caption(), "0");
    // Esc on a focused button does nothing.
    QTest::keyClick(w->cmdNext, Qt::Key_Escape);
    QCOMPARE(w->lblNum1->caption(), "1,5");
}

void TestAnswers::command1SolvesWithoutMoving()
{
    w->txtAnswer->setFocus();
    w->cmdNext->setEnabled(true);
    w->Command1->click();
    QCOMPARE(w->lblNum2->caption(), "1+1/2");
    QCOMPARE(w->Text9->text(), "3");
    QCOMPARE(w->denominatore, 2);
    QVERIFY(!w->cmdNext->isEnabled());
    QVERIFY(w->txtAnswer->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->txtAnswer);
}

void TestAnswers::countersNeverOverflow()
{
    w->esatte = 32767;
    w->errate = 32767;
    type(w->txtAnswer, "3\r2\r");
    QVERIFY(!w->hasEnded());
    QCOMPARE(w->esatte, qint16(32767));
    QCOMPARE(w->lblScore2->caption(), "65534");
    pose(0.0625, 0.2);
    type(w->txtAnswer, "1\r1\r");
    QCOMPARE(w->errate, qint16(32767));
    QCOMPARE(services->endCount, 0);
}

void TestAnswers::enterOnNextPosesANewQuestion()
{
    type(w->txtAnswer, "3\r2\r");
    services->draws.append({0.28125, 0.9});
    QTest::keyClick(w->cmdNext, Qt::Key_Return);
    QCOMPARE(w->lblNum1->caption(), "3,25");
    QCOMPARE(w->lblMessage->caption(), "");
    QCOMPARE(w->lblScore->caption(), "1");
    QVERIFY(!w->cmdNext->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->txtAnswer);
}

void TestAnswers::accessKeys()
{
    // A disabled button takes no access key.
    QVERIFY(!w->cmdNext->isEnabled());
    QTest::keyClick(w, Qt::Key_N, Qt::AltModifier);
    QTest::qWait(300); // an access key clicks with a short animation
    QCOMPARE(w->lblNum1->caption(), "1,5");
    QCOMPARE(services->randomizeCount, 3);
    // Alt+X always reaches Exit: the exit question is asked (and answered No).
    services->answers.enqueue(platform::Answer::No);
    // Pressed in the answer box, it is no character for the box.
    QTest::keyClick(w->txtAnswer, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(services->prompts(), QStringList{"Vuoi veramente lasciarmi  ?"});
    QVERIFY(!w->hasEnded());
    QCOMPARE(w->txtAnswer->text(), "");
    QCOMPARE(w->Text9->text(), "");
    // Alt+N once enabled.
    w->cmdNext->setEnabled(true);
    services->draws.append({0.28125, 0.9});
    QTest::keyClick(w, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(w->lblNum1->caption(), "3,25");
}

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestAnswers)
#include "tst_answers.moc"
