#include "FakeServices.h"
#include "TestFiles.h"
#include "window/Tavola.h"

#include "RealLocales.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QTest>

namespace {

const QString greetingOf(const QString &name)
{
    return " " + name + " vediamo se sei un vero campione  ";
}

} // namespace

// A whole competition: start, menu commands, countdown, end of game.
class TestCompetition : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadAsksGreetsAndShowsRecord();
    void clockWaitsForStartBoxes();
    void cancelledNameIsEmpty();
    void pastedNameEndsAtTheLineBreak();
    void classCommand_data();
    void classCommand();
    void helpMessage();
    void aboutTellsTheVersionAndLicences();
    void newCompetitionNo();
    void newCompetitionYes();
    void countdown_data();
    void countdown();
    void timeOverNoNo();
    void timeOverYes();
    void ticksWhileAQuestionIsOpen();
    void clockNeverGoesBelowZero();
    void nothingIsAskedOverTheEndOfAGame_data();
    void nothingIsAskedOverTheEndOfAGame();
    void minimisedCaptionFollowsTheClock();
    void exitNoChangesNothing();
    void exitFirstRunScores_data();
    void exitFirstRunScores();
    void recordBeaten();
    void unwritableDataDirectoryGoesOn();
    void failedWriteAtTheEndReturnsToTheGame_data();
    void failedWriteAtTheEndReturnsToTheGame();
    void wholeGameThroughTheWindow();
    void closingWritesNothing();
    void numeratorBoxTells_data();
    void numeratorBoxTells();
    void timeMarks_data();
    void timeMarks();

private:
    Tavola *startGame(const QString &name);
    QString path(const QString &file) const { return dir->filePath(file); }

    QTemporaryDir *dir = nullptr;
    FakeServices *services = nullptr;
    Tavola *w = nullptr;
};

void TestCompetition::init()
{
    dir = new QTemporaryDir;
    services = new FakeServices;
}

void TestCompetition::cleanup()
{
    delete w;
    w = nullptr;
    delete services;
    delete dir;
}

Tavola *TestCompetition::startGame(const QString &name)
{
    services->inputs.enqueue(name);
    w = new Tavola(*services, dir->path());
    w->start();
    return w;
}

void TestCompetition::loadAsksGreetsAndShowsRecord()
{
    writeBytes(path("velmora.txt"), "12\r\n");
    writeBytes(path("velmora1.txt"), "Carlo\r\n");
    startGame("Anna");
    QCOMPARE(services->inputPrompts, QStringList{"Come ti chiami?"});
    QCOMPARE(services->prompts(), QStringList{greetingOf("Anna")});
    QCOMPARE(services->boxes[0].title, "Solfira");
    QCOMPARE(w->lblnome1->caption(), "Anna");
    QCOMPARE(w->lblpunti->caption(), "12\r\n");
    QCOMPARE(w->lblnome->caption(), "Carlo\r\n");
    QCOMPARE(w->lblconto->caption(), "00:15:00");
    QCOMPARE(w->restanti, qint16(900));
    QCOMPARE(w->Lbltime->caption(), "15/04/2007");
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->cartella, QDir(dir->path()).absolutePath() + "/");
    // Shown: the caption is set and the first question posed.
    QCOMPARE(w->windowTitle(), "Virelba");
    QVERIFY(!w->lblNum1->caption().isEmpty());
    QCOMPARE(services->randomizeCount, 3);
}

void TestCompetition::clockWaitsForStartBoxes()
{
    bool runningWhileOpen = true;
    services->onMessageBox = [&](const FakeServices::Box &) {
        runningWhileOpen = w->Timer1->isActive();
    };
    startGame("Anna");
    QVERIFY(!runningWhileOpen);
    QVERIFY(w->Timer1->isActive());
}

