#include "tests/e2e/ProgramDriver.h"

#include "tests/e2e/MonthGridGeometry.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/XSession.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <utility>

const QString ProgramDriver::NoticeTitle = QStringLiteral("^Orvella by Quenmark$");
const QString ProgramDriver::MonthTitle = QStringLiteral("^Μηνιαία κατάσταση των ραντεβού$");
const QString ProgramDriver::DayTitle = QStringLiteral("^Αναλυτική κατάσταση των ραντεβού$");
const QString ProgramDriver::WeekTitle = QStringLiteral("^Εβδομαδιαία κατάσταση των ραντεβού$");
const QString ProgramDriver::OutputOptionsTitle = QStringLiteral("^Output Options$");
const QString ProgramDriver::ReportStatusTitle = QStringLiteral("^Report Status$");
const QString ProgramDriver::PreviewTitle = QStringLiteral("^Report Preview$");
const QString ProgramDriver::AboutTitle = QStringLiteral("^About Orvella$");

namespace {

const QSize SplashSize(977, 735);

// The day window's slot rows: edit boxes at x 135 (left column) and 503 (right column), 5 below their time
// captions, inside ScrollBox1 at (24, 56) whose sunken frame is 1 pixel wide.
constexpr int ScrollBoxLeft = 24 + 1;
constexpr int ScrollBoxTop = 56 + 1;
constexpr int CaptionTops[14] = {16, 56, 96, 136, 176, 216, 256, 296, 336, 376, 416, 456, 494, 534};

// The list rows of both choosers are 29 pixels high under a 1-pixel frame.
constexpr int ListRowHeight = 29;
constexpr int ListFrame = 1;

// A list row is drawn highlighted when its left margin is not white.
bool isHighlight(const QColor& colour) {
    return colour.saturation() > 80 && colour.lightness() < 220;
}

} // namespace

ProgramDriver::ProgramDriver(XSession& session, QString dataFolder)
    : m_session(session), m_folder(std::move(dataFolder)) {}

QString ProgramDriver::programPath() {
    return qEnvironmentVariable("ORVELLA_E2E_PROGRAM", QStringLiteral(ORVELLA_BINARY));
}

bool ProgramDriver::start(const QString& extraPath, Startup* seen) {
    Startup scratch;
    Startup& startup = seen ? *seen : scratch;

    // Another program on the same screen may show windows of the same titles already.
    const QStringList otherNotices = m_session.findWindows(NoticeTitle);
    const QStringList otherMonths = m_session.findWindows(MonthTitle);
    QElapsedTimer sinceStart;
    sinceStart.start();
    m_program = &m_session.startProgram(programPath(), m_folder, extraPath);
    const QString notice = m_session.waitForNewWindow(NoticeTitle, otherNotices, 20000);
    if (notice.isEmpty()) {
        return false;
    }
    startup.startToNoticeMilliseconds = sinceStart.elapsed();
    QStringList before = m_session.programWindows();
    // However long the notice waits for its answer, nothing comes after it yet.
    startup.splashBeforeAnswer = !m_session.waitForProgramWindowOfSize(SplashSize, before, 500).isEmpty() ||
                                 m_session.findWindows(MonthTitle).size() > otherMonths.size();

    startup.noticeGeometry = m_session.geometry(notice);
    startup.noticeScreen = m_session.grab();
    m_session.focus(notice);
    m_session.key(QStringLiteral("Return"));
    if (!XSession::waitUntil([&] { return !m_session.findWindows(NoticeTitle).contains(notice); }, 5000)) {
        return false;
    }
    QElapsedTimer sinceAnswer;
    sinceAnswer.start();

    startup.splash = m_session.waitForProgramWindowOfSize(SplashSize, before, 3000);
    if (!startup.splash.isEmpty()) {
        QElapsedTimer shown;
        shown.start();
        startup.splashGeometry = m_session.geometry(startup.splash);
        startup.splashMotifHints = m_session.windowProperty(startup.splash, QStringLiteral("_MOTIF_WM_HINTS"));
        startup.splashState = m_session.windowProperty(startup.splash, QStringLiteral("_NET_WM_STATE"));
        startup.splashScreen = m_session.grab();
        const QString splash = startup.splash;
        if (XSession::waitUntil([&] { return !m_session.programWindows().contains(splash); }, 15000, 20)) {
            startup.splashShownMilliseconds = shown.elapsed();
        }
    }

    m_month = m_session.waitForNewWindow(MonthTitle, otherMonths, 15000);
    if (m_month.isEmpty()) {
        return false;
    }
    startup.answerToMonthMilliseconds = sinceAnswer.elapsed();
    if (m_place && !m_session.move(m_month, *m_place)) {
        return false;
    }
    m_monthOrigin = m_session.geometry(m_month).topLeft();
    return true;
}

