#include "day/RepeatDialog.h"

#include "base/ErrorReport.h"
#include "platform/Failure.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"

#include <QButtonGroup>
#include <QColor>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <set>

namespace {

QString shownDay(QDate day) {
    // "Τρ 22/12/2026": the weekday helps the eye down a list of weeks.
    return QLocale(QLocale::Greek, QLocale::Greece).toString(day, QStringLiteral("ddd d/M/yyyy"));
}

std::set<QDate> daysOf(const std::vector<store::SlotWrite>& writes) {
    std::set<QDate> days;
    for (const store::SlotWrite& write : writes)
        days.insert(write.day);
    return days;
}

} // namespace

RepeatDialog::RepeatDialog(store::Connection& connection, QDate day, int slot, const QString& text, QWidget* parent)
    : QDialog(parent), m_connection(connection), m_day(day), m_slot(slot), m_text(text) {
    setObjectName(QStringLiteral("RepeatDialog"));
    setWindowTitle(tr("Repeat the appointment"));
    buildLayout();
    setRule(RepeatRule{});
}

RepeatDialog::~RepeatDialog() = default;

void RepeatDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* what = new QLabel(tr("\"%1\" at %2, from %3:").arg(m_text, store::slotTimeText(m_slot), shownDay(m_day)));
    what->setObjectName(QStringLiteral("RepeatWhat"));
    what->setWordWrap(true);
    what->setTextFormat(Qt::PlainText);
    layout->addWidget(what);

    auto* grid = new QGridLayout;
    m_everyWeek = new QRadioButton(tr("Every &week"));
    m_everyDays = new QRadioButton(tr("Every"));
    m_days = new QSpinBox;
    m_days->setObjectName(QStringLiteral("RepeatEveryDays"));
    m_days->setRange(1, 365);
    m_days->setSuffix(tr(" days"));
    auto* every = new QButtonGroup(this);
    every->addButton(m_everyWeek);
    every->addButton(m_everyDays);
    grid->addWidget(m_everyWeek, 0, 0);
    grid->addWidget(m_everyDays, 1, 0);
    grid->addWidget(m_days, 1, 1);

    m_timesChoice = new QRadioButton(tr("&Times:"));
    m_times = new QSpinBox;
    m_times->setObjectName(QStringLiteral("RepeatTimes"));
    m_times->setRange(1, MaximumRepeats);
    m_untilChoice = new QRadioButton(tr("&Until:"));
    m_until = new QDateEdit;
    m_until->setObjectName(QStringLiteral("RepeatUntil"));
    m_until->setDisplayFormat(QStringLiteral("d/M/yyyy"));
    m_until->setCalendarPopup(true);
    m_until->setDateRange(m_day.addDays(1), QDate(LastRepeatYear, 12, 31));
    auto* howLong = new QButtonGroup(this);
    howLong->addButton(m_timesChoice);
    howLong->addButton(m_untilChoice);
    grid->addWidget(m_timesChoice, 0, 2);
    grid->addWidget(m_times, 0, 3);
    grid->addWidget(m_untilChoice, 1, 2);
    grid->addWidget(m_until, 1, 3);
    layout->addLayout(grid);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("RepeatDates"));
    m_list->setMinimumSize(540, 220);
    layout->addWidget(m_list);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("RepeatSummary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    auto* buttons = new QDialogButtonBox;
    m_bookButton = buttons->addButton(tr("&Book"), QDialogButtonBox::AcceptRole);
    m_bookButton->setObjectName(QStringLiteral("RepeatBook"));
    m_bookButton->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &RepeatDialog::book);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Every change of the rule shows its days again, read from the book as they are now.
    for (QRadioButton* choice : {m_everyWeek, m_everyDays, m_timesChoice, m_untilChoice})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showPlan();
        });
    connect(m_days, &QSpinBox::valueChanged, this, [this] {
        m_everyDays->setChecked(true);
        showPlan();
    });
    connect(m_times, &QSpinBox::valueChanged, this, [this] {
        m_timesChoice->setChecked(true);
        showPlan();
    });
    connect(m_until, &QDateEdit::dateChanged, this, [this] {
        m_untilChoice->setChecked(true);
        showPlan();
    });
}

