#include "RegisterWindow.h"

#include "GameFilterProxy.h"
#include "GameTableModel.h"
#include "RegisterFormat.h"
#include "RegisterSession.h"
#include "RegisterTexts.h"
#include "charts/ChartView.h"
#include "charts/ScoreCharts.h"
#include "texts/ClassLogWarningText.h"
#include "texts/FailureText.h"
#include "ui_RegisterForm.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace registro {

using records::ClassLogEntry;

namespace {

// The tables' fixed properties are in the form; the model and the row height are set here.
void setUpTable(QTableView *view, QAbstractItemModel *model)
{
    view->setModel(model);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
}

} // namespace

RegisterWindow::RegisterWindow(RegisterSession *session, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_form(std::make_unique<Ui::RegisterForm>())
{
    setObjectName(QStringLiteral("registro"));
    setAccessibleName(QStringLiteral("Registro di Solfira"));
    buildActions();
    buildForm();

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

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::buildActions()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *open = fileMenu->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                        QStringLiteral("&Apri cartella dei dati…"), this,
                                        &RegisterWindow::chooseDirectory);
    open->setShortcut(QKeySequence::Open);
    QAction *refresh =
        fileMenu->addAction(style()->standardIcon(QStyle::SP_BrowserReload),
                            QStringLiteral("A&ggiorna"), m_session, &RegisterSession::refresh);
    refresh->setShortcut(QKeySequence::Refresh);
    fileMenu->addSeparator();
    m_exportAction = fileMenu->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                         QStringLiteral("&Esporta tabella in CSV…"), this,
                                         &RegisterWindow::askExportCsv);
    m_exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_pdfAction =
        fileMenu->addAction(style()->standardIcon(QStyle::SP_FileIcon),
                            QStringLiteral("Salva in &PDF…"), this, &RegisterWindow::askSavePdf);
    m_pdfAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_printAction =
        fileMenu->addAction(QIcon::fromTheme(QStringLiteral("document-print")),
                            QStringLiteral("&Stampa…"), this, &RegisterWindow::askPrint);
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

void RegisterWindow::buildForm()
{
    auto *central = new QWidget;
    m_form->setupUi(central);
    // The form's two containers are no controls of their own: unnamed, like any panel.
    central->setObjectName(QString());
    m_form->paginaAndamento->setObjectName(QString());

    for (QDateEdit *edit : {m_form->dal, m_form->al}) {
        edit->setLocale(m_session->locale());
        edit->setDisplayFormat(dateFormatOf(m_session->locale()));
        edit->setDate(QDate::currentDate());
    }
    setUpTable(m_form->partite, m_session->shownGames());
    // File order until the teacher picks a column.
    m_form->partite->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_form->partite->sortByColumn(-1, Qt::AscendingOrder);
    setUpTable(m_form->riepilogo, m_session->shownPupils());
    m_form->riepilogo->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_form->divisoreDestro->setSizes({330, 400});
    m_form->divisore->setSizes({700, 560});
    setCentralWidget(central);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("stato"));
    m_status->setAccessibleName(QStringLiteral("Stato"));
    statusBar()->addWidget(m_status, 1);

    connect(m_form->classi, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_rebuilding && index >= 0)
            m_session->selectClass(m_form->classi->itemData(index).toInt());
    });
    connect(m_form->filtroNome, &QLineEdit::textChanged, m_session,
            &RegisterSession::setNameFilter);
    connect(m_form->usaDal, &QCheckBox::toggled, this, &RegisterWindow::applyDateFilter);
    connect(m_form->usaAl, &QCheckBox::toggled, this, &RegisterWindow::applyDateFilter);
    connect(m_form->dal, &QDateEdit::dateChanged, this, &RegisterWindow::applyDateFilter);
    connect(m_form->al, &QDateEdit::dateChanged, this, &RegisterWindow::applyDateFilter);
    connect(m_form->azzeraFiltri, &QPushButton::clicked, this, &RegisterWindow::clearFilter);
    connect(m_form->alunnoGrafico, &QComboBox::currentIndexChanged, this,
            &RegisterWindow::showProgress);
    connect(m_form->riepilogo, &QTableView::clicked, this, &RegisterWindow::pupilActivated);
    connect(m_form->riepilogo, &QTableView::activated, this, [this](const QModelIndex &index) {
        pupilActivated(index);
        m_form->schede->setCurrentIndex(1);
    });
    // A new sort of the summary reorders the bars too.
    connect(m_session->shownPupils(), &QAbstractItemModel::layoutChanged, this,
            &RegisterWindow::showBestScores);
}

