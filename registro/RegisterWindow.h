#pragma once

#include <QMainWindow>

class QAction;
class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableView;
class QTextDocument;

namespace registro {

class RegisterSession;

// The teacher's window: the class chosen, its games in a sortable table, the summary
// per pupil, the filter, the charts and the reading warnings; export and printing.
class RegisterWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit RegisterWindow(RegisterSession *session, QWidget *parent = nullptr);

    RegisterSession *session() const { return m_session; }

    // Writes the shown games as CSV / the view as a PDF report to `path`. Files in the
    // data directory are refused: the register never writes there.
    bool exportCsv(const QString &path, QString *error = nullptr);
    bool savePdf(const QString &path, QString *error = nullptr);
    // The printable report of what is shown.
    void fillReport(QTextDocument *document) const;

private:
    void buildActions();
    void buildLayout();
    void rebuildClassList();
    void showCurrentClass();
    void showGames();
    void showWarnings();
    void showProgress();
    void applyDateFilter();
    void clearFilter();
    void pupilActivated(const QModelIndex &index);
    void chooseDirectory();
    void askExportCsv();
    void askSavePdf();
    void askPrint();
    void showAbout();
    bool refuseDataDirectory(const QString &path, QString *error) const;
    QString askSavePath(const QString &title, const QString &filter, const QString &suffix);
    QString reportTitle() const;

    RegisterSession *m_session;
    QComboBox *m_classes = nullptr;
    QLabel *m_directory = nullptr;
    QLineEdit *m_nameFilter = nullptr;
    QCheckBox *m_fromOn = nullptr;
    QDateEdit *m_from = nullptr;
    QCheckBox *m_toOn = nullptr;
    QDateEdit *m_to = nullptr;
    QPushButton *m_clearFilter = nullptr;
    QTableView *m_gamesView = nullptr;
    QTableView *m_pupilsView = nullptr;
    QTabWidget *m_tabs = nullptr;
    QChartView *m_bestChart = nullptr;
    QComboBox *m_progressPupil = nullptr;
    QChartView *m_progressChart = nullptr;
    QListWidget *m_warnings = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_pdfAction = nullptr;
    QAction *m_printAction = nullptr;
    bool m_rebuilding = false;
};

} // namespace registro
