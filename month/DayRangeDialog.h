#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QLabel;

// The small window that asks which days to print: from one day to another (both included), within the
// calendar's years and at most WeekPrint::MostDays of them. OK is refused while the range is not one.
class DayRangeDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on the days from first to last (a shown week, say).
    DayRangeDialog(QDate first, QDate last, QWidget* parent = nullptr);

    QDate first() const;
    QDate last() const;
    void setRange(QDate first, QDate last);

private:
    void check();

    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QLabel* m_note = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
