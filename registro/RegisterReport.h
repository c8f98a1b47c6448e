#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemModel;

namespace registro {

// What a printed page of the register holds.
struct ReportContent {
    QString title;                              // "Registro della classe 3A"
    QStringList notes;                          // lines under the title: folder, filter, date
    const QAbstractItemModel *pupils = nullptr; // the summary, as sorted on screen
    QStringList images;                         // resource names of the charts, in order
    const QAbstractItemModel *games = nullptr;  // the games, filtered and sorted
    int maxGames = 2000;                        // a longer table is cut, with a note
};

// The report as HTML for a QTextDocument: every text escaped, tables with the models'
// headers and cells as shown.
QString reportHtml(const ReportContent &content);

// The rows of a table model as an HTML table (at most `maxRows`).
QString tableHtml(const QAbstractItemModel &model, int maxRows);

} // namespace registro
