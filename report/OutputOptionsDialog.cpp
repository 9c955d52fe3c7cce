#include "report/OutputOptionsDialog.h"

#include "report/OutputTarget.h"
#include "report/PdfFileChooser.h"
#include "report/ReportOutput.h"
#include "report/UserMessages.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report {

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

OutputOptionsDialog::OutputOptionsDialog(QWidget* parent, Mode mode, int pageCount) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Output Options"));
    setObjectName(QStringLiteral("OutputOptions"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* destination = new QGroupBox(QCoreApplication::translate("report", "Send the report to"), this);
    auto* grid = new QGridLayout(destination);
    m_preview = named(new QRadioButton(QCoreApplication::translate("report", "&Preview on screen"), destination), "PreviewRadio");
    m_printer = named(new QRadioButton(QCoreApplication::translate("report", "Pri&nter"), destination), "PrinterRadio");
    m_file = named(new QRadioButton(QCoreApplication::translate("report", "F&ile (PDF)"), destination), "FileRadio");
    m_printers = named(new QComboBox(destination), "PrinterCombo");
    m_noPrinter = named(new QLabel(QCoreApplication::translate("report", output::NoPrinterMessage), destination), "NoPrinterLabel");
    m_noPrinter->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_path = named(new QLineEdit(destination), "FileEdit");
    m_path->setPlaceholderText(QStringLiteral("report.pdf"));
    auto* browse = named(new QPushButton(QCoreApplication::translate("report", "&Browse…"), destination), "BrowseButton");
    browse->setAutoDefault(false);
    grid->addWidget(m_preview, 0, 0, 1, 3);
    grid->addWidget(m_printer, 1, 0);
    grid->addWidget(m_printers, 1, 1, 1, 2);
    grid->addWidget(m_noPrinter, 2, 1, 1, 2);
    grid->addWidget(m_file, 3, 0);
    grid->addWidget(m_path, 3, 1);
    grid->addWidget(browse, 3, 2);
    grid->setColumnStretch(1, 1);

    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    for (const QPrinterInfo& printer : QPrinterInfo::availablePrinters()) {
        m_printers->addItem(printer.description().isEmpty() ? printer.printerName() : printer.description(),
                            printer.printerName());
        if (printer.printerName() == defaultPrinter.printerName())
            m_printers->setCurrentIndex(m_printers->count() - 1);
    }
    m_noPrinter->setVisible(m_printers->count() == 0);

    auto* pagesBox = new QGroupBox(QCoreApplication::translate("report", "Pages"), this);
    auto* pagesGrid = new QGridLayout(pagesBox);
    m_copies = named(new QSpinBox(pagesBox), "CopiesSpin");
    m_copies->setRange(1, 99);
    m_allPages = named(new QRadioButton(QCoreApplication::translate("report", "&All pages"), pagesBox), "AllPagesRadio");
    m_range = named(new QRadioButton(QCoreApplication::translate("report", "Pages &from"), pagesBox), "RangeRadio");
    const int last = pageCount > 0 ? pageCount : 9999;
    m_from = named(new QSpinBox(pagesBox), "FromSpin");
    m_from->setRange(1, last);
    m_to = named(new QSpinBox(pagesBox), "ToSpin");
    m_to->setRange(1, last);
    m_to->setValue(last);
    auto* copiesLabel = new QLabel(QCoreApplication::translate("report", "&Copies:"), pagesBox);
    copiesLabel->setBuddy(m_copies);
    pagesGrid->addWidget(copiesLabel, 0, 0);
    pagesGrid->addWidget(m_copies, 0, 1, Qt::AlignLeft);
    pagesGrid->addWidget(m_allPages, 1, 0, 1, 2);
    auto* range = new QHBoxLayout;
    range->addWidget(m_from);
    range->addWidget(new QLabel(QCoreApplication::translate("report", "to"), pagesBox));
    range->addWidget(m_to);
    range->addStretch(1);
    pagesGrid->addWidget(m_range, 2, 0);
    pagesGrid->addLayout(range, 2, 1);
    if (pageCount > 0)
        pagesGrid->addWidget(new QLabel(pageCount == 1 ? QCoreApplication::translate("report", "The report has 1 page.")
                                                       : QCoreApplication::translate("report", "The report has %1 pages.").arg(pageCount),
                                        pagesBox),
                             3, 0, 1, 2);
    pagesGrid->setColumnStretch(1, 1);
    m_allPages->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addWidget(pagesBox);
    layout->addWidget(buttons);

    if (mode == Mode::PrinterOnly) {
        m_preview->hide();
        m_file->hide();
        m_path->hide();
        browse->hide();
        m_printer->setChecked(true);
        destination->setTitle(QCoreApplication::translate("report", "Print on"));
    } else {
        m_preview->setChecked(true);
    }

    connect(buttons, &QDialogButtonBox::accepted, this, &OutputOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OutputOptionsDialog::reject);
    connect(browse, &QPushButton::clicked, this, &OutputOptionsDialog::browse);
    for (QRadioButton* radio : {m_preview, m_printer, m_file, m_allPages, m_range})
        connect(radio, &QRadioButton::toggled, this, &OutputOptionsDialog::updateEnabled);
    // Typing a path or picking a printer chooses that destination.
    connect(m_path, &QLineEdit::textEdited, this, [this] { m_file->setChecked(true); });
    connect(m_from, &QSpinBox::valueChanged, this, [this] { m_range->setChecked(true); });
    connect(m_to, &QSpinBox::valueChanged, this, [this] { m_range->setChecked(true); });
    updateEnabled();
}

OutputOptions OutputOptionsDialog::options() const {
    OutputOptions options;
    options.destination = m_printer->isChecked() ? OutputOptions::Destination::Printer
                          : m_file->isChecked()  ? OutputOptions::Destination::File
                                                 : OutputOptions::Destination::Preview;
    options.printerName = m_printers->currentData().toString();
    options.filePath = m_path->text().trimmed();
    options.replaceExisting = !options.filePath.isEmpty() && options.filePath == m_replaceConfirmed;
    options.copies = m_copies->value();
    if (m_range->isChecked()) {
        options.fromPage = m_from->value();
        options.toPage = m_to->value();
    }
    return options;
}

void OutputOptionsDialog::setOptions(const OutputOptions& options) {
    switch (options.destination) {
    case OutputOptions::Destination::Preview:
        m_preview->setChecked(true);
        break;
    case OutputOptions::Destination::Printer:
        m_printer->setChecked(true);
        break;
    case OutputOptions::Destination::File:
        m_file->setChecked(true);
        break;
    }
    const int printer = m_printers->findData(options.printerName);
    if (printer >= 0)
        m_printers->setCurrentIndex(printer);
    m_path->setText(options.filePath);
    m_copies->setValue(options.copies);
    if (options.allPages()) {
        m_allPages->setChecked(true);
    } else {
        m_from->setValue(options.fromPage);
        m_to->setValue(options.toPage);
        m_range->setChecked(true);
    }
}

void OutputOptionsDialog::accept() {
    if (m_printer->isChecked() && m_printers->count() == 0)
        return complain(QCoreApplication::translate("report", output::NoPrinterMessage));
    if (m_file->isChecked()) {
        const QString path = m_path->text().trimmed();
        if (path.isEmpty())
            return complain(QCoreApplication::translate("report", "Type or choose the PDF file to write the report to."));
        if (QFileInfo(path).isDir())
            return complain(QCoreApplication::translate("report", "\"%1\" is a folder; name a file in it.").arg(path));
        if (const QString refusal = output::whyNotWritable(path, m_protectedFiles); !refusal.isEmpty())
            return complain(refusal);
    }
    if (m_range->isChecked() && m_from->value() > m_to->value())
        return complain(QCoreApplication::translate("report", "The first page of the range comes after its last page."));
    // Asked last, so that Yes is the final word before the report is written.
    if (m_file->isChecked()) {
        const QString path = m_path->text().trimmed();
        if (output::somethingAt(path) && path != m_replaceConfirmed) {
            if (!UserMessages::ask(this, windowTitle(), output::replaceQuestion(path)))
                return;
            m_replaceConfirmed = path;
        }
    }
    QDialog::accept();
}

void OutputOptionsDialog::browse() {
    const QString path = choosePdfFile(this, QStringLiteral("BrowseDialog"), QFileInfo(m_path->text()).absolutePath());
    if (path.isEmpty())
        return;
    m_path->setText(path);
    m_file->setChecked(true);
}

void OutputOptionsDialog::updateEnabled() {
    m_printers->setEnabled(m_printer->isChecked() && m_printers->count() > 0);
    m_copies->setEnabled(!m_preview->isChecked());
}

void OutputOptionsDialog::complain(const QString& text) {
    UserMessages::warn(this, windowTitle(), text);
}

} // namespace report
