// Reading a class log line back: lines written by the game's own writer, and everything
// a line met in a school may hold instead; the dates and clock times in it.

#include "ClassLogWarnings.h"
#include "DataColumns.h"
#include "GameLines.h"
#include "records/ClassLogLineParser.h"
#include "records/ClassLogStreamParser.h"

#include <QtTest>

using namespace records;

class TestClassLogLine : public QObject
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
};

void TestClassLogLine::roundTrip_data()
{
    testdata::columns<QString, int, int, QString, QString, QDate, bool>(
        "name", "correct", "wrong", "left", "date", "expectedDate", "dateNote");

    const QDate april15(2007, 4, 15);
    // clang-format off
    QTest::newRow("plain name")                   << "Anna"           << 7     << 2     << "00:03:12" << "15/04/2007"  << april15 << false;
    QTest::newRow("name with spaces")             << "Maria Rosa"     << 12    << 0     << "00:00:41" << "15/04/07"    << april15 << false;
    QTest::newRow("double space in name")         << "Anna  Maria"    << 3     << 9     << "00:10:00" << "15/04/07"    << april15 << false;
    QTest::newRow("name with digits")             << "Luca 2"         << 5     << 5     << "00:07:30" << "15/04/07"    << april15 << false;
    QTest::newRow("name that is a class")         << "3B"             << 5     << 5     << "00:07:30" << "15/04/07"    << april15 << false;
    QTest::newRow("empty name")                   << ""               << 4     << 1     << "00:03:12" << "15/04/07"    << april15 << false;
    QTest::newRow("blank name")                   << " "              << 4     << 1     << "00:03:12" << "15/04/07"    << april15 << false;
    QTest::newRow("spaces around name")           << "  Anna "        << 4     << 1     << "00:03:12" << "15/04/07"    << april15 << false;
    QTest::newRow("accented name")                << "Nicolò Bèrtoli" << 8     << 3     << "00:01:01" << "15/04/07"    << april15 << false;
    QTest::newRow("quote and hyphen at the end")  << "D'Angelo-\""    << 8     << 3     << "00:01:01" << "15/04/07"    << april15 << false;
    QTest::newRow("name holding the fixed words") << "Risposte esatte 3  Risposte errate  1Tempo restante   00:01:00" << 8 << 3 << "00:01:01" << "15/04/07" << april15 << false;
    QTest::newRow("name holding Data:")           << "Data:   1"      << 8     << 3     << "00:01:01" << "15/04/07"    << april15 << false;
    QTest::newRow("no answers, quit at once")     << "Anna"           << 0     << 0     << "00:15:00" << "15/04/07"    << april15 << false;
    QTest::newRow("clock ran out")                << "Anna"           << 40    << 13    << "00:00:00" << "15/04/07"    << april15 << false;
    QTest::newRow("largest counts")               << "Anna"           << 32767 << 32767 << "00:00:00" << "15/04/07"    << april15 << false;
    QTest::newRow("German short date")            << "Anna"           << 7     << 2     << "00:03:12" << "15.04.07"    << april15 << false;
    QTest::newRow("ISO short date")               << "Anna"           << 7     << 2     << "00:03:12" << "2007-04-15"  << april15 << false;
    QTest::newRow("C locale short date")          << "Anna"           << 7     << 2     << "00:03:12" << "15 Apr 2007" << april15 << false;
    QTest::newRow("US short date")                << "Anna"           << 7     << 2     << "00:03:12" << "4/15/07"     << april15 << true;
    // clang-format on
}

void TestClassLogLine::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, correct);
    QFETCH(int, wrong);
    QFETCH(QString, left);
    QFETCH(QString, date);
    QFETCH(QDate, expectedDate);
    QFETCH(bool, dateNote);

    for (LogForm form : {LogForm::RecordStands, LogForm::NewRecord}) {
        const QByteArray bytes =
            encodeLine(classLogLine(gameSummary(name, correct, wrong, left, date), form));
        ClassLogStreamParser parser;
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
            QCOMPARE(parser.warnings().at(0),
                     (ClassLogWarning{.lineNumber = 1,
                                      .kind = ClassLogWarning::Kind::DateInOtherOrder,
                                      .order = DateOrder::MonthDayYear,
                                      .piece = date}));
    }
}

