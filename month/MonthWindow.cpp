#include "month/MonthWindow.h"

#include "base/AboutWindow.h"
#include "base/ErrorReport.h"
#include "base/SharedState.h"
#include "base/WindowLook.h"
#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "month/Calendar.h"
#include "month/ClickableLabel.h"
#ifdef ORVELLA_ICS_IMPORT
#include "month/CalendarImport.h"
#endif
#include "month/NumberText.h"
#include "month/Occupancy.h"
#include "month/RectangleShape.h"
#include "month/SearchWindow.h"
#include "month/WeekWindow.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/ReadTogether.h"
#include "store/engine/BookWatch.h"
#include "store/engine/ConnectionText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>

#include <optional>

namespace {

constexpr int ClientWidth = 626;
constexpr int ClientHeight = 607;

// The grid: columns 80 apart and 81 wide so that neighbours share an outline; the header row and the five
// week rows that have cell shapes.
constexpr int GridLeft = 32;
constexpr int GridTop = 88;
constexpr int ColumnStep = 80;
constexpr int CellWidth = 81;
constexpr int CellHeight = 65;
constexpr int ColumnHeight = 449;
constexpr std::array<int, 6> CellShapeTops = {88, 152, 215, 278, 341, 404};

// Day-number and count labels, by week row 1 to 6; both start 7 pixels inside their column.
constexpr int DayLabelLeft = 39;
constexpr int DayLabelWidth = 67;
constexpr int DayLabelHeight = 14;
constexpr int CountLabelHeight = 30;
constexpr std::array<int, 6> DayLabelTops = {159, 223, 286, 349, 412, 475};
constexpr std::array<int, 6> CountLabelTops = {175, 238, 302, 364, 428, 494};

const QColor Green(0, 128, 0);
const QColor Lime(0, 255, 0);
const QColor Grey(128, 128, 128);
const QColor Blue(0, 0, 255);

using look::tahoma;

// The window's fixed texts; the builders show them and prepareFonts draws them ahead.
const QString YearCaption = QStringLiteral("Έτος:");
const QString MonthCaption = QStringLiteral("Μήνας:");
const QString TodayText = QStringLiteral("Σήμερα");
const QString AboutText = QStringLiteral("About");
const QString ExitText = QStringLiteral("Έ&ξοδος");
const QString Digits = QStringLiteral("0123456789");

QStringList monthNames() {
    return {
        QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος"), QStringLiteral("Μάρτιος"),
        QStringLiteral("Απρίλιος"),   QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
        QStringLiteral("Ιούλιος"),    QStringLiteral("Αύγουστος"),   QStringLiteral("Σεπτέμβριος"),
        QStringLiteral("Οκτώβριος"),  QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος"),
    };
}

struct Weekday {
    int number;
    const char16_t* caption;
    int left;
    int width;
    QColor colour;
};

const std::array<Weekday, 7> Weekdays = {{
    {2, u"Δευτέρα", 45, 54, Green},
    {3, u"Τρίτη", 133, 33, Green},
    {4, u"Τετάρτη", 205, 52, Green},
    {5, u"Πέμπτη", 288, 48, Green},
    {6, u"Παρασκευή", 356, 74, Green},
    {7, u"Σάββατο", 445, 55, Lime},
    {8, u"Κυριακή", 525, 51, Lime},
}};

// The text of a day's number or a count: "1" to "31" made once, so that a rebuild's captions and counts share them.
QString numberText(int number) {
    static const std::array<QString, 32> texts = [] {
        std::array<QString, 32> made;
        for (int n = 0; n < static_cast<int>(made.size()); ++n)
            made[static_cast<std::size_t>(n)] = QString::number(n);
        return made;
    }();
    return number >= 0 && number < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(number)]
                                                                  : QString::number(number);
}

// The day a caption shows: its number when it is one as numberText writes it (1 to 31), else 0.
int dayOfCaption(const QString& caption) {
    const qsizetype length = caption.size();
    if (length < 1 || length > 2 || caption[0] < QLatin1Char('1') || caption[0] > QLatin1Char('9'))
        return 0;
    int day = caption[0].unicode() - u'0';
    if (length == 2) {
        if (caption[1] < QLatin1Char('0') || caption[1] > QLatin1Char('9'))
            return 0;
        day = day * 10 + (caption[1].unicode() - u'0');
    }
    return day <= 31 ? day : 0;
}

