#include "RegisterWindow.h"

#include "CsvExport.h"
#include "GameFilterProxy.h"
#include "GameTableModel.h"
#include "RegisterFormat.h"
#include "RegisterReport.h"
#include "RegisterSession.h"
#include "ScoreCharts.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace registro {

using records::ClassLogEntry;

namespace {

const QString BestChartUrl = QStringLiteral("registro://migliori.png");
const QString ProgressChartUrl = QStringLiteral("registro://andamento.png");
// The width of the charts on paper, in the pixels a document is laid out in (96 to the
// inch): 143 mm, within an A4 page less the printer's margins of about 10 mm and the
// 2 cm the document keeps on each side when printed.
constexpr int ReportWidth = 540;

void replaceChart(QChartView *view, QChart *chart)
{
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

QTableView *newTable(const QString &name, QAbstractItemModel *model)
{
    auto *view = new QTableView;
    view->setObjectName(name);
    view->setModel(model);
    view->setSortingEnabled(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionsClickable(true);
    return view;
}

// A plain file name for the class in an exported file's name.
QString fileStem(const QString &className)
{
    QString stem;
    for (QChar c : className)
        stem += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return stem.isEmpty() ? QStringLiteral("classe") : stem;
}

} // namespace

RegisterWindow::RegisterWindow(RegisterSession *session, QWidget *parent)
    : QMainWindow(parent), m_session(session)
{
    setObjectName(QStringLiteral("registro"));
    setAccessibleName(QStringLiteral("Registro di Solfira"));
    buildActions();
    buildLayout();

    connect(m_session, &RegisterSession::classesChanged, this, &RegisterWindow::rebuildClassList);
    connect(m_session, &RegisterSession::currentClassChanged, this,
            &RegisterWindow::showCurrentClass);
    connect(m_session, &RegisterSession::gamesChanged, this, &RegisterWindow::showGames);
    connect(m_session, &RegisterSession::warningsChanged, this, &RegisterWindow::showWarnings);

    rebuildClassList();
    showCurrentClass();
    showGames();
    showWarnings();
    resize(QSize(1280, 800).boundedTo(screen()->availableSize() * 0.95));
}

void RegisterWindow::buildActions()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *open = fileMenu->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                        QStringLiteral("&Apri cartella dei dati…"), this,
                                        &RegisterWindow::chooseDirectory);
    open->setShortcut(QKeySequence::Open);
    QAction *refresh = fileMenu->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                           QStringLiteral("A&ggiorna"), m_session,
                                           &RegisterSession::refresh);
    refresh->setShortcut(QKeySequence::Refresh);
    fileMenu->addSeparator();
    m_exportAction = fileMenu->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                         QStringLiteral("&Esporta tabella in CSV…"), this,
                                         &RegisterWindow::askExportCsv);
    m_exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_pdfAction = fileMenu->addAction(style()->standardIcon(QStyle::SP_FileIcon),
                                      QStringLiteral("Salva in &PDF…"), this,
                                      &RegisterWindow::askSavePdf);
    m_pdfAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_printAction = fileMenu->addAction(QIcon::fromTheme(QStringLiteral("document-print")),
                                        QStringLiteral("&Stampa…"), this,
                                        &RegisterWindow::askPrint);
    m_printAction->setShortcut(QKeySequence::Print);
    fileMenu->addSeparator();
    QAction *quit = fileMenu->addAction(QStringLiteral("&Esci"), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Aiuto"));
    helpMenu->addAction(QStringLiteral("&Informazioni sul registro"), this,
                        &RegisterWindow::showAbout);

    QToolBar *tools = addToolBar(QStringLiteral("Strumenti"));
    tools->setObjectName(QStringLiteral("strumenti"));
    tools->setAccessibleName(QStringLiteral("Barra degli strumenti"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addAction(open);
    tools->addAction(refresh);
    tools->addSeparator();
    tools->addAction(m_exportAction);
    tools->addAction(m_pdfAction);
    tools->addAction(m_printAction);
}

void RegisterWindow::buildLayout()
{
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);

    auto *classRow = new QHBoxLayout;
    auto *classLabel = new QLabel(QStringLiteral("&Classe:"));
    m_classes = new QComboBox;
    m_classes->setObjectName(QStringLiteral("classi"));
    m_classes->setAccessibleName(QStringLiteral("Classe"));
    m_classes->setMinimumContentsLength(16);
    m_classes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    classLabel->setBuddy(m_classes);
    m_directory = new QLabel;
    m_directory->setObjectName(QStringLiteral("cartella"));
    m_directory->setAccessibleName(QStringLiteral("Cartella dei dati"));
    m_directory->setTextInteractionFlags(Qt::TextSelectableByMouse);
    classRow->addWidget(classLabel);
    classRow->addWidget(m_classes);
    classRow->addSpacing(16);
    classRow->addWidget(m_directory, 1);
    layout->addLayout(classRow);

    auto *filterRow = new QHBoxLayout;
    auto *nameLabel = new QLabel(QStringLiteral("&Nome:"));
    m_nameFilter = new QLineEdit;
    m_nameFilter->setObjectName(QStringLiteral("filtroNome"));
    m_nameFilter->setAccessibleName(QStringLiteral("Filtro per nome"));
    m_nameFilter->setPlaceholderText(QStringLiteral("parte del nome"));
    m_nameFilter->setClearButtonEnabled(true);
    nameLabel->setBuddy(m_nameFilter);
    m_fromOn = new QCheckBox(QStringLiteral("&Dal"));
    m_fromOn->setObjectName(QStringLiteral("usaDal"));
    m_fromOn->setAccessibleName(QStringLiteral("Filtra dal giorno"));
    m_from = new QDateEdit;
    m_from->setObjectName(QStringLiteral("dal"));
    m_from->setAccessibleName(QStringLiteral("Primo giorno"));
    m_toOn = new QCheckBox(QStringLiteral("&Al"));
    m_toOn->setObjectName(QStringLiteral("usaAl"));
    m_toOn->setAccessibleName(QStringLiteral("Filtra fino al giorno"));
    m_to = new QDateEdit;
    m_to->setObjectName(QStringLiteral("al"));
    m_to->setAccessibleName(QStringLiteral("Ultimo giorno"));
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setLocale(m_session->locale());
        edit->setDisplayFormat(dateFormatOf(m_session->locale()));
        edit->setDate(QDate::currentDate());
        edit->setEnabled(false);
    }
    m_clearFilter = new QPushButton(QStringLiteral("A&zzera filtri"));
    m_clearFilter->setObjectName(QStringLiteral("azzeraFiltri"));
    m_clearFilter->setAccessibleName(QStringLiteral("Azzera filtri"));
    filterRow->addWidget(nameLabel);
    filterRow->addWidget(m_nameFilter, 1);
    filterRow->addSpacing(16);
    filterRow->addWidget(m_fromOn);
    filterRow->addWidget(m_from);
    filterRow->addWidget(m_toOn);
    filterRow->addWidget(m_to);
    filterRow->addSpacing(16);
    filterRow->addWidget(m_clearFilter);
    filterRow->addStretch(1);
    layout->addLayout(filterRow);

    m_gamesView = newTable(QStringLiteral("partite"), m_session->shownGames());
    m_gamesView->setAccessibleName(QStringLiteral("Partite della classe"));
    // File order until the teacher picks a column.
    m_gamesView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_gamesView->sortByColumn(-1, Qt::AscendingOrder);
    auto *gamesBox = new QGroupBox(QStringLiteral("Partite"));
    (new QVBoxLayout(gamesBox))->addWidget(m_gamesView);

    m_pupilsView = newTable(QStringLiteral("riepilogo"), m_session->shownPupils());
    m_pupilsView->setAccessibleName(QStringLiteral("Riepilogo per alunno"));
    m_pupilsView->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    auto *pupilsBox = new QGroupBox(QStringLiteral("Riepilogo per alunno"));
    (new QVBoxLayout(pupilsBox))->addWidget(m_pupilsView);

    m_bestChart = new QChartView;
    m_bestChart->setObjectName(QStringLiteral("graficoMigliori"));
    m_bestChart->setAccessibleName(QStringLiteral("Grafico dei migliori punteggi"));
    m_bestChart->setRenderHint(QPainter::Antialiasing);
    m_bestChart->setMinimumHeight(220);

    auto *progressPage = new QWidget;
    auto *progressLayout = new QVBoxLayout(progressPage);
    auto *pupilRow = new QHBoxLayout;
    auto *pupilLabel = new QLabel(QStringLiteral("A&lunno:"));
    m_progressPupil = new QComboBox;
    m_progressPupil->setObjectName(QStringLiteral("alunnoGrafico"));
    m_progressPupil->setAccessibleName(QStringLiteral("Alunno del grafico"));
    m_progressPupil->setMinimumContentsLength(16);
    pupilLabel->setBuddy(m_progressPupil);
    pupilRow->addWidget(pupilLabel);
    pupilRow->addWidget(m_progressPupil);
    pupilRow->addStretch(1);
    m_progressChart = new QChartView;
    m_progressChart->setObjectName(QStringLiteral("graficoAndamento"));
    m_progressChart->setAccessibleName(QStringLiteral("Grafico dell'andamento"));
    m_progressChart->setRenderHint(QPainter::Antialiasing);
    progressLayout->addLayout(pupilRow);
    progressLayout->addWidget(m_progressChart, 1);

    m_warnings = new QListWidget;
    m_warnings->setObjectName(QStringLiteral("avvisi"));
    m_warnings->setAccessibleName(QStringLiteral("Avvisi di lettura"));
    m_warnings->setWordWrap(true);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("schede"));
    m_tabs->setAccessibleName(QStringLiteral("Grafici e avvisi"));
    m_tabs->addTab(m_bestChart, QStringLiteral("Migliori punteggi"));
    m_tabs->addTab(progressPage, QStringLiteral("Andamento"));
    m_tabs->addTab(m_warnings, QStringLiteral("Avvisi"));

    auto *right = new QSplitter(Qt::Vertical);
    right->setObjectName(QStringLiteral("divisoreDestro"));
    right->setAccessibleName(QStringLiteral("Riepilogo e grafici"));
    right->addWidget(pupilsBox);
    right->addWidget(m_tabs);
    right->setSizes({330, 400});
    auto *split = new QSplitter(Qt::Horizontal);
    split->setObjectName(QStringLiteral("divisore"));
    split->setAccessibleName(QStringLiteral("Partite e riepilogo"));
    split->addWidget(gamesBox);
    split->addWidget(right);
    split->setSizes({700, 560});
    layout->addWidget(split, 1);
    setCentralWidget(central);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("stato"));
    m_status->setAccessibleName(QStringLiteral("Stato"));
    statusBar()->addWidget(m_status, 1);

    connect(m_classes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_rebuilding && index >= 0)
            m_session->selectClass(m_classes->itemData(index).toInt());
    });
    connect(m_nameFilter, &QLineEdit::textChanged, m_session, &RegisterSession::setNameFilter);
    connect(m_fromOn, &QCheckBox::toggled, this, &RegisterWindow::applyDateFilter);
    connect(m_toOn, &QCheckBox::toggled, this, &RegisterWindow::applyDateFilter);
    connect(m_from, &QDateEdit::dateChanged, this, &RegisterWindow::applyDateFilter);
    connect(m_to, &QDateEdit::dateChanged, this, &RegisterWindow::applyDateFilter);
    connect(m_clearFilter, &QPushButton::clicked, this, &RegisterWindow::clearFilter);
    connect(m_progressPupil, &QComboBox::currentIndexChanged, this,
            &RegisterWindow::showProgress);
    connect(m_pupilsView, &QTableView::clicked, this, &RegisterWindow::pupilActivated);
    connect(m_pupilsView, &QTableView::activated, this, [this](const QModelIndex &index) {
        pupilActivated(index);
        m_tabs->setCurrentIndex(1);
    });
    // A new sort of the summary reorders the bars too.
    connect(m_session->shownPupils(), &QAbstractItemModel::layoutChanged, this, [this] {
        replaceChart(m_bestChart, makeBestScoreChart(m_session->shownSummaries()));
    });
}