void TestClassLogLine::exampleLines()
{
    // The two lines of a game of Anna: 7 right, 2 wrong, 3 minutes 12 seconds left.
    const QByteArray standing = "Nome:  Anna  Risposte esatte 7  Risposte errate  2Tempo restante"
                                "   00:03:12Data:   15/04/2007";
    const QByteArray record = "Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante"
                              "   00:03:12-\"Data:  15/04/2007";
    for (const bool newRecord : {false, true}) {
        const ParsedLine parsed = parseClassLogLine(newRecord ? record : standing);
        QVERIFY(parsed.warnings.isEmpty());
        QVERIFY(parsed.entry);
        QCOMPARE(parsed.entry->name, "Anna");
        QCOMPARE(parsed.entry->total(), 9);
        QCOMPARE(qRound(parsed.entry->accuracy() * 10), 778);
        QCOMPARE(parsed.entry->secondsUsed(), 11 * 60 + 48);
        QCOMPARE(parsed.entry->date, QDate(2007, 4, 15));
        QCOMPARE(parsed.entry->setRecord(), newRecord);
    }
}

void TestClassLogLine::malformedLine_data()
{
    testdata::columns<QByteArray, bool, QString, QList<ClassLogWarning>>("line", "hasEntry", "name",
                                                                         "warnings");
    using W = QList<ClassLogWarning>;
    using K = ClassLogWarning::Kind;
    using F = LineField;

    const QByteArray head = "Nome:  Anna  Risposte esatte 7  Risposte errate  2";
    const QByteArray tail = "Tempo restante   00:03:12Data:   15/04/2007";
    const QByteArray full = head + tail;

    // clang-format off
    QTest::newRow("empty line")                  << QByteArray()                    << false << ""             << W{{.kind = K::EmptyLine}};
    QTest::newRow("blank line")                  << QByteArray("   \r")             << false << ""             << W{{.kind = K::EmptyLine}};
    QTest::newRow("not a game line")             << QByteArray("Ciao a tutti")      << false << ""             << W{{.kind = K::NotAGame}};
    QTest::newRow("cut after the name")          << QByteArray("Nome:  Anna  Risp") << false << ""             << W{{.kind = K::CutShort, .field = F::CorrectTitle}};
    QTest::newRow("cut after correct")           << QByteArray("Nome:  Anna  Risposte esatte 7  Risp") << false << "" << W{{.kind = K::CutShort, .field = F::WrongTitle}};
    QTest::newRow("cut after wrong")             << head + "Tempo rest"             << false << ""             << W{{.kind = K::CutShort, .field = F::TimeTitle}};
    QTest::newRow("cut in the time")             << head + "Tempo restante   00:0"  << false << ""             << W{{.kind = K::CutShort, .field = F::DateWord}};
    QTest::newRow("cut in the record mark")      << head + "Tempo restante   00:03:12-\"Dat" << false << "" << W{{.kind = K::CutShort, .field = F::DateWord}};
    QTest::newRow("cut before the date")         << head + "Tempo restante   00:03:12Data:   " << true << "Anna" << W{{.kind = K::NoDate}};
    QTest::newRow("wrong count missing")         << QByteArray("Nome:  Anna  Risposte esatte 7  Risposte errate  ") + tail << false << "" << W{{.kind = K::Unrecognised, .field = F::WrongCount, .piece = "poste errate"}};
    QTest::newRow("negative count")              << QByteArray("Nome:  Anna  Risposte esatte -7  Risposte errate  2") + tail << false << "" << W{{.kind = K::Unrecognised, .field = F::CorrectTitle, .piece = "ste esatte -"}};
    QTest::newRow("count too long")              << QByteArray("Nome:  Anna  Risposte esatte 12345678901  Risposte errate  2") + tail << false << "" << W{{.kind = K::Unrecognised, .field = F::CorrectCount, .piece = "poste esatte"}};
    QTest::newRow("fixed word changed")          << QByteArray("Nome:  Anna  Risposte giuste 7  Risposte errate  2") + tail << false << "" << W{{.kind = K::Unrecognised, .field = F::CorrectTitle, .piece = "poste giuste"}};
    QTest::newRow("time unreadable")             << head + "Tempo restante   00:61:00Data:   15/04/2007" << true << "Anna" << W{{.kind = K::TimeUnreadable, .piece = "00:61:00"}};
    QTest::newRow("time beyond a game")          << head + "Tempo restante   00:20:00Data:   15/04/2007" << true << "Anna" << W{{.kind = K::TimeBeyondGame, .piece = "00:20:00"}};
    QTest::newRow("time missing")                << head + "Tempo restanteData:   15/04/2007" << true << "Anna" << W{{.kind = K::NoTimeLeft}};
    QTest::newRow("date in words unknown")       << head + "Tempo restante   00:03:12Data:   ieri" << true << "Anna" << W{{.kind = K::DateUnknown, .piece = "ieri"}};
    QTest::newRow("impossible date")             << head + "Tempo restante   00:03:12Data:   31/02/2007" << true << "Anna" << W{{.kind = K::DateUnknown, .piece = "31/02/2007"}};
    QTest::newRow("two games on one line")       << full + full                     << false << ""             << W{{.kind = K::TwoGames}};
    QTest::newRow("control byte in name")        << QByteArray("Nome:  An\x01na  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << W{{.kind = K::InvalidBytes, .byte = 0x01, .count = 1, .column = 10}};
    QTest::newRow("NUL byte in name")            << QByteArray("Nome:  An\0na  Risposte esatte 7  Risposte errate  2", 51) + tail << true << "An\uFFFDna" << W{{.kind = K::InvalidBytes, .byte = 0x00, .count = 1, .column = 10}};
    QTest::newRow("tab in name")                 << QByteArray( "Nome:  An\tna  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << W{{.kind = K::InvalidBytes, .byte = 0x09, .count = 1, .column = 10}};
    QTest::newRow("CR inside the line")          << QByteArray("Nome:  An\rna  Risposte esatte 7  Risposte errate  2") + tail << true << "An\uFFFDna" << W{{.kind = K::InvalidBytes, .byte = 0x0D, .count = 1, .column = 10}};
    QTest::newRow("bytes outside the code page") << QByteArray("Nome:  \x81\x9d  Risposte esatte 7  Risposte errate  2") + tail << true << "\uFFFD\uFFFD" << W{{.kind = K::InvalidBytes, .byte = 0x81, .count = 2, .column = 8}};
    QTest::newRow("line written in UTF-8")       << QByteArray("Nome:  Nicol\xc3\xb2  Risposte esatte 7  Risposte errate  2") + tail << true << "Nicolò" << W{{.kind = K::Utf8Line}};
    QTest::newRow("Latin-1 letters are fine")    << QByteArray("Nome:  Nicol\xf2  Risposte esatte 7  Risposte errate  2") + tail << true << "Nicolò" << W{};
    QTest::newRow("older spacing")               << QByteArray("Nome: Anna Risposte esatte 7 Risposte errate 2 Tempo restante 00:03:12 Data: 15/04/2007") << true << "Anna" << W{};
    QTest::newRow("blanks before the line")      << "  " + full                     << true  << "Anna"         << W{};
    QTest::newRow("date with time of day")       << head + "Tempo restante   00:03:12Data:   15/04/2007 10:31:02" << true << "Anna" << W{};
    // clang-format on
}

void TestClassLogLine::malformedLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, hasEntry);
    QFETCH(QString, name);
    QFETCH(QList<ClassLogWarning>, warnings);

    const ParsedLine parsed = parseClassLogLine(line);
    QCOMPARE(bool(parsed.entry), hasEntry);
    if (hasEntry) {
        QCOMPARE(parsed.entry->name, name);
        QCOMPARE(parsed.entry->correct, 7);
        QCOMPARE(parsed.entry->wrong, 2);
    }
    QCOMPARE(parsed.warnings, warnings);
}

