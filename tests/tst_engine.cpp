#include "DataColumns.h"
#include "engine/Engine.h"
#include "platform/RuntimeError.h"

#include "RealLocales.h"

#include <QTest>

#include <map>
#include <numeric>

using engine::Box;

namespace {

// The window's working fields as plain data.
struct PlainFields : engine::WorkingFields {
    std::map<Box, QString> boxes{{Box::Text1, "1"}, {Box::Text2, "2"}, {Box::Text5, "5"},
                                 {Box::Text6, "6"}, {Box::Text9, ""},  {Box::Text10, ""}};
    qint32 num = 0, den = 0;
    bool answerEnabled = false, nextEnabled = true;

    QString boxText(Box b) const override { return boxes.at(b); }
    void setBoxText(Box b, const QString &t) override { boxes[b] = t; }
    qint32 &numeratore() override { return num; }
    qint32 &denominatore() override { return den; }
    void setAnswerEnabled(bool e) override { answerEnabled = e; }
    void setNextEnabled(bool e) override { nextEnabled = e; }
    QStringList all() const
    {
        return {boxes.at(Box::Text1), boxes.at(Box::Text2), boxes.at(Box::Text5),
                boxes.at(Box::Text6), boxes.at(Box::Text9), boxes.at(Box::Text10)};
    }
};

struct FixedLocale : platform::LocaleSource {
    QString separator;
    explicit FixedLocale(QString s) : separator(std::move(s)) {}
    platform::NumberLocale numberLocale() const override { return {separator}; }
};

QString convert(PlainFields &f, const QString &separator, double value, qint16 repeating = 0)
{
    return engine::Numeroafrazione(f, FixedLocale(separator), value, repeating);
}

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT
private slots:
    void conversion_data();
    void conversion();
    void wholeNumbersTouchNothing_data();
    void wholeNumbersTouchNothing();
    void tenDecimalsIsError6AndWritesNoBox();
    void separatorOfTwoCharactersIsError5_data();
    void separatorOfTwoCharactersIsError5();
    void separatorAskedOnEveryCall();
    void fattcom_data();
    void fattcom();
    void cercafrazione_data();
    void cercafrazione();
    void cercafrazioneOverflowLeavesLastPair();
    void repeatingDigits_data();
    void repeatingDigits();
    void wholeQuestionDomain_data();
    void wholeQuestionDomain();
};

void TestEngine::conversion_data()
{
    // boxes: Text1 Text2 Text5 Text6 Text9 Text10
    testdata::columns<double, QString, QString, QStringList, int, int>(
        "value", "separator", "result", "boxes", "num", "den");
    // clang-format off
    QTest::addRow("3,25")                << 3.25  << "," << "3+1/4"    << QStringList{"3", "1", "1", "4", "13", "4"} << 13 << 4;
    QTest::addRow("3.25 in English")     << 3.25  << "." << "3+1/4"    << QStringList{"3", "1", "1", "4", "13", "4"} << 13 << 4;
    QTest::addRow("2,4 divisor 2")       << 2.4   << "," << "2+2/5"    << QStringList{"2", "1", "2", "5", "12", "5"} << 12 << 5;
    QTest::addRow("1,05 digits 05")      << 1.05  << "," << "1+1/20"   << QStringList{"1", "1", "1", "20", "21", "20"} << 21 << 20;
    QTest::addRow("8,5")                 << 8.5   << "," << "8+1/2"    << QStringList{"8", "1", "1", "2", "17", "2"} << 17 << 2;
    QTest::addRow("0,5 leaves the plus") << 0.5   << "," << "+1/2"     << QStringList{"0", "1", "1", "2", "1", "2"} << 1 << 2;
    QTest::addRow("4,1")                 << 4.1   << "," << "4+1/10"   << QStringList{"4", "1", "1", "10", "41", "10"} << 41 << 10;
    QTest::addRow("8,99")                << 8.99  << "," << "8+99/100" << QStringList{"8", "1", "99", "100", "899", "100"} << 899 << 100;
    // Negative values: the sign belongs to the whole value.
    QTest::addRow("-1,5")                << -1.5  << "," << "-1-1/2"   << QStringList{"-1", "1", "-1", "2", "-3", "2"} << -3 << 2;
    QTest::addRow("-0,25")               << -0.25 << "," << "-1/4"     << QStringList{"-0", "1", "-1", "4", "-1", "4"} << -1 << 4;
    // clang-format on
}

