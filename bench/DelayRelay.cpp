#include "bench/DelayRelay.h"

#include <QByteArray>
#include <QFile>

#include <condition_variable>
#include <deque>
#include <mutex>

#include <chrono>
#include <cstring>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

DelayRelay::DelayRelay(const QString& serverSocket, int delayMicroseconds)
    : m_serverSocket(serverSocket), m_delayMicroseconds(delayMicroseconds) {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length)) {
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

DelayRelay::~DelayRelay() {
    m_stopping = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (int socket : m_sockets)
        ::shutdown(socket, SHUT_RDWR);
    for (std::thread& passer : m_passers)
        passer.join();
    for (int socket : m_sockets)
        ::close(socket);
    if (m_listener >= 0)
        ::close(m_listener);
}

void DelayRelay::acceptLoop() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 100) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        const int noDelay = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(m_serverSocket);
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        if (::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(server);
            ::close(client);
            continue;
        }
        m_sockets.push_back(client);
        m_sockets.push_back(server);
        m_passers.emplace_back([this, client, server] { pass(client, server); });
        m_passers.emplace_back([this, client, server] { pass(server, client); });
    }
}

void DelayRelay::pass(int from, int to) {
    // Each chunk goes on the delay after it arrived, as on a network: chunks that follow each other closely are
    // not delayed once more each, so the reading goes on while the sending waits.
    struct Chunk {
        std::chrono::steady_clock::time_point due;
        QByteArray bytes;
    };
    std::deque<Chunk> queue;
    std::mutex guard;
    std::condition_variable arrived;
    bool ended = false;
    std::thread sender([&] {
        for (;;) {
            Chunk chunk;
            {
                std::unique_lock lock(guard);
                arrived.wait(lock, [&] { return ended || !queue.empty(); });
                if (queue.empty())
                    break;
                chunk = std::move(queue.front());
                queue.pop_front();
            }
            std::this_thread::sleep_until(chunk.due);
            for (qsizetype sent = 0; sent < chunk.bytes.size();) {
                const ssize_t put =
                    ::write(to, chunk.bytes.constData() + sent, static_cast<std::size_t>(chunk.bytes.size() - sent));
                if (put <= 0)
                    return;
                sent += put;
            }
        }
        ::shutdown(to, SHUT_WR);
    });
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got <= 0)
            break;
        std::lock_guard lock(guard);
        queue.push_back({std::chrono::steady_clock::now() + std::chrono::microseconds(m_delayMicroseconds),
                         QByteArray(buffer, static_cast<qsizetype>(got))});
        arrived.notify_one();
    }
    {
        std::lock_guard lock(guard);
        ended = true;
        arrived.notify_one();
    }
    sender.join();
}
