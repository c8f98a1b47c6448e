#include "DataColumns.h"
#include "platform/Conversions.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

#include "RealLocales.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace platform;

class TestConversions : public QObject
{
    Q_OBJECT
private slots:
    void numberToText_data();
    void numberToText();
    void readNumber_data();
    void readNumber();
    void readNumberErrors_data();
    void readNumberErrors();
    void readInt32RoundsHalfToEven_data();
    void readInt32RoundsHalfToEven();
    void leadingNumber_data();
    void leadingNumber();
    void patterns_data();
    void patterns();
    void unknownPatternIsError5();
    void checkedArithmetic();
    void plainWholeNumber_data();
    void plainWholeNumber();
    void shortDateHasFullYear();
    void shortDateForAnAxis();
    void systemLocaleFollowsEnvironment();
};

void TestConversions::numberToText_data()
{
    testdata::columns<double, QString, QString>("value", "separator", "text");
    // clang-format off
    QTest::addRow("comma")                   << 3.25         << ","  << "3,25";
    QTest::addRow("point")                   << 3.25         << "."  << "3.25";
    QTest::addRow("no trailing zeros")       << 3.10         << ","  << "3,1";
    QTest::addRow("whole")                   << 3.0          << ","  << "3";
    QTest::addRow("zero before separator")   << 0.5          << ","  << "0,5";
    QTest::addRow("negative")                << -1.5         << ","  << "-1,5";
    QTest::addRow("negative zero")           << -0.0         << ","  << "0";
    QTest::addRow("15 significant digits")   << 1.0 / 3.0    << ","  << "0,333333333333333";
    QTest::addRow("no grouping")             << 1234567.0    << ","  << "1234567";
    QTest::addRow("two-character separator") << 1.5          << ",," << "1,,5";
    QTest::addRow("ten decimals")            << 0.1234567891 << ","  << "0,1234567891";
    QTest::addRow("large in exponent form")  << 1e15         << ","  << "1E+15";
    QTest::addRow("2.675 stays as written")  << 2.675        << ","  << "2,675";
    // clang-format on
}

void TestConversions::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(platform::numberToText(value, NumberLocale{separator}), text);
}

void TestConversions::readNumber_data()
{
    testdata::columns<QString, QString, double>("text", "separator", "value");
    // clang-format off
    QTest::addRow("comma")                   << "3,25"   << ","  << 3.25;
    QTest::addRow("point")                   << "3.25"   << "."  << 3.25;
    QTest::addRow("blanks around")           << "  12 "  << ","  << 12.0;
    QTest::addRow("leading zeros")           << "05"     << ","  << 5.0;
    QTest::addRow("sign")                    << "-1,5"   << ","  << -1.5;
    QTest::addRow("no integer digits")       << ",5"     << ","  << 0.5;
    QTest::addRow("exponent")                << "1,5E+2" << ","  << 150.0;
    QTest::addRow("two-character separator") << "1,,5"   << ",," << 1.5;
    // clang-format on
}

void TestConversions::readNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(double, value);
    QCOMPARE(platform::readNumber(text, NumberLocale{separator}), value);
}

void TestConversions::readNumberErrors_data()
{
    testdata::columns<QString, QString, int>("text", "separator", "error");
    // clang-format off
    QTest::addRow("empty")                    << ""                 << "," << 13;
    QTest::addRow("blanks only")              << "   "              << "," << 13;
    QTest::addRow("inner space")              << "1 5"              << "," << 13;
    QTest::addRow("fraction")                 << "3/2"              << "," << 13;
    QTest::addRow("point under comma locale") << "3.25"             << "," << 13;
    QTest::addRow("comma under point locale") << "3,25"             << "." << 13;
    QTest::addRow("letter")                   << "a"                << "," << 13;
    QTest::addRow("plus inside")              << "1+2"              << "," << 13;
    QTest::addRow("separator alone")          << ","                << "," << 13;
    QTest::addRow("exponent without digits")  << "1E"               << "," << 13;
    QTest::addRow("too large for a double")   << "1E400"            << "," << 6;
    QTest::addRow("four hundred digits")      << QString(400, u'9') << "," << 6;
    // clang-format on
}