// A label drawn on white with the given text colour.
void paintOnWhite(QLabel* label, const QColor& textColour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

// The captions above the choosers: Tahoma 24, blue on white.
void makeChooserCaption(QLabel* label, const QString& name, const QString& text, const QRect& geometry) {
    label->setObjectName(name);
    label->setText(text);
    label->setFont(tahoma(24));
    paintOnWhite(label, Blue);
    label->setGeometry(geometry);
}

// A drop-down list without typing, Tahoma 24 blue, items 29 pixels high.
void makeChooser(QComboBox* chooser, const QString& name, const QStringList& items, int visibleItems,
                 const QRect& geometry) {
    chooser->setObjectName(name);
    chooser->setEditable(false);
    chooser->setFont(tahoma(24));
    QPalette palette = chooser->palette();
    palette.setColor(QPalette::Text, Blue);
    palette.setColor(QPalette::ButtonText, Blue);
    palette.setColor(QPalette::WindowText, Blue);
    chooser->setPalette(palette);
    // The styled delegate honours a size hint per item; the menu-like default one would not.
    chooser->setItemDelegate(new QStyledItemDelegate(chooser));
    chooser->addItems(items);
    constexpr int ItemHeight = 29;
    for (int i = 0; i < chooser->count(); ++i) {
        chooser->setItemData(i, QSize(geometry.width(), ItemHeight), Qt::SizeHintRole);
        // The open list is a window of its own that doesn't take the chooser's palette.
        chooser->setItemData(i, Blue, Qt::ForegroundRole);
    }
    chooser->setMaxVisibleItems(visibleItems);
    // A list that drops below the field and shows that many items; the default style would open it over the
    // field with every item, ignoring the count.
    chooser->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    chooser->setFocusPolicy(Qt::ClickFocus);
    chooser->setGeometry(geometry);
}

// The month window's buttons take the focus only from a click, so that the arrow keys stay with the choosers.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
    return look::makePushButton(parent, name, text, geometry, Qt::ClickFocus);
}

} // namespace

TForm1::TForm1(QWidget* parent, QDate today)
    : QDialog(parent), m_connection(std::make_unique<store::Connection>()),
      m_command(std::make_unique<store::Command>(*m_connection)),
      m_query(std::make_unique<store::Query>(*m_connection)), m_today(today) {
    buildLayout();
    FormCreate();
    watchBook();
}

