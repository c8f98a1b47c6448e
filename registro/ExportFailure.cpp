#include "ExportFailure.h"

#include <QDir>

namespace registro {

QString exportFailureText(const ExportFailure &failure)
{
    switch (failure.step) {
    case ExportFailure::Step::RefuseExport:
        return QStringLiteral("Il registro non scrive nella cartella dei dati del gioco: "
                              "scegli un'altra cartella.");
    case ExportFailure::Step::WriteExport:
        return failure.systemText;
    case ExportFailure::Step::WritePdf:
        return QStringLiteral("Impossibile scrivere %1.")
            .arg(QDir::toNativeSeparators(failure.path));
    }
    return {};
}

} // namespace registro
