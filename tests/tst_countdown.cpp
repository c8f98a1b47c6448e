#include "CompetitionFixture.h"
#include "DataColumns.h"
#include "RealLocales.h"
#include "TestFiles.h"
#include <QDir>
#include <QFile>

#include <QTest>

// The countdown of a competition, and what a screen reader is told of it and of the answer boxes.
class TestCountdown : public CompetitionFixture
{
    Q_OBJECT
private slots:
    void countdown_data();
    void countdown();
    void timeOverNoNo();
    void timeOverYes();
    void ticksWhileAQuestionIsOpen();
    void clockNeverGoesBelowZero();
    void nothingIsAskedOverTheEndOfAGame_data();
    void nothingIsAskedOverTheEndOfAGame();
    void minimisedCaptionFollowsTheClock();
    void numeratorBoxTells_data();
    void numeratorBoxTells();
    void timeMarks_data();
    void timeMarks();
};

void TestCountdown::countdown_data()
{
    testdata::columns<int, QString>("ticks", "clock");
    // clang-format off
    QTest::newRow("1")   << 1   << "00:14:59";
    QTest::newRow("59")  << 59  << "00:14:01";
    QTest::newRow("60")  << 60  << "00:14:00";
    QTest::newRow("61")  << 61  << "00:13:59";
    QTest::newRow("899") << 899 << "00:00:01";
    QTest::newRow("900") << 900 << "00:00:00";
    // clang-format on
}

void TestCountdown::countdown()
{
    QFETCH(int, ticks);
    QFETCH(QString, clock);
    startGame("Anna");
    for (int i = 0; i < ticks; ++i)
        w->Timer1_Timer();
    QCOMPARE(w->lblconto->caption(), clock);
    QCOMPARE(w->restanti, qint16(900 - ticks));
    QCOMPARE(services->prompts().size(), 1); // the greeting only
}

void TestCountdown::timeOverNoNo()
{
    startGame("Anna");
    for (int i = 0; i < 900; ++i)
        w->Timer1_Timer();
    services->answers.append({platform::Answer::No, platform::Answer::No});
    w->Timer1_Timer();
    QCOMPARE(services->prompts().mid(1),
             (QStringList{"Vuoi veramente lasciarmi  ?", "Tempo scaduto",
                          "Vuoi veramente lasciarmi  ?"}));
    QCOMPARE(services->boxes[1].title, "Uscire dal programma");
    QCOMPARE(services->boxes[2].title, "Solfira");
    QCOMPARE(services->boxes[2].buttons, platform::Buttons::Ok);
    QCOMPARE(services->beeps, 1);
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->lblconto->caption(), "00:00:00");
    QVERIFY(!w->hasEnded());
    QVERIFY(!QFile::exists(path("Label2.txt")));
    // The game goes on and Exit still works.
    services->answers.enqueue(platform::Answer::Yes);
    w->cmdExit->click();
    QVERIFY(w->hasEnded());
    QVERIFY(bytesOf(path("Label2.txt")).contains("Tempo restante   00:00:00Data:"));
}

void TestCountdown::timeOverYes()
{
    startGame("Anna");
    for (int i = 0; i < 900; ++i)
        w->Timer1_Timer();
    services->answers.enqueue(platform::Answer::Yes);
    w->Timer1_Timer();
    QVERIFY(w->hasEnded());
    QCOMPARE(services->endCount, 1);
    QCOMPARE(bytesOf(path("Label2.txt")),
             QByteArray("Nome:  Anna  Risposte esatte 0  Risposte errate  0Tempo restante   "
                        "00:00:00Data:   15/04/2007\r\n"));
    QVERIFY(!w->Timer1->isActive());
}

