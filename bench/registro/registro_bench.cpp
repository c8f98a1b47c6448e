// How fast the register reads a large class log and fills its tables, and how much
// memory that takes, as ratios against reading the same file with a plain
// QFile::readAll and a split into lines, measured in the same run.
//
//   registro_bench              runs the measurements (offscreen); exit code 1 when a
//                               100 000-line log takes 0.5 s or more, or 50 MB or more
//   registro_bench --sample DIR writes a data directory with a few classes to try the
//                               register on

#include "records/ClassLogWriter.h"
#include "records/DataFileNames.h"
#include "records/SingleByteText.h"
#include "registro/GameFilterProxy.h"
#include "registro/GameTableModel.h"
#include "registro/RegisterSession.h"
#include "registro/RegisterWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

const QStringList Pupils = {
    QStringLiteral("Anna"),          QStringLiteral("Luca"),       QStringLiteral("Giulia"),
    QStringLiteral("Marco"),         QStringLiteral("Sofia"),      QStringLiteral("Matteo"),
    QStringLiteral("Nicolò"),        QStringLiteral("Chiara"),     QStringLiteral("Francesco"),
    QStringLiteral("Aurora"),        QStringLiteral("Lorenzo"),    QStringLiteral("Martina"),
    QStringLiteral("Gabriele"),      QStringLiteral("Beatrice"),   QStringLiteral("Tommaso"),
    QStringLiteral("Maria Rosa"),    QStringLiteral("Riccardo"),   QStringLiteral("Alice"),
    QStringLiteral("Edoardo"),       QStringLiteral("Ginevra"),    QStringLiteral("Pietro"),
    QStringLiteral("Emma"),          QStringLiteral("Davide"),     QStringLiteral("Noemi"),
    QStringLiteral("D'Angelo Sara"), QStringLiteral("Leonardo 2"), QStringLiteral("Greta"),
    QStringLiteral("Samuele"),       QStringLiteral("Vittoria"),   QStringLiteral("Andrea")};

struct Game {
    int correct = 0;
    int wrong = 0;
    int secondsLeft = 0;
};

// A game of a pupil of `skill` from 0 to 1.
Game playGame(QRandomGenerator &random, double skill)
{
    const int answers = 4 + int(random.bounded(20));
    const int correct = std::clamp(int(answers * (skill + random.bounded(0.3) - 0.15)), 0, answers);
    return {correct, answers - correct, int(random.bounded(records::GameSeconds / 3))};
}

// The line the game writes for it.
QByteArray gameLine(const QString &name, const Game &g, const QDate &date, bool newRecord)
{
    records::GameSummary game;
    game.name = name;
    game.correctTitle = QStringLiteral("Risposte esatte");
    game.correct = QString::number(g.correct);
    game.wrongTitle = QStringLiteral("Risposte errate");
    game.wrong = QString::number(g.wrong);
    game.timeTitle = QStringLiteral("Tempo restante");
    game.timeLeft = records::clockText(g.secondsLeft);
    game.date = QLocale(QLocale::Italian, QLocale::Italy).toString(date, QLocale::ShortFormat);
    return records::encodeLine(records::classLogLine(
        game, newRecord ? records::LogForm::NewRecord : records::LogForm::RecordStands));
}

QByteArray classLog(int lines, int pupils, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 110);
    const QDate start(2024, 9, 16);
    int best = 0;
    for (int i = 0; i < lines; ++i) {
        const int p = int(random.bounded(pupils));
        const double skill = 0.35 + 0.6 * p / std::max(1, pupils - 1);
        const QDate date = start.addDays(qint64(i) * 250 / std::max(1, lines));
        const Game game = playGame(random, skill);
        bytes += gameLine(Pupils[p % Pupils.size()], game, date, game.correct > best);
        best = std::max(best, game.correct);
    }
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

qint64 heapInUse()
{
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks) + qint64(info.hblkhd);
#else
    return -1;
#endif
}

// Best of `runs` timings of `work`, in milliseconds, after one run to warm up: the
// machine's other work only ever adds time.
double bestMs(int runs, const std::function<void()> &work)
{
    work();
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return *std::min_element(times.begin(), times.end());
}