void TestCompetition::cancelledNameIsEmpty()
{
    startGame("");
    QCOMPARE(services->prompts(), QStringList{greetingOf("")});
    QCOMPARE(w->lblnome1->caption(), "");
    // First run: both record files created empty, the labels empty.
    QCOMPARE(bytesOf(path("velmora.txt")), QByteArray());
    QCOMPARE(bytesOf(path("velmora1.txt")), QByteArray());
    QCOMPARE(w->lblpunti->caption(), "");
    QCOMPARE(w->lblnome->caption(), "");
}

void TestCompetition::pastedNameEndsAtTheLineBreak()
{
    startGame("Eve\r\nNome:  Mallory Risposte esatte 99");
    QCOMPARE(services->prompts(), QStringList{greetingOf("Eve")});
    QCOMPARE(w->lblnome1->caption(), "Eve");
}

void TestCompetition::classCommand_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("shortened"); // told so in a box before the class is shown
    QTest::newRow("3B") << "3B"
                        << "3B" << false;
    QTest::newRow("cancelled") << ""
                               << "" << false;
    QTest::newRow("pasted line break ends it") << "3B\nNome:  Mallory"
                                               << "3B" << false;
    QTest::newRow("too long for a file name") << QString(300, 'a') << QString(251, 'a') << true;
}

void TestCompetition::classCommand()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(bool, shortened);
    startGame("Anna");
    const qsizetype boxesBefore = services->prompts().size();
    services->inputs.enqueue(typed);
    w->clas->trigger();
    QCOMPARE(services->inputPrompts.last(), "Classe?");
    const QStringList shown = services->prompts().mid(boxesBefore);
    QCOMPARE(shown.size(), shortened ? 2 : 1);
    if (shortened)
        QVERIFY2(shown.first().contains("troppo lungo") && shown.first().contains("251"),
                 qPrintable(shown.first()));
    QCOMPARE(shown.last(), " Classe  " + kept);
    QCOMPARE(w->classe->caption(), kept);
    QCOMPARE(w->nomeClasse, kept);
}

void TestCompetition::helpMessage()
{
    startGame("Anna");
    w->HELP->trigger();
    QCOMPARE(services->prompts().last(),
             "Anna Devi risolvere così: es 1,5=15/10 poi semplificando 3/2  Ciao");
    QCOMPARE(services->boxes.last().buttons, platform::Buttons::Ok);
}

void TestCompetition::aboutTellsTheVersionAndLicences()
{
    startGame("Anna");
    const int boxesBefore = int(services->boxes.size());
    w->mnuVersione->trigger();
    QCOMPARE(services->abouts.size(), 1);
    const auto &[summary, licences] = services->abouts.first();
    // The box opens with the very text of the menu entry, and names both licences.
    QCOMPARE(summary.section('\n', 0, 0), w->mnuVersione->text());
    QVERIFY(summary.contains("GNU General Public License"));
    QVERIFY(summary.contains("GNU Lesser General Public License"));
    QVERIFY(!licences.trimmed().isEmpty());
    QCOMPARE(int(services->boxes.size()), boxesBefore); // no other box
    QVERIFY(w->Timer1->isActive());
}

void TestCompetition::newCompetitionNo()
{
    startGame("Anna");
    for (int i = 0; i < 5; ++i)
        w->Timer1_Timer();
    const QString question = w->lblNum1->caption();
    w->errate = 2;
    w->lblScore1->setCaption("2");
    services->answers.enqueue(platform::Answer::No);
    w->Next->trigger();
    QCOMPARE(services->boxes.last().prompt, "INIZIAMO UNA NUOVA GARA  ?");
    QCOMPARE(services->boxes.last().title, "INIZIARE NUOVA GARA");
    QCOMPARE(services->boxes.last().buttons, platform::Buttons::YesNoQuestion);
    QCOMPARE(w->lblconto->caption(), "00:14:55");
    QCOMPARE(w->lblScore1->caption(), "2");
    QCOMPARE(w->lblNum1->caption(), question);
    QCOMPARE(services->inputPrompts.size(), 1);
}

