#include "CompetitionFixture.h"
#include "DataColumns.h"
#include "RealLocales.h"
#include "TestFiles.h"
#include <QDir>
#include <QFile>

#include <QTest>

// The end of a competition: the exit question, the score stored, a failed write.
class TestGameEnd : public CompetitionFixture
{
    Q_OBJECT
private slots:
    void exitNoChangesNothing();
    void exitFirstRunScores_data();
    void exitFirstRunScores();
    void recordBeaten();
    void unwritableDataDirectoryGoesOn();
    void failedWriteAtTheEndReturnsToTheGame_data();
    void failedWriteAtTheEndReturnsToTheGame();
    void wholeGameThroughTheWindow();
    void closingWritesNothing();
};

void TestGameEnd::exitNoChangesNothing()
{
    startGame("Anna");
    services->answers.enqueue(platform::Answer::No);
    w->cmdExit->click();
    QCOMPARE(services->boxes.last().prompt, "Vuoi veramente lasciarmi  ?");
    QCOMPARE(services->boxes.last().title, "Uscire dal programma");
    QCOMPARE(services->boxes.last().buttons, platform::Buttons::YesNoQuestion);
    QVERIFY(!w->hasEnded());
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
             (QStringList{"velmora.txt", "velmora1.txt"}));
}

void TestGameEnd::exitFirstRunScores_data()
{
    testdata::columns<int, QByteArray, QByteArray, int>("right", "record", "logLine",
                                                        "boxesAfterQuestion");
    // clang-format off
    QTest::newRow("score 0 keeps the empty record") << 0 << QByteArray()        << QByteArray("Nome:  Anna  Risposte esatte 0  Risposte errate  0Tempo restante   00:15:00Data:   15/04/2007\r\n") << 0;
    QTest::newRow("score 2 is the record")          << 2 << QByteArray("2\r\n") << QByteArray("Nome:  Anna Risposte esatte 2  Risposte errate  0Tempo restante   00:15:00-\"Data:  15/04/2007\r\n") << 1;
    // clang-format on
}

void TestGameEnd::exitFirstRunScores()
{
    QFETCH(int, right);
    QFETCH(QByteArray, record);
    QFETCH(QByteArray, logLine);
    QFETCH(int, boxesAfterQuestion);
    startGame("Anna");
    w->esatte = qint16(right);
    w->lblScore->setCaption(QString::number(right));
    const int before = int(services->boxes.size());
    services->answers.enqueue(platform::Answer::Yes);
    w->cmdExit_Click();
    QVERIFY(w->hasEnded());
    QCOMPARE(int(services->boxes.size()) - before - 1, boxesAfterQuestion);
    if (boxesAfterQuestion)
        QCOMPARE(services->boxes.last().prompt,
                 "Ok ho registrato il tuo record, C A M P I O N E\"");
    QCOMPARE(bytesOf(path("velmora.txt")), record);
    QCOMPARE(bytesOf(path("Label2.txt")), logLine);
}

void TestGameEnd::recordBeaten()
{
    writeBytes(path("velmora.txt"), "12\r\n");
    writeBytes(path("velmora1.txt"), "Carlo\r\n");
    startGame("Bea");
    w->lblScore->setCaption("13");
    services->answers.enqueue(platform::Answer::Yes);
    w->cmdExit_Click();
    QCOMPARE(bytesOf(path("velmora.txt")), QByteArray("13\r\n"));
    QCOMPARE(bytesOf(path("velmora1.txt")), QByteArray("Bea\r\n"));
    QCOMPARE(services->boxes.last().title, "Solfira");
    QCOMPARE(services->endCount, 1);
}

void TestGameEnd::unwritableDataDirectoryGoesOn()
{
    writeBytes(path("occupato"), "x");
    services->inputs.enqueue("Anna");
    w = new Tavola(*services, path("occupato"));
    // A running clock would tick while a box is open.
    services->onMessageBox = [this](const FakeServices::Box &) {
        for (int i = 0; w->Timer1->isActive() && i < 10; ++i)
            w->Timer1_Timer();
    };
    w->start();
    QVERIFY(!w->hasEnded());
    QCOMPARE(services->prompts().size(), 2);
    QVERIFY(services->prompts().last().contains("velmora.txt"));
    QVERIFY(services->prompts().last().contains("La gara continua"));
    QCOMPARE(w->lblpunti->caption(), "");
    QCOMPARE(w->lblnome->caption(), "");
    QVERIFY(w->isVisible());
    QVERIFY(w->Timer1->isActive());
    // The countdown starts with the game, in step with its text.
    QCOMPARE(w->lblconto->caption(), "00:15:00");
    QCOMPARE(w->restanti, qint16(900));
}

