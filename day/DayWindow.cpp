#include "day/DayWindow.h"

#include "base/ErrorReport.h"
#include "base/WindowLook.h"
#include "day/AnswerWaitGate.h"
#include "day/DataSource.h"
#include "day/RecordNavigator.h"
#include "day/RepeatDialog.h"
#include "day/ReportHost.h"
#include "store/Connection.h"
#include "store/DayRecord.h"
#include "store/FilledSlots.h"
#include "store/Query.h"
#include "store/backup/DailyBackup.h"
#include "store/engine/BookWatch.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr int SlotsPerColumn = 14;

// Tops of the time captions of one column; the last two rows sit 2 pixels higher than the 40-pixel step.
constexpr std::array<int, SlotsPerColumn> CaptionTops = {16,  56,  96,  136, 176, 216, 256,
                                                         296, 336, 376, 416, 456, 494, 534};
constexpr int EditBelowCaption = 5;
constexpr std::array<int, 2> CaptionLefts = {16, 384};
constexpr std::array<int, 2> EditLefts = {135, 503};
constexpr QSize CaptionSize(105, 25);
constexpr QSize EditSize(217, 17);
constexpr int ButtonTop = 647;
constexpr QSize ButtonSize(75, 25);

using look::tahoma;

// The bottom row's buttons take no focus: Tab walks the slots only.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left) {
    return look::makePushButton(parent, QLatin1String(name), caption, QRect(QPoint(left, ButtonTop), ButtonSize),
                                Qt::NoFocus);
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent), m_connection(std::make_unique<store::Connection>()),
      m_query(std::make_unique<store::Query>(*m_connection)), m_dataSource(std::make_unique<DataSource>()) {
    setObjectName(QStringLiteral("TForm2"));
    m_query->setObjectName(QStringLiteral("ADOQuery1"));
    m_dataSource->setObjectName(QStringLiteral("DataSource1"));

    setWindowTitle(QStringLiteral("Αναλυτική κατάσταση των ραντεβού"));
    look::setFixedFrame(this, QSize(790, 689));

    buildHeading();
    buildSlots();
    buildButtons();

    m_dataSource->setQuery(m_query.get());
    watchBook();
}

void TForm2::watchBook() {
    // Another seat's save shows at once in the slots this user has not touched; a slot being edited keeps the
    // user's text, and its post is refused if the other seat changed that very slot.
    auto reread = [this] {
        try {
            m_query->refresh();
            showStartsOfTexts(true);
        } catch (const std::exception&) {
            // Not the user's step: the shown values stay, and the next post or opening reports the failure.
        }
    };
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, this, [this, reread](const QDate& day) {
        if (day == m_day)
            reread();
    });
    connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, this, reread);
}

TForm2::~TForm2() {
    // The boxes and the navigator outlive the members; cut them loose before the query goes.
    m_dataSource->setQuery(nullptr);
}

void TForm2::buildHeading() {
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("Label83"));
    m_heading->setFont(tahoma(24));
    QPalette colours = m_heading->palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 255));
    colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_heading->setPalette(colours);
    m_heading->setAutoFillBackground(true);
    m_heading->move(324, 14);
    m_heading->adjustSize();
}

void TForm2::buildSlots() {
    auto* scrollBox = new QScrollArea(this);
    scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox->setGeometry(24, 56, 744, 577);
    scrollBox->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    scrollBox->setFocusPolicy(Qt::NoFocus);
    scrollBox->setWidgetResizable(true);

    auto* contents = new QWidget;
    contents->setObjectName(QStringLiteral("ScrollBox1Contents"));
    // The scroll range reaches the right and bottom edges of the rows, as far as any slot reaches.
    contents->setMinimumSize(EditLefts[1] + EditSize.width(), CaptionTops.back() + CaptionSize.height());

    QPalette slotColours;
    slotColours.setColor(QPalette::Base, QColor(255, 251, 240));
    slotColours.setColor(QPalette::Text, QColor(255, 0, 0));
    const QFont slotFont = tahoma(11, true);

    const QStringList& columns = store::slotColumnNames();
    QLineEdit* previous = nullptr;
    for (int slot = 1; slot <= columns.size(); ++slot) {
        const QString& column = columns.at(slot - 1);
        const int side = (slot - 1) / SlotsPerColumn;
        const int row = (slot - 1) % SlotsPerColumn;

        auto* caption = new QLabel(store::slotCaption(column), contents);
        caption->setObjectName(QStringLiteral("Panel%1").arg(slot));
        caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
        caption->setLineWidth(1);
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(QRect(QPoint(CaptionLefts[side], CaptionTops[row]), CaptionSize));

        auto* edit = new QLineEdit(contents);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(slot));
        edit->setFrame(false);
        edit->setFont(slotFont);
        edit->setPalette(slotColours);
        edit->setGeometry(QRect(QPoint(EditLefts[side], CaptionTops[row] + EditBelowCaption), EditSize));
        edit->setAccessibleName(caption->text());
        m_dataSource->bind(edit, column);
        // Typing goes on while a post waits for a slow server; the text stays in editing after it.
        AnswerWaitGate::letTypeInto(edit);
        m_slotBoxes.push_back(edit);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QLineEdit::customContextMenuRequested, this,
                [this, edit](const QPoint& where) { offerRepeat(edit, where); });
        // A long text is seen whole in the tool tip; the box itself shows where it starts (see showEvent).
        connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
            const bool cut = edit->fontMetrics().horizontalAdvance(text) > edit->contentsRect().width() - 4;
            edit->setToolTip(cut ? text : QString());
        });

        if (previous) {
            QWidget::setTabOrder(previous, edit);
        }
        previous = edit;
    }
    scrollBox->setWidget(contents);
}

