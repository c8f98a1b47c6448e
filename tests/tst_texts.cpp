// The words a user reads for each failed step, the same in the game and the register, and
// for each warning the register gives about a class log line.

#include "ClassLogWarnings.h"
#include "DataColumns.h"
#include "Failures.h"
#include "texts/ClassLogWarningText.h"
#include "texts/FailureText.h"
#include "texts/FolderProblemText.h"

#include <QTest>

#include <cerrno>

using records::ClassLogWarning;
using records::Failure;

class TestTexts : public QObject
{
    Q_OBJECT
private slots:
    void failures_data();
    void failures();
    void warnings_data();
    void warnings();
    void folderProblems_data();
    void folderProblems();
};

void TestTexts::failures_data()
{
    testdata::columns<Failure, QString>("failure", "sentence");
    using F = FileError;
    const auto on = [](Step step, const char *path, FileError error = {}, const char *text = "") {
        return Failure{step, QString::fromUtf8(path), error, QString::fromUtf8(text)};
    };
    // clang-format off
    QTest::newRow("link under a record's name")  << on(Step::CreateFile,   "/dati/velmora.txt",  {F::Link})            << "Impossibile creare il file /dati/velmora.txt:\nnon è un file normale ma un collegamento, che Solfira non segue";
    QTest::newRow("folder under a record's name") << on(Step::ReadFile,    "/dati/velmora1.txt", {F::Directory})       << "Impossibile leggere il file /dati/velmora1.txt:\nnon è un file normale ma una cartella";
    QTest::newRow("pipe under a class log's name") << on(Step::WriteFile,  "/dati/3A.txt",       {F::Special})         << "Impossibile scrivere il file /dati/3A.txt:\nnon è un file normale (è una pipe, un dispositivo o un socket)";
    QTest::newRow("disk full")                   << on(Step::WriteFile,    "/dati/3A.txt",       F::system(ENOSPC))    << "Impossibile scrivere il file /dati/3A.txt:\nspazio esaurito sul disco";
    QTest::newRow("no permission")               << on(Step::WriteFile,    "/dati/3A.txt",       F::system(EACCES))    << "Impossibile scrivere il file /dati/3A.txt:\npermesso negato";
    QTest::newRow("read-only disk")              << on(Step::CreateFile,   "/dati/velmora.txt",  F::system(EROFS))     << "Impossibile creare il file /dati/velmora.txt:\nil disco è in sola lettura";
    QTest::newRow("error without words of ours") << on(Step::WriteFile,    "/dati/3A.txt",       F::system(EXDEV))     << "Impossibile scrivere il file /dati/3A.txt:\nerrore di sistema 18 (Invalid cross-device link)";
    QTest::newRow("line with a line break")      << on(Step::RefuseLine,   "/dati/3A.txt")                             << "Impossibile scrivere il file /dati/3A.txt:\nla riga contiene caratteri di controllo (a capo, tabulazioni...) e non viene scritta";
    QTest::newRow("folder busy")                 << on(Step::FolderBusy,   "/dati/")                                   << "La cartella dei dati /dati/ è occupata da un'altra copia di Solfira: riprova tra poco.";
    QTest::newRow("no lock file allowed")        << on(Step::LockFolder,   "/dati/",             F::system(EACCES))    << "Impossibile bloccare la cartella dei dati /dati/ per registrare la partita: non vi si può creare il file .solfira.lock:\npermesso negato.";
    QTest::newRow("no lock file, no reason")     << on(Step::LockFolder,   "/dati/")                                   << "Impossibile bloccare la cartella dei dati /dati/ per registrare la partita: non vi si può creare il file .solfira.lock:\nmotivo sconosciuto.";
    QTest::newRow("data folder not made")        << on(Step::CreateFolder, "/dati/")                                   << "Impossibile creare la cartella dei dati /dati/";
    QTest::newRow("school's folder not there")   << on(Step::ReachFolder,  "/srv/scuola/")                             << "La cartella dei dati /srv/scuola/ non è raggiungibile.";
    QTest::newRow("class log gone")              << on(Step::OpenClassLog, "/dati/3A.txt",       F::system(ENOENT))    << "il file non esiste più";
    QTest::newRow("class log is a pipe")         << on(Step::OpenClassLog, "/dati/3A.txt",       {F::Special})         << "non è un file di testo";
    QTest::newRow("class log not opened")        << on(Step::OpenClassLog, "/dati/3A.txt",       {}, "Permission denied") << "impossibile aprire il file: Permission denied";
    QTest::newRow("class log not read on")       << on(Step::SeekClassLog, "/dati/3A.txt",       {}, "Invalid argument")  << "impossibile leggere il file: Invalid argument";
    QTest::newRow("class log read broke off")    << on(Step::ReadClassLog, "/dati/3A.txt",       {}, "Input/output error") << "errore di lettura: Input/output error";
    // clang-format on
}