void TForm1::watchBook() {
    // Another seat's save changes the counts under the shown month at once. Notices that arrive together
    // (a burst of saves) make one scan.
    m_rescanTimer = new QTimer(this);
    m_rescanTimer->setSingleShot(true);
    m_rescanTimer->setInterval(RescanDelayMilliseconds);
    connect(m_rescanTimer, &QTimer::timeout, this, [this] {
        try {
            ScanMonthOccupancy();
        } catch (const std::exception&) {
            // Not the user's step: the counts stay as they were, and the next step the user takes reports it.
        }
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, this, [this](const QDate& day) {
        const SharedState& shared = sharedState();
        if (DaysInMonth > 0 && day.year() == static_cast<int>(shared.SelectedYear) &&
            day.month() == static_cast<int>(shared.SelectedMonth))
            m_rescanTimer->start();
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, this, [this] {
        if (DaysInMonth > 0)
            m_rescanTimer->start();
        // Anything may have changed: the search reads the book whole when it opens next.
        m_searchIndexWhole = false;
        m_searchAhead.reset();
        m_searchDaysChanged.clear();
    });
    // Each changed day is read into the search's picture once the notices of a save have all come.
    m_searchDayTimer = new QTimer(this);
    m_searchDayTimer->setSingleShot(true);
    m_searchDayTimer->setInterval(RescanDelayMilliseconds);
    connect(m_searchDayTimer, &QTimer::timeout, this, [this] {
        try {
            refreshSearchDays();
        } catch (const std::exception&) {
            // Not the user's step: the search reads the book whole when it opens next, and says what failed.
            m_searchIndexWhole = false;
        }
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, this, [this](const QDate& day) {
        if (m_searchIndexWhole || m_searchAhead) {
            m_searchDaysChanged.insert(day);
            m_searchDayTimer->start();
        }
    });
}

namespace {

// The data file as it stands now: a save by this program or by another one shows as a new version.
std::optional<platform::FileVersion> dataFileVersion() {
    const platform::Entry entry =
        platform::lookAt(QDir(sharedState().DataFolder).filePath(QLatin1String(store::DatabaseFileName)));
    if (entry.kind != platform::EntryKind::File)
        return std::nullopt;
    return entry.version;
}

} // namespace

const AppointmentIndex& TForm1::searchIndex() {
    // Upcoming first from the day the window counts as today.
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    // A file another program wrote since the picture was made current (a second copy of Orvella on the same
    // folder, the data-folder tool) is read whole again; a server book says what changed through its notices.
    if (!m_searchIndexWhole && m_searchAhead && adoptSearchAhead(today))
        return m_searchIndex;
    if (!m_searchIndexWhole || dataFileVersion() != m_searchIndexFile || m_searchIndex.today() != today) {
        // A failed read keeps what the picture held, and says why.
        m_searchIndexWhole = false;
        const std::optional<platform::FileVersion> before = dataFileVersion();
        m_searchIndex.load(sharedState().ConnectionText, today);
        m_searchIndexWhole = true;
        m_searchIndexFile = before;
        m_searchDaysChanged.clear();
        return m_searchIndex;
    }
    refreshSearchDays();
    return m_searchIndex;
}

void TForm1::startSearchAhead() {
    // A server book's picture would need a link of its own: it is read when the search first opens.
    if (m_searchIndexWhole || m_searchAhead || !dataFileVersion())
        return;
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    const SharedState& shared = sharedState();
    m_searchAhead = std::make_unique<SearchAhead>(
        QDir(shared.DataFolder).filePath(QLatin1String(store::DatabaseFileName)), shared.DatabasePassword, today);
}

bool TForm1::adoptSearchAhead(QDate today) {
    std::optional<SearchAhead::Picture> picture = m_searchAhead->take();
    m_searchAhead.reset();
    if (!picture || picture->index.today() != today)
        return false;
    const std::optional<platform::FileVersion> now = dataFileVersion();
    // Written since the reading began, and not by a day window of this program: another program's change,
    // which only a whole read sees.
    if (now != picture->file && m_searchDaysChanged.empty())
        return false;
    if (!picture->index.unstow())
        return false;
    m_searchIndex = std::move(picture->index);
    m_searchIndexWhole = true;
    m_searchIndexFile = picture->file;
    // The days this program saved meanwhile are read again: the reading may have met them before or after.
    refreshSearchDays();
    return true;
}

void TForm1::refreshSearchDays() {
    m_searchDayTimer->stop();
    if (!m_searchIndexWhole || m_searchDaysChanged.empty())
        return;
    store::Connection connection;
    connection.reopen(sharedState().ConnectionText);
    // Days close together (a day, a repeat's weeks) in one range read from the first to the last; days far
    // apart each in a read of its own, so that two saves years apart do not read the years between.
    const QDate first = *m_searchDaysChanged.begin();
    const QDate last = *m_searchDaysChanged.rbegin();
    const bool together = first.daysTo(last) <= 92;
    std::vector<store::FilledSlot> read;
    if (together)
        read = store::readFilledSlots(connection, first, last);
    for (const QDate& day : m_searchDaysChanged) {
        std::vector<store::FilledSlot> ofDay;
        if (!together)
            ofDay = store::readFilledSlots(connection, day, day);
        for (store::FilledSlot& slot : read)
            if (slot.date == day)
                ofDay.push_back(std::move(slot));
        m_searchIndex.replaceDay(day, std::move(ofDay));
    }
    connection.close();
    m_searchDaysChanged.clear();
    m_searchIndexFile = dataFileVersion();
}

TForm1::~TForm1() = default;

void TForm1::prepareFonts() {
    // Each font with the texts it will show (as set in the builders below): only their glyphs, so that the
    // glyph cache holds nothing the window would not have drawn itself.
    QString weekdays;
    for (const Weekday& weekday : Weekdays)
        weekdays += QString::fromUtf16(weekday.caption);
    const std::array<std::pair<QFont, QString>, 5> texts = {{
        {tahoma(24), YearCaption + MonthCaption + Digits + monthNames().join(QString())},
        {tahoma(13, true), weekdays},
        {tahoma(12, true), Digits},
        {tahoma(29, true), Digits},
        {QApplication::font(), TodayText + AboutText + QString(ExitText).remove(QLatin1Char('&'))},
    }};
    QImage scratch(64, 64, QImage::Format_RGB32);
    QPainter painter(&scratch);
    for (const auto& [font, text] : texts) {
        painter.setFont(font);
        painter.drawText(0, 48, text);
    }
}

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));
    look::setFixedFrame(this, QSize(ClientWidth, ClientHeight));

    // Created in painting order: a later sibling is drawn over an earlier one.
    buildShapes();
    buildHeader();
    buildChoosersAndButtons();
    buildCells();

    // Not a control of its own: the grid keeps its look, and the search is reached by Ctrl+F or a right
    // click anywhere in the window.
    m_searchAction = new QAction(QStringLiteral("Αναζήτηση ραντεβού…"), this);
    m_searchAction->setObjectName(QStringLiteral("SearchAction"));
    m_searchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_searchAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_searchAction);
    connect(m_searchAction, &QAction::triggered, this, &TForm1::OpenSearch);

    m_weekAction = new QAction(tr("Week…"), this);
    m_weekAction->setObjectName(QStringLiteral("WeekAction"));
    m_weekAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    m_weekAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_weekAction);
    connect(m_weekAction, &QAction::triggered, this, &TForm1::OpenWeek);

