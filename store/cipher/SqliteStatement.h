#pragma once

#include "store/cipher/CipherFailure.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3_stmt;

namespace store {

class SqliteDatabase;

// One prepared statement, finalized on every path; move-only.
class SqliteStatement {
public:
    // Prepares the first statement of sql; throws on failure.
    SqliteStatement(SqliteDatabase& database, const QString& sql, const FailureContext& context);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // True when sql held more than the one statement prepared.
    bool hadMoreStatements() const { return m_hadMore; }

    // Binds a value to the 1-based parameter: null, text, whole or decimal number, bytes.
    void bind(int parameter, const QVariant& value);
    // Binds a text (whole UTF-16) without copying it, or no value: text must stay as it is until the statement is
    // reset. A null text that is there binds as an empty text.
    void bindText(int parameter, const std::optional<QString>& text);
    // Makes the statement ready to run again: back before its first row, every parameter unbound. Ends the
    // read it was doing, so a kept statement holds no lock between uses.
    void reset();
    // What failures of later steps name (the wait, say, may have changed since it was prepared).
    void setContext(const FailureContext& context) { m_context = context; }

    // Steps once: true when a row is ready, false when the statement is done. Throws on failure.
    bool step();

    int columnCount() const;
    QString columnName(int column) const;
    QString declaredType(int column) const;
    QString tableName(int column) const;
    QString originName(int column) const;
    // The current row's value as stored: a null QVariant, qlonglong, double, QString or QByteArray.
    QVariant value(int column) const;
    // The current row's text, whole number or bytes as they are stored, without a copy (valid until the next
    // step); false for no value and for a decimal number, whose text value() makes.
    bool textAt(int column, const char*& data, qsizetype& size) const;
    // The current row's value as the library's text of it (a number's digits, the bytes of bytes), without a copy
    // (valid until the next step); empty for no value.
    QByteArrayView asText(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    SqliteDatabase* m_database;
    FailureContext m_context;
    bool m_hadMore = false;
};

} // namespace store