void RegisterWindow::rebuildClassList()
{
    m_rebuilding = true;
    m_classes->clear();
    const QList<ClassLogFile> &classes = m_session->classes();
    for (int i = 0; i < classes.size(); ++i)
        m_classes->addItem(classes[i].displayName(), i);
    m_classes->setCurrentIndex(m_session->currentIndex());
    m_classes->setEnabled(!classes.isEmpty());
    if (classes.isEmpty())
        m_classes->setPlaceholderText(QStringLiteral("(nessuna classe)"));
    m_rebuilding = false;

    const QString dir = QDir::toNativeSeparators(m_session->dataDirectory());
    m_directory->setText(m_session->directoryProblem().isEmpty()
                             ? QStringLiteral("Cartella dei dati: %1").arg(dir)
                             : m_session->directoryProblem());
    m_directory->setToolTip(dir);
}

void RegisterWindow::showCurrentClass()
{
    m_rebuilding = true;
    m_classes->setCurrentIndex(m_session->currentIndex());
    m_rebuilding = false;
    const ClassLogFile *file = m_session->currentClass();
    // Qt adds the program's name ("… — Registro di Solfira").
    setWindowTitle(file ? QStringLiteral("Classe %1").arg(file->displayName()) : QString());

    // The date range starts as the span of the class's games.
    QDate first;
    QDate last;
    for (const ClassLogEntry &e : m_session->games()->entries()) {
        if (!e.date.isValid())
            continue;
        if (!first.isValid() || e.date < first)
            first = e.date;
        if (!last.isValid() || e.date > last)
            last = e.date;
    }
    const QSignalBlocker blockFrom(m_from);
    const QSignalBlocker blockTo(m_to);
    if (!m_fromOn->isChecked())
        m_from->setDate(first.isValid() ? first : QDate::currentDate());
    if (!m_toOn->isChecked())
        m_to->setDate(last.isValid() ? last : QDate::currentDate());
    m_gamesView->resizeColumnsToContents();
    m_pupilsView->resizeColumnsToContents();
}

