#include "month/WeekWindow.h"

#include "base/ErrorReport.h"
#include "base/SharedState.h"
#include "base/WindowLook.h"
#include "day/ReportHost.h"
#include "day/WeekPrint.h"
#include "month/Calendar.h"
#include "month/DayRangeDialog.h"
#include "month/MonthWindow.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/FilledSlots.h"
#include "store/engine/BookWatch.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/TableLayout.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int SlotCount = 28;
constexpr int RowHeight = 22;

// The colours the month draws its days in: today's number green, Saturday's and Sunday's grey. Behind the
// cells, a pale shade of each, so that the column stands out without hiding the text.
const QColor TodayText(0, 128, 0);
const QColor WeekendText(128, 128, 128);
const QColor TodayShade(225, 242, 225);
const QColor WeekendShade(236, 236, 236);
const QColor OutsideShade(212, 212, 212);

QString dateText(QDate date) {
    return store::dateText(static_cast<float>(date.day()), static_cast<float>(date.month()),
                           static_cast<float>(date.year()));
}

// What a cell shows of a slot's text: its first line; the view cuts it at the cell's edge.
QString startOf(const QString& text) {
    const qsizetype lineBreak = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    return lineBreak < 0 ? text : text.left(lineBreak);
}

QDate firstCalendarDay() {
    return QDate(calendar::FirstYear, 1, 1);
}

QDate lastCalendarDay() {
    return QDate(calendar::LastYear, 12, 31);
}

// Sets an item's value for a role only when it differs: every change is a notice to the view (a repaint, and for
// a head a new layout of the header), and from one week to the next most cells keep their colour and flags.
void setRole(QTableWidgetItem* item, int role, const QVariant& value) {
    if (item->data(role) != value)
        item->setData(role, value);
}

QDate mondayOf(QDate day) {
    return day.addDays(1 - day.dayOfWeek());
}

} // namespace

WeekWindow::WeekWindow(TForm1& month, QDate day)
    : QDialog(&month), m_month(month), m_connection(std::make_unique<store::Connection>()) {
    m_today = QDate(month.TodayYear, month.TodayMonth, month.TodayDay);
    if (!m_today.isValid()) {
        m_today = QDate::currentDate();
    }
    buildLayout();
    buildShortcuts();
    watchBook();
    const QDate start = std::clamp(day.isValid() ? day : m_today, firstCalendarDay(), lastCalendarDay());
    showWeek(start);
    placeCurrent(0, static_cast<int>(m_monday.daysTo(start)));
}

WeekWindow::~WeekWindow() = default;

QDate WeekWindow::firstMonday() {
    return mondayOf(firstCalendarDay());
}

QDate WeekWindow::lastMonday() {
    return mondayOf(lastCalendarDay());
}

