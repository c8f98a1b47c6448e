// Reading class logs back: lines written by the game's own writer, and everything a
// file met in a school may hold instead.

#include "records/ClassLog.h"
#include "GameLines.h"
#include "records/ClassLogParser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace records;

namespace {

GameSummary game(const QString &name, int correct, int wrong, const QString &left,
                 const QString &date)
{
    return gameSummary(name, correct, wrong, left, date);
}

QByteArray written(const QString &name, int correct = 7, int wrong = 2,
                   LogForm form = LogForm::RecordStands, const QString &date = "15/04/2007")
{
    return encodeLine(classLogLine(game(name, correct, wrong, "00:03:12", date), form));
}

// What a parse gives, flattened so two parses compare with one QCOMPARE.
QStringList described(const QList<ClassLogEntry> &entries, const QList<ClassLogWarning> &warnings)
{
    QStringList out;
    for (const ClassLogEntry &e : entries)
        out << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                   .arg(e.lineNumber)
                   .arg(e.name)
                   .arg(e.correct)
                   .arg(e.wrong)
                   .arg(e.secondsLeft)
                   .arg(e.dateText, e.date.toString(Qt::ISODate))
                   .arg(int(e.form));
    for (const ClassLogWarning &w : warnings)
        out << w.text();
    return out;
}

QStringList parsedWhole(const QByteArray &bytes)
{
    ClassLogParser parser;
    parser.addData(bytes);
    parser.finish();
    return described(parser.entries(), parser.warnings());
}

} // namespace

class TestClassLogParser : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void exampleLines();
    void malformedLine_data();
    void malformedLine();
    void dates_data();
    void dates();
    void dateOrderOfLocale_data();
    void dateOrderOfLocale();
    void clock_data();
    void clock();
    void lineEnds_data();
    void lineEnds();
    void splitAnywhere();
    void overlongLine();
    void warningsAreCapped();
    void largeLogIsReadWithoutChange();
    void readFromOffset();
    void unreadablePaths();
};

void TestClassLogParser::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDate>("expectedDate");
    QTest::addColumn<bool>("dateNote");

    const QDate april15(2007, 4, 15);
    QTest::newRow("plain name") << "Anna" << 7 << 2 << "00:03:12" << "15/04/2007" << april15 << false;
    QTest::newRow("name with spaces") << "Maria Rosa" << 12 << 0 << "00:00:41" << "15/04/07" << april15 << false;
    QTest::newRow("double space in name") << "Anna  Maria" << 3 << 9 << "00:10:00" << "15/04/07" << april15 << false;
    QTest::newRow("name with digits") << "Luca 2" << 5 << 5 << "00:07:30" << "15/04/07" << april15 << false;
    QTest::newRow("name that is a class") << "3B" << 5 << 5 << "00:07:30" << "15/04/07" << april15 << false;
    QTest::newRow("empty name") << "" << 4 << 1 << "00:03:12" << "15/04/07" << april15 << false;
    QTest::newRow("blank name") << " " << 4 << 1 << "00:03:12" << "15/04/07" << april15 << false;
    QTest::newRow("spaces around name") << "  Anna " << 4 << 1 << "00:03:12" << "15/04/07" << april15 << false;
    QTest::newRow("accented name") << "Nicolò Bèrtoli" << 8 << 3 << "00:01:01" << "15/04/07" << april15 << false;
    QTest::newRow("quote and hyphen at the end") << "D'Angelo-\"" << 8 << 3 << "00:01:01" << "15/04/07" << april15 << false;
    QTest::newRow("name holding the fixed words")
        << "Risposte esatte 3  Risposte errate  1Tempo restante   00:01:00" << 8 << 3
        << "00:01:01" << "15/04/07" << april15 << false;
    QTest::newRow("name holding Data:") << "Data:   1" << 8 << 3 << "00:01:01" << "15/04/07" << april15 << false;
    QTest::newRow("no answers, quit at once") << "Anna" << 0 << 0 << "00:15:00" << "15/04/07" << april15 << false;
    QTest::newRow("clock ran out") << "Anna" << 40 << 13 << "00:00:00" << "15/04/07" << april15 << false;
    QTest::newRow("largest counts") << "Anna" << 32767 << 32767 << "00:00:00" << "15/04/07" << april15 << false;
    QTest::newRow("German short date") << "Anna" << 7 << 2 << "00:03:12" << "15.04.07" << april15 << false;
    QTest::newRow("ISO short date") << "Anna" << 7 << 2 << "00:03:12" << "2007-04-15" << april15 << false;
    QTest::newRow("C locale short date") << "Anna" << 7 << 2 << "00:03:12" << "15 Apr 2007" << april15 << false;
    QTest::newRow("US short date") << "Anna" << 7 << 2 << "00:03:12" << "4/15/07" << april15 << true;
}