void TestCountdown::ticksWhileAQuestionIsOpen()
{
    startGame("Anna");
    // Every box that opens sees three more ticks arrive meanwhile.
    services->onMessageBox = [this](const FakeServices::Box &) {
        for (int i = 0; i < 3; ++i)
            w->Timer1_Timer();
    };
    // Exit, answered "No": the clock afterwards.
    const auto exitAndStay = [this] {
        services->answers.enqueue(platform::Answer::No);
        w->cmdExit_Click();
        return std::pair(w->lblconto->caption(), w->restanti);
    };
    // The exit button's question does not pause the clock...
    QCOMPARE(exitAndStay(), std::pair(QString("00:14:57"), qint16(897)));
    for (int i = 0; i < 895; ++i)
        w->Timer1_Timer();
    // ...which runs down to 00:00:00 and no further, asking nothing more.
    QCOMPARE(exitAndStay(), std::pair(QString("00:00:00"), qint16(0)));
    QCOMPARE(services->prompts().size(), 1 + 2);
    // Tick 901: question, time over, question; the ticks under them ask nothing.
    services->answers.append({platform::Answer::No, platform::Answer::No});
    w->Timer1_Timer();
    QCOMPARE(services->prompts().mid(3),
             (QStringList{"Vuoi veramente lasciarmi  ?", "Tempo scaduto",
                          "Vuoi veramente lasciarmi  ?"}));
    QCOMPARE(w->lblconto->caption(), "00:00:00");
    QCOMPARE(services->beeps, 1);
}

void TestCountdown::clockNeverGoesBelowZero()
{
    startGame("Anna");
    for (int i = 0; i < 900; ++i)
        w->Timer1_Timer();
    w->restanti = 60;  // a count out of step with the clock text
    w->Timer1_Timer(); // the exit question, answered No
    QCOMPARE(w->lblconto->caption(), "00:00:00");
    QCOMPARE(w->restanti, qint16(0));
}

void TestCountdown::nothingIsAskedOverTheEndOfAGame_data()
{
    testdata::columns<bool>("logWritable");
    QTest::newRow("over the congratulation") << true;
    QTest::newRow("over the failure report") << false;
}

void TestCountdown::nothingIsAskedOverTheEndOfAGame()
{
    QFETCH(bool, logWritable);
    startGame("Anna");
    if (!logWritable) QVERIFY(QDir(dir->path()).mkdir("Label2.txt"));
    for (int i = 0; i < 899; ++i)
        w->Timer1_Timer();
    w->lblScore->setCaption("1"); // a new record in the last second
    // The clock runs out while the box after Yes is open; any question would get a Yes.
    services->onMessageBox = [this](const FakeServices::Box &box) {
        if (box.buttons == platform::Buttons::Ok)
            for (int i = 0; i < 3; ++i)
                w->Timer1_Timer();
    };
    services->answers.append({platform::Answer::Yes, platform::Answer::Yes, platform::Answer::Yes});
    w->cmdExit_Click();
    QCOMPARE(services->prompts().size(), 1 + 2);
    QCOMPARE(w->hasEnded(), logWritable);
    if (logWritable) {
        QCOMPARE(bytesOf(path("Label2.txt")).count("\r\n"), 1);
        QCOMPARE(w->lblconto->caption(), "00:00:01"); // as logged
    } else {
        QCOMPARE(w->lblconto->caption(), "00:00:00"); // the game goes on, and its clock
    }
}

void TestCountdown::minimisedCaptionFollowsTheClock()
{
    startGame("Anna");
    QCOMPARE(w->windowTitle(), "Virelba");
    w->setWindowState(Qt::WindowMinimized);
    w->Form_Resize();
    QCOMPARE(w->windowTitle(), "00:15:00");
    w->Timer1_Timer();
    QCOMPARE(w->windowTitle(), "00:14:59");
    w->setWindowState(Qt::WindowNoState);
    w->Form_Resize();
    QCOMPARE(w->windowTitle(), "Virelba");
    w->Timer1_Timer();
    QCOMPARE(w->windowTitle(), "Virelba");
}