void RegisterWindow::rebuildClassList()
{
    m_rebuilding = true;
    m_form->classi->clear();
    const QList<ClassLogFile> &classes = m_session->classes();
    for (int i = 0; i < classes.size(); ++i)
        m_form->classi->addItem(classes[i].displayName(), i);
    m_form->classi->setCurrentIndex(m_session->currentIndex());
    m_form->classi->setEnabled(!classes.isEmpty());
    if (classes.isEmpty()) m_form->classi->setPlaceholderText(QStringLiteral("(nessuna classe)"));
    m_rebuilding = false;

    const QString dir = QDir::toNativeSeparators(m_session->dataDirectory());
    const QString problem = m_session->directoryProblemText();
    m_form->cartella->setText(problem.isEmpty() ? QStringLiteral("Cartella dei dati: %1").arg(dir)
                                                : problem);
    m_form->cartella->setToolTip(dir);
}

void RegisterWindow::showCurrentClass()
{
    m_rebuilding = true;
    m_form->classi->setCurrentIndex(m_session->currentIndex());
    m_rebuilding = false;
    const ClassLogFile *file = m_session->currentClass();
    // Qt adds the program's name ("… — Registro di Solfira").
    setWindowTitle(file ? QStringLiteral("Classe %1").arg(file->displayName()) : QString());

    // The date range starts as the span of the class's games.
    const DateSpan span = dateSpan(m_session->games()->entries());
    const QSignalBlocker blockFrom(m_form->dal);
    const QSignalBlocker blockTo(m_form->al);
    if (!m_form->usaDal->isChecked())
        m_form->dal->setDate(span.first.isValid() ? span.first : QDate::currentDate());
    if (!m_form->usaAl->isChecked())
        m_form->al->setDate(span.last.isValid() ? span.last : QDate::currentDate());
    m_form->partite->resizeColumnsToContents();
    m_form->riepilogo->resizeColumnsToContents();
}

void RegisterWindow::showGames()
{
    const int shown = m_session->shownGames()->rowCount();
    StatusFacts facts;
    facts.directoryProblem = m_session->directoryProblemText();
    facts.noClasses = m_session->classes().isEmpty();
    facts.shown = shown;
    facts.all = m_session->games()->rowCount();
    facts.warnings = m_session->warningCount();
    facts.lastRead = m_session->lastRead();
    m_status->setText(statusText(facts));
    const bool any = shown > 0;
    m_exportAction->setEnabled(any);
    m_pdfAction->setEnabled(any);
    m_printAction->setEnabled(any);

    showBestScores();

    // Keep the pupil of the line chart while the list changes around it.
    const QList<PupilSummary> pupils = m_session->shownSummaries();
    const QString key = m_form->alunnoGrafico->currentData().toString();
    {
        const QSignalBlocker block(m_form->alunnoGrafico);
        m_form->alunnoGrafico->clear();
        for (const PupilSummary &p : pupils)
            m_form->alunnoGrafico->addItem(displayName(p.name), p.key);
        const int again = m_form->alunnoGrafico->findData(key);
        m_form->alunnoGrafico->setCurrentIndex(again >= 0 ? again : (pupils.isEmpty() ? -1 : 0));
    }
    showProgress();
}

void RegisterWindow::showBestScores()
{
    const QList<PupilSummary> pupils = m_session->shownSummaries();
    m_form->graficoMigliori->setChart(makeBestScoreChart(pupils));
    m_form->graficoMigliori->setAccessibleDescription(bestScoresDescription(pupils, MaxBars));
}

void RegisterWindow::showProgress()
{
    const QString key = m_form->alunnoGrafico->currentData().toString();
    if (m_form->alunnoGrafico->currentIndex() < 0) {
        m_form->graficoAndamento->setChart(makeProgressChart(QString(), {}));
        m_form->graficoAndamento->setAccessibleDescription(QString());
        return;
    }
    const QList<ClassLogEntry> games = m_session->gamesOf(key);
    const QString name = m_form->alunnoGrafico->currentText();
    m_form->graficoAndamento->setChart(makeProgressChart(name, games));
    m_form->graficoAndamento->setAccessibleDescription(progressDescription(name, games));
}

