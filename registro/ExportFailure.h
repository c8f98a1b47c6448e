#pragma once

// Why the register could not write what it shows to a file, as a value, and the words the
// teacher reads for it. Only the register writes such files, so its words are its own.

#include <QString>

namespace registro {

struct ExportFailure {
    enum class Step {
        RefuseExport, // asked to write into the data folder, which the register never writes
        WriteExport,  // an exported table could not be written
        WritePdf,     // a report could not be saved as PDF
    };
    Step step = Step::WriteExport;
    QString path;
    QString systemText; // Qt's own words for the error, when it gave some

    friend bool operator==(const ExportFailure &, const ExportFailure &) = default;
};

// "Impossibile scrivere C:\Documenti\registro.pdf.", the path as the system writes it.
QString exportFailureText(const ExportFailure &failure);

} // namespace registro
