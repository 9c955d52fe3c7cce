#pragma once

#include "day/RepeatPlan.h"
#include "store/SlotBooking.h"

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The repeat of one appointment: the slot's text at the same half hour every week or every so many days, a
// number of times or until a day. The days are shown first, each with what it holds at that half hour; only
// the free ones are booked, all of them in one transaction, and the taken ones are named and left as they are.
class RepeatDialog : public QDialog {
    Q_OBJECT
public:
    // Repeats `text` of slot (0 for 08:00-08:30 … 27) of `day` in the book connection holds, open.
    RepeatDialog(store::Connection& connection, QDate day, int slot, const QString& text, QWidget* parent = nullptr);
    ~RepeatDialog() override;

    // The rule the controls give.
    RepeatRule rule() const;
    // Sets the controls to a rule (tests, and the default of every week, 8 times).
    void setRule(const RepeatRule& rule);
    // The days the rule gives, as last shown in the list.
    const std::vector<QDate>& dates() const { return m_dates; }

    // Books the free days (the book button). On success the window closes and says what was done; a failure
    // is shown and nothing is written.
    void book();

private:
    void buildLayout();
    // Reads what the days hold and shows them; a failure to read is shown in the list's place.
    void showPlan();
    std::vector<store::SlotWrite> writes() const;
    QString listOf(const std::vector<QDate>& days) const;

    store::Connection& m_connection;
    QDate m_day;
    int m_slot;
    QString m_text;
    std::vector<QDate> m_dates;

    QRadioButton* m_everyWeek = nullptr;
    QRadioButton* m_everyDays = nullptr;
    QSpinBox* m_days = nullptr;
    QRadioButton* m_timesChoice = nullptr;
    QRadioButton* m_untilChoice = nullptr;
    QSpinBox* m_times = nullptr;
    QDateEdit* m_until = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_bookButton = nullptr;
};