void TestClassLogParser::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, correct);
    QFETCH(int, wrong);
    QFETCH(QString, left);
    QFETCH(QString, date);
    QFETCH(QDate, expectedDate);
    QFETCH(bool, dateNote);

    for (LogForm form : {LogForm::RecordStands, LogForm::NewRecord}) {
        const QByteArray bytes = encodeLine(classLogLine(game(name, correct, wrong, left, date), form));
        ClassLogParser parser;
        parser.addData(bytes + bytes);
        QCOMPARE(parser.completeBytes(), 2 * bytes.size());
        QCOMPARE(parser.entries().size(), 2);
        const ClassLogEntry &e = parser.entries().at(1);
        QCOMPARE(e.lineNumber, 2);
        QCOMPARE(e.name, name);
        QCOMPARE(e.correct, correct);
        QCOMPARE(e.wrong, wrong);
        QCOMPARE(clockText(e.secondsLeft), left);
        QCOMPARE(e.dateText, date);
        QCOMPARE(e.date, expectedDate);
        QCOMPARE(e.form, form);
        QCOMPARE(parser.warnings().size(), dateNote ? 2 : 0);
        if (dateNote)
            QVERIFY(parser.warnings().at(0).reason.contains("mese/giorno/anno"));
    }
}

void TestClassLogParser::exampleLines()
{
    // The two lines of a game of Anna: 7 right, 2 wrong, 3 minutes 12 seconds left.
    const QByteArray standing = "Nome:  Anna  Risposte esatte 7  Risposte errate  2Tempo restante"
                                "   00:03:12Data:   15/04/2007";
    const QByteArray record = "Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante"
                              "   00:03:12-\"Data:  15/04/2007";
    for (const bool newRecord : {false, true}) {
        const ParsedLine parsed = parseClassLogLine(newRecord ? record : standing);
        QVERIFY(parsed.problems.isEmpty());
        QVERIFY(parsed.entry);
        QCOMPARE(parsed.entry->name, "Anna");
        QCOMPARE(parsed.entry->total(), 9);
        QCOMPARE(qRound(parsed.entry->accuracy() * 10), 778);
        QCOMPARE(parsed.entry->secondsUsed(), 11 * 60 + 48);
        QCOMPARE(parsed.entry->date, QDate(2007, 4, 15));
        QCOMPARE(parsed.entry->setRecord(), newRecord);
    }
}

