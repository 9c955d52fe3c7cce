#pragma once

#include <QDate>
#include <QObject>

namespace store {

// Tells the windows of this program that the book changed under them, whichever engine holds it: another seat
// saved a day, or the connection to a server came back after a loss (anything may have changed meanwhile).
// A book on this computer's file never announces anything; a book on a server announces every saved or made
// day record within moments. One watch per program, as a program shows one book.
class BookWatch : public QObject {
    Q_OBJECT
public:
    static BookWatch& instance();

    // For the engines: announce a changed day, or that everything must be read again. The signals follow from
    // the event loop, never from inside an engine call, so a window is not re-entered while it reads.
    void announceDay(const QDate& day);
    void announceReload();

signals:
    // The record of day was made or saved, by this seat or another.
    void dayChanged(const QDate& day);
    // The book may have changed in any way: re-read what is shown.
    void reloadNeeded();

private:
    BookWatch() = default;
};

} // namespace store
