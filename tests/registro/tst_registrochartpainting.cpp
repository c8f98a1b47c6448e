// How the register's charts are drawn, measured on the pixels: bars as long as their
// values and in their order, nothing but a title when there is nothing to show, nothing
// outside the chart's rectangle, no text cut or overlapping another, sharp lines at any
// pixel ratio and a white image twice as fine for printing.

#include "ChartSamples.h"
#include "DataColumns.h"
#include "registro/charts/ChartLayout.h"
#include "registro/charts/ChartPainter.h"
#include "registro/charts/ChartView.h"
#include "registro/charts/ScoreCharts.h"

#include <QPainter>
#include <QPalette>
#include <QtTest>

using namespace registro;
using namespace chartsamples;
using records::ClassLogEntry;

Q_DECLARE_METATYPE(registro::ChartData)

namespace {

const QColor Green(0x2e, 0x7d, 0x32);
const QColor Outside(Qt::magenta);

QPalette paper()
{
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

// The chart drawn in `area` of an image of `size` filled with `background`.
QImage draw(const ChartData &chart, QSize size, qreal ratio = 1, QRect area = {},
            QColor background = Qt::white)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    paintChart(&painter, area.isNull() ? QRectF(QPointF(), size) : QRectF(area), chart,
               QGuiApplication::font(), paper());
    return image;
}

bool near(QRgb pixel, const QColor &color, int tolerance = 6)
{
    return std::abs(qRed(pixel) - color.red()) <= tolerance &&
           std::abs(qGreen(pixel) - color.green()) <= tolerance &&
           std::abs(qBlue(pixel) - color.blue()) <= tolerance;
}

// The length in pixels of each band of rows holding the bars' green, from the top.
QList<int> barLengths(const QImage &image)
{
    QList<int> lengths;
    bool inBar = false;
    for (int y = 0; y < image.height(); ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixel(x, y), Green)) {
                if (first < 0) first = x;
                last = x;
            }
        if (first >= 0 && !inBar) lengths << last - first + 1;
        inBar = first >= 0;
    }
    return lengths;
}

bool saturated(QRgb pixel)
{
    const int high = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    const int low = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    return high - low > 40;
}

} // namespace

class TestChartPainting : public QObject
{
    Q_OBJECT

private slots:
    void barsAsLongAsTheirValues_data();
    void barsAsLongAsTheirValues();
    void nothingToShow_data();
    void nothingToShow();
    void staysInItsRectangle_data();
    void staysInItsRectangle();
    void textsWholeAndApart_data() { staysInItsRectangle_data(); }
    void textsWholeAndApart();
    void sharpAtAnyPixelRatio_data();
    void sharpAtAnyPixelRatio();
    void printedOnWhiteAtTwiceTheResolution();
};

void TestChartPainting::barsAsLongAsTheirValues_data()
{
    testdata::columns<QList<int>, QSize>("best", "size");

    // clang-format off
    QTest::newRow("a class")        << QList<int>{7, 10, 4, 6} << QSize(520, 300);
    QTest::newRow("lowest first")   << QList<int>{1, 5, 9, 13} << QSize(520, 300);
    QTest::newRow("all equal")      << QList<int>{8, 8, 8}     << QSize(400, 260);
    QTest::newRow("a zero: no bar") << QList<int>{3, 0, 12}    << QSize(520, 300);
    QTest::newRow("one pupil")      << QList<int>{1}           << QSize(520, 200);
    QTest::newRow("thirty pupils")  << scores(30, 14)          << QSize(540, 820);
    // clang-format on
}

void TestChartPainting::barsAsLongAsTheirValues()
{
    QFETCH(QList<int>, best);
    QFETCH(QSize, size);

    const QList<int> lengths = barLengths(draw(makeBestScoreChart(pupils(best)), size));
    QList<int> drawn; // a score of 0 has no bar
    std::copy_if(best.begin(), best.end(), std::back_inserter(drawn), [](int v) { return v > 0; });
    QCOMPARE(lengths.size(), drawn.size());
    const int highest = *std::max_element(drawn.begin(), drawn.end());
    const qreal perAnswer = qreal(lengths[drawn.indexOf(highest)]) / highest;
    QVERIFY(perAnswer > 5);
    // Each end on a whole pixel: within a pixel and a half of the longest bar's measure.
    for (int i = 0; i < drawn.size(); ++i)
        QVERIFY2(std::abs(lengths[i] - drawn[i] * perAnswer) <= 1.5,
                 qPrintable(QString("bar %1: %2 px for %3").arg(i).arg(lengths[i]).arg(drawn[i])));
}