void TestClassLogParser::malformedLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("hasEntry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem"); // part of the warning; empty for none

    const QByteArray head = "Nome:  Anna  Risposte esatte 7  Risposte errate  2";
    const QByteArray tail = "Tempo restante   00:03:12Data:   15/04/2007";
    const QByteArray full = head + tail;

    QTest::newRow("empty line") << QByteArray() << false << "" << "riga vuota";
    QTest::newRow("blank line") << QByteArray("   \r") << false << "" << "riga vuota";
    QTest::newRow("not a game line") << QByteArray("Ciao a tutti") << false << "" << "non comincia con «Nome:»";
    QTest::newRow("cut after the name") << QByteArray("Nome:  Anna  Risp") << false << "" << "prima di «Risposte esatte»";
    QTest::newRow("cut after correct") << QByteArray("Nome:  Anna  Risposte esatte 7  Risp") << false << "" << "prima di «Risposte errate»";
    QTest::newRow("cut after wrong") << head + "Tempo rest" << false << "" << "prima di «Tempo restante»";
    QTest::newRow("cut in the time") << head + "Tempo restante   00:0" << false << "" << "prima di «Data:»";
    QTest::newRow("cut in the record mark") << head + "Tempo restante   00:03:12-\"Dat" << false << "" << "prima di «Data:»";
    QTest::newRow("cut before the date") << head + "Tempo restante   00:03:12Data:   " << true << "Anna" << "manca la data";
    QTest::newRow("wrong count missing") << QByteArray("Nome:  Anna  Risposte esatte 7  Risposte errate  ") + tail << false << "" << "il numero di risposte errate";
    QTest::newRow("negative count") << QByteArray("Nome:  Anna  Risposte esatte -7  Risposte errate  2") + tail << false << "" << "«Risposte esatte»";
    QTest::newRow("count too long") << QByteArray("Nome:  Anna  Risposte esatte 12345678901  Risposte errate  2") + tail << false << "" << "il numero di risposte esatte";
    QTest::newRow("fixed word changed") << QByteArray("Nome:  Anna  Risposte giuste 7  Risposte errate  2") + tail << false << "" << "«Risposte esatte»";
    QTest::newRow("time unreadable") << head + "Tempo restante   00:61:00Data:   15/04/2007" << true << "Anna" << "tempo restante non leggibile";
    QTest::newRow("time beyond a game") << head + "Tempo restante   00:20:00Data:   15/04/2007" << true << "Anna" << "oltre i 15 minuti";
    QTest::newRow("time missing") << head + "Tempo restanteData:   15/04/2007" << true << "Anna" << "manca il tempo restante";
    QTest::newRow("date in words unknown") << head + "Tempo restante   00:03:12Data:   ieri" << true << "Anna" << "data non riconosciuta: «ieri»";
    QTest::newRow("impossible date") << head + "Tempo restante   00:03:12Data:   31/02/2007" << true << "Anna" << "data non riconosciuta";
    QTest::newRow("two games on one line") << full + full << false << "" << "due partite";
    QTest::newRow("control byte in name") << QByteArray("Nome:  An\x01na  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << "byte non valido 0x01 alla colonna 10";
    QTest::newRow("NUL byte in name") << QByteArray("Nome:  An\0na  Risposte esatte 7  Risposte errate  2", 51) + tail << true << "An\uFFFDna" << "0x00";
    QTest::newRow("tab in name") << QByteArray("Nome:  An\tna  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << "0x09";
    QTest::newRow("CR inside the line") << QByteArray("Nome:  An\rna  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << "0x0D";
    QTest::newRow("bytes outside the code page") << QByteArray("Nome:  \x81\x9d  Risposte esatte 7  Risposte errate  2") + tail << true << "\uFFFD\uFFFD" << "2 byte non validi (il primo, 0x81, alla colonna 8)";
    QTest::newRow("line written in UTF-8") << QByteArray("Nome:  Nicol\xc3\xb2  Risposte esatte 7  Risposte errate  2") + tail << true << "Nicolò" << "UTF-8";
    QTest::newRow("Latin-1 letters are fine") << QByteArray("Nome:  Nicol\xf2  Risposte esatte 7  Risposte errate  2") + tail << true << "Nicolò" << "";
    QTest::newRow("older spacing") << QByteArray("Nome: Anna Risposte esatte 7 Risposte errate 2 Tempo restante 00:03:12 Data: 15/04/2007") << true << "Anna" << "";
    QTest::newRow("blanks before the line") << "  " + full << true << "Anna" << "";
    QTest::newRow("date with time of day") << head + "Tempo restante   00:03:12Data:   15/04/2007 10:31:02" << true << "Anna" << "";
}

void TestClassLogParser::malformedLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, hasEntry);
    QFETCH(QString, name);
    QFETCH(QString, problem);

    const ParsedLine parsed = parseClassLogLine(line);
    QCOMPARE(bool(parsed.entry), hasEntry);
    if (hasEntry) {
        QCOMPARE(parsed.entry->name, name);
        QCOMPARE(parsed.entry->correct, 7);
        QCOMPARE(parsed.entry->wrong, 2);
    }
    if (problem.isEmpty()) {
        QCOMPARE(parsed.problems, QStringList());
    } else {
        const QString all = parsed.problems.join(" | ");
        QVERIFY2(all.contains(problem), qPrintable(all));
    }
}

