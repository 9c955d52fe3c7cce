#include "store/engine/BookWatch.h"

#include <QMetaObject>

namespace store {

BookWatch& BookWatch::instance() {
    static BookWatch watch;
    return watch;
}

void BookWatch::announceDay(const QDate& day) {
    QMetaObject::invokeMethod(
        this, [this, day] { emit dayChanged(day); }, Qt::QueuedConnection);
}

void BookWatch::announceReload() {
    QMetaObject::invokeMethod(
        this, [this] { emit reloadNeeded(); }, Qt::QueuedConnection);
}

} // namespace store