#ifdef ORVELLA_ICS_IMPORT
    m_importAction = new QAction(tr("Import a calendar (.ics)…"), this);
    m_importAction->setObjectName(QStringLiteral("ImportCalendarAction"));
    connect(m_importAction, &QAction::triggered, this, [this] {
        // The month's counts show what was booked.
        if (calendarimport::chooseAndImport(this, sharedState().ConnectionText))
            ErrorReport::guard([this] { ScanMonthOccupancy(); });
    });
#endif

    // Home comes back to today and puts the keyboard on it, whatever control has the focus.
    auto* today = new QAction(this);
    today->setObjectName(QStringLiteral("TodayAction"));
    today->setShortcut(QKeySequence(Qt::Key_Home));
    today->setShortcutContext(Qt::WindowShortcut);
    addAction(today);
    connect(today, &QAction::triggered, this, [this] {
        ErrorReport::guard([this] {
            ShowToday();
            focusDay(TodayDay);
        });
    });
}

void TForm1::buildShapes() {
    auto addShape = [this](int number, int left, int top, int width, int height) {
        auto* shape = new RectangleShape(this);
        shape->setObjectName(QStringLiteral("Shape%1").arg(number));
        shape->setGeometry(left, top, width, height);
    };
    auto columnLeft = [](int column) { return GridLeft + ColumnStep * (column - 1); };

    // The band behind the choosers, the grid's left edge, the frame of the grid and its seven columns.
    addShape(1, GridLeft, 24, 561, 65);
    addShape(2, GridLeft, GridTop, 1, ColumnHeight);
    addShape(4, GridLeft, GridTop, 561, ColumnHeight);
    for (int column = 1; column <= 7; ++column) {
        addShape(4 + column, columnLeft(column), GridTop, CellWidth, ColumnHeight);
    }
    // The cells of rows 0 (the weekday header) to 5, column by column. The sixth week row has no cells of its
    // own: it is the lower end of the columns.
    addShape(3, columnLeft(1), CellShapeTops[0], CellWidth, CellHeight);
    for (int row = 1; row <= 5; ++row) {
        addShape(11 + row, columnLeft(1), CellShapeTops[static_cast<std::size_t>(row)], CellWidth, CellHeight);
    }
    // One more cell that lies below the window's client area and is never seen.
    addShape(17, columnLeft(1), 768, CellWidth, CellHeight);
    for (int column = 2; column <= 7; ++column) {
        for (int row = 0; row <= 5; ++row) {
            addShape(18 + 6 * (column - 2) + row, columnLeft(column), CellShapeTops[static_cast<std::size_t>(row)],
                     CellWidth, CellHeight);
        }
    }
}

void TForm1::buildHeader() {
    for (const Weekday& weekday : Weekdays) {
        auto* label = new QLabel(QString::fromUtf16(weekday.caption), this);
        label->setObjectName(QStringLiteral("Label%1").arg(weekday.number));
        label->setFont(tahoma(13, true));
        paintOnWhite(label, weekday.colour);
        label->setGeometry(weekday.left, 112, weekday.width, 16);
    }
}