void TestTexts::failures()
{
    QFETCH(Failure, failure);
    QFETCH(QString, sentence);
    QCOMPARE(texts::failureText(failure), sentence);
}

void TestTexts::warnings_data()
{
    testdata::columns<ClassLogWarning, QString>("warning", "sentence");
    using K = ClassLogWarning::Kind;
    using F = records::LineField;
    using O = records::DateOrder;
    // clang-format off
    QTest::newRow("blank line")                 << ClassLogWarning{.lineNumber = 1,  .kind = K::EmptyLine}                                              << "Riga 1: riga vuota";
    QTest::newRow("not a game")                 << ClassLogWarning{.lineNumber = 3,  .kind = K::NotAGame}                                               << "Riga 3: non è la riga di una partita: non comincia con «Nome:»";
    QTest::newRow("cut before the time")        << ClassLogWarning{.lineNumber = 4,  .kind = K::CutShort, .field = F::TimeTitle}                        << "Riga 4: riga incompleta: si interrompe prima di «Tempo restante»; partita non letta";
    QTest::newRow("count missing")              << ClassLogWarning{.lineNumber = 10, .kind = K::Unrecognised, .field = F::WrongCount, .piece = "poste errate"}   << "Riga 10: riga non riconosciuta: al posto di «il numero di risposte errate» c'è «poste errate…»; partita non letta";
    QTest::newRow("title changed")              << ClassLogWarning{.lineNumber = 13, .kind = K::Unrecognised, .field = F::CorrectTitle, .piece = "poste giuste"} << "Riga 13: riga non riconosciuta: al posto di «Risposte esatte» c'è «poste giuste…»; partita non letta";
    QTest::newRow("percent signs quoted as is") << ClassLogWarning{.lineNumber = 5,  .kind = K::Unrecognised, .field = F::TimeTitle, .piece = "100% %1 %2"}      << "Riga 5: riga non riconosciuta: al posto di «Tempo restante» c'è «100% %1 %2…»; partita non letta";
    QTest::newRow("two games on a line")        << ClassLogWarning{.lineNumber = 27, .kind = K::TwoGames}                                               << "Riga 27: sembrano due partite sulla stessa riga (manca un a capo); riga non letta";
    QTest::newRow("line too long")              << ClassLogWarning{.lineNumber = 40, .kind = K::TooLong}                                                << "Riga 40: riga troppo lunga (oltre 4096 caratteri); riga non letta";
    QTest::newRow("no time left")               << ClassLogWarning{.lineNumber = 24, .kind = K::NoTimeLeft}                                             << "Riga 24: manca il tempo restante";
    QTest::newRow("time unreadable")            << ClassLogWarning{.lineNumber = 21, .kind = K::TimeUnreadable, .piece = "00:61:00"}                    << "Riga 21: tempo restante non leggibile: «00:61:00»";
    QTest::newRow("time beyond a game")         << ClassLogWarning{.lineNumber = 22, .kind = K::TimeBeyondGame, .piece = "00:20:00"}                    << "Riga 22: tempo restante «00:20:00» oltre i 15 minuti di una partita; tempo impiegato non calcolato";
    QTest::newRow("no date")                    << ClassLogWarning{.lineNumber = 9,  .kind = K::NoDate}                                                 << "Riga 9: manca la data";
    QTest::newRow("date unknown")               << ClassLogWarning{.lineNumber = 25, .kind = K::DateUnknown, .piece = "ieri"}                           << "Riga 25: data non riconosciuta: «ieri»";
    QTest::newRow("date read month first")      << ClassLogWarning{.lineNumber = 37, .kind = K::DateInOtherOrder, .order = O::MonthDayYear, .piece = "4/15/07"}    << "Riga 37: data «4/15/07» letta come mese/giorno/anno";
    QTest::newRow("date read day first")        << ClassLogWarning{.lineNumber = 17, .kind = K::DateInOtherOrder, .order = O::DayMonthYear, .piece = "15/04/2007"} << "Riga 17: data «15/04/2007» letta come giorno/mese/anno";
    QTest::newRow("line in UTF-8")              << ClassLogWarning{.lineNumber = 33, .kind = K::Utf8Line}                                               << "Riga 33: la riga è scritta in UTF-8 e non nella codifica dei registri: letta come UTF-8";
    QTest::newRow("one control character")      << ClassLogWarning{.lineNumber = 34, .kind = K::ControlCharacters, .count = 1}                          << "Riga 34: 1 carattere di controllo mostrato come \uFFFD";
    QTest::newRow("three control characters")   << ClassLogWarning{.lineNumber = 35, .kind = K::ControlCharacters, .count = 3}                          << "Riga 35: 3 caratteri di controllo mostrati come \uFFFD";
    QTest::newRow("one invalid byte")           << ClassLogWarning{.lineNumber = 28, .kind = K::InvalidBytes, .byte = 0x01, .count = 1, .column = 10}   << "Riga 28: byte non valido 0x01 alla colonna 10, mostrato come \uFFFD";
    QTest::newRow("two invalid bytes")          << ClassLogWarning{.lineNumber = 31, .kind = K::InvalidBytes, .byte = 0x81, .count = 2, .column = 8}    << "Riga 31: 2 byte non validi (il primo, 0x81, alla colonna 8), mostrati come \uFFFD";
    QTest::newRow("a line read on its own")     << ClassLogWarning{.kind = K::NoDate}                                                                   << "manca la data";
    // clang-format on
}

