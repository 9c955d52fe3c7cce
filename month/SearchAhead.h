#pragma once

#include "month/AppointmentIndex.h"
#include "platform/Files.h"

#include <QDate>
#include <QString>

#include <atomic>
#include <future>
#include <optional>
#include <thread>

// The search's picture of a book file, made on a thread of its own while the month window waits for the user, so
// that the search's first opening finds it made instead of reading the whole book then. The thread opens the file
// on a handle of its own (its own key derivation, not the pool's handle, which only the window thread uses) and
// reads it a range of days at a time (readStowed): between two reads the book is not held, so a save from the
// windows waits for one short read at most, never for the whole book.
class SearchAhead {
public:
    struct Picture {
        // Stowed: made whole when the search first opens.
        AppointmentIndex index;
        // The data file as it stood when the reading began: a file written since by anyone but this program is
        // no longer the one pictured.
        platform::FileVersion file;
    };

    // Starts reading the book file at path, keyed with password; `today` orders the picture as the search does.
    SearchAhead(const QString& path, const QString& password, QDate today);
    // Stops a reading under way at its next quarter and waits for the thread.
    ~SearchAhead();
    SearchAhead(const SearchAhead&) = delete;
    SearchAhead& operator=(const SearchAhead&) = delete;

    // Whether the thread is done (the picture, or its failure, is there to take).
    bool finished() const;
    // The picture, once made: waits for a reading still under way. Nothing when the file could not be read or
    // was no ordinary file: the search then reads the book itself and says what failed. Once only.
    std::optional<Picture> take();

    // The search's picture of the book file at path as AppointmentIndex::load makes it for today, stowed: read
    // a range of days at a time in shown order (from today on ascending, then the past, the most recent first;
    // the calendar's quarters, split at today, and the days beyond them at either end), each range compressed
    // before the next is read. Nothing when a record's stored date names a day outside the range it was read in
    // (a date not written as the program writes it). Nothing more is read once stop is set: nothing, with
    // *stopped set.
    static std::optional<AppointmentIndex> readStowed(const QString& path, const QString& password, QDate today,
                                                      const std::atomic_bool& stop, bool* stopped = nullptr);

private:
    std::atomic_bool m_stop{false};
    std::promise<std::optional<Picture>> m_promise;
    std::future<std::optional<Picture>> m_picture;
    std::thread m_thread;
};
