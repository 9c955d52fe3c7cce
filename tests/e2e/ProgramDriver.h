#pragma once

#include <QDate>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

class QProcess;
class XSession;

// A person at the screen of the real program: knows its windows by their titles and its controls by their
// places in the client areas, and works them with the mouse and keyboard of an XSession. It only looks at
// the screen and clicks; it never reaches into the program.
class ProgramDriver {
public:
    static const QString NoticeTitle;
    static const QString MonthTitle;
    static const QString DayTitle;
    static const QString WeekTitle;
    static const QString OutputOptionsTitle;
    static const QString ReportStatusTitle;
    static const QString PreviewTitle;
    static const QString AboutTitle;

    // What the start-up showed between the notice and the month window.
    struct Startup {
        qint64 startToNoticeMilliseconds = -1; // from the program's start to the notice's coming
        QImage noticeScreen;             // the screen while the notice waited for its answer
        QRect noticeGeometry;
        bool splashBeforeAnswer = false; // a splash-sized window showed while the notice waited
        QString splash;                  // the splash window's id, empty when none was seen
        QRect splashGeometry;
        QString splashMotifHints;              // _MOTIF_WM_HINTS as xprop prints it
        QString splashState;                   // _NET_WM_STATE as xprop prints it
        QImage splashScreen;                   // the screen while the splash showed
        qint64 splashShownMilliseconds = -1;   // from first sight of the splash to its going
        qint64 answerToMonthMilliseconds = -1; // from the notice's going to the month window's coming
    };

    enum class Chooser { Month, Year };
    enum class PostButton { Enabled, Disabled, Unclear };

    ProgramDriver(XSession& session, QString dataFolder);

    // The program under test: the one built beside the tests, or the one that ORVELLA_E2E_PROGRAM names (an
    // installed copy, another build).
    static QString programPath();

    // Starts the program in the data folder (extraPath first on PATH), answers the notice with Enter and
    // waits for the month window; false when some step did not happen in time. `seen` collects the splash.
    bool start(const QString& extraPath = {}, Startup* seen = nullptr);
    QString monthWindow() const { return m_month; }
    // The process of the program this person started; its id for telling its windows from another program's.
    qint64 processId() const;
    // Where this person's windows go on a screen shared with another program: the month window and each day
    // window are moved there with their top-left corners as they open. Unset, they stay where they opened.
    void setPlace(const QPoint& topLeft) { m_place = topLeft; }
    // The month window's client rectangle `client` on the screen.
    QRect onMonth(const QRect& client) const { return client.translated(m_monthOrigin); }
    QPoint onMonth(const QPoint& client) const { return client + m_monthOrigin; }

    // Gives the chooser the keyboard focus the way a person does (a click, which opens its list, then Esc to
    // close the list again) and presses Down `steps` times, or Up for a negative count.
    void stepChooser(Chooser chooser, int steps);
    // Opens the chooser's list with a click; the list window's id, or empty when none opened.
    QString openList(Chooser chooser);
    // The row of the open list that shows the chosen item (its highlight), counted from the list's top
    // visible row; -1 when no highlighted row is seen.
    int highlightedRow(const QString& list);
    // Clicks a row of the open list, counted from its top visible row.
    void clickListRow(const QString& list, int row);
    // Waits until the month window handles input again (its year list opens and closes), so that whatever it
    // had queued, such as the scan after a day window closed, has run.
    bool syncWithMonthWindow();
    // Whether the screen shows the whole of `month` in the grid: every day number in its cell and every other
    // day-number cell empty. On failure `why` says which cell is wrong.
    bool gridShowsMonth(const QImage& screen, const QDate& month, QString* why) const;
    // Waits until the grid shows `month`.
    bool waitForGrid(const QDate& month, QString* why, int milliseconds = 5000);

    // Clicks the day's number in the month grid and waits for the day window; false when it didn't open.
    bool openDay(const QDate& day);
    QString dayWindow() const { return m_day; }
    // Waits for a day window that is not one of `known` (opened some other way than openDay, from the week
    // window say) and works with it from then on; false when none came.
    bool adoptDayWindow(const QStringList& known);
    // Screen rectangle of slot 1 … 28's edit box in the open day window.
    QRect slotRect(int slot) const;
    // Clicks into the slot's edit box and types `text`.
    void typeIntoSlot(int slot, const QString& text, int delayMilliseconds = 30);
    // Selects the whole slot, copies it and reads the clipboard until it holds `expected`; the last text read
    // goes into `seen`. The slot's text is unchanged by this.
    bool slotShows(int slot, const QString& expected, QString* seen);
    // Screen rectangle of the post button.
    QRect postButtonRect() const;
    void clickPostButton();
    // Enabled when its check mark is drawn black, Disabled when grey.
    PostButton postButton(const QImage& screen) const;
    bool waitForPostButton(PostButton state, int milliseconds = 5000);
    // Closes the day window with Esc or with its exit button and waits until it has gone. With text not saved
    // the program asks first; `answer` says how a person answers: Yes by Enter (the default), No by its
    // accelerator, Cancel by Esc, after which the day must still be open.
    enum class Unsaved { NotAsked, Yes, No, Cancel };
    bool closeDayWithEscape(Unsaved answer = Unsaved::NotAsked);
    bool closeDayWithExitButton(Unsaved answer = Unsaved::NotAsked);
    // Answers the question about text not saved once it shows (within five seconds); false when none came.
    bool answerUnsaved(Unsaved answer);

    // Clicks the print button, answers the question about text not saved when told to, and waits for
    // "Output Options"; its id or empty.
    QString startPrint(Unsaved answer = Unsaved::NotAsked);
    // Prints the open day into a PDF file through "Output Options" (the file choice by its accelerator, the
    // path typed, Enter) and waits until the file is written and the report windows have gone. `typedPath` is
    // what is typed when the program names the file otherwise (a Windows program under Wine: "Z:\tmp\...").
    bool printToFile(const QString& pdfPath, const QString& typedPath = {}, Unsaved answer = Unsaved::NotAsked);
    // The same from an "Output Options" window already up (`options`, its id; empty fails), whatever opened it.
    bool sendOutputToFile(const QString& options, const QString& pdfPath, const QString& typedPath = {});
    // Prints with the preselected preview; the "Report Preview" window's id, or empty.
    QString printToPreview();

    // Presses the About button and waits for the About window; its id or empty.
    QString openAbout();
    // The screen point of the About window's web label.
    QPoint aboutWebLabelPoint() const;

    // Focuses the month window, presses Esc and waits for the program to end; its exit code or -1.
    int quitWithEscape();

private:
    bool closeDay(const QPoint& clickAt, Unsaved answer);
    QPoint chooserPoint(Chooser chooser) const;

    XSession& m_session;
    QString m_folder;
    QProcess* m_program = nullptr;
    std::optional<QPoint> m_place;
    QString m_month;
    QPoint m_monthOrigin;
    QString m_day;
    QPoint m_dayOrigin;
    QPoint m_aboutOrigin;
};
