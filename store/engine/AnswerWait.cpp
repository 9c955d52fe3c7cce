#include "store/engine/AnswerWait.h"

#include <utility>

namespace store {

namespace {
AnswerWait* current = nullptr;
} // namespace

AnswerWait::Awaited AnswerWait::Awaited::socketTurns(int socket, platform::SocketWait direction) {
    Awaited awaited;
    awaited.socket = socket;
    awaited.direction = direction;
    return awaited;
}

AnswerWait::Awaited AnswerWait::Awaited::answerOf(std::function<bool(int milliseconds)> answered) {
    Awaited awaited;
    awaited.answered = std::move(answered);
    return awaited;
}

bool AnswerWait::Awaited::readyWithin(int milliseconds) const {
    if (answered)
        return answered(milliseconds);
    return platform::socketReady(socket, direction, milliseconds);
}

AnswerWait::~AnswerWait() {
    if (current == this)
        current = nullptr;
}

AnswerWait* AnswerWait::installed() {
    return current;
}

void AnswerWait::install(AnswerWait* wait) {
    current = wait;
}

} // namespace store
