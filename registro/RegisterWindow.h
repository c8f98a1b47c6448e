#pragma once

#include "RegisterExport.h"

#include <QMainWindow>

#include <functional>
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
    std::optional<ExportFailure> exportCsv(const QString &path);
    std::optional<ExportFailure> savePdf(const QString &path);
    // The printable report of what is shown.
    void fillReport(QTextDocument *document) const;

private:
    // One way of writing what is shown to a file: the dialog's texts and the outcome's.
    struct SaveTexts {
        QString title; // of the file dialog
        QString filter;
        QString suffix;
        QString failure; // the title of the message when writing fails
        QString done;    // the status bar's message; %1 is the file
    };

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
    QString askSavePath(const SaveTexts &texts);
    // Writes what is shown to a file, or says why it could not.
    using SaveStep = std::function<std::optional<ExportFailure>(const QString &path)>;
    // Asks where to write and writes with `save`, telling how it went.
    void askAndSave(const SaveTexts &texts, const SaveStep &save);
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
