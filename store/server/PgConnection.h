#pragma once

#include <QString>

struct pg_conn;

namespace store {

// One connection of the server library, finished on every path (a failed connect included); move-only.
class PgConnection {
public:
    PgConnection() = default;
    explicit PgConnection(pg_conn* connection) : m_connection(connection) {}
    ~PgConnection();
    PgConnection(PgConnection&& other) noexcept;
    PgConnection& operator=(PgConnection&& other) noexcept;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    pg_conn* get() const { return m_connection; }
    explicit operator bool() const { return m_connection != nullptr; }

    // True while the connection is up as far as the library knows.
    bool isUp() const;
    // The socket the server answers on; -1 when there is none.
    int socket() const;
    // The library's last message, on one line.
    QString errorMessage() const;

private:
    pg_conn* m_connection = nullptr;
};

} // namespace store
