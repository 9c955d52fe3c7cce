#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace report {

// The "Report Status" window: shown while a report is being produced, saying which page is being drawn.
// It is not modal; each update lets the window repaint before the work goes on.
// Controls by objectName: ReportNameLabel, StatusLabel, StatusProgress.
class ReportStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportStatusWindow(const QString& reportName, QWidget* parent = nullptr);

    // Shows a line of status (e.g. "Preparing the preview") with no page count.
    void showStep(const QString& text);
    // Shows that page `position` of `total` is being drawn, with what it is drawn for.
    void showPage(const QString& action, int position, int total);

private:
    void refresh();

    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
};

} // namespace report
