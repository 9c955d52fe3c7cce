#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

class TForm2;

// A data file of the day tests' own in a temporary folder, made by the store's maker with the program's
// password, and what the month window and other programs do to it: make sure a day's record exists,
// open the day in a day window, read and write slots through a connection of their own.
class DayTestFile {
public:
    static constexpr const char* Password = "Kw73Tp";

    DayTestFile();

    bool isValid() const { return m_valid; }
    QString path() const;
    QString connectionText() const;

    // Replaces the appointment table by one whose first slot column holds at most size characters.
    void narrowFirstSlot(int size);

    // The day key of a date text such as "5/3/2010".
    static QString keyOf(const QString& dateText);

    // What the month window does before it shows a day: the INSERT, whose failure (a record that exists
    // already) is ignored.
    void ensureDay(const QString& dateText);

    // Prepares window for the day as the month window does, after ensureDay when withRecord.
    void openIn(TForm2& window, const QString& dateText, bool withRecord = true);

    // One slot of the stored record, read through a connection of its own (null for a free slot).
    QVariant storedSlot(const QString& dateText, const QString& column) const;

    // Another program saving slots of the day (column, text pairs) through its own connection.
    void storeSlots(const QString& dateText, const QList<QPair<QString, QVariant>>& values);

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