qint64 ProgramDriver::processId() const {
    return m_program ? m_program->processId() : 0;
}

QPoint ProgramDriver::chooserPoint(Chooser chooser) const {
    return onMonth(chooser == Chooser::Month ? monthgrid::monthChooserPoint() : monthgrid::yearChooserPoint());
}

QString ProgramDriver::openList(Chooser chooser) {
    const QStringList before = m_session.programWindows();
    m_session.click(chooserPoint(chooser));
    QString list;
    XSession::waitUntil(
        [&] {
            for (const QString& window : m_session.programWindows()) {
                if (!before.contains(window)) {
                    list = window;
                    return true;
                }
            }
            return false;
        },
        5000);
    return list;
}

void ProgramDriver::stepChooser(Chooser chooser, int steps) {
    const QString list = openList(chooser);
    m_session.key(QStringLiteral("Escape"));
    if (!list.isEmpty()) {
        XSession::waitUntil([&] { return !m_session.programWindows().contains(list); }, 3000);
    }
    for (int i = 0; i < std::abs(steps); ++i) {
        m_session.key(steps > 0 ? QStringLiteral("Down") : QStringLiteral("Up"));
    }
}

int ProgramDriver::highlightedRow(const QString& list) {
    const QRect where = m_session.geometry(list);
    const QImage screen = m_session.grab();
    if (where.isEmpty() || screen.isNull()) {
        return -1;
    }
    // The left margin of the rows, before the text starts.
    const int x = where.left() + ListFrame + 2;
    int first = -1;
    int last = -1;
    for (int y = where.top() + ListFrame; y < where.bottom() - ListFrame; ++y) {
        if (isHighlight(QColor(screen.pixel(x, y)))) {
            if (first < 0) {
                first = y;
            }
            last = y;
        }
    }
    if (first < 0) {
        return -1;
    }
    return ((first + last) / 2 - where.top() - ListFrame) / ListRowHeight;
}

void ProgramDriver::clickListRow(const QString& list, int row) {
    const QRect where = m_session.geometry(list);
    m_session.click(QPoint(where.left() + 40, where.top() + ListFrame + ListRowHeight * row + ListRowHeight / 2));
}

bool ProgramDriver::syncWithMonthWindow() {
    const QString list = openList(Chooser::Year);
    if (list.isEmpty()) {
        return false;
    }
    m_session.key(QStringLiteral("Escape"));
    return XSession::waitUntil([&] { return !m_session.programWindows().contains(list); }, 5000);
}

bool ProgramDriver::gridShowsMonth(const QImage& screen, const QDate& month, QString* why) const {
    const QDate first(month.year(), month.month(), 1);
    const int firstCell = monthgrid::cellOfDate(first);
    const int lastCell = firstCell + first.daysInMonth() - 1;
    for (int cell = 1; cell <= monthgrid::CellCount; ++cell) {
        // One pixel in from the label's edges, clear of the cell outlines.
        const QRect label = onMonth(monthgrid::dayLabelRect(cell)).adjusted(1, 1, -1, -1);
        const bool written = pixels::count(screen, label, pixels::isInk) > 0;
        const bool expected = cell >= firstCell && cell <= lastCell;
        if (written != expected) {
            if (why) {
                *why = QStringLiteral("%1: cell %2 should be %3 but is %4")
                           .arg(first.toString(QStringLiteral("MMMM yyyy")))
                           .arg(cell)
                           .arg(expected ? QStringLiteral("numbered") : QStringLiteral("empty"),
                                written ? QStringLiteral("numbered") : QStringLiteral("empty"));
            }
            return false;
        }
    }
    return true;
}

