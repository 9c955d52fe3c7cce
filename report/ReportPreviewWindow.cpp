#include "report/ReportPreviewWindow.h"

#include "report/PdfFileChooser.h"

#include "report/LaidOutReport.h"
#include "report/OutputOptionsDialog.h"
#include "report/OutputTarget.h"
#include "report/PageSelection.h"
#include "report/PreviewPageView.h"
#include "report/ReportError.h"
#include "report/ReportOutput.h"
#include "report/ReportStatusWindow.h"
#include "report/UserMessages.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace report {

namespace {

constexpr int FitPage = -1;
constexpr int FitWidth = -2;

QPushButton* toolButton(const QString& text, const char* name, const QKeySequence& key, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    if (!key.isEmpty())
        button->setShortcut(key);
    return button;
}

} // namespace

ReportPreviewWindow::ReportPreviewWindow(const LaidOutReport& report, const PagePainter& painter, QList<int> pages,
                                         QWidget* parent)
    : QDialog(parent), m_report(report), m_painter(painter), m_pages(std::move(pages)) {
    setWindowTitle(QStringLiteral("Report Preview"));
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    if (m_pages.isEmpty())
        m_pages.append(0);

    m_first = toolButton(QCoreApplication::translate("report", "|◀ First"), "FirstButton", QKeySequence(Qt::CTRL | Qt::Key_Home), this);
    m_previous = toolButton(QCoreApplication::translate("report", "◀ Previous"), "PreviousButton", QKeySequence(Qt::Key_PageUp), this);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("PageLabel"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setMinimumWidth(110);
    m_next = toolButton(QCoreApplication::translate("report", "Next ▶"), "NextButton", QKeySequence(Qt::Key_PageDown), this);
    m_last = toolButton(QCoreApplication::translate("report", "Last ▶|"), "LastButton", QKeySequence(Qt::CTRL | Qt::Key_End), this);
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("ZoomCombo"));
    m_zoom->setFocusPolicy(Qt::NoFocus);
    m_zoom->addItem(QCoreApplication::translate("report", "Fit page"), FitPage);
    m_zoom->addItem(QCoreApplication::translate("report", "Fit width"), FitWidth);
    for (int percent : {50, 75, 100, 125, 150, 200, 300, 400})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    auto* printButton = toolButton(QCoreApplication::translate("report", "Print…"), "PrintButton", QKeySequence::Print, this);
    auto* saveButton = toolButton(QCoreApplication::translate("report", "Save as PDF…"), "SaveButton", QKeySequence::Save, this);
    auto* closeButton = toolButton(QCoreApplication::translate("report", "Close"), "CloseButton", QKeySequence(), this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_first);
    bar->addWidget(m_previous);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addWidget(m_last);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QCoreApplication::translate("report", "Zoom:"), this));
    bar->addWidget(m_zoom);
    bar->addStretch(1);
    bar->addWidget(printButton);
    bar->addWidget(saveButton);
    bar->addWidget(closeButton);

    m_view = new PreviewPageView(painter, report.page, this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("PageScroll"));
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignCenter);
    // The desk around a page that is smaller than the window matches the page view's own.
    QPalette desk = m_scroll->palette();
    desk.setColor(QPalette::Window, PreviewPageView::DeskColour);
    m_scroll->setPalette(desk);
    m_scroll->setBackgroundRole(QPalette::Window);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QPushButton::clicked, this, [this] { showPosition(0); });
    connect(m_previous, &QPushButton::clicked, this, [this] { showPosition(m_position - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPosition(m_position + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { showPosition(pageCount() - 1); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this, &ReportPreviewWindow::applyZoom);
    connect(printButton, &QPushButton::clicked, this, &ReportPreviewWindow::print);
    connect(saveButton, &QPushButton::clicked, this, &ReportPreviewWindow::saveAsPdf);
    connect(closeButton, &QPushButton::clicked, this, &ReportPreviewWindow::accept);

    // A window about as tall as the screen allows, a page's width and a half wide.
    QSize size(860, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
    showPosition(0);
    applyZoom();
}

void ReportPreviewWindow::showPosition(int position) {
    m_position = std::clamp(position, 0, pageCount() - 1);
    m_view->setPageIndex(m_pages[m_position]);
    m_pageLabel->setText(QCoreApplication::translate("report", "Page %1 of %2").arg(m_position + 1).arg(pageCount()));
    m_first->setEnabled(m_position > 0);
    m_previous->setEnabled(m_position > 0);
    m_next->setEnabled(m_position < pageCount() - 1);
    m_last->setEnabled(m_position < pageCount() - 1);
}

void ReportPreviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    applyZoom();
}

void ReportPreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applyZoom();
}

void ReportPreviewWindow::applyZoom() {
    const int choice = m_zoom->currentData().toInt();
    const double pageWidth = m_report.page.pageWidth();
    const double pageHeight = m_report.page.pageHeight();
    const QSize room =
        m_scroll->maximumViewportSize() - QSize(2 * PreviewPageView::Margin, 2 * PreviewPageView::Margin);
    double scale = 1.0;
    if (choice == FitPage) {
        scale = std::min(room.width() / pageWidth, room.height() / pageHeight);
    } else if (choice == FitWidth) {
        const int scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
        scale = (room.width() - scrollBar) / pageWidth;
    } else {
        scale = logicalDpiX() / 25.4 * choice / 100.0;
    }
    m_view->setPixelsPerMm(std::max(0.2, scale));
}

void ReportPreviewWindow::print() {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return warn(QString::fromLatin1(output::NoPrinterMessage));
    OutputOptionsDialog dialog(this, OutputOptionsDialog::Mode::PrinterOnly, pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        QList<int> pages;
        for (int position : selectPages(pageCount(), dialog.options()))
            pages.append(m_pages[position]);
        ReportStatusWindow status(m_report.name, this);
        output::print(m_report, m_painter, pages, dialog.options().printerName, [&status](int position, int total) {
            status.showPage(QCoreApplication::translate("report", "Printing"), position, total);
        });
    } catch (const ReportError& error) {
        warn(error.text());
    }
}

void ReportPreviewWindow::saveAsPdf() {
    const QString path = choosePdfFile(this, QStringLiteral("SaveDialog"), QString());
    if (path.isEmpty())
        return;
    if (const QString refusal = output::whyNotWritable(path, m_protectedFiles); !refusal.isEmpty())
        return warn(refusal);
    if (output::somethingAt(path) && !UserMessages::ask(this, windowTitle(), output::replaceQuestion(path)))
        return;
    try {
        ReportStatusWindow status(m_report.name, this);
        output::writePdf(m_report, m_painter, m_pages, path, m_protectedFiles, [&status](int position, int total) {
            status.showPage(QCoreApplication::translate("report", "Saving"), position, total);
        });
    } catch (const ReportError& error) {
        warn(error.text());
    }
}

void ReportPreviewWindow::warn(const QString& text) {
    UserMessages::warn(this, windowTitle(), text);
}

} // namespace report
