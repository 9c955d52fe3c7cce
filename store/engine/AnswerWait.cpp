#include "store/engine/AnswerWait.h"

namespace store {

namespace {
AnswerWait* current = nullptr;
} // namespace

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