void TestEngine::conversion()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, result);
    QFETCH(QStringList, boxes);
    QFETCH(int, num);
    QFETCH(int, den);
    PlainFields f;
    QCOMPARE(convert(f, separator, value), result);
    QCOMPARE(f.all(), boxes);
    QCOMPARE(f.num, num);
    QCOMPARE(f.den, den);
    QVERIFY(f.answerEnabled);
    QVERIFY(!f.nextEnabled);
}

void TestEngine::wholeNumbersTouchNothing_data()
{
    testdata::columns<double, QString>("value", "result");
    // clang-format off
    QTest::addRow("0")  << 0.0  << "0";
    QTest::addRow("7")  << 7.0  << "7";
    QTest::addRow("-3") << -3.0 << "-3";
    // clang-format on
}

void TestEngine::wholeNumbersTouchNothing()
{
    QFETCH(double, value);
    QFETCH(QString, result);
    PlainFields f;
    f.num = 13;
    f.den = 4;
    const QStringList before = f.all();
    QCOMPARE(convert(f, ",", value), result);
    QCOMPARE(f.all(), before);
    QCOMPARE(f.num, 13);
    QCOMPARE(f.den, 4);
    QVERIFY(!f.answerEnabled);
    QVERIFY(f.nextEnabled);
}

void TestEngine::tenDecimalsIsError6AndWritesNoBox()
{
    PlainFields f;
    f.num = 3;
    f.den = 2;
    const QStringList before = f.all();
    QCOMPARE(convert(f, ",", 0.1234567891), "#Error 6");
    QCOMPARE(f.all(), before);
    QCOMPARE(f.num, 3);
    QCOMPARE(f.den, 2);
    QVERIFY(f.nextEnabled);
    // Nine decimals still convert.
    QCOMPARE(convert(f, ",", 0.123456789), "+123456789/1000000000");
}

void TestEngine::separatorOfTwoCharactersIsError5_data()
{
    testdata::columns<QString, double>("separator", "value");
    // clang-format off
    QTest::addRow("two characters, decimal") << ",," << 3.25;
    QTest::addRow("two characters, whole")   << ",," << 7.0;
    QTest::addRow("empty")                   << ""   << 3.25;
    // clang-format on
}

void TestEngine::separatorOfTwoCharactersIsError5()
{
    QFETCH(QString, separator);
    QFETCH(double, value);
    PlainFields f;
    const QStringList before = f.all();
    QCOMPARE(convert(f, separator, value), "#Error 5");
    QCOMPARE(f.all(), before);
    QVERIFY_THROWS_EXCEPTION(platform::RuntimeError,
                             engine::SeparatoreDecimali(FixedLocale(separator)));
}

void TestEngine::separatorAskedOnEveryCall()
{
    struct Switching : platform::LocaleSource {
        mutable int calls = 0;
        platform::NumberLocale numberLocale() const override
        {
            return {++calls > 2 ? QStringLiteral(".") : QStringLiteral(",")};
        }
    } locale;
    PlainFields f;
    QCOMPARE(engine::SeparatoreDecimali(locale), qint32(','));
    QCOMPARE(engine::SeparatoreDecimali(locale), qint32(','));
    QCOMPARE(engine::SeparatoreDecimali(locale), qint32('.'));
    QCOMPARE(engine::Numeroafrazione(f, locale, 2.5, 0), "2+1/2");
    QCOMPARE(f.boxText(Box::Text10), "2");
}

void TestEngine::fattcom_data()
{
    testdata::columns<int, int, int, int>("a", "b", "gcd", "error");
    // clang-format off
    QTest::addRow("100, 25")         << 100 << 25 << 25 << 0;
    QTest::addRow("-12, 18")         << -12 << 18 << 6  << 0;
    QTest::addRow("0, 12")           << 0   << 12 << 12 << 0;
    QTest::addRow("12, 0")           << 12  << 0  << 0  << 11;
    QTest::addRow("coprime")         << 17  << 4  << 1  << 0;
    QTest::addRow("smallest first")  << int(std::numeric_limits<qint32>::min()) << 2 << 0 << 6;
    QTest::addRow("smallest second") << 2   << int(std::numeric_limits<qint32>::min()) << 0 << 6;
    // clang-format on
}

void TestEngine::fattcom()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, gcd);
    QFETCH(int, error);
    try {
        const qint32 g = engine::fattcom(a, b);
        QCOMPARE(error, 0);
        QCOMPARE(g, gcd);
    } catch (const platform::RuntimeError &e) {
        QCOMPARE(e.number(), error);
    }
}