void TestClassLogLine::dates_data()
{
    testdata::columns<QString, DateOrder, QDate, bool>("text", "order", "expected", "note");

    const auto dmy = DateOrder::DayMonthYear;
    const auto mdy = DateOrder::MonthDayYear;
    const auto ymd = DateOrder::YearMonthDay;
    const QDate d(2007, 4, 15);
    // clang-format off
    QTest::newRow("Italian, four digits")             << "15/04/2007"              << dmy << d                 << false;
    QTest::newRow("Italian, two digits")              << "15/04/07"                << dmy << d                 << false;
    QTest::newRow("dots")                             << "15.04.07"                << dmy << d                 << false;
    QTest::newRow("hyphens")                          << "15-04-2007"              << dmy << d                 << false;
    QTest::newRow("ISO in a day-first locale")        << "2007-04-15"              << dmy << d                 << false;
    QTest::newRow("year first, one-digit fields")     << "2007/4/5"                << dmy << QDate(2007, 4, 5) << false;
    QTest::newRow("month first only fits")            << "4/15/07"                 << dmy << d                 << true;
    QTest::newRow("ambiguous, locale order")          << "4/5/07"                  << dmy << QDate(2007, 5, 4) << false;
    QTest::newRow("ambiguous, US locale")             << "4/5/07"                  << mdy << QDate(2007, 4, 5) << false;
    QTest::newRow("day first in a US locale")         << "15/04/07"                << mdy << d                 << true;
    QTest::newRow("two-digit year first")             << "07/04/15"                << ymd << d                 << false;
    QTest::newRow("day-first in a year-first locale") << "15/04/2007"              << ymd << d                 << false;
    QTest::newRow("English month")                    << "15 Apr 2007"             << dmy << d                 << false;
    QTest::newRow("Italian month, hyphens")           << "15-apr-07"               << dmy << d                 << false;
    QTest::newRow("month before day")                 << "Apr 15, 2007"            << dmy << d                 << false;
    QTest::newRow("long Italian form")                << "domenica 15 aprile 2007" << dmy << d                 << false;
    QTest::newRow("with time")                        << "15/04/2007 10:30:12"     << dmy << d                 << false;
    QTest::newRow("last century")                     << "01/01/99"                << dmy << QDate(1999, 1, 1) << false;
    QTest::newRow("no year")                          << "15 aprile"               << dmy << QDate()           << false;
    QTest::newRow("February 31")                      << "31/02/2007"              << dmy << QDate()           << false;
    QTest::newRow("three-digit year")                 << "15/04/207"               << dmy << QDate()           << false;
    QTest::newRow("four numbers")                     << "15/04/2007/1"            << dmy << QDate()           << false;
    QTest::newRow("word")                             << "ieri"                    << dmy << QDate()           << false;
    QTest::newRow("only a time")                      << "10:30"                   << dmy << QDate()           << false;
    QTest::newRow("empty")                            << ""                        << dmy << QDate()           << false;
    // clang-format on
}