void TestCompetition::newCompetitionYes()
{
    startGame("Anna");
    services->draws.append({0.0625, 0.2}); // 1,5
    w->cmdNext_Click();
    QTest::keyClick(w->txtAnswer, Qt::Key_3);
    QTest::keyClick(w->txtAnswer, Qt::Key_Return);
    QTest::keyClick(w->text3, Qt::Key_2);
    QTest::keyClick(w->text3, Qt::Key_Return);
    QCOMPARE(w->lblScore->caption(), "1");
    services->inputs.enqueue("3C");
    w->clas->trigger();
    for (int i = 0; i < 10; ++i)
        w->Timer1_Timer();
    Label *oldScore = w->lblScore;

    services->answers.enqueue(platform::Answer::Yes);
    services->inputs.enqueue("Bea");
    w->Next->trigger();
    QVERIFY(w->lblScore != oldScore); // the controls were created anew
    QCOMPARE(services->inputPrompts.last(), "Come ti chiami?");
    QCOMPARE(services->prompts().last(), greetingOf("Bea"));
    QCOMPARE(w->lblnome1->caption(), "Bea");
    QCOMPARE(w->lblconto->caption(), "00:15:00");
    QCOMPARE(w->lblScore->caption(), "0");
    QCOMPARE(w->lblScore1->caption(), "0");
    QCOMPARE(w->lblScore2->caption(), "0");
    QCOMPARE(w->classe->caption(), "Label2");
    QCOMPARE(w->esatte, qint16(0));
    QVERIFY(w->Timer1->isActive());
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), "Virelba");
    // Variables that loading does not set keep the last solution.
    QCOMPARE(w->numeratore, 3);
    QCOMPARE(w->denominatore, 2);
    QCOMPARE(w->Text9->text(), "");
    // Nothing was written by the competition that was replaced.
    QVERIFY(!QFile::exists(path("3C.txt")));
    QCOMPARE(bytesOf(path("velmora.txt")), QByteArray());
}

void TestCompetition::countdown_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("clock");
    QTest::newRow("1") << 1 << "00:14:59";
    QTest::newRow("59") << 59 << "00:14:01";
    QTest::newRow("60") << 60 << "00:14:00";
    QTest::newRow("61") << 61 << "00:13:59";
    QTest::newRow("899") << 899 << "00:00:01";
    QTest::newRow("900") << 900 << "00:00:00";
}

void TestCompetition::countdown()
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

void TestCompetition::timeOverNoNo()
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

void TestCompetition::timeOverYes()
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

void TestCompetition::ticksWhileAQuestionIsOpen()
{
    startGame("Anna");
    // Every box that opens sees three more ticks arrive meanwhile.
    services->onMessageBox = [this](const FakeServices::Box &) {
        for (int i = 0; i < 3; ++i)
            w->Timer1_Timer();
    };
    // The exit button's question does not pause the clock...
    services->answers.enqueue(platform::Answer::No);
    w->cmdExit_Click();
    QCOMPARE(w->lblconto->caption(), "00:14:57");
    QCOMPARE(w->restanti, qint16(897));
    for (int i = 0; i < 895; ++i)
        w->Timer1_Timer();
    // ...which runs down to 00:00:00 and no further, asking nothing more.
    services->answers.enqueue(platform::Answer::No);
    w->cmdExit_Click();
    QCOMPARE(w->lblconto->caption(), "00:00:00");
    QCOMPARE(w->restanti, qint16(0));
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

void TestCompetition::clockNeverGoesBelowZero()
{
    startGame("Anna");
    for (int i = 0; i < 900; ++i)
        w->Timer1_Timer();
    w->restanti = 60;  // a count out of step with the clock text
    w->Timer1_Timer(); // the exit question, answered No
    QCOMPARE(w->lblconto->caption(), "00:00:00");
    QCOMPARE(w->restanti, qint16(0));
}

void TestCompetition::nothingIsAskedOverTheEndOfAGame_data()
{
    QTest::addColumn<bool>("logWritable");
    QTest::newRow("over the congratulation") << true;
    QTest::newRow("over the failure report") << false;
}

void TestCompetition::nothingIsAskedOverTheEndOfAGame()
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

void TestCompetition::minimisedCaptionFollowsTheClock()
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

void TestCompetition::exitNoChangesNothing()
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

void TestCompetition::exitFirstRunScores_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QByteArray>("logLine");
    QTest::addColumn<int>("boxesAfterQuestion");
    QTest::newRow("score 0 keeps the empty record")
        << 0 << QByteArray()
        << QByteArray("Nome:  Anna  Risposte esatte 0  Risposte errate  0Tempo restante   "
                      "00:15:00Data:   15/04/2007\r\n")
        << 0;
    QTest::newRow("score 2 is the record")
        << 2 << QByteArray("2\r\n")
        << QByteArray("Nome:  Anna Risposte esatte 2  Risposte errate  0Tempo restante   "
                      "00:15:00-\"Data:  15/04/2007\r\n")
        << 1;
}

