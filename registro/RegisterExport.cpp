#include "RegisterExport.h"

#include "CsvExport.h"
#include "GameFilterProxy.h"
#include "RegisterFormat.h"
#include "RegisterReport.h"
#include "RegisterSession.h"
#include "RegisterTexts.h"
#include "charts/ScoreCharts.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTextDocument>
#include <QUrl>

namespace registro {

namespace {

const QString BestChartUrl = QStringLiteral("registro://migliori.png");
const QString ProgressChartUrl = QStringLiteral("registro://andamento.png");
// The width of the charts on paper, in the pixels a document is laid out in (96 to the
// inch): 143 mm, within an A4 page less the printer's margins of about 10 mm and the
// 2 cm the document keeps on each side when printed.
constexpr int ReportWidth = 540;

// A plain file name for the class in an exported file's name.
QString fileStem(const QString &className)
{
    QString stem;
    for (QChar c : className)
        stem += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return stem.isEmpty() ? QStringLiteral("classe") : stem;
}

} // namespace

void RegisterExport::setProgressPupil(const QString &key, const QString &name)
{
    m_hasPupil = true;
    m_pupilKey = key;
    m_pupilName = name;
}

std::optional<ExportFailure> RegisterExport::refuseDataDirectory(const QString &path) const
{
    const QString target = QFileInfo(path).absoluteDir().canonicalPath();
    const QString data = QDir(m_session->dataDirectory()).canonicalPath();
    if (target.isEmpty() || data.isEmpty() || target != data) return std::nullopt;
    return ExportFailure{ExportFailure::Step::RefuseExport, path, {}};
}

std::optional<ExportFailure> RegisterExport::exportCsv(const QString &path) const
{
    if (auto refused = refuseDataDirectory(path)) return refused;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(gamesCsv(*m_session->shownGames(), m_session->locale()));
        if (file.commit()) return std::nullopt;
    }
    return ExportFailure{ExportFailure::Step::WriteExport, path, file.errorString()};
}

QString RegisterExport::reportTitle() const
{
    const ClassLogFile *file = m_session->currentClass();
    return file ? QStringLiteral("Registro della classe %1").arg(file->displayName())
                : QStringLiteral("Registro di classe");
}

QString RegisterExport::suggestedFileName(const QString &suffix) const
{
    const ClassLogFile *file = m_session->currentClass();
    return QStringLiteral("registro-%1-%2.%3")
        .arg(fileStem(file ? file->className : QString()),
             QDate::currentDate().toString(Qt::ISODate), suffix);
}

void RegisterExport::fillReport(QTextDocument *document) const
{
    const QLocale locale = m_session->locale();
    const GameFilterProxy *games = m_session->shownGames();
    ReportContent content;
    content.title = reportTitle();
    content.notes << QStringLiteral("Cartella dei dati: %1")
                         .arg(QDir::toNativeSeparators(m_session->dataDirectory()));
    content.notes << filterDescription(games->nameFilter(), games->dateFrom(), games->dateTo(),
                                       locale);
    content.notes << QStringLiteral("Stampato il %1 alle %2")
                         .arg(formatDate(QDate::currentDate(), {}, locale),
                              QTime::currentTime().toString(QStringLiteral("HH:mm")));
    content.pupils = m_session->shownPupils();
    content.games = games;

    const QList<PupilSummary> pupils = m_session->shownSummaries();
    const int bars = int(std::min<qsizetype>(pupils.size(), MaxBars));
    document->addResource(QTextDocument::ImageResource, QUrl(BestChartUrl),
                          renderChart(makeBestScoreChart(pupils),
                                      QSize(ReportWidth, std::max(280, 100 + 24 * bars))));
    content.images << BestChartUrl;
    if (m_hasPupil) {
        document->addResource(
            QTextDocument::ImageResource, QUrl(ProgressChartUrl),
            renderChart(makeProgressChart(m_pupilName, m_session->gamesOf(m_pupilKey)),
                        QSize(ReportWidth, 320)));
        content.images << ProgressChartUrl;
    }
    QFont font = document->defaultFont();
    font.setPointSizeF(9);
    document->setDefaultFont(font);
    document->setHtml(reportHtml(content));
}

std::optional<ExportFailure> RegisterExport::savePdf(const QString &path) const
{
    if (auto refused = refuseDataDirectory(path)) return refused;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setDocName(reportTitle());
    printer.setCreator(QStringLiteral("Registro di Solfira"));
    print(&printer);
    if (printer.printerState() == QPrinter::Error || QFileInfo(path).size() == 0)
        return ExportFailure{ExportFailure::Step::WritePdf, path, {}};
    return std::nullopt;
}

void RegisterExport::print(QPrinter *printer) const
{
    QTextDocument document;
    fillReport(&document);
    document.print(printer);
}

} // namespace registro