void TestCountdown::numeratorBoxTells_data()
{
    // ticks: before the question asked for
    // asked: "" (the first question), "next", "new competition"
    // told: after the question
    testdata::columns<bool, int, QString, QString>("record", "ticks", "asked", "told");
    const QString help = "Scrivi il numeratore, poi premi Invio.";
    // clang-format off
    QTest::newRow("first, with a record")      << true  << 0   << ""                << "Tempo restante: 15 minuti. Sfidante: Anna. Il record è di Carlo, con 12 punti. " + help;
    QTest::newRow("first, no record yet")      << false << 0   << ""                << "Tempo restante: 15 minuti. Sfidante: Anna. Ancora nessun record. " + help;
    QTest::newRow("second: the time, not the record again") << true << 61 << "next" << "Tempo restante: 13 minuti e 59 secondi. " + help;
    QTest::newRow("one minute and one second") << true  << 839 << "next"            << "Tempo restante: 1 minuto e 1 secondo. " + help;
    QTest::newRow("a new competition tells the record again") << true << 5 << "new competition" << "Tempo restante: 15 minuti. Sfidante: Bea. Il record è di Carlo, con 12 punti. " + help;
    // clang-format on
}

void TestCountdown::numeratorBoxTells()
{
    QFETCH(bool, record);
    QFETCH(int, ticks);
    QFETCH(QString, asked);
    QFETCH(QString, told);
    if (record) {
        writeBytes(path("velmora.txt"), "12\r\n");
        writeBytes(path("velmora1.txt"), "Carlo\r\n");
    }
    startGame("Anna");
    for (int i = 0; i < ticks; ++i)
        w->Timer1_Timer();
    if (asked == "next") {
        w->cmdNext_Click();
    } else if (asked == "new competition") {
        services->answers.enqueue(platform::Answer::Yes);
        services->inputs.enqueue("Bea");
        w->Next->trigger();
    }
    QCOMPARE(w->txtAnswer->accessibleDescription(),
             "Scrivi " + w->lblNum1->caption() + " come frazione ridotta ai minimi termini. " +
                 told);
}

// At five minutes and at one minute left a notice that nobody sees is shown, and a screen
// reader speaks it; the focus and the boxes stay as they were. A pupil typing is not cut short.
void TestCountdown::timeMarks_data()
{
    // typing: a key typed just before the last tick
    // told: "": nothing
    testdata::columns<int, bool, QString>("ticks", "typing", "told");
    // clang-format off
    QTest::newRow("5 minutes")                           << 600 << false << "Restano 5 minuti.";
    QTest::newRow("a second before: nothing yet")        << 599 << false << "";
    QTest::newRow("1 minute")                            << 840 << false << "Resta 1 minuto.";
    QTest::newRow("typing at the mark: after the pause") << 600 << true  << "Restano 5 minuti.";
    // clang-format on
}

void TestCountdown::timeMarks()
{
    QFETCH(int, ticks);
    QFETCH(bool, typing);
    QFETCH(QString, told);
    startGame("Anna");
    auto *notice = w->findChild<QWidget *>("timeNotice");
    QVERIFY(notice);
    QVERIFY(notice->isHidden());
    w->txtAnswer->setFocus();
    for (int i = 0; i < ticks - 1; ++i)
        w->Timer1_Timer();
    if (typing) QTest::keyClick(w->txtAnswer, Qt::Key_4);
    w->Timer1_Timer();
    if (typing) {
        QVERIFY(notice->isHidden()); // put off while the pupil types
        auto *pause = notice->findChild<QTimer *>("timeNoticeTimer");
        QVERIFY(pause && pause->isActive());
        // The pause never comes here: the notice gives up waiting after ten seconds.
        for (int i = 0; i < 20; ++i) {
            QVERIFY(notice->isHidden());
            QMetaObject::invokeMethod(pause, "timeout");
        }
    }
    QCOMPARE(notice->isVisible(), !told.isEmpty());
    if (!told.isEmpty()) QCOMPARE(notice->accessibleName(), told);
    QCOMPARE(notice->size(), QSize(1, 1));
    QCOMPARE(notice->focusPolicy(), Qt::NoFocus);
    QCOMPARE(w->txtAnswer->text(), typing ? "4" : "");
}

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestCountdown)
#include "tst_countdown.moc"