void TForm1::buildChoosersAndButtons() {
    makeChooserCaption(new QLabel(this), QStringLiteral("Label83"), YearCaption, QRect(49, 37, 58, 29));

    m_yearChooser = new QComboBox(this);
    QStringList years;
    for (int year = calendar::FirstYear; year <= calendar::LastYear; ++year) {
        years << QString::number(year);
    }
    makeChooser(m_yearChooser, QStringLiteral("ComboBox2"), years, 15, QRect(113, 34, 112, 37));

    auto* todayButton = makeButton(this, QStringLiteral("Button3"), TodayText, QRect(235, 40, 75, 25));

    makeChooserCaption(new QLabel(this), QStringLiteral("Label1"), MonthCaption, QRect(319, 37, 75, 29));

    m_monthChooser = new QComboBox(this);
    const QStringList months = monthNames();
    makeChooser(m_monthChooser, QStringLiteral("ComboBox1"), months, 12, QRect(400, 34, 176, 37));

    auto* aboutButton = makeButton(this, QStringLiteral("Button2"), AboutText, QRect(31, 560, 75, 25));
    m_exitButton = makeButton(this, QStringLiteral("Button1"), ExitText, QRect(519, 560, 75, 25));

    // A pick by the user, with the mouse or an arrow key, changes the index; ShowToday's own selections are
    // made with the signals blocked.
    connect(m_monthChooser, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
    connect(m_yearChooser, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox2Change);
    connect(todayButton, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(aboutButton, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(m_exitButton, &QPushButton::clicked, this, &TForm1::Button1Click);
}

void TForm1::buildCells() {
    const QFont dayFont = tahoma(12, true);
    const QFont countFont = tahoma(29, true);

    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        const int column = calendar::columnOfCell(cell);
        const auto row = static_cast<std::size_t>(calendar::rowOfCell(cell) - 1);
        const int left = DayLabelLeft + ColumnStep * (column - 1);

        auto* day = new ClickableLabel(this);
        day->setObjectName(QStringLiteral("LabelD%1").arg(cell));
        day->setFont(dayFont);
        day->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        day->setCursor(Qt::PointingHandCursor);
        // The days take the keyboard once one has the focus (today's at first, or a clicked one; see
        // keyPressEvent), but none is a tab stop, as no control of this window is.
        day->setFocusPolicy(Qt::ClickFocus);
        day->setAccessibleDescription(tr("Enter opens the day"));
        day->setGeometry(left, DayLabelTops[row], DayLabelWidth, DayLabelHeight);
        day->hide();
        connect(day, &ClickableLabel::clicked, this, [this, day] { DayLabelClicked(day); });
        m_dayLabels.at(static_cast<std::size_t>(cell - 1)) = day;
    }
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        const int column = calendar::columnOfCell(cell);
        const auto row = static_cast<std::size_t>(calendar::rowOfCell(cell) - 1);
        const int left = DayLabelLeft + ColumnStep * (column - 1);

        auto* count = new QLabel(this);
        count->setObjectName(QStringLiteral("LabelR%1").arg(cell));
        count->setFont(countFont);
        count->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        paintOnWhite(count, Qt::red);
        count->setCursor(Qt::ArrowCursor);
        count->setGeometry(left, CountLabelTops[row], DayLabelWidth, CountLabelHeight);
        count->hide();
        m_countLabels.at(static_cast<std::size_t>(cell - 1)) = count;
    }

    // Before the first rebuild the weekday numbers keep the system's text colour; every rebuild paints them
    // plain black.
    QPalette base = m_dayLabels[0]->palette();
    base.setColor(QPalette::Window, Qt::white);
    m_weekdayNumberPalette = base;
    m_weekdayNumberPalette.setColor(QPalette::WindowText, Qt::black);
    m_weekendNumberPalette = base;
    m_weekendNumberPalette.setColor(QPalette::WindowText, Grey);
    m_todayNumberPalette = base;
    m_todayNumberPalette.setColor(QPalette::WindowText, Green);
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        ClickableLabel* day = dayLabel(cell);
        const bool weekend = calendar::isWeekendColumn(calendar::columnOfCell(cell));
        day->setPalette(weekend ? m_weekendNumberPalette : base);
        m_numberColours.at(static_cast<std::size_t>(cell - 1)) =
            weekend ? NumberColour::Weekend : NumberColour::Unknown;
        day->setAutoFillBackground(true);
    }
}

void TForm1::FormCreate() {
    ErrorReport::guard([this] {
        SharedState& shared = sharedState();
        // The password before the connection text, and the connection text before ShowToday, whose scan
        // opens the database with it.
        shared.DatabasePassword = QString::fromUtf8(store::FixedDatabasePassword);
        shared.DataFolder = QDir::currentPath();
        shared.ConnectionText = store::buildConnectionText(shared.DataFolder, shared.DatabasePassword);
        TodayYear = static_cast<quint16>(m_today.year());
        TodayMonth = static_cast<quint16>(m_today.month());
        TodayDay = static_cast<quint16>(m_today.day());
        ShowToday();
    });
}

void TForm1::ShowToday() {
    ShowMonth(TodayYear, TodayMonth);
}

void TForm1::ShowMonth(int year, int month) {
    {
        // Selections made here are not the user's: BuildMonth runs once, below, not once per chooser.
        const QSignalBlocker monthBlocker(m_monthChooser);
        const QSignalBlocker yearBlocker(m_yearChooser);
        m_monthChooser->setCurrentIndex(month - 1);
        // A clock year the chooser doesn't offer leaves it without a selected item; BuildMonth then fails.
        m_yearChooser->setCurrentIndex(year - calendar::FirstYear);
    }
    BuildMonth();
}

void TForm1::OpenSearch() {
    ErrorReport::guard([this] {
        // A new window for each opening: it reads the book afresh.
        TForm3 search(*this);
        search.exec();
    });
}

void TForm1::OpenWeek() {
    OpenWeekOf(weekToOpen());
}