void RegisterWindow::showWarnings()
{
    m_form->avvisi->clear();
    if (m_session->readFailure())
        m_form->avvisi->addItem(QStringLiteral("Il registro non si può leggere: %1")
                                    .arg(texts::failureText(*m_session->readFailure())));
    for (const records::ClassLogWarning &w : m_session->warnings())
        m_form->avvisi->addItem(texts::warningText(w));
    const qint64 hidden = m_session->warningCount() - m_session->warnings().size();
    if (hidden > 0)
        m_form->avvisi->addItem(QStringLiteral("… e altri %1 avvisi non mostrati").arg(hidden));
    const qint64 count = m_session->warningCount() + (m_session->readFailure() ? 1 : 0);
    m_form->schede->setTabText(2, count > 0 ? QStringLiteral("Avvisi (%1)").arg(count)
                                            : QStringLiteral("Avvisi"));
}

void RegisterWindow::applyDateFilter()
{
    m_form->dal->setEnabled(m_form->usaDal->isChecked());
    m_form->al->setEnabled(m_form->usaAl->isChecked());
    m_session->setDateRange(m_form->usaDal->isChecked() ? m_form->dal->date() : QDate(),
                            m_form->usaAl->isChecked() ? m_form->al->date() : QDate());
}

void RegisterWindow::clearFilter()
{
    m_form->filtroNome->clear();
    {
        const QSignalBlocker blockFrom(m_form->usaDal);
        const QSignalBlocker blockTo(m_form->usaAl);
        m_form->usaDal->setChecked(false);
        m_form->usaAl->setChecked(false);
    }
    applyDateFilter();
    showCurrentClass();
}

void RegisterWindow::pupilActivated(const QModelIndex &index)
{
    const QString key = index.data(PupilSummaryModel::KeyRole).toString();
    const int item = m_form->alunnoGrafico->findData(key);
    if (item >= 0) m_form->alunnoGrafico->setCurrentIndex(item);
}

void RegisterWindow::chooseDirectory()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Cartella dei dati di Solfira"), m_session->dataDirectory());
    if (!dir.isEmpty()) m_session->setDataDirectory(dir);
}

RegisterExport RegisterWindow::exporter() const
{
    RegisterExport out(m_session);
    if (m_form->alunnoGrafico->currentIndex() >= 0)
        out.setProgressPupil(m_form->alunnoGrafico->currentData().toString(),
                             m_form->alunnoGrafico->currentText());
    return out;
}

std::optional<ExportFailure> RegisterWindow::exportCsv(const QString &path)
{
    return exporter().exportCsv(path);
}

std::optional<ExportFailure> RegisterWindow::savePdf(const QString &path)
{
    return exporter().savePdf(path);
}

void RegisterWindow::fillReport(QTextDocument *document) const
{
    exporter().fillReport(document);
}

QString RegisterWindow::askSavePath(const SaveTexts &texts)
{
    const QString name = exporter().suggestedFileName(texts.suffix);
    QFileDialog dialog(this, texts.title,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       texts.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(texts.suffix);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void RegisterWindow::askAndSave(const SaveTexts &texts, const SaveStep &save)
{
    const QString path = askSavePath(texts);
    if (path.isEmpty()) return;
    if (const auto failure = save(path))
        QMessageBox::warning(this, texts.failure, exportFailureText(*failure));
    else
        statusBar()->showMessage(texts.done.arg(QDir::toNativeSeparators(path)), 8000);
}

void RegisterWindow::askExportCsv()
{
    askAndSave({QStringLiteral("Esporta la tabella in CSV"), QStringLiteral("Tabella CSV (*.csv)"),
                QStringLiteral("csv"), QStringLiteral("Esportazione non riuscita"),
                QStringLiteral("Tabella esportata in %1")},
               [this](const QString &path) { return exportCsv(path); });
}

void RegisterWindow::askSavePdf()
{
    askAndSave({QStringLiteral("Salva il registro in PDF"), QStringLiteral("Documento PDF (*.pdf)"),
                QStringLiteral("pdf"), QStringLiteral("Salvataggio non riuscito"),
                QStringLiteral("Registro salvato in %1")},
               [this](const QString &path) { return savePdf(path); });
}

void RegisterWindow::askPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(exporter().reportTitle());
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *target) { exporter().print(target); });
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
