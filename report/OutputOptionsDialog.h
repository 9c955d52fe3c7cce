#pragma once

#include "report/OutputOptions.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace report {

// The "Output Options" window: where a report goes (preview on screen, preselected; a printer; a PDF file),
// how many copies and which pages. OK checks the choices and stays open, saying why, when they cannot be
// carried out (no printer installed, no file named, a file the program works from, a reversed page
// range); a PDF file that already exists is replaced only when the user answers Yes.
// Controls by objectName: PreviewRadio, PrinterRadio, PrinterCombo, NoPrinterLabel, FileRadio, FileEdit,
// BrowseButton, CopiesSpin, AllPagesRadio, RangeRadio, FromSpin, ToSpin, OkButton, CancelButton.
class OutputOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // PrinterOnly offers the printer alone (printing from the preview).
    enum class Mode { AnyDestination, PrinterOnly };

    // pageCount, when known (> 0), bounds the page range and is shown.
    explicit OutputOptionsDialog(QWidget* parent = nullptr, Mode mode = Mode::AnyDestination, int pageCount = 0);

    OutputOptions options() const;
    void setOptions(const OutputOptions& options);

    // Files the PDF must never replace (see output::whyNotWritable()).
    void setProtectedFiles(const QStringList& paths) { m_protectedFiles = paths; }

    void accept() override;

private:
    void browse();
    void updateEnabled();
    void complain(const QString& text);

    QRadioButton* m_preview = nullptr;
    QRadioButton* m_printer = nullptr;
    QRadioButton* m_file = nullptr;
    QComboBox* m_printers = nullptr;
    QLabel* m_noPrinter = nullptr;
    QLineEdit* m_path = nullptr;
    QSpinBox* m_copies = nullptr;
    QRadioButton* m_allPages = nullptr;
    QRadioButton* m_range = nullptr;
    QSpinBox* m_from = nullptr;
    QSpinBox* m_to = nullptr;
    QStringList m_protectedFiles;
    // The existing file the user agreed to replace.
    QString m_replaceConfirmed;
};

} // namespace report