void TestTexts::warnings()
{
    QFETCH(ClassLogWarning, warning);
    QFETCH(QString, sentence);
    QCOMPARE(texts::warningText(warning), sentence);
}

void TestTexts::folderProblems_data()
{
    testdata::columns<texts::FolderProblem, QString, QString>("problem", "folder", "sentence");
    using P = texts::FolderProblem;
    // clang-format off
    QTest::newRow("folder fine")        << P::None        << "/srv/solfira" << "";
    QTest::newRow("no folder given")    << P::Missing     << ""             << "La cartella  non esiste.";
    QTest::newRow("folder missing")     << P::Missing     << "/srv/solfira" << "La cartella /srv/solfira non esiste.";
    QTest::newRow("a file, no folder")  << P::NotAFolder  << "/srv/solfira" << "/srv/solfira non è una cartella.";
    QTest::newRow("folder not listed")  << P::Unreadable  << "/srv/solfira" << "La cartella /srv/solfira non si può leggere.";
    QTest::newRow("shared folder gone") << P::Unreachable << "/srv/solfira" << "La cartella /srv/solfira non è più raggiungibile.";
    // clang-format on
}

void TestTexts::folderProblems()
{
    QFETCH(texts::FolderProblem, problem);
    QFETCH(QString, folder);
    QFETCH(QString, sentence);
    QCOMPARE(texts::folderProblemText(problem, folder), sentence);
}

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
