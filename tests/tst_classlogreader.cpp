// Reading class logs as a stream and as files: line ends, data cut anywhere, overlong
// lines, a file that grows and paths that are not files.

#include "ClassLogWarnings.h"
#include "DataColumns.h"
#include "Failures.h"
#include "GameLines.h"
#include "records/ClassLogFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace records;

namespace {

QByteArray written(const QString &name, int correct = 7, int wrong = 2,
                   LogForm form = LogForm::RecordStands, const QString &date = "15/04/2007")
{
    return gameLine(name, correct, wrong, date, form);
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
        out << describe(w);
    return out;
}

QStringList parsedWhole(const QByteArray &bytes)
{
    ClassLogStreamParser parser;
    parser.addData(bytes);
    parser.finish();
    return described(parser.entries(), parser.warnings());
}

} // namespace

class TestClassLogReader : public QObject
{
    Q_OBJECT

private slots:
    void lineEnds_data();
    void lineEnds();
    void splitAnywhere();
    void overlongLine();
    void warningsAreCapped();
    void largeLogIsReadWithoutChange();
    void readFromOffset();
    void unreadablePaths();
};

void TestClassLogReader::lineEnds_data()
{
    testdata::columns<QByteArray, QList<qint64>, QList<qint64>>("bytes", "entryLines",
                                                                "warningLines");

    const QByteArray a = written("Anna").chopped(2);
    const QByteArray b = written("Luca").chopped(2);
    // clang-format off
    QTest::newRow("CR LF")                            << a + "\r\n" + b + "\r\n"     << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("LF")                               << a + "\n" + b + "\n"         << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("mixed")                            << a + "\n" + b + "\r\n"       << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("last line without end")            << a + "\r\n" + b              << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("CR CR LF")                         << a + "\r\r\n" + b + "\r\r\n" << QList<qint64>{1, 2} << QList<qint64>{};
    QTest::newRow("blank line between")               << a + "\r\n\r\n" + b + "\r\n" << QList<qint64>{1, 3} << QList<qint64>{2};
    QTest::newRow("byte order mark")                  << "\xEF\xBB\xBF" + a + "\r\n" << QList<qint64>{1}    << QList<qint64>{};
    QTest::newRow("byte order mark not at the start") << a + "\r\n\xEF\xBB\xBF" + b + "\r\n" << QList<qint64>{1, 2} << QList<qint64>{2};
    QTest::newRow("empty file")                       << QByteArray()                << QList<qint64>{}     << QList<qint64>{};
    QTest::newRow("only line ends")                   << QByteArray("\r\n\n")        << QList<qint64>{}     << QList<qint64>{1, 2};
    // clang-format on
}

void TestClassLogReader::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qint64>, entryLines);
    QFETCH(QList<qint64>, warningLines);

    ClassLogStreamParser parser;
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

void TestClassLogReader::splitAnywhere()
{
    // Blocks of a file, or the bytes a growing log adds, may end anywhere.
    const QByteArray bytes = written("Anna") + "Nome:  Luca  Risp\r\n" +
                             QByteArray("Nome:  Nicol\xc3\xb2  Risposte esatte 1  Risposte "
                                        "errate  2Tempo restante   00:03:12Data:   15/04/07\n") +
                             written("Sara", 3, 3, LogForm::NewRecord).chopped(2);
    const QStringList whole = parsedWhole(bytes);
    QCOMPARE(whole.size(), 3 + 2); // three games, a cut line, a line in UTF-8
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        ClassLogStreamParser parser;
        parser.addData(bytes.first(cut));
        parser.addData(bytes.sliced(cut));
        QCOMPARE(parser.completeBytes(), bytes.lastIndexOf('\n') + 1);
        QCOMPARE(parser.nextLineNumber(), 4);
        parser.finish();
        QCOMPARE(described(parser.entries(), parser.warnings()), whole);
    }
    ClassLogStreamParser byteByByte;
    for (char c : bytes)
        byteByByte.addData(QByteArrayView(&c, 1));
    byteByByte.finish();
    QCOMPARE(described(byteByByte.entries(), byteByByte.warnings()), whole);
}

void TestClassLogReader::overlongLine()
{
    const QByteArray huge = "Nome:  " + QByteArray(3 * ClassLogStreamParser::MaxLineLength, 'A') +
                            written("").sliced(7);
    const QByteArray bytes = written("Anna") + huge + written("Luca");
    ClassLogStreamParser parser;
    for (qsizetype at = 0; at < bytes.size(); at += 1000)
        parser.addData(bytes.sliced(at, std::min<qsizetype>(1000, bytes.size() - at)));
    parser.finish();
    QCOMPARE(parser.entries().size(), 2);
    QCOMPARE(parser.entries().at(1).lineNumber, 3);
    QCOMPARE(parser.warnings().size(), 1);
    QCOMPARE(parser.warnings().at(0).lineNumber, 2);
    QCOMPARE(parser.warnings().at(0).kind, ClassLogWarning::Kind::TooLong);

    // Still too long when the file ends inside it.
    ClassLogStreamParser cutShort;
    cutShort.addData(huge.chopped(2));
    cutShort.finish();
    QCOMPARE(cutShort.entries().size(), 0);
    QCOMPARE(cutShort.warnings().size(), 1);
}

void TestClassLogReader::warningsAreCapped()
{
    QByteArray bytes;
    const int lines = ClassLogStreamParser::MaxWarnings + 500;
    for (int i = 0; i < lines; ++i)
        bytes += "rumore\r\n";
    bytes += written("Anna");
    ClassLogStreamParser parser;
    parser.addData(bytes);
    QCOMPARE(parser.warnings().size(), ClassLogStreamParser::MaxWarnings);
    QCOMPARE(parser.warningCount(), lines);
    QCOMPARE(parser.warnings().last().lineNumber, ClassLogStreamParser::MaxWarnings);
    QCOMPARE(parser.entries().size(), 1);
    QCOMPARE(parser.entries().at(0).lineNumber, lines + 1);
}

void TestClassLogReader::largeLogIsReadWithoutChange()
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
    QVERIFY(!read.failure);
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

void TestClassLogReader::readFromOffset()
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

void TestClassLogReader::unreadablePaths()
{
    QTemporaryDir dir;
    const auto cannotOpen = [&](const QString &name, FileError error) {
        return Failure{Failure::Step::OpenClassLog, dir.filePath(name), error, {}};
    };
    QCOMPARE(readClassLog(dir.filePath("manca.txt")).failure.value(),
             cannotOpen("manca.txt", FileError::system(ENOENT)));
    QVERIFY(QDir(dir.path()).mkdir("cartella.txt"));
    QCOMPARE(readClassLog(dir.filePath("cartella.txt")).failure.value(),
             cannotOpen("cartella.txt", {FileError::Directory}));
#ifdef Q_OS_UNIX
    // A pipe would block the reader for ever.
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("tubo.txt")).constData(), 0600), 0);
    QCOMPARE(readClassLog(dir.filePath("tubo.txt")).failure.value(),
             cannotOpen("tubo.txt", {FileError::Special}));
#endif
}

QTEST_GUILESS_MAIN(TestClassLogReader)
#include "tst_classlogreader.moc"
