#include "report/ReportStatusWindow.h"

#include <QCoreApplication>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace report {

ReportStatusWindow::ReportStatusWindow(const QString& reportName, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Report Status"));
    setObjectName(QStringLiteral("ReportStatus"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowCloseButtonHint);
    setModal(false);

    auto* name = new QLabel(QCoreApplication::translate("report", "Report: %1").arg(reportName), this);
    name->setObjectName(QStringLiteral("ReportNameLabel"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    m_status = new QLabel(QCoreApplication::translate("report", "Starting…"), this);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setMinimumWidth(280);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("StatusProgress"));
    m_progress->setRange(0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
}

void ReportStatusWindow::showStep(const QString& text) {
    m_status->setText(text);
    m_progress->setRange(0, 0);
    refresh();
}

void ReportStatusWindow::showPage(const QString& action, int position, int total) {
    m_status->setText(QCoreApplication::translate("report", "%1 page %2 of %3").arg(action).arg(position).arg(total));
    m_progress->setRange(0, total);
    m_progress->setValue(position);
    refresh();
}

void ReportStatusWindow::refresh() {
    if (!isVisible())
        show();
    // Repaint now; user input waits until the run is over, so nothing can start a second run meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace report