void TestCompetition::exitFirstRunScores()
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

void TestCompetition::recordBeaten()
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

void TestCompetition::unwritableDataDirectoryGoesOn()
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

void TestCompetition::failedWriteAtTheEndReturnsToTheGame_data()
{
    QTest::addColumn<QString>("score");
    QTest::addColumn<QByteArray>("beforeDate"); // the text of the line's form
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("record stands") << "0" << QByteArray("00:15:00Data:   ") << QByteArray();
    // The first try already stored the record; the retry logs the record game it was.
    QTest::newRow("new record") << "1" << QByteArray("00:15:00-\"Data:  ") << QByteArray("1\r\n");
}

void TestCompetition::failedWriteAtTheEndReturnsToTheGame()
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

void TestCompetition::wholeGameThroughTheWindow()
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

void TestCompetition::closingWritesNothing()
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
void TestCompetition::numeratorBoxTells_data()
{
    QTest::addColumn<bool>("record");
    QTest::addColumn<int>("ticks");     // before the question asked for
    QTest::addColumn<QString>("asked"); // "" (the first question), "next", "new competition"
    QTest::addColumn<QString>("told");  // after the question
    const QString help = "Scrivi il numeratore, poi premi Invio.";
    QTest::newRow("first, with a record")
        << true << 0 << ""
        << "Tempo restante: 15 minuti. Sfidante: Anna. Il record è di Carlo, "
           "con 12 punti. " +
               help;
    QTest::newRow("first, no record yet")
        << false << 0 << ""
        << "Tempo restante: 15 minuti. Sfidante: Anna. Ancora nessun record. " + help;
    QTest::newRow("second: the time, not the record again")
        << true << 61 << "next"
        << "Tempo restante: 13 minuti e 59 secondi. " + help;
    QTest::newRow("one minute and one second") << true << 839 << "next"
                                               << "Tempo restante: 1 minuto e 1 secondo. " + help;
    QTest::newRow("a new competition tells the record again")
        << true << 5 << "new competition"
        << "Tempo restante: 15 minuti. Sfidante: Bea. Il record è di Carlo, con 12 punti. " + help;
}

void TestCompetition::numeratorBoxTells()
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
void TestCompetition::timeMarks_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("typing");  // a key typed just before the last tick
    QTest::addColumn<QString>("told"); // "": nothing
    QTest::newRow("5 minutes") << 600 << false << "Restano 5 minuti.";
    QTest::newRow("a second before: nothing yet") << 599 << false << "";
    QTest::newRow("1 minute") << 840 << false << "Resta 1 minuto.";
    QTest::newRow("typing at the mark: after the pause") << 600 << true << "Restano 5 minuti.";
}

void TestCompetition::timeMarks()
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

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestCompetition)
#include "tst_competition.moc"
