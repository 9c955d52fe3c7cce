#include "store/engine/BookWatch.h"

#include <QMetaObject>

namespace store {

BookWatch& BookWatch::instance() {
    static BookWatch watch;
    return watch;
}

void BookWatch::announceDay(const QDate& day) {
    QMetaObject::invokeMethod(
        this, [this, day] { tellDay(day); }, Qt::QueuedConnection);
}

void BookWatch::announceReload() {
    QMetaObject::invokeMethod(
        this, [this] { tellReload(); }, Qt::QueuedConnection);
}

// An announcement made before a hold began may come out of the event loop while it is on: it waits too.
void BookWatch::tellDay(const QDate& day) {
    if (isHeld()) {
        m_heldDays.insert(day);
        return;
    }
    emit dayChanged(day);
}

void BookWatch::tellReload() {
    if (isHeld()) {
        m_heldReload = true;
        return;
    }
    emit reloadNeeded();
}

void BookWatch::release() {
    // Told from the event loop as ever, after the statement that held them has returned to its caller.
    for (const QDate& day : m_heldDays)
        announceDay(day);
    if (m_heldReload)
        announceReload();
    m_heldDays.clear();
    m_heldReload = false;
}

BookWatch::Hold::Hold() {
    ++instance().m_holds;
}

BookWatch::Hold::~Hold() {
    BookWatch& watch = instance();
    if (--watch.m_holds == 0)
        watch.release();
}

} // namespace store