void RegisterWindow::showGames()
{
    const int all = m_session->games()->rowCount();
    const int shown = m_session->shownGames()->rowCount();
    QString status;
    if (!m_session->directoryProblem().isEmpty()) {
        status = m_session->directoryProblem();
    } else if (m_session->classes().isEmpty()) {
        status = QStringLiteral("Nessun registro di classe in questa cartella: un registro "
                                "compare quando finisce la prima partita di una classe.");
    } else {
        status = shown == 1 ? QStringLiteral("1 partita mostrata su %1").arg(all)
                            : QStringLiteral("%1 partite mostrate su %2").arg(shown).arg(all);
        const qint64 warnings = m_session->warningCount();
        if (warnings == 1)
            status += QStringLiteral(" · 1 avviso di lettura");
        else if (warnings > 1)
            status += QStringLiteral(" · %1 avvisi di lettura").arg(warnings);
        if (m_session->lastRead().isValid())
            status += QStringLiteral(" · letto alle %1")
                          .arg(m_session->lastRead().time().toString(QStringLiteral("HH:mm:ss")));
    }
    m_status->setText(status);
    const bool any = shown > 0;
    m_exportAction->setEnabled(any);
    m_pdfAction->setEnabled(any);
    m_printAction->setEnabled(any);

    const QList<PupilSummary> pupils = m_session->shownSummaries();
    replaceChart(m_bestChart, makeBestScoreChart(pupils));
    QStringList spoken;
    for (const PupilSummary &p : pupils.first(std::min<qsizetype>(pupils.size(), MaxBars)))
        spoken << QStringLiteral("%1 %2").arg(displayName(p.name)).arg(p.bestScore);
    m_bestChart->setAccessibleDescription(
        QStringLiteral("Miglior punteggio: %1").arg(spoken.join(QStringLiteral(", "))));

    // Keep the pupil of the line chart while the list changes around it.
    const QString key = m_progressPupil->currentData().toString();
    {
        const QSignalBlocker block(m_progressPupil);
        m_progressPupil->clear();
        for (const PupilSummary &p : pupils)
            m_progressPupil->addItem(displayName(p.name), p.key);
        const int again = m_progressPupil->findData(key);
        m_progressPupil->setCurrentIndex(again >= 0 ? again : (pupils.isEmpty() ? -1 : 0));
    }
    showProgress();
}