void TestClassLogParser::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<DateOrder>("order");
    QTest::addColumn<QDate>("expected");
    QTest::addColumn<bool>("note");

    const auto dmy = DateOrder::DayMonthYear;
    const auto mdy = DateOrder::MonthDayYear;
    const auto ymd = DateOrder::YearMonthDay;
    const QDate d(2007, 4, 15);
    QTest::newRow("Italian, four digits") << "15/04/2007" << dmy << d << false;
    QTest::newRow("Italian, two digits") << "15/04/07" << dmy << d << false;
    QTest::newRow("dots") << "15.04.07" << dmy << d << false;
    QTest::newRow("hyphens") << "15-04-2007" << dmy << d << false;
    QTest::newRow("ISO in a day-first locale") << "2007-04-15" << dmy << d << false;
    QTest::newRow("year first, one-digit fields") << "2007/4/5" << dmy << QDate(2007, 4, 5) << false;
    QTest::newRow("month first only fits") << "4/15/07" << dmy << d << true;
    QTest::newRow("ambiguous, locale order") << "4/5/07" << dmy << QDate(2007, 5, 4) << false;
    QTest::newRow("ambiguous, US locale") << "4/5/07" << mdy << QDate(2007, 4, 5) << false;
    QTest::newRow("day first in a US locale") << "15/04/07" << mdy << d << true;
    QTest::newRow("two-digit year first") << "07/04/15" << ymd << d << false;
    QTest::newRow("day-first in a year-first locale") << "15/04/2007" << ymd << d << false;
    QTest::newRow("English month") << "15 Apr 2007" << dmy << d << false;
    QTest::newRow("Italian month, hyphens") << "15-apr-07" << dmy << d << false;
    QTest::newRow("month before day") << "Apr 15, 2007" << dmy << d << false;
    QTest::newRow("long Italian form") << "domenica 15 aprile 2007" << dmy << d << false;
    QTest::newRow("with time") << "15/04/2007 10:30:12" << dmy << d << false;
    QTest::newRow("last century") << "01/01/99" << dmy << QDate(1999, 1, 1) << false;
    QTest::newRow("no year") << "15 aprile" << dmy << QDate() << false;
    QTest::newRow("February 31") << "31/02/2007" << dmy << QDate() << false;
    QTest::newRow("three-digit year") << "15/04/207" << dmy << QDate() << false;
    QTest::newRow("four numbers") << "15/04/2007/1" << dmy << QDate() << false;
    QTest::newRow("word") << "ieri" << dmy << QDate() << false;
    QTest::newRow("only a time") << "10:30" << dmy << QDate() << false;
    QTest::newRow("empty") << "" << dmy << QDate() << false;
}

void TestClassLogParser::dates()
{
    QFETCH(QString, text);
    QFETCH(DateOrder, order);
    QFETCH(QDate, expected);
    QFETCH(bool, note);

    QString remark = "stale";
    QCOMPARE(parseLogDate(text, order, &remark), expected);
    QCOMPARE(!remark.isEmpty(), note);
}

void TestClassLogParser::dateOrderOfLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<DateOrder>("order");
    QTest::newRow("Italian") << "it_IT" << DateOrder::DayMonthYear;
    QTest::newRow("German") << "de_DE" << DateOrder::DayMonthYear;
    QTest::newRow("American") << "en_US" << DateOrder::MonthDayYear;
    QTest::newRow("Japanese") << "ja_JP" << DateOrder::YearMonthDay;
}

void TestClassLogParser::dateOrderOfLocale()
{
    QFETCH(QString, locale);
    QFETCH(DateOrder, order);
    QCOMPARE(dateOrderOf(QLocale(locale)), order);
    // The locale's own short form is read back to the same day.
    const QDate day(2007, 4, 5);
    QCOMPARE(parseLogDate(QLocale(locale).toString(day, QLocale::ShortFormat), order), day);
}