void TestClassLogLine::dates()
{
    QFETCH(QString, text);
    QFETCH(DateOrder, order);
    QFETCH(QDate, expected);
    QFETCH(bool, note);

    QList<ClassLogWarning> warnings;
    QCOMPARE(parseLogDate(text, order, &warnings), expected);
    QCOMPARE(warnings.size(), note ? 1 : 0);
}

void TestClassLogLine::dateOrderOfLocale_data()
{
    testdata::columns<QString, DateOrder>("locale", "order");
    // clang-format off
    QTest::newRow("Italian")  << "it_IT" << DateOrder::DayMonthYear;
    QTest::newRow("German")   << "de_DE" << DateOrder::DayMonthYear;
    QTest::newRow("American") << "en_US" << DateOrder::MonthDayYear;
    QTest::newRow("Japanese") << "ja_JP" << DateOrder::YearMonthDay;
    // clang-format on
}

void TestClassLogLine::dateOrderOfLocale()
{
    QFETCH(QString, locale);
    QFETCH(DateOrder, order);
    QCOMPARE(dateOrderOf(QLocale(locale)), order);
    // The locale's own short form is read back to the same day.
    const QDate day(2007, 4, 5);
    QCOMPARE(parseLogDate(QLocale(locale).toString(day, QLocale::ShortFormat), order), day);
}

void TestClassLogLine::clock_data()
{
    testdata::columns<QString, int>("text", "seconds");
    // clang-format off
    QTest::newRow("countdown text")             << "00:03:12"  << 192;
    QTest::newRow("dots as in the design text") << "00.03.12"  << 192;
    QTest::newRow("single digits")              << "0:3:12"    << 192;
    QTest::newRow("full game")                  << "00:15:00"  << 900;
    QTest::newRow("minutes out of range")       << "00:60:00"  << -1;
    QTest::newRow("two fields")                 << "03:12"     << -1;
    QTest::newRow("letters")                    << "aa:bb:cc"  << -1;
    QTest::newRow("three-digit field")          << "001:00:00" << -1;
    QTest::newRow("mixed separators")           << "00:03.12"  << -1;
    QTest::newRow("empty")                      << ""          << -1;
    // clang-format on
}

void TestClassLogLine::clock()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(parseClockText(text), seconds);
    if (seconds >= 0) QCOMPARE(parseClockText(clockText(seconds)), seconds);
}

QTEST_GUILESS_MAIN(TestClassLogLine)
#include "tst_classlogline.moc"
