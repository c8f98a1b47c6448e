// The words a user reads for each failed step, the same in the game and the register.

#include "DataColumns.h"
#include "Failures.h"
#include "texts/FailureText.h"

#include <QTest>

#include <cerrno>

using records::Failure;

class TestFailureText : public QObject
{
    Q_OBJECT
private slots:
    void sentences_data();
    void sentences();
};

void TestFailureText::sentences_data()
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
    QTest::newRow("class log gone")              << on(Step::OpenClassLog, "/dati/3A.txt",       F::system(ENOENT))    << "il file non esiste più";
    QTest::newRow("class log is a pipe")         << on(Step::OpenClassLog, "/dati/3A.txt",       {F::Special})         << "non è un file di testo";
    QTest::newRow("class log not opened")        << on(Step::OpenClassLog, "/dati/3A.txt",       {}, "Permission denied") << "impossibile aprire il file: Permission denied";
    QTest::newRow("class log not read on")       << on(Step::SeekClassLog, "/dati/3A.txt",       {}, "Invalid argument")  << "impossibile leggere il file: Invalid argument";
    QTest::newRow("class log read broke off")    << on(Step::ReadClassLog, "/dati/3A.txt",       {}, "Input/output error") << "errore di lettura: Input/output error";
    // clang-format on
}

void TestFailureText::sentences()
{
    QFETCH(Failure, failure);
    QFETCH(QString, sentence);
    QCOMPARE(texts::failureText(failure), sentence);
}

QTEST_GUILESS_MAIN(TestFailureText)
#include "tst_texts.moc"