void TestChartPainting::nothingToShow_data()
{
    testdata::columns<ChartData>("chart");

    // clang-format off
    QTest::newRow("no pupil")        << makeBestScoreChart({});
    QTest::newRow("no pupil chosen") << makeProgressChart({}, {});
    QTest::newRow("no dated game")   << makeProgressChart("Anna", games({" 4", " 7"}));
    // clang-format on
}

void TestChartPainting::nothingToShow()
{
    QFETCH(ChartData, chart);

    const QImage image = draw(chart, QSize(480, 280));
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            QVERIFY2(!saturated(pixel), qPrintable(QString("colour at %1,%2").arg(x).arg(y)));
            ink += qGray(pixel) < 128;
        }
    QVERIFY(ink > 50); // the title says why
    QVERIFY(ChartLayout(chart, QGuiApplication::font(), QRectF(0, 0, 480, 280)).plot().isEmpty());
}

void TestChartPainting::staysInItsRectangle_data()
{
    testdata::columns<ChartData, QSize>("chart", "size");

    const QSize smallest = ChartView().minimumSizeHint();
    const QList<ClassLogEntry> month =
        games({"01/03/2025 0", "02/03/2025 15", "10/03/2025 7", "31/03/2025 14"});
    QStringList oneDay;
    for (int i = 0; i < 30; ++i)
        oneDay << QString("11/03/2025 %1").arg(i % 11);
    // clang-format off
    QTest::newRow("a class")                  << makeBestScoreChart(pupils({7, 10, 4, 6}))  << QSize(520, 300);
    QTest::newRow("a class, smallest")        << makeBestScoreChart(pupils({7, 10, 4, 6}))  << smallest;
    QTest::newRow("seventy pupils, smallest") << makeBestScoreChart(pupils(scores(70, 30))) << smallest;
    QTest::newRow("sixty pupils, on paper")   << makeBestScoreChart(pupils(scores(60, 30))) << QSize(540, 100 + 24 * 60);
    QTest::newRow("long names")               << makeBestScoreChart(pupils({3, 12}, 60))    << QSize(520, 300);
    QTest::newRow("long title, narrow")       << makeBestScoreChart(pupils(scores(75, 9)))  << QSize(smallest.width(), 700);
    QTest::newRow("scores of 0 only")         << makeBestScoreChart(pupils({0, 0, 0}))      << smallest;
    QTest::newRow("a month of games")         << makeProgressChart("Anna", month)           << QSize(520, 320);
    QTest::newRow("a month, smallest")        << makeProgressChart("Anna", month)           << smallest;
    QTest::newRow("thirty games in a day")    << makeProgressChart("Anna", games(oneDay))   << QSize(520, 320);
    QTest::newRow("long name, smallest")      << makeProgressChart(QString(40, 'A'), month) << smallest;
    QTest::newRow("nothing, smallest")        << makeBestScoreChart({})                     << smallest;
    // clang-format on
}

void TestChartPainting::staysInItsRectangle()
{
    QFETCH(ChartData, chart);
    QFETCH(QSize, size);

    constexpr int Border = 20;
    const QRect area(QPoint(Border, Border), size);
    const QImage image = draw(chart, size + QSize(2, 2) * Border, 1, area, Outside);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!area.contains(x, y) && image.pixel(x, y) != Outside.rgb())
                QFAIL(qPrintable(QString("drawn at %1,%2, outside %3x%4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(size.width())
                                     .arg(size.height())));
}

