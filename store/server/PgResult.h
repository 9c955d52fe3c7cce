#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct pg_result;

namespace store {

// One result of the server library, cleared on every path; move-only.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : m_result(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept;
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    pg_result* get() const { return m_result; }
    explicit operator bool() const { return m_result != nullptr; }

    // True for a command or query that succeeded.
    bool succeeded() const;
    // The five-character SQLSTATE of a failure ("23505" a duplicate key, ...); empty when there is none.
    QString sqlState() const;
    // The server's own message with its detail, on one line.
    QString message() const;

    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    QByteArray bytes(int row, int column) const;
    // The same bytes where the result holds them, valid while it lives.
    QByteArrayView view(int row, int column) const;
    // The value as the text the library holds, ended by a NUL (no value: an empty text), valid while the result
    // lives. The server's texts hold no NUL of their own.
    const char* nulEnded(int row, int column) const;
    QString text(int row, int column) const { return QString::fromUtf8(bytes(row, column)); }

private:
    pg_result* m_result = nullptr;
};

} // namespace store
