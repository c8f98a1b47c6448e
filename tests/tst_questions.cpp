#include "DataColumns.h"
#include "FakeServices.h"
#include "RealLocales.h"
#include "engine/QuestionDraw.h"
#include "window/Tavola.h"

#include <QTest>

// Posing a question: the number drawn and shown, the answer boxes cleared, the background
// painted in the question's own red.
class TestQuestions : public QObject
{
    Q_OBJECT
private slots:
    void question_data();
    void question();
    void questionClearsThePreviousOne();
    void questionDrawGivesUpWhenEveryNumberReadsWhole();
    void gradientBands();
    void backColorErasesDrawing();
};

void TestQuestions::question_data()
{
    testdata::columns<QString, QList<double>, QString, int>("separator", "draws", "caption", "red");
    // value = 8r + 1; decimals = floor(2 r2 + 1)
    using Draws = QList<double>;
    // clang-format off
    QTest::newRow("one decimal")             << "," << Draws{0.3375, 0.2}               << "3,7"  << 74;
    QTest::newRow("two decimals end in 0")   << "," << Draws{0.3875, 0.9}               << "4,10" << 82;
    QTest::newRow("English")                 << "." << Draws{0.3875, 0.9}               << "4.10" << 82;
    QTest::newRow("half up 1,25")            << "," << Draws{0.03125, 0.1}              << "1,3"  << 25;
    QTest::newRow("half up 1,125")           << "," << Draws{0.015625, 0.6}             << "1,13" << 22;
    QTest::newRow("red of 1,625 is 32")      << "," << Draws{0.078125, 0.6}             << "1,63" << 32;
    QTest::newRow("1,0 redrawn")             << "," << Draws{0.0049, 0.2, 0.3375, 0.2}  << "3,7"  << 74;
    QTest::newRow("8,95 shows 9,0, redrawn") << "," << Draws{0.99375, 0.2, 0.3375, 0.2} << "3,7"  << 74;
    QTest::newRow("9,00 redrawn")            << "," << Draws{0.99999, 0.9, 0.3375, 0.2} << "3,7"  << 74;
    // clang-format on
}

void TestQuestions::question()
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

void TestQuestions::questionClearsThePreviousOne()
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

void TestQuestions::questionDrawGivesUpWhenEveryNumberReadsWhole()
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

void TestQuestions::gradientBands()
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

void TestQuestions::backColorErasesDrawing()
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

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestQuestions)
#include "tst_questions.moc"