bool ProgramDriver::waitForGrid(const QDate& month, QString* why, int milliseconds) {
    return XSession::waitUntil([&] { return gridShowsMonth(m_session.grab(), month, why); }, milliseconds, 100);
}

bool ProgramDriver::openDay(const QDate& day) {
    const QRect label = onMonth(monthgrid::dayLabelRect(monthgrid::cellOfDate(day)));
    const QStringList otherDays = m_session.findWindows(DayTitle);
    m_session.click(label.center());
    m_day = m_session.waitForNewWindow(DayTitle, otherDays, 10000);
    if (m_day.isEmpty() || (m_place && !m_session.move(m_day, *m_place))) {
        return false;
    }
    m_dayOrigin = m_session.geometry(m_day).topLeft();
    return true;
}

bool ProgramDriver::adoptDayWindow(const QStringList& known) {
    m_day = m_session.waitForNewWindow(DayTitle, known, 10000);
    if (m_day.isEmpty() || (m_place && !m_session.move(m_day, *m_place))) {
        return false;
    }
    m_dayOrigin = m_session.geometry(m_day).topLeft();
    return true;
}

QRect ProgramDriver::slotRect(int slot) const {
    const int side = (slot - 1) / 14;
    const int row = (slot - 1) % 14;
    const int left = side == 0 ? 135 : 503;
    return QRect(m_dayOrigin + QPoint(ScrollBoxLeft + left, ScrollBoxTop + CaptionTops[row] + 5), QSize(217, 17));
}

void ProgramDriver::typeIntoSlot(int slot, const QString& text, int delayMilliseconds) {
    m_session.click(slotRect(slot).center());
    m_session.type(text, delayMilliseconds);
}

bool ProgramDriver::slotShows(int slot, const QString& expected, QString* seen) {
    m_session.click(slotRect(slot).center());
    m_session.key(QStringLiteral("ctrl+a"));
    m_session.key(QStringLiteral("ctrl+c"));
    QString text;
    const bool same = XSession::waitUntil(
        [&] {
            text = m_session.clipboardText();
            return text == expected;
        },
        3000, 100);
    if (seen) {
        *seen = text;
    }
    return same;
}

QRect ProgramDriver::postButtonRect() const {
    return QRect(m_dayOrigin + QPoint(350, 647), QSize(75, 25));
}

void ProgramDriver::clickPostButton() {
    m_session.click(postButtonRect().center());
}

ProgramDriver::PostButton ProgramDriver::postButton(const QImage& screen) const {
    // The check mark sits in the middle of the button, away from its outline.
    const QRect mark = postButtonRect().adjusted(20, 4, -20, -4);
    const int darkest = pixels::darkest(screen, mark);
    if (darkest < 60) {
        return PostButton::Enabled;
    }
    if (darkest > 80 && darkest < 200) {
        return PostButton::Disabled;
    }
    return PostButton::Unclear;
}

bool ProgramDriver::waitForPostButton(PostButton state, int milliseconds) {
    return XSession::waitUntil([&] { return postButton(m_session.grab()) == state; }, milliseconds, 100);
}