void TestConversions::readNumberErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, error);
    try {
        platform::readNumber(text, NumberLocale{separator});
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), error);
    }
}

void TestConversions::readInt32RoundsHalfToEven_data()
{
    testdata::columns<QString, int, int>("text", "value", "error");
    // clang-format off
    QTest::addRow("2,5 to 2")              << "2,5"         << 2          << 0;
    QTest::addRow("3,5 to 4")              << "3,5"         << 4          << 0;
    QTest::addRow("-2,5 to -2")            << "-2,5"        << -2         << 0;
    QTest::addRow("largest")               << "2147483647"  << 2147483647 << 0;
    QTest::addRow("smallest")              << "-2147483648" << int(std::numeric_limits<qint32>::min()) << 0;
    QTest::addRow("one past")              << "2147483648"  << 0          << 6;
    QTest::addRow("ten digits of a power") << "10000000000" << 0          << 6;
    QTest::addRow("not a number")          << "x"           << 0          << 13;
    // clang-format on
}

void TestConversions::readInt32RoundsHalfToEven()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(int, error);
    try {
        const qint32 read = platform::readInt32(text, NumberLocale{QStringLiteral(",")});
        QCOMPARE(error, 0);
        QCOMPARE(read, value);
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), error);
    }
}

void TestConversions::leadingNumber_data()
{
    testdata::columns<QString, double>("text", "value");
    // clang-format off
    QTest::addRow("comma stops")         << "1,25"   << 1.0;
    QTest::addRow("point is decimal")    << "1.25"   << 1.25;
    QTest::addRow("inner space skipped") << "1 5"    << 15.0;
    QTest::addRow("slash stops")         << "3/2"    << 3.0;
    QTest::addRow("empty")               << ""       << 0.0;
    QTest::addRow("no leading number")   << "abc"    << 0.0;
    QTest::addRow("record with CR LF")   << "12\r\n" << 12.0;
    QTest::addRow("blanks before sign")  << "  -7"   << -7.0;
    QTest::addRow("blank after sign")    << "- 7"    << -7.0;
    QTest::addRow("second point stops")  << "1.2.3"  << 1.2;
    QTest::addRow("second sign stops")   << "+-3"    << 0.0;
    QTest::addRow("tab skipped")         << "\t4"    << 4.0;
    // clang-format on
}

void TestConversions::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(platform::readLeadingNumber(text), value);
}

void TestConversions::patterns_data()
{
    testdata::columns<double, QString, QString>("value", "pattern", "text");
    // clang-format off
    QTest::addRow("one decimal")                       << 3.7     << "#0.0"  << "3,7";
    QTest::addRow("one decimal, half up")              << 1.25    << "#0.0"  << "1,3";
    QTest::addRow("one decimal reaches 9,0")           << 8.95    << "#0.0"  << "9,0";
    QTest::addRow("one decimal below 1,05")            << 1.0499  << "#0.0"  << "1,0";
    QTest::addRow("1,05 rounds up")                    << 1.05    << "#0.0"  << "1,1";
    QTest::addRow("two decimals keep a trailing zero") << 3.7     << "#0.#0" << "3,70";
    QTest::addRow("1,125 half up")                     << 1.125   << "#0.#0" << "1,13";
    QTest::addRow("2,675 half up on its text")         << 2.675   << "#0.#0" << "2,68";
    QTest::addRow("two decimals reach a whole")        << 8.999   << "#0.#0" << "9,00";
    QTest::addRow("below one")                         << 0.05    << "#0.0"  << "0,1";
    QTest::addRow("integer zero")                      << 0.0     << "###0"  << "0";
    QTest::addRow("integer")                           << 12.0    << "###0"  << "12";
    QTest::addRow("integer wide")                      << 32767.0 << "####0" << "32767";
    QTest::addRow("integer rounds")                    << 2.5     << "###0"  << "3";
    QTest::addRow("two digits")                        << 5.0     << "00"    << "05";
    QTest::addRow("two digits zero")                   << 0.0     << "00"    << "00";
    QTest::addRow("two digits of 59")                  << 59.0    << "00"    << "59";
    QTest::addRow("three digits")                      << 900.0   << "00"    << "900";
    QTest::addRow("negative")                          << -1.25   << "#0.0"  << "-1,3";
    // clang-format on
}