RepeatRule RepeatDialog::rule() const {
    RepeatRule rule;
    rule.everyDays = m_everyWeek->isChecked() ? 7 : m_days->value();
    if (m_untilChoice->isChecked()) {
        rule.times = 0;
        rule.until = m_until->date();
    } else {
        rule.times = m_times->value();
    }
    return rule;
}

void RepeatDialog::setRule(const RepeatRule& rule) {
    const QSignalBlocker blockers[] = {QSignalBlocker(m_everyWeek), QSignalBlocker(m_everyDays),
                                       QSignalBlocker(m_days),      QSignalBlocker(m_timesChoice),
                                       QSignalBlocker(m_untilChoice), QSignalBlocker(m_times),
                                       QSignalBlocker(m_until)};
    (rule.everyDays == 7 ? m_everyWeek : m_everyDays)->setChecked(true);
    m_days->setValue(rule.everyDays);
    m_times->setValue(rule.times > 0 ? rule.times : 8);
    m_until->setDate(rule.until ? *rule.until : m_day.addDays(7 * 8));
    (rule.until && rule.times <= 0 ? m_untilChoice : m_timesChoice)->setChecked(true);
    showPlan();
}

std::vector<store::SlotWrite> RepeatDialog::writes() const {
    std::vector<store::SlotWrite> writes;
    writes.reserve(m_dates.size());
    for (const QDate& day : m_dates)
        writes.push_back({day, m_slot, m_text});
    return writes;
}

QString RepeatDialog::listOf(const std::vector<QDate>& days) const {
    QStringList shown;
    for (const QDate& day : days)
        shown << shownDay(day);
    return shown.join(QStringLiteral(", "));
}

void RepeatDialog::showPlan() {
    m_dates = repeatDates(m_day, rule());
    m_list->clear();
    m_bookButton->setEnabled(false);
    if (m_dates.empty()) {
        m_summary->setText(tr("The rule gives no day after this one within the calendar's years."));
        return;
    }
    store::BookingPlan plan;
    try {
        plan = store::planBooking(m_connection, writes());
    } catch (const platform::Failure& failure) {
        m_summary->setText(tr("What the days hold could not be read:\n%1").arg(failure.text()));
        return;
    }
    const std::set<QDate> taken = daysOf(plan.taken);
    const std::set<QDate> same = daysOf(plan.same);
    for (const QDate& day : m_dates) {
        QString state = tr("free: it will be booked");
        if (taken.count(day))
            state = tr("taken by another appointment: left as it is");
        else if (same.count(day))
            state = tr("holds this appointment already");
        auto* item = new QListWidgetItem(QStringLiteral("%1 — %2").arg(shownDay(day), state), m_list);
        item->setData(Qt::UserRole, day);
        if (taken.count(day))
            item->setForeground(QColor(160, 0, 0));
    }
    m_summary->setText(tr("%1 of the %2 days will be booked; %3 taken, %4 holding it already.")
                           .arg(plan.free.size())
                           .arg(m_dates.size())
                           .arg(plan.taken.size())
                           .arg(plan.same.size()));
    m_bookButton->setEnabled(!plan.free.empty());
}

void RepeatDialog::book() {
    if (m_dates.empty())
        return;
    store::BookingPlan done;
    if (!ErrorReport::guard([&] { done = store::bookFreeSlots(m_connection, writes()); })) {
        // Nothing was written; what the days hold may have changed, so they are shown again.
        showPlan();
        return;
    }
    std::vector<QDate> taken;
    for (const store::SlotWrite& write : done.taken)
        taken.push_back(write.day);
    QString message = tr("%1 days booked at %2.").arg(done.free.size()).arg(store::slotTimeText(m_slot));
    if (!taken.empty())
        message += QLatin1Char('\n') + tr("Taken by another appointment, left as they are: %1.").arg(listOf(taken));
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(ErrorReport::ApplicationTitle), message,
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("RepeatDone"));
    box.exec();
    accept();
}
