#include "CompetitionFixture.h"
#include "DataColumns.h"
#include "RealLocales.h"
#include "TestFiles.h"
#include <QDir>
#include <QFile>

#include <QTest>

// A competition from its start: the name prompt, the greeting, the record, the menu commands.
class TestCompetition : public CompetitionFixture
{
    Q_OBJECT
private slots:
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
};

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
    // shortened: told so in a box before the class is shown
    testdata::columns<QString, QString, bool>("typed", "kept", "shortened");
    // clang-format off
    QTest::newRow("3B")                        << "3B"                 << "3B"              << false;
    QTest::newRow("cancelled")                 << ""                   << ""                << false;
    QTest::newRow("pasted line break ends it") << "3B\nNome:  Mallory" << "3B"              << false;
    QTest::newRow("too long for a file name")  << QString(300, 'a')    << QString(251, 'a') << true;
    // clang-format on
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

SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestCompetition)
#include "tst_competition.moc"