void WeekWindow::buildLayout() {
    setObjectName(QStringLiteral("WeekWindow"));
    setWindowTitle(tr("Appointments of the week"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(look::tahoma(13));
    resize(1000, 740);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("WeekCaption"));
    m_caption->setFont(look::tahoma(18, true));

    m_table = new QTableWidget(SlotCount, 7, this);
    m_table->setObjectName(QStringLiteral("WeekTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setWordWrap(false);
    m_table->setTabKeyNavigation(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionsClickable(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_table->verticalHeader()->setSectionsClickable(false);
    const QStringList& columns = store::slotColumnNames();
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_table->setVerticalHeaderItem(slot, new QTableWidgetItem(store::slotCaption(columns.at(slot))));
        for (int column = 0; column < 7; ++column) {
            m_table->setItem(slot, column, new QTableWidgetItem);
        }
    }
    for (int column = 0; column < 7; ++column) {
        m_table->setHorizontalHeaderItem(column, new QTableWidgetItem);
    }
    m_table->installEventFilter(this);

    m_previousButton = new QPushButton(tr("&Previous week"), this);
    m_previousButton->setObjectName(QStringLiteral("PreviousWeekButton"));
    m_todayButton = new QPushButton(tr("&This week"), this);
    m_todayButton->setObjectName(QStringLiteral("ThisWeekButton"));
    m_nextButton = new QPushButton(tr("&Next week"), this);
    m_nextButton->setObjectName(QStringLiteral("NextWeekButton"));
    auto* openButton = new QPushButton(tr("&Open the day"), this);
    openButton->setObjectName(QStringLiteral("OpenDayButton"));
    auto* printWeekButton = new QPushButton(tr("Pr&int the week"), this);
    printWeekButton->setObjectName(QStringLiteral("PrintWeekButton"));
    printWeekButton->setToolTip(tr("Ctrl+P"));
    auto* printDaysButton = new QPushButton(tr("Print &days..."), this);
    printDaysButton->setObjectName(QStringLiteral("PrintDaysButton"));
    auto* exitButton = new QPushButton(tr("E&xit"), this);
    exitButton->setObjectName(QStringLiteral("ExitButton"));
    // Enter belongs to the cells: no button is a default one that Enter would press instead, and the keyboard
    // stays on the table.
    for (QPushButton* button :
         {m_previousButton, m_todayButton, m_nextButton, openButton, printWeekButton, printDaysButton, exitButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::ClickFocus);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(m_previousButton);
    top->addWidget(m_todayButton);
    top->addWidget(m_nextButton);
    top->addStretch(1);
    top->addWidget(m_caption);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(openButton);
    bottom->addSpacing(24);
    bottom->addWidget(printWeekButton);
    bottom->addWidget(printDaysButton);
    bottom->addStretch(1);
    bottom->addWidget(exitButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);
    m_table->setFocus();

    connect(m_previousButton, &QPushButton::clicked, this, &WeekWindow::showPreviousWeek);
    connect(m_nextButton, &QPushButton::clicked, this, &WeekWindow::showNextWeek);
    connect(m_todayButton, &QPushButton::clicked, this, &WeekWindow::showThisWeek);
    connect(openButton, &QPushButton::clicked, this, &WeekWindow::openCurrentDay);
    connect(printWeekButton, &QPushButton::clicked, this, &WeekWindow::printWeek);
    connect(printDaysButton, &QPushButton::clicked, this, &WeekWindow::printDays);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    // The clicked cell's day, whichever is current: a day outside the calendar never becomes current, but the
    // view reports a double click on it all the same.
    connect(m_table, &QAbstractItemView::doubleClicked, this, &WeekWindow::openDayOf);
}

void WeekWindow::buildShortcuts() {
    // Window shortcuts, so that they work whichever control has the keyboard; the table's own PageUp, PageDown
    // and Home would only scroll its 28 rows.
    auto add = [this](const char* name, const QList<QKeySequence>& keys, void (WeekWindow::*step)()) {
        auto* action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, step);
    };
    add("PreviousWeekAction", {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::ALT | Qt::Key_Left)},
        &WeekWindow::showPreviousWeek);
    add("NextWeekAction", {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::ALT | Qt::Key_Right)},
        &WeekWindow::showNextWeek);
    add("ThisWeekAction", {QKeySequence(Qt::Key_Home)}, &WeekWindow::showThisWeek);
    add("PrintWeekAction", {QKeySequence(Qt::CTRL | Qt::Key_P)}, &WeekWindow::printWeek);
}

void WeekWindow::watchBook() {
    // Another seat's save shows in the week at once; notices that arrive together (a burst of saves) make one
    // read.
    m_reloadTimer = new QTimer(this);
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(ReloadDelayMilliseconds);
    connect(m_reloadTimer, &QTimer::timeout, this, [this] {
        try {
            showSlots();
        } catch (const std::exception&) {
            // Not the user's step: the week stays as it was, and the next step the user takes reports it.
        }
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, this, [this](const QDate& day) {
        if (day >= m_monday && day <= m_monday.addDays(6))
            m_reloadTimer->start();
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, this, [this] { m_reloadTimer->start(); });
}

bool WeekWindow::inCalendar(QDate day) const {
    return day >= firstCalendarDay() && day <= lastCalendarDay();
}

void WeekWindow::showWeek(QDate day) {
    m_monday = mondayOf(std::clamp(day, firstCalendarDay(), lastCalendarDay()));
    m_previousButton->setEnabled(m_monday > firstMonday());
    m_nextButton->setEnabled(m_monday < lastMonday());
    showHeads();
    // The cells are emptied first: a week that cannot be read shows nothing rather than the week before.
    for (int slot = 0; slot < SlotCount; ++slot) {
        for (int column = 0; column < 7; ++column) {
            QTableWidgetItem* cell = m_table->item(slot, column);
            setRole(cell, Qt::DisplayRole, QVariant());
            setRole(cell, Qt::ToolTipRole, QVariant());
        }
    }
    ErrorReport::guard([this] { showSlots(); });
}

void WeekWindow::showPreviousWeek() {
    if (m_monday <= firstMonday())
        return;
    const QModelIndex current = m_table->currentIndex();
    showWeek(m_monday.addDays(-7));
    if (current.isValid())
        placeCurrent(current.row(), current.column());
}

void WeekWindow::showNextWeek() {
    if (m_monday >= lastMonday())
        return;
    const QModelIndex current = m_table->currentIndex();
    showWeek(m_monday.addDays(7));
    if (current.isValid())
        placeCurrent(current.row(), current.column());
}

void WeekWindow::showThisWeek() {
    const int row = std::max(m_table->currentRow(), 0);
    showWeek(m_today);
    placeCurrent(row, static_cast<int>(m_monday.daysTo(m_today)));
}

void WeekWindow::placeCurrent(int row, int column) {
    // The same half hour on the same weekday, or on the nearest day of the calendar when that one lies outside
    // it (the ends of the first and last week).
    int placed = std::clamp(column, 0, 6);
    if (!inCalendar(dateOfColumn(placed)))
        placed = m_monday < firstCalendarDay() ? static_cast<int>(m_monday.daysTo(firstCalendarDay()))
                                               : static_cast<int>(m_monday.daysTo(lastCalendarDay()));
    m_table->setCurrentCell(std::clamp(row, 0, SlotCount - 1), placed);
}

void WeekWindow::reloadWeek() {
    ErrorReport::guard([this] { showSlots(); });
}

void WeekWindow::showHeads() {
    const std::array<QString, 7> weekdays = {tr("Monday"), tr("Tuesday"),  tr("Wednesday"), tr("Thursday"),
                                             tr("Friday"), tr("Saturday"), tr("Sunday")};
    const QDate sunday = m_monday.addDays(6);
    m_caption->setText(tr("Week of %1 to %2").arg(dateText(m_monday), dateText(sunday)));
    for (int column = 0; column < 7; ++column) {
        const QDate day = dateOfColumn(column);
        const bool today = day == m_today;
        const bool weekend = calendar::isWeekendColumn(column + 1);
        QTableWidgetItem* head = m_table->horizontalHeaderItem(column);
        head->setText(weekdays.at(static_cast<std::size_t>(column)) + QLatin1Char('\n') +
                      QStringLiteral("%1/%2").arg(day.day()).arg(day.month()));
        QFont font = m_table->horizontalHeader()->font();
        font.setBold(today);
        setRole(head, Qt::FontRole, today ? QVariant(font) : QVariant());
        // Green wins over the weekend grey, as in the month.
        setRole(head, Qt::ForegroundRole,
                today     ? QVariant(QBrush(TodayText))
                : weekend ? QVariant(QBrush(WeekendText))
                          : QVariant());

        // A day outside the calendar's years (the ends of its first and last week) cannot be opened: the month
        // cannot show it.
        const bool inside = inCalendar(day);
        const Qt::ItemFlags flags = inside ? Qt::ItemFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::ItemFlags();
        const QVariant shade = !inside   ? QVariant(QBrush(OutsideShade))
                               : today   ? QVariant(QBrush(TodayShade))
                               : weekend ? QVariant(QBrush(WeekendShade))
                                         : QVariant();
        for (int slot = 0; slot < SlotCount; ++slot) {
            QTableWidgetItem* cell = m_table->item(slot, column);
            if (cell->flags() != flags)
                cell->setFlags(flags);
            setRole(cell, Qt::BackgroundRole, shade);
        }
    }
}

void WeekWindow::showSlots() {
    const QDate first = std::max(m_monday, firstCalendarDay());
    const QDate last = std::min(m_monday.addDays(6), lastCalendarDay());
    std::vector<store::FilledSlot> filled;
    m_connection->reopen(sharedState().ConnectionText);
    try {
        filled = store::readFilledSlots(*m_connection, first, last);
    } catch (...) {
        m_connection->close();
        throw;
    }
    m_connection->close();

    // Every cell is written, so that a slot emptied since the last read shows empty.
    std::array<std::array<const QString*, SlotCount>, 7> texts{};
    for (const store::FilledSlot& slot : filled) {
        const auto column = m_monday.daysTo(slot.date);
        if (column >= 0 && column < 7 && slot.slot >= 0 && slot.slot < SlotCount)
            texts.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(slot.slot)) = &slot.text;
    }
    for (int column = 0; column < 7; ++column) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            const QString* text = texts.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(slot));
            QTableWidgetItem* cell = m_table->item(slot, column);
            const QString shown = text ? startOf(*text) : QString();
            if (cell->text() != shown)
                cell->setText(shown);
            const QString tip = text ? *text : QString();
            if (cell->toolTip() != tip)
                cell->setToolTip(tip);
        }
    }
}

