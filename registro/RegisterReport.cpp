#include "RegisterReport.h"

#include <QAbstractItemModel>

namespace registro {

namespace {
QString cellAlign(const QVariant &alignment)
{
    const auto flags = Qt::Alignment(alignment.toInt());
    if (flags & Qt::AlignRight) return QStringLiteral(" align=\"right\"");
    if (flags & Qt::AlignHCenter) return QStringLiteral(" align=\"center\"");
    return {};
}
} // namespace

QString tableHtml(const QAbstractItemModel &model, int maxRows)
{
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    const int columns = model.columnCount();
    for (int c = 0; c < columns; ++c)
        html += QStringLiteral("<th bgcolor=\"#e8eef4\">%1</th>")
                    .arg(model.headerData(c, Qt::Horizontal).toString().toHtmlEscaped());
    html += QStringLiteral("</tr></thead><tbody>");
    const int rows = std::min(model.rowCount(), maxRows);
    for (int r = 0; r < rows; ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < columns; ++c) {
            const QModelIndex index = model.index(r, c);
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(cellAlign(index.data(Qt::TextAlignmentRole)),
                             index.data().toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</tbody></table>");
    return html;
}

QString reportHtml(const ReportContent &content)
{
    QString html = QStringLiteral("<html><body><h1>%1</h1>").arg(content.title.toHtmlEscaped());
    for (const QString &note : content.notes)
        html += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
    if (content.pupils) {
        html += QStringLiteral("<h2>Riepilogo per alunno</h2>");
        html += tableHtml(*content.pupils, content.pupils->rowCount());
    }
    for (const QString &image : content.images)
        html +=
            QStringLiteral("<p align=\"center\"><img src=\"%1\"></p>").arg(image.toHtmlEscaped());
    if (content.games) {
        const int rows = content.games->rowCount();
        html += QStringLiteral("<h2>Partite (%1)</h2>").arg(rows);
        html += tableHtml(*content.games, content.maxGames);
        if (rows > content.maxGames)
            html += QStringLiteral("<p>Sono stampate le prime %1 partite su %2: per le altre "
                                   "restringere il filtro.</p>")
                        .arg(content.maxGames)
                        .arg(rows);
    }
    html += QStringLiteral("</body></html>");
    return html;
}

} // namespace registro
