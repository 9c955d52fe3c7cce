#pragma once

#include <QDate>
#include <QDialog>
#include <QPalette>
#include <QString>

#include "month/AppointmentIndex.h"
#include "month/SearchAhead.h"
#include "platform/Files.h"

#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <set>

class ClickableLabel;
class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace store {
class Command;
class Connection;
class Query;
} // namespace store

// The month window: the calendar of one month with its month and year choosers and the today button,
// the window in which the user works. Closing it ends its modal run (and, in the program, the program).
//
// Its calendar values are kept under the names the rest of the month view uses (TodayYear, DaysInMonth, …);
// the chosen date and the data's place, shared with the search, live in sharedState().
class TForm1 : public QDialog {
    Q_OBJECT

public:
    // Builds the window and runs FormCreate. `today` is the date the window takes as today's, read once
    // here; the program passes the clock's date, tests a fixed one. A failure during creation is shown
    // by the error report and creation goes on.
    explicit TForm1(QWidget* parent = nullptr, QDate today = QDate::currentDate());
    ~TForm1() override;

    // Draws the characters of this window's texts in each of its fonts once, into a picture nobody sees, so that
    // the window's first frame finds the fonts resolved and their glyphs drawn. The start-up does it on the window
    // thread while the splash is up.
    static void prepareFonts();

    // Selects today's month and year in the choosers (without firing their change handlers), then
    // BuildMonth once.
    void ShowToday();

    // Selects `month` of `year` in the choosers (without firing their change handlers), then BuildMonth
    // once: the month the search window moves to before it opens a found day.
    void ShowMonth(int year, int month);

    // Opens the search window (Ctrl+F, or the grid's context menu) and runs it until it closes.
    void OpenSearch();

    // The search's picture of the book, kept for the run: made ahead on a thread of its own a little after the
    // window first shows (a book file), else read whole when the search first needs it, and again
    // when the book may have changed in any way (a server's link came back, another program wrote the data
    // file); otherwise kept current a day at a time, for each day a day window closed on and
    // each day another desk saved. Throws EngineError when the book cannot be read.
    const AppointmentIndex& searchIndex();
    // Whether a picture made ahead is there for the search to take (the tests wait for it).
    bool searchPictureMadeAhead() const { return m_searchAhead && m_searchAhead->finished(); }

    // Opens the week window (Ctrl+W, or the grid's context menu) on the week of weekToOpen() and runs it until
    // it closes.
    void OpenWeek();
    // Opens the week window on the week that holds `day` and runs it until it closes.
    void OpenWeekOf(const QDate& day);

    // The day whose week the week window opens on: the day that has the keyboard, else today when the shown
    // month holds it, else the 1st of the shown month.
    QDate weekToOpen() const;

    // Rebuilds the grid for the chosen month and year and then runs ScanMonthOccupancy. Throws, before
    // changing any label, when the year chooser holds no year.
    void BuildMonth();

    // FirstWeekday := the weekday (1 Monday … 7 Sunday) of the 1st of SelectedMonth in SelectedYear.
    void ComputeFirstWeekday();

    // LeapYearFlag := whether `year` is a leap year.
    void CheckLeapYear(quint16 year);

    // Writes under each day of the shown month how many of its time slots are filled. It runs last in
    // BuildMonth, once the captions, visibility and today mark are in place.
    void ScanMonthOccupancy();

    // Empties the count label of the cell that shows `day`; nothing when no cell shows it.
    void ClearDayMarker(int day);
    // Writes `count` into the count label of the cell that shows `day`; nothing when no cell shows it.
    void ShowDayMarker(int day, int count);

    // Opens the day SelectedDay of the shown month: makes sure its record exists, shows it in a new day
    // window and, once that closes, scans the month again so that its counts show what was saved. A day closed
    // by asking for its week (Ctrl+W in the day) then shows that week: in a new week window, or in the week
    // window the day was opened from, which is shown again on its close.
    void OpenDay();

    // Opens `day` as the search and the week windows do: the month moves to the day's month, so that its counts
    // are the ones the day changes, then the day opens exactly as a click on its number opens it.
    void OpenDayOf(const QDate& day);
    // The same from a week window: a day closed there by asking for its week goes back to that window.
    void OpenDayFromWeek(const QDate& day);

    // The window's own connection, command and query, which the scan and OpenDay use.
    store::Connection& ADOConnection1() const { return *m_connection; }
    store::Command& ADOCommand1() const { return *m_command; }
    store::Query& ADOQuery1() const { return *m_query; }