void TestClassLogParser::clock_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("countdown text") << "00:03:12" << 192;
    QTest::newRow("dots as in the design text") << "00.03.12" << 192;
    QTest::newRow("single digits") << "0:3:12" << 192;
    QTest::newRow("full game") << "00:15:00" << 900;
    QTest::newRow("minutes out of range") << "00:60:00" << -1;
    QTest::newRow("two fields") << "03:12" << -1;
    QTest::newRow("letters") << "aa:bb:cc" << -1;
    QTest::newRow("three-digit field") << "001:00:00" << -1;
    QTest::newRow("mixed separators") << "00:03.12" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestClassLogParser::clock()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(parseClockText(text), seconds);
    if (seconds >= 0)
        QCOMPARE(parseClockText(clockText(seconds)), seconds);
}

void TestClassLogParser::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<qint64>>("entryLines");
    QTest::addColumn<QList<qint64>>("warningLines");

    const QByteArray a = written("Anna").chopped(2);
    const QByteArray b = written("Luca").chopped(2);
    QTest::newRow("CR LF") << a + "\r\n" + b + "\r\n" << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("LF") << a + "\n" + b + "\n" << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("mixed") << a + "\n" + b + "\r\n" << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("last line without end") << a + "\r\n" + b << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("CR CR LF") << a + "\r\r\n" + b + "\r\r\n" << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("blank line between") << a + "\r\n\r\n" + b + "\r\n" << QList<qint64>{1, 3} << QList<qint64>{2};
    QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + a + "\r\n" << QList<qint64>{1} << QList<qint64>{};
    QTest::newRow("byte order mark not at the start") << a + "\r\n\xEF\xBB\xBF" + b + "\r\n" << QList<qint64>{1, 2} << QList<qint64>{2};
    QTest::newRow("empty file") << QByteArray() << QList<qint64>{} << QList<qint64>{};
    QTest::newRow("only line ends") << QByteArray("\r\n\n") << QList<qint64>{} << QList<qint64>{1, 2};
}

void TestClassLogParser::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qint64>, entryLines);
    QFETCH(QList<qint64>, warningLines);

    ClassLogParser parser;
    parser.addData(bytes);
    parser.finish();
    QList<qint64> lines;
    for (const ClassLogEntry &e : parser.entries())
        lines << e.lineNumber;
    QCOMPARE(lines, entryLines);
    lines.clear();
    for (const ClassLogWarning &w : parser.warnings())
        lines << w.lineNumber;
    QCOMPARE(lines, warningLines);
}

void TestClassLogParser::splitAnywhere()
{
    // Blocks of a file, or the bytes a growing log adds, may end anywhere.
    const QByteArray bytes = written("Anna") + "Nome:  Luca  Risp\r\n"
                             + QByteArray("Nome:  Nicol\xc3\xb2  Risposte esatte 1  Risposte "
                                          "errate  2Tempo restante   00:03:12Data:   15/04/07\n")
                             + written("Sara", 3, 3, LogForm::NewRecord).chopped(2);
    const QStringList whole = parsedWhole(bytes);
    QCOMPARE(whole.size(), 3 + 2); // three games, a cut line, a line in UTF-8
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        ClassLogParser parser;
        parser.addData(bytes.first(cut));
        parser.addData(bytes.sliced(cut));
        QCOMPARE(parser.completeBytes(), bytes.lastIndexOf('\n') + 1);
        QCOMPARE(parser.nextLineNumber(), 4);
        parser.finish();
        QCOMPARE(described(parser.entries(), parser.warnings()), whole);
    }
    ClassLogParser byteByByte;
    for (char c : bytes)
        byteByByte.addData(QByteArrayView(&c, 1));
    byteByByte.finish();
    QCOMPARE(described(byteByByte.entries(), byteByByte.warnings()), whole);
}

void TestClassLogParser::overlongLine()
{
    const QByteArray huge = "Nome:  " + QByteArray(3 * ClassLogParser::MaxLineLength, 'A')
                            + written("").sliced(7);
    const QByteArray bytes = written("Anna") + huge + written("Luca");
    ClassLogParser parser;
    for (qsizetype at = 0; at < bytes.size(); at += 1000)
        parser.addData(bytes.sliced(at, std::min<qsizetype>(1000, bytes.size() - at)));
    parser.finish();
    QCOMPARE(parser.entries().size(), 2);
    QCOMPARE(parser.entries().at(1).lineNumber, 3);
    QCOMPARE(parser.warnings().size(), 1);
    QCOMPARE(parser.warnings().at(0).lineNumber, 2);
    QVERIFY(parser.warnings().at(0).reason.contains("troppo lunga"));

    // Still too long when the file ends inside it.
    ClassLogParser cutShort;
    cutShort.addData(huge.chopped(2));
    cutShort.finish();
    QCOMPARE(cutShort.entries().size(), 0);
    QCOMPARE(cutShort.warnings().size(), 1);
}