int writeSample(const QString &dir)
{
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 2;
    }
    QRandomGenerator random(7);
    struct Class {
        QString name;
        int pupils;
        int games;
    };
    for (const Class &c : {Class{QStringLiteral("3A"), 12, 46}, Class{QStringLiteral("3B"), 9, 30},
                           Class{QStringLiteral("4A"), 14, 60}}) {
        QByteArray bytes;
        int best = 0;
        for (int g = 0; g < c.games; ++g) {
            const int p = int(random.bounded(c.pupils));
            const double skill =
                0.3 + 0.65 * ((p * 7) % c.pupils) / double(c.pupils - 1) + g * 0.002;
            const QDate date = QDate(2025, 3, 3).addDays(g * 28 / c.games);
            const Game game = playGame(random, skill);
            bytes += gameLine(Pupils[p], game, date, game.correct > best);
            best = std::max(best, game.correct);
        }
        if (c.name == QStringLiteral("3B"))
            bytes += "Nome:  Pietro  Risposte esatte 5  Risposte errate  1Tempo rest\r\n";
        if (!writeFile(dir + QLatin1Char('/') + records::classLogFileName(c.name), bytes)) return 2;
    }
    writeFile(dir + QStringLiteral("/velmora.txt"), records::encodeLine(QStringLiteral("19")));
    writeFile(dir + QStringLiteral("/velmora1.txt"), records::encodeLine(QStringLiteral("Giulia")));
    std::printf("sample data directory: %s\n", qPrintable(QDir(dir).absolutePath()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--sample") == 0) {
        QCoreApplication app(argc, argv);
        return writeSample(QString::fromLocal8Bit(argv[2]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes about window hints would drown the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg && type != QtWarningMsg && type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTemporaryDir dir;
    const int runs = 7;
    bool ok = true;

    std::printf("Register benchmark (best of %d runs; ratio = time / baseline)\n\n", runs);
    std::printf("%-9s %-44s %10s %8s\n", "lines", "step", "ms", "ratio");
    for (int lines : {25000, 50000, 100000, 200000}) {
        const QString path = dir.filePath(QStringLiteral("c%1/3A.txt").arg(lines));
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFile(path, classLog(lines, 28, 42));

        const double baseline = bestMs(runs, [&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return;
            const QList<QByteArray> split = file.readAll().split('\n');
            if (split.size() < lines) std::abort();
        });
        const double parse = bestMs(runs, [&] {
            if (records::readClassLog(path).entries.size() != lines) std::abort();
        });
        const double models = bestMs(runs, [&] {
            registro::RegisterSession session;
            session.setPollInterval(0);
            session.setDataDirectory(QFileInfo(path).absolutePath());
            session.shownGames()->sort(registro::GameTableModel::Date, Qt::DescendingOrder);
            if (session.shownGames()->rowCount() != lines) std::abort();
        });
        const double window = bestMs(runs, [&] {
            registro::RegisterSession session;
            session.setPollInterval(0);
            session.setDataDirectory(QFileInfo(path).absolutePath());
            registro::RegisterWindow view(&session);
            view.show();
            QApplication::processEvents();
            if (view.findChild<QTableView *>(QStringLiteral("partite"))->model()->rowCount() !=
                lines)
                std::abort();
        });
        auto row = [&](const char *step, double ms) {
            std::printf("%-9d %-44s %10.1f %8.2f\n", lines, step, ms, ms / baseline);
        };
        row("baseline: QFile::readAll + split('\\n')", baseline);
        row("parse (readClassLog)", parse);
        row("parse + table models + summary + sort", models);
        row("same, with the window shown", window);
        if (lines == 100000 && window >= 500) {
            std::printf("          FAIL: 100 000 lines shown in %.0f ms (target < 500 ms)\n",
                        window);
            ok = false;
        }
    }

    // One window first, so fonts and styles loaded once are not counted below.
    {
        QTemporaryDir empty;
        registro::RegisterSession session;
        session.setDataDirectory(empty.path());
        registro::RegisterWindow view(&session);
        view.show();
        QApplication::processEvents();
    }
    std::printf("\n%-9s %9s %13s %13s %13s %8s %8s\n", "lines", "file MB", "baseline MB",
                "models MB", "window MB", "B/line", "ratio");
    const QList<int> sizes = {25000, 50000, 100000, 200000};
    QList<qint64> usedBytes;
    for (int lines : sizes) {
        const QString path = dir.filePath(QStringLiteral("c%1/3A.txt").arg(lines));
        const qint64 size = QFileInfo(path).size();
        qint64 before = heapInUse();
        if (before < 0) {
            std::printf("(heap statistics need glibc)\n");
            break;
        }
        qint64 baseline = 0;
        {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QList<QByteArray> split = file.readAll().split('\n');
            baseline = heapInUse() - before;
        }
        before = heapInUse();
        registro::RegisterSession session;
        session.setPollInterval(0);
        session.setDataDirectory(QFileInfo(path).absolutePath());
        const qint64 models = heapInUse() - before;
        registro::RegisterWindow view(&session);
        view.show();
        QApplication::processEvents();
        const qint64 used = heapInUse() - before;
        usedBytes.append(used);
        std::printf("%-9d %9.1f %13.1f %13.1f %13.1f %8.0f %8.2f\n", lines, size / 1e6,
                    baseline / 1e6, models / 1e6, used / 1e6, double(used) / lines,
                    double(used) / double(baseline));
        if (lines == 100000 && used >= 50'000'000) {
            std::printf("          FAIL: 100 000 lines take %.1f MB (target < 50 MB)\n",
                        used / 1e6);
            ok = false;
        }
    }
    // Linear growth: every further line costs the same, on top of a fixed part (the
    // window, its charts); compare the cost per line from one size to the next.
    if (usedBytes.size() == sizes.size()) {
        QList<double> slopes;
        for (qsizetype i = 1; i < sizes.size(); ++i)
            slopes.append(double(usedBytes[i] - usedBytes[i - 1]) / (sizes[i] - sizes[i - 1]));
        const auto [low, high] = std::minmax_element(slopes.begin(), slopes.end());
        const bool linear = *low > 0 && *high < *low * 1.25;
        const double fixed = usedBytes[0] - slopes[0] * sizes[0];
        std::printf("each further line: %.0f to %.0f bytes; fixed part %.1f MB: %s\n", *low, *high,
                    fixed / 1e6, linear ? "grows linearly" : "NOT linear");
        ok = ok && linear;
    }
    std::printf("\n%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