void TForm2::buildButtons() {
    m_printButton = makeButton(this, "Button1", QStringLiteral("Ε&κύπωση"), 24);
    connect(m_printButton, &QPushButton::clicked, this, &TForm2::Button1Click);

    m_navigator = new RecordNavigator(this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setGeometry(QRect(QPoint(350, ButtonTop), ButtonSize));
    m_navigator->setDataSource(m_dataSource.get());
    connect(m_navigator, &RecordNavigator::posted, this, &TForm2::startBackupIfDue);

    m_exitButton = makeButton(this, "Button29", QStringLiteral("Έ&ξοδος"), 693);
    connect(m_exitButton, &QPushButton::clicked, this, &TForm2::Button29Click);

    // Between print and post: the day's week, in the month's own week window.
    m_weekButton = look::makePushButton(this, QStringLiteral("WeekButton"), tr("&Week"),
                                        QRect(QPoint(24 + ButtonSize.width() + 8, ButtonTop), QSize(110, 25)),
                                        Qt::NoFocus);
    m_weekButton->setToolTip(tr("Ctrl+W"));
    connect(m_weekButton, &QPushButton::clicked, this, &TForm2::WeekButtonClick);
    auto* week = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(week, &QShortcut::activated, this, &TForm2::WeekButtonClick);

    // The post button takes no focus, so the keyboard reaches it through the usual save keys instead.
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, m_navigator, &RecordNavigator::post);
    auto* repeat = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(repeat, &QShortcut::activated, this, [this] {
        const auto box = std::find(m_slotBoxes.begin(), m_slotBoxes.end(), focusWidget());
        if (box != m_slotBoxes.end())
            repeatSlot(static_cast<int>(box - m_slotBoxes.begin()));
    });
}

void TForm2::offerRepeat(QLineEdit* box, const QPoint& where) {
    // The box's own menu (undo, cut, copy, paste …) with the repeat after it.
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    menu->addSeparator();
    QAction* repeat = menu->addAction(tr("&Repeat…"));
    repeat->setObjectName(QStringLiteral("RepeatAction"));
    repeat->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    repeat->setEnabled(!box->isReadOnly());
    const int slot = static_cast<int>(std::find(m_slotBoxes.begin(), m_slotBoxes.end(), box) - m_slotBoxes.begin());
    connect(repeat, &QAction::triggered, this, [this, slot] { repeatSlot(slot); });
    menu->exec(box->mapToGlobal(where));
}

void TForm2::repeatSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_slotBoxes.size()) || m_slotBoxes[slot]->isReadOnly())
        return;
    if (m_dataSource->isEditing()) {
        m_navigator->post();
        if (m_dataSource->isEditing())
            return;
    }
    const QString text = m_slotBoxes[slot]->text();
    if (!store::holdsAppointment(text)) {
        ErrorReport::show(tr("The slot %1 holds no appointment to repeat. Type it first, then repeat it.")
                              .arg(store::slotTimeText(slot)));
        return;
    }
    RepeatDialog dialog(*m_connection, m_day, slot, text, this);
    dialog.exec();
}

void TForm2::setHeading(const QString& text) {
    m_heading->setText(text);
    m_heading->adjustSize();
}