void RegisterWindow::showProgress()
{
    const QString key = m_progressPupil->currentData().toString();
    if (m_progressPupil->currentIndex() < 0) {
        replaceChart(m_progressChart, makeProgressChart(QString(), {}));
        m_progressChart->setAccessibleDescription(QString());
        return;
    }
    const QList<ClassLogEntry> games = m_session->gamesOf(key);
    replaceChart(m_progressChart, makeProgressChart(m_progressPupil->currentText(), games));
    QStringList spoken;
    for (const ClassLogEntry &e : games.last(std::min<qsizetype>(games.size(), 20)))
        spoken << QString::number(e.correct);
    m_progressChart->setAccessibleDescription(
        QStringLiteral("%1: %2 partite; risposte esatte delle ultime: %3")
            .arg(m_progressPupil->currentText())
            .arg(games.size())
            .arg(spoken.join(QStringLiteral(", "))));
}

void RegisterWindow::showWarnings()
{
    m_warnings->clear();
    if (!m_session->readError().isEmpty())
        m_warnings->addItem(QStringLiteral("Il registro non si può leggere: %1")
                                .arg(m_session->readError()));
    for (const records::ClassLogWarning &w : m_session->warnings())
        m_warnings->addItem(w.text());
    const qint64 hidden = m_session->warningCount() - m_session->warnings().size();
    if (hidden > 0)
        m_warnings->addItem(QStringLiteral("… e altri %1 avvisi non mostrati").arg(hidden));
    const qint64 count = m_session->warningCount() + (m_session->readError().isEmpty() ? 0 : 1);
    m_tabs->setTabText(2, count > 0 ? QStringLiteral("Avvisi (%1)").arg(count)
                                    : QStringLiteral("Avvisi"));
}