void TestChartPainting::textsWholeAndApart()
{
    QFETCH(ChartData, chart);
    QFETCH(QSize, size);

    QImage device(size, QImage::Format_ARGB32_Premultiplied);
    const QRectF area(QPointF(0, 0), size);
    const ChartLayout layout(chart, QGuiApplication::font(), area, &device);
    const QList<ChartLayout::Text> &texts = layout.texts();
    QVERIFY(!texts.isEmpty());
    for (const ChartLayout::Text &text : texts) {
        const QString what =
            QString("«%1» at %2,%3").arg(text.text).arg(text.rect.x()).arg(text.rect.y());
        QVERIFY2(area.contains(text.rect), qPrintable(what + " leaves the chart"));
        // The room it is given holds all of it, as drawText() lays it out.
        const QFontMetricsF metrics(ChartLayout::fontOf(text.style, QGuiApplication::font()),
                                    &device);
        const QSizeF room = text.turned ? text.rect.size().transposed() : text.rect.size();
        const QRectF needed = metrics.boundingRect(QRectF(QPointF(), room), text.flags, text.text);
        QVERIFY2(needed.width() <= room.width() + 0.01 && needed.height() <= room.height() + 0.01,
                 qPrintable(what + " is cut"));
    }
    for (qsizetype i = 0; i < texts.size(); ++i)
        for (qsizetype j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i].rect.intersects(texts[j].rect),
                     qPrintable(QString("«%1» overlaps «%2»").arg(texts[i].text, texts[j].text)));
}

void TestChartPainting::sharpAtAnyPixelRatio_data()
{
    testdata::columns<ChartData, qreal>("chart", "ratio");

    const ChartData bars = makeBestScoreChart(pupils({7, 10, 4, 6}));
    const ChartData line =
        makeProgressChart("Anna", games({"03/03/2025 4", "05/03/2025 9", "06/03/2025 6"}));
    // clang-format off
    QTest::newRow("bars, 1x")   << bars << 1.0;
    QTest::newRow("bars, 1.5x") << bars << 1.5;
    QTest::newRow("bars, 2x")   << bars << 2.0;
    QTest::newRow("line, 1x")   << line << 1.0;
    QTest::newRow("line, 2x")   << line << 2.0;
    // clang-format on
}

void TestChartPainting::sharpAtAnyPixelRatio()
{
    QFETCH(ChartData, chart);
    QFETCH(qreal, ratio);

    const QSize size(520, 300);
    const QImage image = draw(chart, size, ratio);
    const ChartLayout layout(chart, QGuiApplication::font(), QRectF(QPointF(), size), &image);
    const QRectF plot = layout.plot();
    const QList<qreal> &ticks = chart.bars.isEmpty() ? layout.timeTicks() : layout.valueTicks();

    // Down a column between two ticks, the bottom axis is a line of whole device pixels,
    // one or two, with nothing blurred beside it.
    const int x = int((ticks[0] + ticks[1]) / 2 * ratio);
    const int axis = int(plot.bottom() * ratio);
    QList<QRgb> column;
    for (int y = axis - 6; y <= axis + 6; ++y)
        column << image.pixel(x, y);
    const qsizetype first = std::find_if(column.begin(), column.end(),
                                         [](QRgb p) { return p != qRgb(255, 255, 255); }) -
                            column.begin();
    const qsizetype width = std::max<qsizetype>(1, std::lround(ratio));
    QVERIFY2(first < column.size() - width, "no axis");
    for (qsizetype i = 0; i < column.size(); ++i)
        QCOMPARE(column[i], i >= first && i < first + width ? column[first] : qRgb(255, 255, 255));

    // Twice the pixels draw finer letters, not the same ones doubled: many 2x2 blocks differ
    // within themselves.
    if (ratio != 2) return;
    int uneven = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x2 = 0; x2 + 1 < image.width(); x2 += 2) {
            const QRgb p = image.pixel(x2, y);
            uneven += image.pixel(x2 + 1, y) != p || image.pixel(x2, y + 1) != p ||
                      image.pixel(x2 + 1, y + 1) != p;
        }
    QVERIFY2(uneven > 300, qPrintable(QString::number(uneven)));
}

void TestChartPainting::printedOnWhiteAtTwiceTheResolution()
{
    const QImage image = renderChart(makeBestScoreChart(pupils({7, 10})), QSize(540, 280));
    QCOMPARE(image.size(), QSize(1080, 560));
    QCOMPARE(image.devicePixelRatio(), 2.0);
    QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(1079, 559), qRgb(255, 255, 255));
    const QList<int> lengths = barLengths(image);
    QCOMPARE(lengths.size(), 2);
    QVERIFY(lengths[0] < lengths[1]);
}

QTEST_MAIN(TestChartPainting)
#include "tst_registrochartpainting.moc"