void TestEngine::cercafrazione_data()
{
    testdata::columns<double, int, int>("value", "num", "den");
    // clang-format off
    QTest::addRow("1")                << 1.0          << 1   << 1;
    QTest::addRow("0,25")             << 0.25         << 1   << 4;
    QTest::addRow("8,5")              << 8.5          << 17  << 2;
    QTest::addRow("1/3")              << 1.0 / 3.0    << 1   << 3;
    QTest::addRow("899/100")          << 8.99         << 899 << 100;
    QTest::addRow("NaN ends at once") << std::nan("") << 1   << 1;
    // clang-format on
}

void TestEngine::cercafrazione()
{
    QFETCH(double, value);
    QFETCH(int, num);
    QFETCH(int, den);
    qint32 n = -5, d = -5;
    engine::Cercafrazione(value, n, d);
    QCOMPARE(n, num);
    QCOMPARE(d, den);
}

void TestEngine::cercafrazioneOverflowLeavesLastPair()
{
    // The numerator climbs one by one past the 32-bit range.
    qint32 n = 0, d = 0;
    try {
        engine::Cercafrazione(3e9, n, d);
        QFAIL("no error raised");
    } catch (const platform::RuntimeError &e) {
        QCOMPARE(e.number(), 6);
    }
    QCOMPARE(n, std::numeric_limits<qint32>::max());
    QCOMPARE(d, 1);
}

void TestEngine::repeatingDigits_data()
{
    testdata::columns<double, int, QString, int, int>("value", "repeating", "result", "num", "den");
    // clang-format off
    QTest::addRow("0,3 one repeating")      << 0.3      << 1 << "+1/3"    << 1  << 3;
    QTest::addRow("0,16 one repeating")     << 0.16     << 1 << "+1/6"    << 1  << 6;
    QTest::addRow("0,142857 six repeating") << 0.142857 << 6 << "+1/7"    << 1  << 7;
    QTest::addRow("0,12 two repeating")     << 0.12     << 2 << "+4/33"   << 4  << 33;
    QTest::addRow("0,123 one repeating")    << 0.123    << 1 << "+37/300" << 37 << 300;
    QTest::addRow("2,5 one repeating")      << 2.5      << 1 << "2+5/9"   << 23 << 9;
    // clang-format on
}

void TestEngine::repeatingDigits()
{
    QFETCH(double, value);
    QFETCH(int, repeating);
    QFETCH(QString, result);
    QFETCH(int, num);
    QFETCH(int, den);
    PlainFields f;
    QCOMPARE(convert(f, ",", value, qint16(repeating)), result);
    QCOMPARE(f.num, num);
    QCOMPARE(f.den, den);
    QCOMPARE(f.boxText(Box::Text9), QString::number(num));
}

void TestEngine::wholeQuestionDomain_data()
{
    testdata::columns<QString>("separator");
    QTest::addRow("Italian") << ",";
    QTest::addRow("English") << ".";
}

void TestEngine::wholeQuestionDomain()
{
    // Every question the game can pose, from its decimal text, against exact integer arithmetic.
    QFETCH(QString, separator);
    const FixedLocale locale(separator);
    const platform::NumberLocale numbers{separator};
    int checked = 0;
    for (int decimals = 1; decimals <= 2; ++decimals) {
        const int scale = decimals == 1 ? 10 : 100;
        for (int scaled = scale + 1; scaled < 9 * scale; ++scaled) {
            if (scaled % scale == 0) continue; // whole numbers are never posed
            // "4,10" is posed too: two decimals may end in 0.
            const QString text = QStringLiteral("%1%2%3")
                                     .arg(scaled / scale)
                                     .arg(separator)
                                     .arg(scaled % scale, decimals, 10, QLatin1Char('0'));
            const int g = std::gcd(scaled, scale);

            PlainFields f;
            const QString result =
                engine::Numeroafrazione(f, locale, platform::readNumber(text, numbers), 0);
            QVERIFY2(!result.startsWith(QLatin1String("#Error")), qPrintable(text + " " + result));
            QCOMPARE(f.num, scaled / g);
            QCOMPARE(f.den, scale / g);
            QCOMPARE(f.boxText(Box::Text9), QString::number(scaled / g));
            QCOMPARE(f.boxText(Box::Text10), QString::number(scale / g));
            ++checked;
        }
    }
    QCOMPARE(checked, 8 * 9 + 8 * 99);
}

SOLFIRA_TEST_APPLESS_MAIN_UNDER_LOCALES(TestEngine)
#include "tst_engine.moc"
