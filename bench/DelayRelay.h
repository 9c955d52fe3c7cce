#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// A relay on the loopback network that passes a server's traffic on after a delay in each direction, so that
// a benchmark sees the round trips of a network between desks and server (two delays per round trip).
class DelayRelay {
public:
    // Listens on 127.0.0.1 (a free port) and passes every connection on to the server's local socket.
    DelayRelay(const QString& serverSocket, int delayMicroseconds);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    bool isListening() const { return m_listener >= 0; }
    int port() const { return m_port; }

private:
    void acceptLoop();
    void pass(int from, int to);

    QString m_serverSocket;
    int m_delayMicroseconds;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_acceptor;
    std::vector<std::thread> m_passers;
    std::vector<int> m_sockets;
};
