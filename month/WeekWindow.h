#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

class QLabel;
class QModelIndex;
class QPushButton;
class QTableWidget;
class QTimer;
class TForm1;

namespace store {
class Connection;
} // namespace store

// The week window: Monday to Sunday of one week, seven day columns of the 28 half-hour slots, each cell
// showing the start of its slot's text (the whole text as its tool tip). A cell opens its day through the
// month window, as a click on the day's number would; the week is read again when the day closes and when the
// book changes under it (another desk's save on a server book).
//
// The whole week comes from one read of the book, whichever engine holds it.
class WeekWindow : public QDialog {
    Q_OBJECT
public:
    // Builds the window over `month`, whose day-opening path and today it uses, on the week that holds `day`
    // (brought into the calendar's years), and reads it. A failure to read is shown by the error report; the
    // window then shows the week empty.
    WeekWindow(TForm1& month, QDate day);
    ~WeekWindow() override;

    // The Monday of the shown week.
    QDate monday() const { return m_monday; }

    // Shows the week that holds `day`, brought into the calendar's years, and reads it.
    void showWeek(QDate day);
    void showPreviousWeek();
    void showNextWeek();
    // The week that holds today, with today's first slot current.
    void showThisWeek();

    // Reads the shown week again.
    void reloadWeek();

    // Opens the day of the current cell through the month window (which moves to that day's month) and, once
    // the day window closes, reads the week again. Nothing when no cell is current or its day lies outside
    // the calendar's years.
    void openCurrentDay();

    // Prints the shown week on the week sheet (EBDOMADA.rav beside the book), through the report engine's
    // windows; a failure is shown by the error report.
    void printWeek();
    // Asks for a range of days (the shown week to begin with) and prints them on the day sheet, one each.
    void printDays();

    // The date a column (0 Monday … 6 Sunday) shows.
    QDate dateOfColumn(int column) const { return m_monday.addDays(column); }

    // The first and the last Monday a week may start on: the weeks that hold the calendar's first and last day.
    static QDate firstMonday();
    static QDate lastMonday();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void buildShortcuts();
    void watchBook();
    void showHeads();
    void showSlots();
    bool inCalendar(QDate day) const;
    void placeCurrent(int row, int column);
    void openDayOf(const QModelIndex& cell);

    TForm1& m_month;
    QDate m_today;
    QDate m_monday;
    std::unique_ptr<store::Connection> m_connection;
    // Coalesces the book's change notices into one read.
    QTimer* m_reloadTimer = nullptr;
    static constexpr int ReloadDelayMilliseconds = 30;

    QLabel* m_caption = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_previousButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_todayButton = nullptr;
};
