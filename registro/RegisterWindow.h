#pragma once

#include "RegisterExport.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QTextDocument;

namespace Ui {
class RegisterForm;
}

namespace registro {

class RegisterSession;

// The teacher's window: the class chosen, its games in a sortable table, the summary
// per pupil, the filter, the charts and the reading warnings; export and printing.
// The form is RegisterForm.ui; the menu, the tool bar and the dialogs are here.
class RegisterWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit RegisterWindow(RegisterSession *session, QWidget *parent = nullptr);
    ~RegisterWindow() override;

    RegisterSession *session() const { return m_session; }

    // Writes the shown games as CSV / the view as a PDF report to `path`. Files in the
    // data directory are refused: the register never writes there.
    std::optional<records::Failure> exportCsv(const QString &path);
    std::optional<records::Failure> savePdf(const QString &path);
    // The printable report of what is shown.
    void fillReport(QTextDocument *document) const;

private:
    void buildActions();
    void buildForm();
    void rebuildClassList();
    void showCurrentClass();
    void showGames();
    void showWarnings();
    void showBestScores();
    void showProgress();
    void applyDateFilter();
    void clearFilter();
    void pupilActivated(const QModelIndex &index);
    void chooseDirectory();
    void askExportCsv();
    void askSavePdf();
    void askPrint();
    void showAbout();
    QString askSavePath(const QString &title, const QString &filter, const QString &suffix);
    // What is shown, ready to be written or printed.
    RegisterExport exporter() const;

    RegisterSession *m_session;
    std::unique_ptr<Ui::RegisterForm> m_form;
    QLabel *m_status = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_pdfAction = nullptr;
    QAction *m_printAction = nullptr;
    bool m_rebuilding = false;
};

} // namespace registro
