#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace report {

class PagePainter;
class PreviewPageView;
struct LaidOutReport;

// The "Report Preview" window: the report page by page (first, previous, next, last), zoomed to fit the
// page, fit its width, or 50 to 400 %; it prints the shown pages (choosing printer, copies and range) and
// saves them as PDF (asking before it replaces a file, refusing the files the program works from).
// Problems (no printer, a file that cannot be written) are said in a message box and the preview stays
// open.
// Controls by objectName: FirstButton, PreviousButton, PageLabel, NextButton, LastButton, ZoomCombo,
// PrintButton, SaveButton, CloseButton, PageScroll, PageView.
class ReportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    // pages: the report pages (indices from 0) the preview shows, in order; never empty.
    ReportPreviewWindow(const LaidOutReport& report, const PagePainter& painter, QList<int> pages,
                        QWidget* parent = nullptr);

    // Files "Save as PDF" must never replace (see output::whyNotWritable()).
    void setProtectedFiles(const QStringList& paths) { m_protectedFiles = paths; }

    // The position of the shown page among the preview's pages, from 0.
    int currentPosition() const { return m_position; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    void showPosition(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyZoom();
    void print();
    void saveAsPdf();
    void warn(const QString& text);

    const LaidOutReport& m_report;
    const PagePainter& m_painter;
    QList<int> m_pages;
    QStringList m_protectedFiles;
    int m_position = 0;

    QPushButton* m_first = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_last = nullptr;
    QLabel* m_pageLabel = nullptr;
    QComboBox* m_zoom = nullptr;
    QScrollArea* m_scroll = nullptr;
    PreviewPageView* m_view = nullptr;
};

} // namespace report
