// The fraction search against the stepping search it replaces. The stepping search is kept
// here, as first written, as the reference: every outcome (the pair left in the caller's
// variables and the error raised, if any) must be the same.
#include "DataColumns.h"
#include "SteppingSearch.h"
#include "engine/Engine.h"
#include "platform/RuntimeError.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr qint32 kMax = std::numeric_limits<qint32>::max();

// Unoptimised, the stepping search is several times slower: a Debug build compares every
// fourth value of the tables below, evenly spread, with it. The million random values are
// checked in full either way.
#ifdef NDEBUG
constexpr int ReferenceStride = 1;
#else
constexpr int ReferenceStride = 4;
#endif

struct Outcome {
    qint32 numerator = 0;
    qint32 denominator = 0;
    int error = 0;
    bool operator==(const Outcome &) const = default;
};

QString describe(double value, const Outcome &o)
{
    return QStringLiteral("%1: %2/%3 error %4")
        .arg(value, 0, 'g', 17)
        .arg(o.numerator)
        .arg(o.denominator)
        .arg(o.error);
}

template <typename Search>
Outcome run(Search search, double value, qint32 numerator = -7, qint32 denominator = -7)
{
    Outcome o{numerator, denominator, 0};
    try {
        search(value, o.numerator, o.denominator);
    } catch (const platform::RuntimeError &e) {
        o.error = e.number();
    }
    return o;
}

Outcome engineOutcome(double value)
{
    return run(engine::Cercafrazione, value);
}

Outcome referenceOutcome(double value)
{
    return run(steppingSearch, value);
}

// The reference resumed from a pair the stepping search provably passes through.
Outcome referenceFrom(double value, qint32 numerator, qint32 denominator)
{
    return run(continueStepping, value, numerator, denominator);
}

// Compares the engine with the reference on every value, on all cores; returns the first
// values that differ (at most a few, described).
QStringList differences(const std::vector<double> &values)
{
    const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<QStringList> found(workers);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&, w] {
            for (size_t i = w; i < values.size() && found[w].size() < 5; i += workers) {
                const Outcome expected = referenceOutcome(values[i]);
                const Outcome actual = engineOutcome(values[i]);
                if (!(actual == expected))
                    found[w] << describe(values[i], actual) + QStringLiteral(" expected ") +
                                    describe(values[i], expected);
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    QStringList all;
    for (const QStringList &f : found)
        all << f;
    return all;
}

// `count` values of up to six decimals in 0..10, each with 0 to 6 decimals drawn first, as
// (scaled, decimals): the value is scaled / 10^decimals.
struct Decimal {
    qint64 scaled;
    int decimals;
    double value() const { return double(scaled) / std::pow(10.0, decimals); }
};

std::vector<Decimal> randomDecimals(size_t count)
{
    std::mt19937_64 generator(20070415);
    std::vector<Decimal> out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int decimals = int(generator() % 7);
        const qint64 scale = qint64(std::llround(std::pow(10.0, decimals)));
        out.push_back({qint64(generator() % quint64(10 * scale + 1)), decimals});
    }
    return out;
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void everyFourDecimalValueUpToTen();
    void randomSixDecimalValuesAgainstStepping();
    void millionSixDecimalValues();
    void smallFractionsOfEitherSign();
    void largeDenominators();
    void outOfRangeNearTheTop();
    void lastPairLeftBehind_data();
    void lastPairLeftBehind();
};