void TestGameEnd::failedWriteAtTheEndReturnsToTheGame_data()
{
    // beforeDate: the text of the line's form
    testdata::columns<QString, QByteArray, QByteArray>("score", "beforeDate", "record");
    // clang-format off
    QTest::newRow("record stands") << "0" << QByteArray("00:15:00Data:   ")   << QByteArray();
    // The first try already stored the record; the retry logs the record game it was.
    QTest::newRow("new record")    << "1" << QByteArray("00:15:00-\"Data:  ") << QByteArray("1\r\n");
    // clang-format on
}

void TestGameEnd::failedWriteAtTheEndReturnsToTheGame()
{
    QFETCH(QString, score);
    QFETCH(QByteArray, beforeDate);
    QFETCH(QByteArray, record);
    startGame("Anna");
    QVERIFY(QDir(dir->path()).mkdir("Label2.txt"));
    w->lblScore->setCaption(score);
    services->answers.enqueue(platform::Answer::Yes);
    w->cmdExit_Click();
    QVERIFY(!w->hasEnded());
    QVERIFY(services->prompts().last().contains("Label2.txt"));
    QCOMPARE(w->lblScore->caption(), score);
    // Exit can be tried again once the problem is gone.
    QVERIFY(QDir(dir->path()).rmdir("Label2.txt"));
    services->answers.enqueue(platform::Answer::Yes);
    w->cmdExit_Click();
    QVERIFY(w->hasEnded());
    QVERIFY(bytesOf(path("Label2.txt")).contains(beforeDate));
    QCOMPARE(bytesOf(path("velmora.txt")), record);
    QCOMPARE(bytesOf(path("velmora1.txt")), record.isEmpty() ? QByteArray() : "Anna\r\n");
}

void TestGameEnd::wholeGameThroughTheWindow()
{
    startGame("Anna");
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    services->inputs.enqueue("3A");
    w->clas->trigger();
    // 1,5 answered 3/2 (right), then 3,25 answered 26/8 (wrong).
    const auto answer = [this](double draw, double decimals, const char *num, const char *den) {
        services->draws.append({draw, decimals});
        w->cmdNext_Click();
        QTest::keyClicks(w->txtAnswer, num);
        QTest::keyClick(w->txtAnswer, Qt::Key_Return);
        QTest::keyClicks(w->text3, den);
        QTest::keyClick(w->text3, Qt::Key_Return);
    };
    answer(0.0625, 0.2, "3", "2");
    QCOMPARE(w->lblMessage->caption(), "Esatto, è incredibile!!!");
    answer(0.28125, 0.9, "26", "8");
    QCOMPARE(w->lblMessage->caption(), "Sbagliato!! 13 / 4");
    for (int i = 0; i < 192; ++i)
        w->Timer1_Timer();
    services->answers.enqueue(platform::Answer::Yes);
    QTest::keyClick(w->cmdExit, Qt::Key_Return);
    QVERIFY(w->hasEnded());
    QCOMPARE(bytesOf(path("3A.txt")),
             QByteArray("Nome:  Anna Risposte esatte 1  Risposte errate  1Tempo restante   "
                        "00:11:48-\"Data:  15/04/2007\r\n"));
    QCOMPARE(bytesOf(path("velmora.txt")), QByteArray("1\r\n"));
    QCOMPARE(bytesOf(path("velmora1.txt")), QByteArray("Anna\r\n"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
             (QStringList{"3A.txt", "velmora.txt", "velmora1.txt"}));
}

void TestGameEnd::closingWritesNothing()
{
    startGame("Anna");
    w->lblScore->setCaption("5");
    w->close();
    QVERIFY(w->hasEnded());
    QCOMPARE(services->endCount, 1);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
             (QStringList{"velmora.txt", "velmora1.txt"}));
    QCOMPARE(bytesOf(path("velmora.txt")), QByteArray());
    // No handler runs after the end.
    const int boxes = int(services->boxes.size());
    w->HELP->trigger();
    QCOMPARE(int(services->boxes.size()), boxes);
}

// What a screen reader reads as the focus lands in the numerator box: the question, the time
// left and, for a competition's first question only, the challenger and the record.

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestGameEnd)
#include "tst_gameend.moc"
