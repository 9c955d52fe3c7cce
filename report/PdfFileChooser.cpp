#include "report/PdfFileChooser.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace report {

QString choosePdfFile(QWidget* parent, const QString& objectName, const QString& folder) {
    QFileDialog dialog(parent, QCoreApplication::translate("report", "Save the report as PDF"), folder, QCoreApplication::translate("report", "PDF files (*.pdf)"));
    dialog.setObjectName(objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // The callers ask before replacing a file, together with their other checks, so the question comes once.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace report
