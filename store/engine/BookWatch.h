#pragma once

#include <QDate>
#include <QObject>

#include <set>

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

    // Held while a statement waits for its answer and the windows run meanwhile: what is announced then is
    // told once the last hold ends, so that no window reads the book while the one connection is busy.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };
    bool isHeld() const { return m_holds > 0; }

signals:
    // The record of day was made or saved, by this seat or another.
    void dayChanged(const QDate& day);
    // The book may have changed in any way: re-read what is shown.
    void reloadNeeded();

private:
    BookWatch() = default;
    void tellDay(const QDate& day);
    void tellReload();
    void release();

    int m_holds = 0;
    std::set<QDate> m_heldDays;
    bool m_heldReload = false;
};

} // namespace store