void RegisterWindow::applyDateFilter()
{
    m_from->setEnabled(m_fromOn->isChecked());
    m_to->setEnabled(m_toOn->isChecked());
    m_session->setDateRange(m_fromOn->isChecked() ? m_from->date() : QDate(),
                            m_toOn->isChecked() ? m_to->date() : QDate());
}

void RegisterWindow::clearFilter()
{
    m_nameFilter->clear();
    {
        const QSignalBlocker blockFrom(m_fromOn);
        const QSignalBlocker blockTo(m_toOn);
        m_fromOn->setChecked(false);
        m_toOn->setChecked(false);
    }
    applyDateFilter();
    showCurrentClass();
}

void RegisterWindow::pupilActivated(const QModelIndex &index)
{
    const QString key = index.siblingAtColumn(0).data(PupilSummaryModel::KeyRole).toString();
    const int item = m_progressPupil->findData(key);
    if (item >= 0)
        m_progressPupil->setCurrentIndex(item);
}

void RegisterWindow::chooseDirectory()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Cartella dei dati di Solfira"), m_session->dataDirectory());
    if (!dir.isEmpty())
        m_session->setDataDirectory(dir);
}

bool RegisterWindow::refuseDataDirectory(const QString &path, QString *error) const
{
    const QString target = QFileInfo(path).absoluteDir().canonicalPath();
    const QString data = QDir(m_session->dataDirectory()).canonicalPath();
    if (target.isEmpty() || data.isEmpty() || target != data)
        return false;
    if (error)
        *error = QStringLiteral("Il registro non scrive nella cartella dei dati del gioco: "
                                "scegli un'altra cartella.");
    return true;
}