void TForm1::OpenWeekOf(const QDate& day) {
    ErrorReport::guard([this, day] {
        // A new window for each opening, like the search's: it reads the book afresh.
        WeekWindow week(*this, day);
        week.exec();
    });
}

QDate TForm1::weekToOpen() const {
    const SharedState& shared = sharedState();
    const QDate first(static_cast<int>(shared.SelectedYear), static_cast<int>(shared.SelectedMonth), 1);
    // The window's own focus child, not the application's: a context menu has the keyboard while it is open.
    for (ClickableLabel* day : m_dayLabels)
        if (focusWidget() == day && day->isVisible() && !day->text().isEmpty())
            return first.addDays(day->text().toInt() - 1);
    if (first.year() == TodayYear && first.month() == TodayMonth)
        return QDate(TodayYear, TodayMonth, TodayDay);
    return first;
}

void TForm1::BuildMonth() {
    SharedState& shared = sharedState();
    YearText = m_yearChooser->currentText();
    // The year comes from the item's text, the month from the item's position.
    shared.SelectedYear = numberFromText(YearText);
    shared.SelectedMonth = static_cast<float>(m_monthChooser->currentIndex() + 1);
    CheckLeapYear(static_cast<quint16>(integerFromText(YearText)));
    DaysInMonth = static_cast<quint16>(calendar::daysInMonth(static_cast<int>(shared.SelectedMonth), LeapYearFlag));
    ComputeFirstWeekday();
    resetCells();
    placeDays();
    paintNumbers();
    applyCellVisibility();
    // Last, because the scan finds each day's cell by the captions written above.
    ScanMonthOccupancy();
}

void TForm1::ComputeFirstWeekday() {
    const SharedState& shared = sharedState();
    FirstWeekday = static_cast<quint16>(
        calendar::firstWeekday(static_cast<int>(shared.SelectedYear), static_cast<int>(shared.SelectedMonth)));
}

void TForm1::CheckLeapYear(quint16 year) {
    LeapYearFlag = calendar::isLeapYear(year);
}

void TForm1::ScanMonthOccupancy() {
    const SharedState& shared = sharedState();
    // Each day's count label as the captions show it, found once for the month; what the scan finds is written
    // when it ends, however it ends: a day it could not read, and every day after it, keeps what it showed
    // (nothing, after a rebuild).
    DayCounts counts = countLabelsOfDays();
    try {
        m_connection->reopen(sharedState().ConnectionText);
        {
            // The month's reads see one state of the book and share one read of it, until the block ends.
            store::ReadTogether together(*m_connection);
            for (int day = 1; day <= DaysInMonth; ++day) {
                // Its own key and statement: the open day's DayKey and DayQuery are not touched.
                const QString dayKey =
                    store::dayKeyOf(static_cast<float>(day), shared.SelectedMonth, shared.SelectedYear);
                // The date column counts too, so an existing record ends at its number of filled slots; a day
                // without a record stays at -1. A value the record does not have counts as blank.
                const std::optional<int> held =
                    store::countHeldValues(*m_query, store::selectDayStatement(dayKey), occupancy::PositionsPerRecord);
                counts.count.at(static_cast<std::size_t>(day)) = held.value_or(0) - 1;
                counts.scanned = day;
            }
        }
        m_connection->close();
    } catch (...) {
        showCounts(counts);
        throw;
    }
    showCounts(counts);
}

TForm1::DayCounts TForm1::countLabelsOfDays() const {
    DayCounts counts;
    // A day shown twice keeps its first cell, as countLabelOfDay finds it.
    std::bitset<32> found;
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        const int day = dayOfCaption(dayLabel(cell)->text());
        if (day > 0 && !found.test(static_cast<std::size_t>(day))) {
            found.set(static_cast<std::size_t>(day));
            counts.dayOfCell.at(static_cast<std::size_t>(cell - 1)) = day;
        }
    }
    return counts;
}

void TForm1::showCounts(const DayCounts& counts) {
    for (std::size_t cell = 0; cell < m_countLabels.size(); ++cell) {
        QLabel* label = m_countLabels.at(cell);
        const int day = counts.dayOfCell.at(cell);
        if (day > 0 && day <= counts.scanned) {
            const int count = counts.count.at(static_cast<std::size_t>(day));
            if (count >= 1)
                label->setText(numberText(count));
            else
                clearText(label);
        } else if (m_clearCounts) {
            clearText(label);
        }
    }
    m_clearCounts = false;
}

QLabel* TForm1::countLabelOfDay(int day) const {
    const QString text = numberText(day);
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        if (dayLabel(cell)->text() == text) {
            return m_countLabels.at(static_cast<std::size_t>(cell - 1));
        }
    }
    return nullptr;
}

