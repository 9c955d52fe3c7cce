#pragma once

namespace store {

class Connection;

// Marks the reads of its lifetime on an open connection as belonging together (one month's scan), so that the
// engine may serve them from one read of the book. Nothing can be written through it.
class ReadTogether {
public:
    // Throws EngineError when the connection is closed or the book cannot be read.
    explicit ReadTogether(Connection& connection);
    ~ReadTogether();
    ReadTogether(const ReadTogether&) = delete;
    ReadTogether& operator=(const ReadTogether&) = delete;

private:
    Connection& m_connection;
};

} // namespace store
