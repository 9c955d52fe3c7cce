#pragma once

#include "month/AppointmentIndex.h"

#include <QDate>
#include <QDialog>
#include <QTimer>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class SearchResultsModel;
class TForm1;

// The search window: finds the slots whose text holds what the user types (a name, a phone number, any
// text), upcoming ones first, and opens the day of a found slot through the month window, as a click on its
// day number would.
//
// The book is read into memory when the window opens and again after each day it opened closes, so that
// typing only scans memory. A search runs once the keystrokes waiting in the queue are handled, so the
// last keystroke wins and typing never waits for a search it has already made obsolete.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    // The most rows shown at once; a line under them says how many more matched.
    static constexpr int ShownLimit = 500;

    // Builds the window over `month`, whose day-opening path and today it uses, and loads the book. A
    // failure to read the book is shown by the error report; the window then opens empty.
    explicit TForm3(TForm1& month);
    ~TForm3() override;

    // Searches for the search box's text now and shows what it found; the first row becomes the current one.
    void runSearch();

    // Opens the day of the current row in the day window through the month window (which moves to that
    // day's month) and, once the day window closes, reads the book again and repeats the search, so the
    // rows show what was saved. Nothing when no row is current.
    void openCurrentResult();

    // Reads the book again and repeats the search, keeping the row of that day and slot current when it
    // still matches.
    void reloadBook(QDate keepDate = {}, int keepSlot = -1);

    // What the search scans: the month window's picture of the book (empty when it could not be read).
    const AppointmentIndex& index() const { return m_index ? *m_index : m_nothing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void showFound(const AppointmentIndex::Found& found);
    void makeCurrent(int row);

    TForm1& m_month;
    QDate m_today;
    const AppointmentIndex* m_index = nullptr;
    AppointmentIndex m_nothing;
    QTimer m_searchTimer;

    QLineEdit* m_searchBox = nullptr;    // Edit1
    QTreeView* m_results = nullptr;      // ListView1
    QLabel* m_summary = nullptr;         // Label2
    QPushButton* m_openButton = nullptr; // Button1
    SearchResultsModel* m_model = nullptr;
};
