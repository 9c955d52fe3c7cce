#pragma once

// The floors' own reading of the benchmark book: the encrypted file of a BenchDataFolder, straight through the
// database library on one keyed handle, with the day and range statements compiled once.

#include "bench/BenchDataFolder.h"

#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QStringList>

#include <sqlcipher/sqlite3.h>

#include <cstdio>
#include <exception>
#include <string>
#include <type_traits>

// The encrypted file of 10,000 day records, open and keyed, with its day and range statements compiled.
class FloorBook {
public:
    explicit FloorBook(int dayRecords) {
        const QString file =
            QDir(BenchDataFolder::shared(dayRecords).path()).filePath(QLatin1String(store::DatabaseFileName));
        try {
            // Opened, keyed and set to the book's format as the program does it; none of that is timed.
            const store::FailureContext context{file, QStringLiteral("opening the data file for a floor program"), 0};
            m_database = store::SqliteDatabase(file, store::SqliteDatabase::OpenMode::ReadOnly, context);
            store::keyBook(m_database, QLatin1String(store::FixedDatabasePassword), context);
            m_handle = m_database.get();
            m_ok = prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?"), &m_day) &&
                   prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 BETWEEN ? AND ? ORDER BY %2"), &m_range);
        } catch (const std::exception&) {
            m_ok = false;
        }
    }
    // The statements go before the handle that the database member closes.
    ~FloorBook() {
        sqlite3_finalize(m_day);
        sqlite3_finalize(m_range);
    }
    FloorBook(const FloorBook&) = delete;
    FloorBook& operator=(const FloorBook&) = delete;

    bool ok() const { return m_ok; }

    bool execute(const std::string& sql) {
        return sqlite3_exec(m_handle, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // One lookup of a day: its filled slots, or -1 without a record (or on a failure).
    int filledSlotsOf(int year, int month, int day) {
        return lookUpDay(year, month, day, [](sqlite3_stmt* row) { return row ? filledSlotsOfRow(row) : -1; });
    }

    // The texts of a day's 28 slots, in the table's order ("" for null), read once before a print floor.
    QStringList slotTextsOf(int year, int month, int day) {
        return lookUpDay(year, month, day, [](sqlite3_stmt* row) {
            QStringList texts;
            for (int column = 1; row && column < sqlite3_column_count(row); ++column)
                texts << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)),
                                           sqlite3_column_bytes(row, column));
            return texts;
        });
    }

    // One range read of a month: the records found, their filled slots added into `filled`.
    int readMonth(int year, int month, int& filled) {
        char first[11];
        char last[11];
        std::snprintf(first, sizeof first, "%04d-%02d-01", year, month);
        std::snprintf(last, sizeof last, "%04d-%02d-31", year, month);
        sqlite3_bind_text(m_range, 1, first, 10, SQLITE_STATIC);
        sqlite3_bind_text(m_range, 2, last, 10, SQLITE_STATIC);
        int records = 0;
        while (sqlite3_step(m_range) == SQLITE_ROW) {
            ++records;
            filled += filledSlotsOfRow(m_range);
        }
        sqlite3_reset(m_range);
        return records;
    }

private:
    // Runs the day statement for one date and hands read the row found (null without one), then resets it.
    template <typename Read>
    std::invoke_result_t<Read, sqlite3_stmt*> lookUpDay(int year, int month, int day, Read read) {
        char date[11];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
        sqlite3_bind_text(m_day, 1, date, 10, SQLITE_STATIC);
        auto result = read(sqlite3_step(m_day) == SQLITE_ROW ? m_day : nullptr);
        sqlite3_reset(m_day);
        return result;
    }

    bool prepare(const QString& pattern, sqlite3_stmt** statement) {
        const QByteArray sql =
            pattern.arg(QLatin1String(store::AppointmentTableName), QLatin1String(store::DayColumnName)).toUtf8();
        return sqlite3_prepare_v2(m_handle, sql.constData(), -1, statement, nullptr) == SQLITE_OK;
    }

    // Every slot value read; a slot counts when it holds more than blanks.
    static int filledSlotsOfRow(sqlite3_stmt* row) {
        int filled = 0;
        for (int column = 1; column < sqlite3_column_count(row); ++column) {
            const auto* text = sqlite3_column_text(row, column);
            const int length = sqlite3_column_bytes(row, column);
            for (int i = 0; text != nullptr && i < length; ++i) {
                if (text[i] != ' ') {
                    ++filled;
                    break;
                }
            }
        }
        return filled;
    }

    store::SqliteDatabase m_database;
    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_day = nullptr;
    sqlite3_stmt* m_range = nullptr;
    bool m_ok = false;
};