bool ProgramDriver::closeDay(const QPoint& clickAt, Unsaved answer) {
    const QStringList before = m_session.findWindows(NoticeTitle);
    if (clickAt.isNull()) {
        m_session.focus(m_day);
        m_session.key(QStringLiteral("Escape"));
    } else {
        m_session.click(clickAt);
    }
    if (answer != Unsaved::NotAsked && !answerUnsaved(answer))
        return false;
    if (answer == Unsaved::Cancel) {
        // Still in the day, and no other question came after the answer.
        return XSession::waitUntil([&] { return m_session.findWindows(NoticeTitle) == before; }, 5000) &&
               m_session.findWindows(DayTitle).contains(m_day);
    }
    return XSession::waitUntil([&] { return !m_session.findWindows(DayTitle).contains(m_day); }, 5000);
}

bool ProgramDriver::answerUnsaved(Unsaved answer) {
    const QString question = m_session.waitForWindow(NoticeTitle, 5000);
    if (question.isEmpty())
        return false;
    m_session.focus(question);
    switch (answer) {
    case Unsaved::Yes:
        m_session.key(QStringLiteral("Return"));
        break;
    case Unsaved::No:
        // "Ό&χι": its accelerator is the Greek letter, which the X keyboard gets bound for.
        m_session.bindKeysFor(QStringLiteral("χ"));
        m_session.key(QStringLiteral("alt+Greek_chi"));
        break;
    case Unsaved::Cancel:
    case Unsaved::NotAsked:
        m_session.key(QStringLiteral("Escape"));
        break;
    }
    return m_session.waitForWindowGone(NoticeTitle, 5000);
}

bool ProgramDriver::closeDayWithEscape(Unsaved answer) {
    return closeDay(QPoint(), answer);
}

bool ProgramDriver::closeDayWithExitButton(Unsaved answer) {
    return closeDay(m_dayOrigin + QRect(693, 647, 75, 25).center(), answer);
}

QString ProgramDriver::startPrint(Unsaved answer) {
    m_session.click(m_dayOrigin + QRect(24, 647, 75, 25).center());
    if (answer != Unsaved::NotAsked && !answerUnsaved(answer))
        return {};
    return m_session.waitForWindow(OutputOptionsTitle, 10000);
}

bool ProgramDriver::printToFile(const QString& pdfPath, const QString& typedPath, Unsaved answer) {
    return sendOutputToFile(startPrint(answer), pdfPath, typedPath);
}

bool ProgramDriver::sendOutputToFile(const QString& options, const QString& pdfPath, const QString& typedPath) {
    if (options.isEmpty()) {
        return false;
    }
    m_session.focus(options);
    // Alt+I picks "File (PDF)"; Tab goes on to the file field (the printer list is disabled).
    m_session.key(QStringLiteral("alt+i"));
    m_session.key(QStringLiteral("Tab"));
    m_session.type(typedPath.isEmpty() ? pdfPath : typedPath, 10);
    m_session.key(QStringLiteral("Return"));
    if (!m_session.waitForWindowGone(OutputOptionsTitle, 5000)) {
        return false;
    }
    return XSession::waitUntil(
        [&] { return m_session.findWindows(ReportStatusTitle).isEmpty() && QFileInfo(pdfPath).size() > 0; }, 15000,
        100);
}

QString ProgramDriver::printToPreview() {
    const QString options = startPrint();
    if (options.isEmpty()) {
        return {};
    }
    m_session.focus(options);
    m_session.key(QStringLiteral("Return"));
    return m_session.waitForWindow(PreviewTitle, 15000);
}

QString ProgramDriver::openAbout() {
    m_session.click(onMonth(monthgrid::aboutButtonPoint()));
    const QString about = m_session.waitForWindow(AboutTitle, 10000);
    if (!about.isEmpty()) {
        m_aboutOrigin = m_session.geometry(about).topLeft();
    }
    return about;
}

QPoint ProgramDriver::aboutWebLabelPoint() const {
    // Label3 sits at (330, 78), 13 pixels high, as wide as the address it shows.
    return m_aboutOrigin + QPoint(330 + 40, 78 + 6);
}

int ProgramDriver::quitWithEscape() {
    m_session.focus(m_month);
    m_session.key(QStringLiteral("Escape"));
    return m_program ? XSession::waitForExit(*m_program, 10000) : -1;
}