    // Today's date as captured by FormCreate.
    quint16 TodayYear = 0;
    quint16 TodayMonth = 0;
    quint16 TodayDay = 0;
    // The year chooser's selected text, "2008" … "2035", or empty when none is selected.
    QString YearText;
    bool LeapYearFlag = false;
    // 28 to 31 once a month is built.
    quint16 DaysInMonth = 0;
    // The weekday of the 1st, which is also the number of the cell that shows day 1.
    quint16 FirstWeekday = 0;
    // The day being placed while BuildMonth writes the day numbers; DaysInMonth when it is done.
    quint16 DayCounter = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    // Every way of closing ends here; FormClose runs first.
    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void ComboBox1Change();
    void ComboBox2Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void DayLabelClicked(QLabel* label);

    // The keyboard over the days: the day whose number has the focus (0 when none has), moving the focus by a
    // number of days (into the month before or after when it leaves the shown one, never outside the years
    // offered), and giving it to a day of the shown month.
    int focusedDay() const;
    void moveDayFocus(int days);
    void focusDay(int day);

    void watchBook();
    // Reads the days that changed since into the search's picture, when it has one.
    void refreshSearchDays();
    void buildLayout();
    void buildShapes();
    void buildHeader();
    void buildChoosersAndButtons();
    void buildCells();
    void resetCells();
    void placeDays();
    // Gives each day number its colour: today's green, the weekend's grey, else black.
    void paintNumbers();
    void applyCellVisibility();
    enum class NumberColour { Unknown, Weekday, Weekend, Today };
    void setNumberColour(int cell, NumberColour colour);
    static void clearText(QLabel* label);

    // What a scan found: the day each cell's caption shows (0 for none; a day shown twice only in its first cell),
    // and the count of each day up to the last one read.
    struct DayCounts {
        std::array<int, 37> dayOfCell{};
        std::array<int, 32> count{};
        int scanned = 0;
    };
    DayCounts countLabelsOfDays() const;
    // Writes each count label once: a day read, its count or nothing; any other, nothing after a rebuild, else
    // what it showed.
    void showCounts(const DayCounts& counts);

    ClickableLabel* dayLabel(int cell) const { return m_dayLabels.at(static_cast<std::size_t>(cell - 1)); }

    // The count label under the day-number label whose caption is the day's number, or null.
    QLabel* countLabelOfDay(int day) const;

    // Declared in this order so that the command and the query go before the connection they run on.
    std::unique_ptr<store::Connection> m_connection;
    std::unique_ptr<store::Command> m_command;
    std::unique_ptr<store::Query> m_query;

    QDate m_today;
    // The search's picture (one for the run, so that a search window may hold on to it), whether it is to be
    // read whole (before the search first opens, after a server's link came back), the data file as it stood
    // when the picture was last made current (a file book; nothing for a server's), and the days to read into
    // it again.
    AppointmentIndex m_searchIndex;
    bool m_searchIndexWhole = false;
    std::optional<platform::FileVersion> m_searchIndexFile;
    std::set<QDate> m_searchDaysChanged;
    QTimer* m_searchDayTimer = nullptr;
    // The picture of a book file made ahead on a thread of its own, from a while after the window first shows
    // until the search first opens (a server book's is read when the search opens).
    std::unique_ptr<SearchAhead> m_searchAhead;
    static constexpr int SearchAheadDelayMilliseconds = 2000;
    void startSearchAhead();
    // Takes the picture made ahead, when there is one that still shows the book; whether it did.
    bool adoptSearchAhead(QDate today);
    // Coalesces the book's change notices into one scan.
    QTimer* m_rescanTimer = nullptr;
    static constexpr int RescanDelayMilliseconds = 30;
    bool m_placedOnScreen = false;

    QComboBox* m_monthChooser = nullptr; // ComboBox1
    QComboBox* m_yearChooser = nullptr;  // ComboBox2
    QPushButton* m_exitButton = nullptr; // Button1
    QAction* m_searchAction = nullptr;   // Ctrl+F and the context menu's entry
    QAction* m_weekAction = nullptr;     // Ctrl+W and the context menu's entry
    bool m_weekOpen = false;             // the open day came from a week window, which its week returns to
    QAction* m_importAction = nullptr;   // the context menu's import of a calendar, where it is built
    std::array<ClickableLabel*, 37> m_dayLabels{};
    std::array<QLabel*, 37> m_countLabels{};
    // Which cells a rebuild leaves showing (a day and its count label), applied to the labels in one go at its
    // end: a cell that stays visible from one month to the next is then not hidden and shown again on the way
    // (each costs a round of window-system events), and the window is never painted in between anyway.
    std::bitset<37> m_dayShown;
    // The colour each day number was last given (Unknown: as built, not yet compared), and whether the counts are
    // to be emptied by the scan that ends the rebuild.
    std::array<NumberColour, 37> m_numberColours{};
    bool m_clearCounts = false;

    // Day-number colours, made once so that a rebuild only swaps palettes.
    QPalette m_weekdayNumberPalette;
    QPalette m_weekendNumberPalette;
    QPalette m_todayNumberPalette;
};