void TForm2::openDay(const QString& heading, const QString& connectionText, const QString& dayQuery,
                     const QString& reportFile, const std::optional<QString>& recordNotMade) {
    setHeading(heading);
    m_day = QDate::fromString(heading, QStringLiteral("d/M/yyyy"));
    m_connectionText = connectionText;
    m_dayQuery = dayQuery;
    m_reportFile = reportFile;

    m_connection->reopen(connectionText);
    store::openQuery(*m_query, dayQuery);
    showStartsOfTexts();
    if (recordNotMade && m_query->isEmpty()) {
        ErrorReport::show(tr("The day %1 could not be made in the data file, so its slots are shown read-only and "
                             "nothing can be typed or saved in them. The reason:\n\n%2\n\nDeal with that, then close "
                             "this day and open it again.")
                              .arg(heading, *recordNotMade));
    }
}

void TForm2::startBackupIfDue() {
    // The first save of a new day (the program ran past midnight) makes that day's backup, on its own thread.
    reportFinishedBackup();
    const store::ConnectionSettings settings = store::parseConnectionText(m_connectionText);
    store::DailyBackup::instance().startIfNewDay(settings.dataSource, settings.password, QDate::currentDate());
}

void TForm2::reportFinishedBackup() {
    const auto backup = store::DailyBackup::instance().takeIfDone();
    if (backup && backup->result == store::BackupOutcome::Result::Failed)
        ErrorReport::show(backup->message);
}

void TForm2::showStartsOfTexts(bool keepTheUsers) {
    // A box filled from the record leaves its cursor at the end, which shows a long text's last words and
    // hides the client's name at its start. The box being typed in keeps its cursor, and after another desk's
    // save so does every box the user has typed in.
    for (QLineEdit* box : m_slotBoxes)
        if (box != focusWidget() && !(keepTheUsers && box->isModified()))
            box->setCursorPosition(0);
}

TForm2::Unsaved TForm2::askAboutUnsaved(QWidget* parent, Next next) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(ErrorReport::ApplicationTitle),
                    tr("Save the changes?"), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("UnsavedQuestion"));
    switch (next) {
    case Next::Print:
        box.setInformativeText(tr("Some slots hold text that is not saved yet. Yes saves it and prints the day "
                                  "with it; No prints the day as last saved and keeps the text here unsaved."));
        break;
    case Next::Close:
        box.setInformativeText(tr("Some slots hold text that is not saved yet. Yes saves it and closes the "
                                  "day; No closes the day without it."));
        break;
    case Next::Week:
        box.setInformativeText(tr("Some slots hold text that is not saved yet. Yes saves it, closes the day and "
                                  "shows its week; No closes the day without it and shows the week."));
        break;
    }
    box.button(QMessageBox::Save)->setText(tr("&Yes"));
    box.button(QMessageBox::Discard)->setText(tr("&No"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Unsaved::Save;
    case QMessageBox::Discard:
        return Unsaved::Drop;
    default:
        return Unsaved::Stay;
    }
}

bool TForm2::settleUnsaved(Next next) {
    if (!m_dataSource->isEditing())
        return true;
    switch (askAboutUnsaved(this, next)) {
    case Unsaved::Save:
        // A refused save has shown its reason; the text stays in its boxes and the window stays open.
        m_navigator->post();
        return !m_dataSource->isEditing();
    case Unsaved::Drop:
        return true;
    case Unsaved::Stay:
        break;
    }
    return false;
}

void TForm2::Button1Click() {
    if (!settleUnsaved(Next::Print))
        return;
    ErrorReport::guard([this] {
        // A fresh host for each print, released right after it, also when the print fails.
        auto host = std::make_unique<TForm6>(m_connectionText, m_dayQuery, m_reportFile);
        host->PrintDayReport();
    });
}

void TForm2::Button29Click() {
    close();
}

void TForm2::FormClose() {
    reportFinishedBackup();
    m_query->close();
    m_query->clearStatement();
    m_connection->close();
}

void TForm2::done(int result) {
    // Also reached while the window is already hidden (a test's time limit, the application quitting): no
    // one is there to answer.
    if (isVisible() && !settleUnsaved(Next::Close))
        return;
    FormClose();
    QDialog::done(result);
}

void TForm2::WeekButtonClick() {
    // The week is the month's window and the day one record's: the day closes first (its edits saved or dropped
    // as the user says), so that no day stays open under a week that can open it, or another, again.
    if (!settleUnsaved(Next::Week))
        return;
    m_weekAsked = true;
    FormClose();
    // Settled already: past this window's own question.
    QDialog::done(QDialog::Accepted);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    // Esc presses the exit button, so that it leaves the same way as a click on it.
    if (event->matches(QKeySequence::Cancel)) {
        m_exitButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, whatever window opened it.
    look::centreOnScreen(this);
    showStartsOfTexts();
}
