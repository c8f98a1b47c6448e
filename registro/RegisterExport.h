#pragma once

// What the register writes for the teacher: the shown games as CSV and the view as a
// printable report (a PDF file or a printer). Files in the data directory are refused:
// the register never writes there.

#include "ExportFailure.h"

#include <QString>

#include <optional>

class QPrinter;
class QTextDocument;

namespace registro {

class RegisterSession;

class RegisterExport
{
public:
    explicit RegisterExport(const RegisterSession *session) : m_session(session) {}

    // The pupil whose line chart the report shows after the best scores.
    void setProgressPupil(const QString &key, const QString &name);

    // Nothing when the file was written, else why not.
    std::optional<ExportFailure> exportCsv(const QString &path) const;
    std::optional<ExportFailure> savePdf(const QString &path) const;
    void print(QPrinter *printer) const;
    // The printable report of what is shown.
    void fillReport(QTextDocument *document) const;
    // "Registro della classe 3A"
    QString reportTitle() const;
    // The name offered for a file of the current class: "registro-3A-2025-03-14.csv".
    QString suggestedFileName(const QString &suffix) const;

private:
    std::optional<ExportFailure> refuseDataDirectory(const QString &path) const;

    const RegisterSession *m_session;
    bool m_hasPupil = false;
    QString m_pupilKey;
    QString m_pupilName;
};

} // namespace registro
