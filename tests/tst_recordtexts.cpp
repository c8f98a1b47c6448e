#include "DataColumns.h"
#include "GameLines.h"
#include "records/DataFileNames.h"
#include "records/SingleByteText.h"

#include <QTest>

using namespace records;

// The texts the records are made of: class log lines, file names, typed names.
class TestRecordTexts : public QObject
{
    Q_OBJECT
private slots:
    void logLineForms_data();
    void logLineForms();
    void classFileNames_data();
    void classFileNames();
    void fittingClassNames_data();
    void fittingClassNames();
    void promptTexts_data();
    void promptTexts();
    void textIsSingleByte();
};

void TestRecordTexts::logLineForms_data()
{
    testdata::columns<int, QByteArray>("form", "bytes");
    // clang-format off
    QTest::newRow("record stands") << 1 << QByteArray("Nome:  Anna  Risposte esatte 7  Risposte errate  2Tempo restante   00:03:12Data:   15/04/2007\r\n");
    QTest::newRow("new record")    << 2 << QByteArray("Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante   00:03:12-\"Data:  15/04/2007\r\n");
    // clang-format on
}

void TestRecordTexts::logLineForms()
{
    QFETCH(int, form);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeLine(classLogLine(annasGame(), LogForm(form))), bytes);
}

void TestRecordTexts::classFileNames_data()
{
    testdata::columns<QString, QString>("className", "fileName");
    // clang-format off
    QTest::newRow("plain")                          << "3A"                << "3A.txt";
    QTest::newRow("kept as typed")                  << "3 b Rossi"         << "3 b Rossi.txt";
    QTest::newRow("never given")                    << "Label2"            << "Label2.txt";
    QTest::newRow("empty")                          << ""                  << ".txt";
    QTest::newRow("parent directory")               << "../x"              << ".._x.txt";
    QTest::newRow("two dots")                       << ".."                << "...txt";
    QTest::newRow("subfolder")                      << "a/b"               << "a_b.txt";
    QTest::newRow("drive")                          << "C:\\x"             << "C__x.txt";
    QTest::newRow("wildcards")                      << "a*b?c"             << "a_b_c.txt";
    QTest::newRow("quotes and pipes")               << "\"<a|b>\""         << "__a_b__.txt";
    QTest::newRow("control characters")             << QString("a\tb\nc")  << "a_b_c.txt";
    QTest::newRow("reserved")                       << "CON"               << "CON_.txt";
    QTest::newRow("reserved any case")              << "nul"               << "nul_.txt";
    QTest::newRow("reserved with extension")        << "com1.a"            << "com1_.a.txt";
    QTest::newRow("not reserved")                   << "CONTE"             << "CONTE.txt";
    QTest::newRow("accented")                       << "3ª è"              << "3ª è.txt";
    QTest::newRow("C1 control character")           << QString("a\u0085b") << "a_b.txt";
    QTest::newRow("record score file")              << "velmora"           << "velmora_.txt";
    QTest::newRow("record holder file, other case") << "VELMORA1"          << "VELMORA1_.txt";
    QTest::newRow("record file name as class")      << "velmora.txt"       << "velmora.txt.txt";
    QTest::newRow("lock file name as class")        << ".solfira.lock"     << ".solfira.lock.txt";
    // clang-format on
}

void TestRecordTexts::classFileNames()
{
    QFETCH(QString, className);
    QFETCH(QString, fileName);
    QCOMPARE(classLogFileName(className), fileName);
}

void TestRecordTexts::fittingClassNames_data()
{
    // room: UTF-16 units the path limit leaves for the name
    testdata::columns<QString, qsizetype, QString>("className", "room", "kept");
    const qsizetype any = 1 << 20;
    // clang-format off
    QTest::newRow("short")                            << "3A"                      << any << "3A";
    QTest::newRow("300 letters: 255 bytes with .txt") << QString(300, 'a')         << any << QString(251, 'a');
    QTest::newRow("200 è, two bytes each")            << QString(200, QChar(0xe8)) << any << QString(125, QChar(0xe8));
    // clang-format on
    const QString clef = QString::fromUcs4(U"\U0001D11E"); // four bytes, two UTF-16 units
    // clang-format off
    QTest::newRow("never half a character") << clef.repeated(100)           << any           << clef.repeated(62);
    QTest::newRow("Windows path limit")     << "abcdefghijklmnopqrstuvwxyz" << qsizetype(20) << "abcdefghijklmnop";
    QTest::newRow("pasted megabyte")        << QString(1 << 20, 'b')        << any           << QString(251, 'b');
    // clang-format on
}

void TestRecordTexts::fittingClassNames()
{
    QFETCH(QString, className);
    QFETCH(qsizetype, room);
    QFETCH(QString, kept);
    QCOMPARE(fittingClassName(className, room), kept);
}

void TestRecordTexts::promptTexts_data()
{
    testdata::columns<QString, QString>("typed", "kept");
    // clang-format off
    QTest::newRow("plain")                  << "Anna Maria"    << "Anna Maria";
    QTest::newRow("pasted second line")     << "Eve\r\nNome:  Mallory Risposte esatte 99" << "Eve";
    QTest::newRow("line break first")       << "\nAnna\n"      << "Anna";
    QTest::newRow("tab and escape dropped") << "3\tA\x1b"      << "3A";
    QTest::newRow("DEL and C1 dropped")     << "A\x7f\u009bB"  << "AB";
    QTest::newRow("next line (C1)")         << "Anna\u0085Eva" << "Anna";
    QTest::newRow("Unicode line separator") << "Anna\u2028Eva" << "Anna";
    // clang-format on
}

void TestRecordTexts::promptTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(promptText(typed), kept);
}

void TestRecordTexts::textIsSingleByte()
{
    QCOMPARE(encodeLine("Niccolò"), QByteArray("Niccol\xf2\r\n"));
    QCOMPARE(decodeText("Niccol\xf2"), "Niccolò");
    QCOMPARE(encodeText("€"), QByteArray("?"));
}

QTEST_GUILESS_MAIN(TestRecordTexts)
#include "tst_recordtexts.moc"