void TestConversions::patterns()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(platform::formatNumber(value, pattern, NumberLocale{QStringLiteral(",")}), text);
}

void TestConversions::unknownPatternIsError5()
{
    try {
        platform::formatNumber(1, u"0.000", NumberLocale{});
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), 5);
    }
}

void TestConversions::checkedArithmetic()
{
    QCOMPARE(add16(32766, 1), qint16(32767));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, add16(32767, 1));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, add16(-32768, -1));
    QCOMPARE(add32(2147483646, 1), 2147483647);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, add32(2147483647, 1));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, mul32(65536, 65536));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toInt32(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toInt16(32767.5));
    QCOMPARE(toInt16(32766.5), qint16(32766));
    try {
        divide(1, 0);
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), 11);
    }
    try {
        checkedDouble(std::numeric_limits<double>::infinity());
        QFAIL("no error raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.number(), 6);
    }
}

void TestConversions::plainWholeNumber_data()
{
    testdata::columns<QString, bool>("text", "plain");
    // clang-format off
    QTest::addRow("digits")           << "13"   << true;
    QTest::addRow("blanks around")    << " 13 " << true;
    QTest::addRow("leading zero")     << "03"   << true;
    QTest::addRow("empty")            << ""     << false;
    QTest::addRow("inner blank")      << "1 5"  << false;
    QTest::addRow("fraction")         << "3/2"  << false;
    QTest::addRow("leading plus")     << " +3 " << true;
    QTest::addRow("plus and a blank") << "+ 3"  << false;
    QTest::addRow("trailing plus")    << "3+"   << false;
    QTest::addRow("plus alone")       << "+"    << false;
    QTest::addRow("letter")           << "3a"   << false;
    // clang-format on
}

void TestConversions::plainWholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, plain);
    QCOMPARE(isPlainWholeNumber(text), plain);
}

void TestConversions::shortDateHasFullYear()
{
    const QDate date(2007, 4, 15);
    QCOMPARE(shortDateText(date, QLocale(QLocale::Italian, QLocale::Italy)), "15/04/2007");
    QVERIFY(shortDateText(date, QLocale(QLocale::English, QLocale::UnitedStates))
                .contains(QLatin1String("2007")));
}

void TestConversions::shortDateForAnAxis()
{
    // Two digits of the year, also where the locale writes four.
    const QDate date(2007, 4, 15);
    for (const char *name : {"it_IT", "sv_SE"}) {
        const QLocale locale(QString::fromLatin1(name));
        const QString text = locale.toString(date, shortDateFormat(locale, Year::TwoDigits));
        QVERIFY2(text.contains(QLatin1String("07")) && !text.contains(QLatin1String("2007")),
                 qPrintable(text));
    }
}

void TestConversions::systemLocaleFollowsEnvironment()
{
    // The same conversions under the locales a school PC may have.
    QCOMPARE(NumberLocale::fromLocale(QLocale(QLocale::Italian, QLocale::Italy)).decimal, ",");
    QCOMPARE(NumberLocale::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates)).decimal,
             ".");
}

SOLFIRA_TEST_APPLESS_MAIN_UNDER_LOCALES(TestConversions)
#include "tst_conversions.moc"