void TestClassLogParser::warningsAreCapped()
{
    QByteArray bytes;
    const int lines = ClassLogParser::MaxWarnings + 500;
    for (int i = 0; i < lines; ++i)
        bytes += "rumore\r\n";
    bytes += written("Anna");
    ClassLogParser parser;
    parser.addData(bytes);
    QCOMPARE(parser.warnings().size(), ClassLogParser::MaxWarnings);
    QCOMPARE(parser.warningCount(), lines);
    QCOMPARE(parser.warnings().last().lineNumber, ClassLogParser::MaxWarnings);
    QCOMPARE(parser.entries().size(), 1);
    QCOMPARE(parser.entries().at(0).lineNumber, lines + 1);
}

void TestClassLogParser::largeLogIsReadWithoutChange()
{
    // A 50 MB log: games, then a 10 MB run without a line end, then games again.
    QTemporaryDir dir;
    const QString path = dir.filePath("3A.txt");
    QByteArray block;
    for (int i = 0; i < 1000; ++i)
        block += written(QStringLiteral("Alunno %1").arg(i % 30), i % 20, i % 7);
    const int blocks = 20'000'000 / block.size() + 1;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < blocks; ++i)
            file.write(block);
        file.write(QByteArray(10'000'000, 'x') + "\r\n");
        for (int i = 0; i < blocks; ++i)
            file.write(block);
    }
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QFileInfo before(path);
    QVERIFY(before.size() > 50'000'000);

    const ClassLogRead read = readClassLog(path);
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.entries.size(), 2 * blocks * 1000);
    QCOMPARE(read.warnings.size(), 1);
    QCOMPARE(read.warnings.at(0).lineNumber, blocks * 1000 + 1);
    QCOMPARE(read.entries.last().lineNumber, 2 * blocks * 1000 + 1);
    QCOMPARE(read.endOffset, before.size());
    QCOMPARE(read.completeOffset, before.size());
    // Thirty pupils: the names are shared, not copied for every game.
    QVERIFY(read.entries.at(0).name.constData() == read.entries.at(30).name.constData());

    const QFileInfo after(path);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.lastModified(), before.lastModified());
}

void TestClassLogParser::readFromOffset()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("3A.txt");
    const QByteArray first = written("Anna") + written("Luca");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(first + written("Sara") + "Nome:  Pi");
    file.close();

    const ClassLogRead read = readClassLog(path, first.size(), 3);
    QCOMPARE(read.entries.size(), 1);
    QCOMPARE(read.entries.at(0).name, "Sara");
    QCOMPARE(read.entries.at(0).lineNumber, 3);
    QCOMPARE(read.entriesBeforeTail, 1);
    QCOMPARE(read.warningsBeforeTail, 0);
    QCOMPARE(read.warnings.size(), 1); // the line still being written
    QCOMPARE(read.warnings.at(0).lineNumber, 4);
    QCOMPARE(read.completeOffset, first.size() + written("Sara").size());
    QCOMPARE(read.nextLineNumber, 4);
    QCOMPARE(read.endOffset, QFileInfo(path).size());
}

void TestClassLogParser::unreadablePaths()
{
    QTemporaryDir dir;
    QVERIFY(readClassLog(dir.filePath("manca.txt")).error.contains("non esiste"));
    QVERIFY(QDir(dir.path()).mkdir("cartella.txt"));
    QVERIFY(readClassLog(dir.filePath("cartella.txt")).error.contains("non è un file"));
#ifdef Q_OS_UNIX
    // A pipe would block the reader for ever.
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("tubo.txt")).constData(), 0600), 0);
    QVERIFY(!readClassLog(dir.filePath("tubo.txt")).error.isEmpty());
#endif
}

QTEST_GUILESS_MAIN(TestClassLogParser)
#include "tst_classlogparser.moc"