void WeekWindow::printWeek() {
    ErrorReport::guard([this] {
        const SharedState& shared = sharedState();
        WeekPrint::printWeek(this, shared.ConnectionText, m_monday, WeekPrint::weekSheetOf(shared.DataFolder));
    });
}

void WeekWindow::printDays() {
    // The shown week, as far as it lies in the calendar.
    DayRangeDialog range(std::max(m_monday, firstCalendarDay()), std::min(m_monday.addDays(6), lastCalendarDay()),
                         this);
    if (range.exec() != QDialog::Accepted)
        return;
    ErrorReport::guard([this, &range] {
        const SharedState& shared = sharedState();
        WeekPrint::printDays(this, shared.ConnectionText, range.first(), range.last(),
                             TForm6::reportFileOf(shared.DataFolder));
    });
}

void WeekWindow::openCurrentDay() {
    openDayOf(m_table->currentIndex());
}

void WeekWindow::openDayOf(const QModelIndex& cell) {
    if (!cell.isValid())
        return;
    const QDate day = dateOfColumn(cell.column());
    if (!inCalendar(day))
        return;
    ErrorReport::guard([this, day] { m_month.OpenDayFromWeek(day); });
    reloadWeek();
    m_table->setCurrentIndex(cell);
}

bool WeekWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            openCurrentDay();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WeekWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen like every window of the program.
    look::centreOnScreen(this);
}
