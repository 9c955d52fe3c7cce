#pragma once

#include "legacy/JetHeader.h"
#include "legacy/JetRecordLayout.h"
#include "store/wholebook/DayRow.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace legacy {

// One record of an older book's appointment table as stored: its date (days since 30 December 1899, the
// fraction being the time) and its 28 slots in time order.
struct JetRecord {
    qint64 number = 0; // 1 for the first record read
    std::optional<double> date;
    std::array<std::optional<QString>, store::SlotCount> slotTexts;
};

// An older appointment book, a Jet 3 or Jet 4 database file, opened with libmdb for reading its
// appointment table RANTEBOU one record at a time. Opening checks that the file is a whole Jet file and
// that its database password is the expected one (libmdb does not), and finds the table and its columns
// by name, as Jet does, whatever their case and order. Move-only; the library's handles are closed on
// every path.
class JetBook {
public:
    // Throws ImportError naming the file and what to do when it is not a readable Jet file with the
    // appointment table, or its password is not expectedPassword.
    JetBook(const QString& path, const QString& expectedPassword);
    ~JetBook();
    JetBook(JetBook&& other) noexcept;
    JetBook& operator=(JetBook&& other) noexcept;
    JetBook(const JetBook&) = delete;
    JetBook& operator=(const JetBook&) = delete;

    // Throws ImportError naming the file unless path leads to an ordinary file this user may read, of at most
    // the size a Jet file can have; looks without opening it, so a pipe or a device is refused before any wait.
    static void requireReadableFile(const QString& path);

    const QString& path() const { return m_path; }
    JetHeader::Format format() const { return m_format; }
    // Columns of the appointment table that are neither its date nor a slot: they are not brought over.
    const QStringList& ignoredColumns() const { return m_ignored; }
    // The number of records the table says it holds.
    qint64 recordCount() const;

    // Reads the next record into record; false after the last. Throws ImportError when a record cannot be
    // read faithfully, or when the table ends before all its records were read (damaged pages).
    bool next(JetRecord& record);

private:
    struct Handles;
    void close() noexcept;
    void openTable();
    std::optional<QString> slotText(int slot, const JetRecord& record) const;
    void requireValuesInPlace(const JetRecord& record) const;

    QString m_path;
    JetHeader::Format m_format = JetHeader::Format::NotJet;
    Handles* m_handles = nullptr;
    QStringList m_ignored;
    int m_dateColumn = -1;                             // index in the library's column list
    std::array<int, store::SlotCount> m_slotColumns{}; // the same, per slot
    Jet4Columns m_layout;                              // where a Jet 4 record places its values
    qint64 m_read = 0;
};

} // namespace legacy