void TForm1::ClearDayMarker(int day) {
    if (QLabel* count = countLabelOfDay(day)) {
        clearText(count);
    }
}

void TForm1::ShowDayMarker(int day, int count) {
    if (QLabel* label = countLabelOfDay(day)) {
        label->setText(numberText(count));
    }
}

void TForm1::OpenDay() {
    const SharedState& shared = sharedState();
    m_connection->reopen(shared.ConnectionText);

    // The open day's key ("#m/d/yyyy#" or "ERROR") and the statement of its record, handed to the day window.
    QString dayKey = store::dateText(shared.SelectedDay, shared.SelectedMonth, shared.SelectedYear);
    store::MakeDayKey(dayKey);

    // Every failure of the INSERT is ignored: the day window's SELECT reports what matters.
    const std::optional<QString> recordNotMade = store::ensureDayRecord(*m_command, dayKey);
    m_connection->close();

    auto dayWindow = std::make_unique<TForm2>();
    dayWindow->openDay(store::dateText(shared.SelectedDay, shared.SelectedMonth, shared.SelectedYear),
                       shared.ConnectionText, store::selectDayStatement(dayKey),
                       TForm6::reportFileOf(shared.DataFolder), recordNotMade);

    dayWindow->exec();
    const bool weekAsked = dayWindow->weekAsked();
    dayWindow.reset();

    // No clearing first: every day of the month is written again.
    ScanMonthOccupancy();
    // The search's picture learns what the day holds now (on a server book the day's notice may come too).
    const QDate opened(static_cast<int>(shared.SelectedYear), static_cast<int>(shared.SelectedMonth),
                       static_cast<int>(shared.SelectedDay));
    if ((m_searchIndexWhole || m_searchAhead) && opened.isValid()) {
        m_searchDaysChanged.insert(opened);
        if (m_searchIndexWhole)
            ErrorReport::guard([this] { refreshSearchDays(); });
    }

    // The day's week: a week window the day was opened from shows it already (and reads it again now).
    if (weekAsked && !m_weekOpen)
        OpenWeekOf(QDate(static_cast<int>(shared.SelectedYear), static_cast<int>(shared.SelectedMonth),
                         static_cast<int>(shared.SelectedDay)));
}

void TForm1::OpenDayOf(const QDate& day) {
    ShowMonth(day.year(), day.month());
    sharedState().SelectedDay = static_cast<float>(day.day());
    OpenDay();
}

void TForm1::OpenDayFromWeek(const QDate& day) {
    m_weekOpen = true;
    try {
        OpenDayOf(day);
    } catch (...) {
        m_weekOpen = false;
        throw;
    }
    m_weekOpen = false;
}

void TForm1::resetCells() {
    // Captions are settled by placeDays and colours by paintNumbers; the counts are emptied by the scan, which
    // writes each count label once, with what it then shows.
    m_dayShown.reset();
    m_clearCounts = true;
}

void TForm1::clearText(QLabel* label) {
    if (!label->text().isEmpty())
        label->clear();
}

void TForm1::setNumberColour(int cell, NumberColour colour) {
    // Most rebuilds leave most colours as they were; a palette change repolishes the label, so skip it then. The
    // colour last given is known, except at first, when the label's palette is compared.
    ClickableLabel* day = dayLabel(cell);
    NumberColour& shown = m_numberColours.at(static_cast<std::size_t>(cell - 1));
    const QPalette& palette = colour == NumberColour::Today     ? m_todayNumberPalette
                              : colour == NumberColour::Weekend ? m_weekendNumberPalette
                                                                : m_weekdayNumberPalette;
    if (shown != colour && (shown != NumberColour::Unknown || day->palette() != palette))
        day->setPalette(palette);
    shown = colour;
}

void TForm1::placeDays() {
    DayCounter = 0;
    while (DayCounter < DaysInMonth) {
        ++DayCounter;
        const int cell = calendar::cellOfDay(FirstWeekday, DayCounter);
        // The grid's 37 cells hold any month (at most a 7th-cell start plus 31 days); never write past them.
        if (cell > calendar::CellCount) {
            break;
        }
        ClickableLabel* day = dayLabel(cell);
        day->setText(numberText(DayCounter));
        m_dayShown.set(static_cast<std::size_t>(cell - 1));
    }
    // The cells without a day have no caption. Emptied by an empty text, not cleared: clearing a label that takes
    // the focus also drops Qt's text control, which the next number given to it would make again.
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        ClickableLabel* day = dayLabel(cell);
        if (!m_dayShown.test(static_cast<std::size_t>(cell - 1)) && !day->text().isEmpty())
            day->setText(QString());
    }
}

