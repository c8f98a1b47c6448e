// The hot paths, run on demand (offscreen):
//   QuestionCycle       pose a question with its gradient, convert it, judge an answer
//   WindowCreation      the window and all its controls, as at start-up before the prompt
//   QuestionDomain      Numeroafrazione on every question the game can pose
//   Search/...          the fraction search against the stepping search it replaced, on
//                       values of 2, 4, 6 and 8 decimals; the speed-ups are printed at the end
// Timings are medians of repetitions. Usage: solfira_bench [--benchmark_filter=REGEX] ...
#include "engine/Engine.h"
#include "platform/RuntimeError.h"
#include "tests/FakeServices.h"
#include "tests/SteppingSearch.h"
#include "window/Tavola.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Values from 1 to 9 with exactly `decimals` decimals, the last one not 0 (fixed seed).
std::vector<double> decimalValues(int decimals, int count)
{
    std::mt19937_64 generator(4 + decimals);
    const qint64 scale = qint64(std::llround(std::pow(10.0, decimals)));
    std::vector<double> values;
    while (int(values.size()) < count) {
        const qint64 scaled = scale + qint64(generator() % quint64(8 * scale));
        if (scaled % 10 != 0) values.push_back(double(scaled) / double(scale));
    }
    return values;
}

// The game's working fields as plain data.
struct PlainFields : engine::WorkingFields {
    QString boxes[6];
    qint32 num = 0, den = 0;
    QString boxText(engine::Box b) const override { return boxes[int(b)]; }
    void setBoxText(engine::Box b, const QString &t) override { boxes[int(b)] = t; }
    qint32 &numeratore() override { return num; }
    qint32 &denominatore() override { return den; }
    void setAnswerEnabled(bool) override {}
    void setNextEnabled(bool) override {}
};

struct Window {
    QTemporaryDir data;
    FakeServices services;
    std::unique_ptr<Tavola> tavola;

    Window()
    {
        services.inputs.enqueue(QStringLiteral("Mario"));
        tavola = std::make_unique<Tavola>(services, data.path());
        tavola->start();
        QCoreApplication::processEvents();
    }
};

void QuestionCycle(benchmark::State &state)
{
    Window w;
    Tavola &t = *w.tavola;
    for (auto _ : state) {
        t.cmdNext_Click(); // a new question and its gradient
        QCoreApplication::processEvents();
        t.txtAnswer->setText(QStringLiteral("3"));
        qint16 enter = 13;
        t.txtAnswer_KeyPress(enter); // the conversion
        t.text3->setText(QStringLiteral("2"));
        enter = 13;
        t.text3_KeyPress(enter); // the verdict, the black background, the scores
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(QuestionCycle)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

void WindowCreation(benchmark::State &state)
{
    QTemporaryDir data;
    FakeServices services;
    for (auto _ : state) {
        Tavola t(services, data.path());
        benchmark::DoNotOptimize(&t);
    }
}
BENCHMARK(WindowCreation)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void QuestionDomain(benchmark::State &state)
{
    // Every question the game poses: 1,1 .. 8,9 and 1,01 .. 8,99, never whole.
    std::vector<double> questions;
    for (int scaled = 101; scaled < 900; ++scaled)
        if (scaled % 100 != 0) questions.push_back(scaled / 100.0);
    FakeServices locale;
    PlainFields fields;
    for (auto _ : state) {
        for (double q : questions) {
            const QString text = engine::Numeroafrazione(fields, locale, q, 0);
            benchmark::DoNotOptimize(text.size());
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(questions.size()));
}
BENCHMARK(QuestionDomain)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

template <void (*Find)(double, qint32 &, qint32 &)> void searchValues(benchmark::State &state)
{
    const int decimals = int(state.range(0));
    const std::vector<double> values = decimalValues(decimals, decimals >= 8 ? 1 : 32);
    for (auto _ : state) {
        for (double v : values) {
            qint32 n = 0, d = 0;
            Find(v, n, d);
            benchmark::DoNotOptimize(n + d);
        }
    }
    state.SetItemsProcessed(state.iterations() * qint64(values.size()));
}
void SearchFast(benchmark::State &state)
{
    searchValues<engine::Cercafrazione>(state);
}
void SearchStepping(benchmark::State &state)
{
    searchValues<steppingSearch>(state);
}
BENCHMARK(SearchFast)
    ->Arg(2)
    ->Arg(4)
    ->Arg(6)
    ->Arg(8)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(SearchStepping)
    ->Arg(2)
    ->Arg(4)
    ->Arg(6)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
// One value of eight decimals takes the stepping search up to 2·10^8 steps.
BENCHMARK(SearchStepping)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

// The console report, then stepping time / fast time per number of decimals.
class SpeedUpReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.aggregate_name != "median") continue;
            const std::string name = run.run_name.function_name;
            const std::string arg = run.run_name.args;
            if (name != "SearchFast" && name != "SearchStepping") continue;
            // Time per iteration in the run's unit, made microseconds per value.
            const double perValue = run.GetAdjustedRealTime() * microseconds(run) / valuesFor(arg);
            if (name == "SearchFast")
                fast[arg] = perValue;
            else if (name == "SearchStepping")
                stepping[arg] = perValue;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        if (stepping.empty()) return;
        std::printf("\nFraction search, median time per value, stepping / fast:\n");
        for (const auto &[arg, steppingTime] : stepping) {
            const auto f = fast.find(arg);
            if (f == fast.end() || f->second <= 0) continue;
            std::printf("  %s decimals: %12.3f us / %8.3f us = %10.0fx\n", arg.c_str(),
                        steppingTime, f->second, steppingTime / f->second);
        }
    }

private:
    static double valuesFor(const std::string &arg) { return std::stoi(arg) >= 8 ? 1 : 32; }
    static double microseconds(const Run &run)
    {
        return run.time_unit == benchmark::kMillisecond ? 1000.0 : 1.0;
    }
    std::map<std::string, double> fast, stepping; // microseconds per value
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's note on every new window is no news here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
        if (type == QtFatalMsg) std::abort();
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SpeedUpReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