void TestSearch::everyFourDecimalValueUpToTen()
{
    std::vector<double> values;
    for (int scaled = 0; scaled <= 100000; scaled += ReferenceStride)
        values.push_back(scaled / 10000.0);
    const QStringList found = differences(values);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestSearch::randomSixDecimalValuesAgainstStepping()
{
    // The stepping search takes about two steps per denominator up to a million here, so it
    // checks the first values of the random series; the rest are checked below.
    std::vector<double> values;
    for (const Decimal &d : randomDecimals(1200 / ReferenceStride))
        values.push_back(d.value());
    const QStringList found = differences(values);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestSearch::millionSixDecimalValues()
{
    // For a value of up to six decimals in 0..10 the stepping search ends on the decimal
    // fraction in lowest terms: scaled/10^k divided in double precision gives the value, and no
    // other fraction with a denominator up to 10^6 does, since two such fractions are at least
    // 10^-12 apart while the doubles that round to one value near 10 span less than 2·10^-15.
    // The products stay far inside the 32-bit range. Zero is the exception: the search passes
    // 1/1 and stops at 0/2.
    int checked = 0;
    for (const Decimal &d : randomDecimals(1000000)) {
        const qint64 scale = qint64(std::llround(std::pow(10.0, d.decimals)));
        const qint64 g = std::gcd(d.scaled, scale);
        const Outcome expected =
            d.scaled == 0 ? Outcome{0, 2, 0} : Outcome{qint32(d.scaled / g), qint32(scale / g), 0};
        const Outcome actual = engineOutcome(d.value());
        if (!(actual == expected))
            QFAIL(qPrintable(describe(d.value(), actual) + QStringLiteral(" expected ") +
                             describe(d.value(), expected)));
        ++checked;
    }
    QCOMPARE(checked, 1000000);
}

void TestSearch::smallFractionsOfEitherSign()
{
    // p/q for random q up to 3000, either sign, up to twenty units away from zero.
    std::mt19937_64 generator(1320);
    std::vector<double> values{0.0, -0.0, -1.0,    -3.0,     1.0,         2.0,
                               0.5, -0.5, 1.0 / 3, -2.0 / 3, std::nan("")};
    for (int i = 0; i < 3000; ++i) {
        const qint64 q = 1 + qint64(generator() % 3000);
        const qint64 p = qint64(generator() % quint64(40 * q + 1)) - 20 * q;
        values.push_back(double(p) / double(q));
    }
    const QStringList found = differences(values);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestSearch::largeDenominators()
{
    // p/q for q in the millions, either sign: a few tens of millions of steps each.
    std::mt19937_64 generator(1440);
    std::vector<double> values;
    for (int i = 0; i < 12; ++i) {
        const qint64 q = 1000000 + qint64(generator() % 9000000);
        const qint64 p = 1 + qint64(generator() % quint64(3 * q));
        values.push_back(double(i % 2 ? -p : p) / double(q));
    }
    const QStringList found = differences(values);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestSearch::outOfRangeNearTheTop()
{
    // Values from 2^15 to 2^17 leave the 32-bit range near denominator 2^16, soon enough for
    // the stepping search. Random doubles there: most have no fraction that rounds to them
    // below that denominator and end in error 6. Values (2^31 - 1 + 1/4)/d round to the
    // largest numerator at d and still fall short of it, so its + 1 overflows.
    std::mt19937_64 generator(1600);
    std::uniform_real_distribution<double> magnitude(32768.0, 131072.0);
    std::vector<double> values;
    for (int i = 0; i < 150; ++i) {
        values.push_back(magnitude(generator));
        values.push_back(-magnitude(generator));
        const double d = double(16384 + generator() % 49152);
        values.push_back((2147483647.0 + 0.25) / d);
        values.push_back((2147483647.0 + 0.5) / d);
    }
    // Sixty-fourths stop long before.
    for (int i = 0; i < 100; ++i)
        values.push_back(std::floor(magnitude(generator)) + double(1 + generator() % 63) / 64.0);

    const QStringList found = differences(values);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));

    // Every ending is exercised: a stop, the product leaving the range, the + 1 overflowing.
    int stops = 0, productOut = 0, plusOne = 0;
    for (double v : values) {
        const Outcome o = referenceOutcome(v);
        if (o.error == 0)
            ++stops;
        else if (o.numerator == kMax)
            ++plusOne;
        else
            ++productOut;
    }
    QVERIFY2(stops > 10 && productOut > 10 && plusOne > 10,
             qPrintable(QStringLiteral("%1 %2 %3").arg(stops).arg(productOut).arg(plusOne)));
}

void TestSearch::lastPairLeftBehind_data()
{
    // Each row resumes the stepping search from a pair it provably reaches, where starting
    // from 1/1 would take billions of steps.
    testdata::columns<double, int, int, int>("value", "fromNumerator", "fromDenominator", "error");

    const double inf = std::numeric_limits<double>::infinity();
    const double huge = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();

    // At denominator 1 the numerator climbs through every whole number below the value.
    // clang-format off
    QTest::addRow("above the range")                 << 3e9                      << kMax - 5   << 1        << 6;
    QTest::addRow("half above the top")              << 2147483647.5             << kMax - 5   << 1        << 6;
    QTest::addRow("2^31")                            << 2147483648.0             << kMax - 5   << 1        << 6;
    QTest::addRow("largest double")                  << huge                     << kMax - 5   << 1        << 6;
    QTest::addRow("infinity")                        << inf                      << kMax - 5   << 1        << 6;
    QTest::addRow("the top itself")                  << 2147483647.0             << kMax - 5   << 1        << 0;
    QTest::addRow("half below the top: 2v leaves")   << 2147483646.5             << kMax - 5   << 1        << 6;
    QTest::addRow("2v is a half, rounds out")        << 1073741823.75            << 1073741800 << 1        << 6;
    QTest::addRow("2v rounds to the top, +1 out")    << 1073741823.7             << 1073741800 << 1        << 6;
    QTest::addRow("2v even below, 3v out")           << 1073741823.25            << 1073741800 << 1        << 6;
    QTest::addRow("2v is the top exactly")           << 1073741823.5             << 1073741800 << 1        << 0;
    // Below 1 the search goes straight on to denominator 2.
    QTest::addRow("negative, 2v a half rounding in") << -1073741824.25           << 1          << 1        << 6;
    QTest::addRow("negative, 2v out")                << -1073741824.5            << 1          << 1        << 6;
    QTest::addRow("negative whole, 2v the bottom")   << -1073741824.0            << 1          << 1        << 0;
    QTest::addRow("negative whole, 2v out")          << -1073741825.0            << 1          << 1        << 6;
    QTest::addRow("negative largest double, 2v infinite") << -huge << 1 << 1 << 6;
    QTest::addRow("negative huge")                   << -1e300                   << 1          << 1        << 6;
    QTest::addRow("negative infinity")               << -inf                     << 1          << 1        << 6;
    // Below 2^-32 every denominator takes the numerator 0, falls short, takes 1 and passes
    // the value: the pair after denominator d is 1/d, up to the top.
    QTest::addRow("1e-300")                          << 1e-300                   << 1          << kMax - 5 << 6;
    QTest::addRow("smallest double")                 << tiny                     << 1          << kMax - 5 << 6;
    QTest::addRow("2^-33")                           << std::ldexp(1.0, -33)     << 1          << kMax - 5 << 6;
    // Above -2^-32 every denominator takes the numerator 0, which is above the value.
    QTest::addRow("-1e-300")                         << -1e-300                  << 0          << kMax - 5 << 6;
    QTest::addRow("negative smallest double")        << -tiny                    << 0          << kMax - 5 << 6;
    // For d from 2^30 on, 1/(2^31 - 1) × d rounds to 1 and 1/d is above the value until d
    // reaches the top, where it equals it; for its negative, -1/d falls short and 0/d passes.
    QTest::addRow("1/2147483647")                    << 1.0 / 2147483647.0       << 1          << kMax - 5 << 0;
    QTest::addRow("-1/2147483647")                   << -1.0 / 2147483647.0      << 0          << kMax - 5 << 0;
    // Just below 1, value × d rounds to d for every denominator and d/d is above the value: the
    // denominator reaches the top with the numerator at the top too.
    QTest::addRow("just below 1")                    << std::nextafter(1.0, 0.0) << kMax - 5   << kMax - 5 << 6;
    // Just above 1, value × d rounds to d, d/d falls short and (d + 1)/d passes: at the top
    // the + 1 overflows first.
    QTest::addRow("just above 1")                    << std::nextafter(1.0, 2.0) << kMax - 4   << kMax - 5 << 6;
    // clang-format on
}

void TestSearch::lastPairLeftBehind()
{
    QFETCH(double, value);
    QFETCH(int, fromNumerator);
    QFETCH(int, fromDenominator);
    QFETCH(int, error);
    const Outcome expected = referenceFrom(value, fromNumerator, fromDenominator);
    QCOMPARE(expected.error, error);
    const Outcome actual = engineOutcome(value);
    QVERIFY2(actual == expected, qPrintable(describe(value, actual) + QStringLiteral(" expected ") +
                                            describe(value, expected)));
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