void TForm1::applyCellVisibility() {
    for (std::size_t cell = 0; cell < m_dayLabels.size(); ++cell) {
        if (m_dayLabels.at(cell)->isHidden() == m_dayShown.test(cell))
            m_dayLabels.at(cell)->setVisible(m_dayShown.test(cell));
        // Every shown day has its count label under it.
        if (m_countLabels.at(cell)->isHidden() == m_dayShown.test(cell))
            m_countLabels.at(cell)->setVisible(m_dayShown.test(cell));
    }
}

void TForm1::paintNumbers() {
    const SharedState& shared = sharedState();
    const bool todaysMonth =
        shared.SelectedMonth == static_cast<float>(TodayMonth) && shared.SelectedYear == static_cast<float>(TodayYear);
    // Hidden cells have empty captions, so exactly one label can show today; green wins over the weekend grey.
    const QString today = numberText(TodayDay);
    for (int cell = 1; cell <= calendar::CellCount; ++cell) {
        const bool isToday = todaysMonth && dayLabel(cell)->text() == today;
        setNumberColour(cell, isToday                                                   ? NumberColour::Today
                              : calendar::isWeekendColumn(calendar::columnOfCell(cell)) ? NumberColour::Weekend
                                                                                        : NumberColour::Weekday);
    }
}

void TForm1::ComboBox1Change() {
    ErrorReport::guard([this] { BuildMonth(); });
}

void TForm1::ComboBox2Change() {
    ErrorReport::guard([this] { BuildMonth(); });
}

void TForm1::Button3Click() {
    // Always rebuilds, even when today's month is already shown.
    ErrorReport::guard([this] { ShowToday(); });
}

void TForm1::Button2Click() {
    ErrorReport::guard([] {
        // A new window for each press; it changes nothing and is released when it closes.
        auto about = std::make_unique<TForm62>();
        about->exec();
    });
}

void TForm1::Button1Click() {
    ErrorReport::guard([this] { close(); });
}

void TForm1::DayLabelClicked(QLabel* label) {
    ErrorReport::guard([label, this] {
        sharedState().SelectedDay = numberFromText(label->text());
        OpenDay();
    });
}

void TForm1::FormClose() {
    m_searchAhead.reset();
    m_connection->close();
}

void TForm1::done(int result) {
    ErrorReport::guard([this] { FormClose(); });
    QDialog::done(result);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // Escape presses the exit button, whatever control has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_exitButton->click();
        event->accept();
        return;
    }
    // The arrows move over the days, a week up or down. The day's own label has already taken Enter (it opens
    // the day), and a list that has the focus keeps its arrows.
    if (focusedDay() > 0 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const int step = event->key() == Qt::Key_Left    ? -1
                         : event->key() == Qt::Key_Right ? 1
                         : event->key() == Qt::Key_Up    ? -7
                         : event->key() == Qt::Key_Down  ? 7
                                                         : 0;
        if (step != 0) {
            ErrorReport::guard([this, step] { moveDayFocus(step); });
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

int TForm1::focusedDay() const {
    for (ClickableLabel* day : m_dayLabels)
        if (day->hasFocus() && day->isVisible() && !day->text().isEmpty())
            return day->text().toInt();
    return 0;
}

void TForm1::focusDay(int day) {
    const QString text = QString::number(day);
    for (ClickableLabel* label : m_dayLabels)
        if (label->isVisible() && label->text() == text) {
            label->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void TForm1::moveDayFocus(int days) {
    const SharedState& shared = sharedState();
    const QDate shown(static_cast<int>(shared.SelectedYear), static_cast<int>(shared.SelectedMonth), 1);
    const QDate target = shown.addDays(focusedDay() - 1 + days);
    if (target.year() < calendar::FirstYear || target.year() > calendar::LastYear)
        return;
    if (target.month() != shown.month() || target.year() != shown.year())
        ShowMonth(target.year(), target.month());
    focusDay(target.day());
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(m_searchAction);
    menu.addAction(m_weekAction);
    if (m_importAction) {
        menu.addSeparator();
        menu.addAction(m_importAction);
    }
    menu.exec(event->globalPos());
    event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
    if (!m_placedOnScreen) {
        m_placedOnScreen = true;
        look::centreOnScreen(this);
        // The keyboard starts on today, so that the arrows and Enter work at once.
        QTimer::singleShot(0, this, [this] {
            if (!focusWidget() || !focusWidget()->isVisible())
                focusDay(TodayDay);
        });
        // The search's picture is made while the user looks at the month.
        QTimer::singleShot(SearchAheadDelayMilliseconds, this, [this] { startSearchAhead(); });
    }
    QDialog::showEvent(event);
}