bool RegisterWindow::exportCsv(const QString &path, QString *error)
{
    if (refuseDataDirectory(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(gamesCsv(*m_session->shownGames(), m_session->locale()));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString RegisterWindow::reportTitle() const
{
    const ClassLogFile *file = m_session->currentClass();
    return file ? QStringLiteral("Registro della classe %1").arg(file->displayName())
                : QStringLiteral("Registro di classe");
}

void RegisterWindow::fillReport(QTextDocument *document) const
{
    const QLocale locale = m_session->locale();
    const GameFilterProxy *games = m_session->shownGames();
    ReportContent content;
    content.title = reportTitle();
    content.notes << QStringLiteral("Cartella dei dati: %1")
                         .arg(QDir::toNativeSeparators(m_session->dataDirectory()));
    QStringList filter;
    if (!games->nameFilter().isEmpty())
        filter << QStringLiteral("nome che contiene «%1»").arg(games->nameFilter());
    if (games->dateFrom().isValid())
        filter << QStringLiteral("dal %1").arg(formatDate(games->dateFrom(), {}, locale));
    if (games->dateTo().isValid())
        filter << QStringLiteral("al %1").arg(formatDate(games->dateTo(), {}, locale));
    content.notes << (filter.isEmpty() ? QStringLiteral("Tutte le partite del registro.")
                                       : QStringLiteral("Partite con %1.")
                                             .arg(filter.join(QStringLiteral(", "))));
    content.notes << QStringLiteral("Stampato il %1 alle %2")
                         .arg(formatDate(QDate::currentDate(), {}, locale),
                              QTime::currentTime().toString(QStringLiteral("HH:mm")));
    content.pupils = m_session->shownPupils();
    content.games = games;

    const QList<PupilSummary> pupils = m_session->shownSummaries();
    const int bars = int(std::min<qsizetype>(pupils.size(), MaxBars));
    document->addResource(
        QTextDocument::ImageResource, QUrl(BestChartUrl),
        renderChart(makeBestScoreChart(pupils), QSize(ReportWidth, std::max(280, 100 + 24 * bars))));
    content.images << BestChartUrl;
    if (m_progressPupil->currentIndex() >= 0) {
        const QString key = m_progressPupil->currentData().toString();
        document->addResource(QTextDocument::ImageResource, QUrl(ProgressChartUrl),
                              renderChart(makeProgressChart(m_progressPupil->currentText(),
                                                            m_session->gamesOf(key)),
                                          QSize(ReportWidth, 320)));
        content.images << ProgressChartUrl;
    }
    QFont font = document->defaultFont();
    font.setPointSizeF(9);
    document->setDefaultFont(font);
    document->setHtml(reportHtml(content));
}

bool RegisterWindow::savePdf(const QString &path, QString *error)
{
    if (refuseDataDirectory(path, error))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setDocName(reportTitle());
    printer.setCreator(QStringLiteral("Registro di Solfira"));
    QTextDocument document;
    fillReport(&document);
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error || QFileInfo(path).size() == 0) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere %1.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QString RegisterWindow::askSavePath(const QString &title, const QString &filter,
                                    const QString &suffix)
{
    const ClassLogFile *file = m_session->currentClass();
    const QString name = QStringLiteral("registro-%1-%2.%3")
                             .arg(fileStem(file ? file->className : QString()),
                                  QDate::currentDate().toString(Qt::ISODate), suffix);
    QFileDialog dialog(this, title,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void RegisterWindow::askExportCsv()
{
    const QString path = askSavePath(QStringLiteral("Esporta la tabella in CSV"),
                                     QStringLiteral("Tabella CSV (*.csv)"), QStringLiteral("csv"));
    QString error;
    if (!path.isEmpty() && !exportCsv(path, &error))
        QMessageBox::warning(this, QStringLiteral("Esportazione non riuscita"), error);
    else if (!path.isEmpty())
        statusBar()->showMessage(
            QStringLiteral("Tabella esportata in %1").arg(QDir::toNativeSeparators(path)), 8000);
}

void RegisterWindow::askSavePdf()
{
    const QString path = askSavePath(QStringLiteral("Salva il registro in PDF"),
                                     QStringLiteral("Documento PDF (*.pdf)"), QStringLiteral("pdf"));
    QString error;
    if (!path.isEmpty() && !savePdf(path, &error))
        QMessageBox::warning(this, QStringLiteral("Salvataggio non riuscito"), error);
    else if (!path.isEmpty())
        statusBar()->showMessage(
            QStringLiteral("Registro salvato in %1").arg(QDir::toNativeSeparators(path)), 8000);
}

void RegisterWindow::askPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(reportTitle());
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) {
        QTextDocument document;
        fillReport(&document);
        document.print(target);
    });
    preview.exec();
}

void RegisterWindow::showAbout()
{
    QMessageBox::about(
        this, QStringLiteral("Informazioni sul registro"),
        QStringLiteral("<p><b>Registro di Solfira</b></p>"
                       "<p>Mostra le partite di ogni classe, registrate dal gioco alla fine di "
                       "ogni partita: una tabella da ordinare e filtrare, il riepilogo per "
                       "alunno e i grafici dei punteggi.</p>"
                       "<p>Il registro legge soltanto: non modifica mai i file del gioco.</p>"));
}

} // namespace registro
