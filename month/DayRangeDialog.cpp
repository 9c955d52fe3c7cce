#include "month/DayRangeDialog.h"

#include "base/WindowLook.h"
#include "day/WeekPrint.h"
#include "month/Calendar.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateEdit* makeDateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setDisplayFormat(QStringLiteral("d/M/yyyy"));
    edit->setDateRange(QDate(calendar::FirstYear, 1, 1), QDate(calendar::LastYear, 12, 31));
    edit->setCalendarPopup(true);
    // The calendar that drops down names its months and weekdays in Greek, as the month window does.
    edit->setLocale(QLocale(QLocale::Greek, QLocale::Greece));
    return edit;
}

} // namespace

DayRangeDialog::DayRangeDialog(QDate first, QDate last, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DayRangeDialog"));
    setWindowTitle(tr("Print days"));
    setFont(look::tahoma(13));

    m_from = makeDateEdit(this, "FromDay");
    m_to = makeDateEdit(this, "ToDay");
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("RangeNote"));
    m_note->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("&Print"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));

    auto* form = new QFormLayout;
    form->addRow(tr("&From:"), m_from);
    form->addRow(tr("&To:"), m_to);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("One day sheet for each day, in one print."), this));
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_from, &QDateEdit::dateChanged, this, &DayRangeDialog::check);
    connect(m_to, &QDateEdit::dateChanged, this, &DayRangeDialog::check);
    setRange(first, last);
    m_from->setFocus();
}

QDate DayRangeDialog::first() const {
    return m_from->date();
}

QDate DayRangeDialog::last() const {
    return m_to->date();
}

void DayRangeDialog::setRange(QDate first, QDate last) {
    m_from->setDate(first);
    m_to->setDate(last);
    check();
}

void DayRangeDialog::check() {
    QString note;
    if (last() < first())
        note = tr("The last day comes before the first.");
    else if (first().daysTo(last()) >= WeekPrint::MostDays)
        note = tr("At most %1 days are printed at a time.").arg(WeekPrint::MostDays);
    else
        note = tr("%n day sheet(s).", nullptr, static_cast<int>(first().daysTo(last()) + 1));
    m_note->setText(note);
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(last() >= first() && first().daysTo(last()) < WeekPrint::MostDays);
}
