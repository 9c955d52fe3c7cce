#include "platform/Sockets.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

namespace {
std::atomic<int> answerDelay{0};
} // namespace

struct NameLookup::State {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    QStringList addresses;
    QString reason;
};

NameLookup::NameLookup(const QString& name) : m_name(name), m_state(std::make_shared<State>()) {
    // The thread holds the state too: it may outlive this object.
    std::thread([state = m_state, name, delay = answerDelay.load()] {
        const auto begun = std::chrono::steady_clock::now();
        QString reason;
        QStringList addresses = lookUpHost(name, &reason);
        if (delay > 0)
            std::this_thread::sleep_until(begun + std::chrono::milliseconds(delay));
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->addresses = std::move(addresses);
        state->reason = std::move(reason);
        state->done = true;
        state->answered.notify_all();
    }).detach();
}

NameLookup::~NameLookup() = default;

void NameLookup::delayAnswersForTests(int milliseconds) {
    answerDelay = milliseconds;
}

bool NameLookup::wait(int milliseconds) {
    std::unique_lock<std::mutex> lock(m_state->mutex);
    return m_state->answered.wait_for(lock, std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds),
                                      [this] { return m_state->done; });
}

QStringList NameLookup::addresses() const {
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->addresses;
}

QString NameLookup::reason() const {
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->reason;
}

} // namespace platform
