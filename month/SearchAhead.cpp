#include "month/SearchAhead.h"

#include "month/Calendar.h"
#include "platform/Memory.h"
#include "platform/Process.h"
#include "store/FilledSlots.h"
#include "store/wholebook/WholeBookReader.h"


SearchAhead::SearchAhead(const QString& path, const QString& password, QDate today)
    : m_picture(m_promise.get_future()) {
    m_thread = std::thread([this, path, password, today] {
        // The windows come first: the picture is wanted only when the user opens the search.
        platform::runThisThreadBehindTheWindows();
        std::optional<Picture> picture;
        try {
            const platform::Entry before = platform::lookAt(path);
            if (before.kind == platform::EntryKind::File) {
                bool stopped = false;
                AppointmentIndex::Gathered filled = readInQuarters(path, password, m_stop, &stopped);
                if (!stopped) {
                    picture.emplace();
                    picture->index.assign(std::move(filled), today);
                    picture->file = before.version;
                }
            }
            // The reading's buffers stay with this thread's heap unless given back.
            platform::giveMemoryBack();
        } catch (...) {
            // The search reads the book itself at its opening and reports the failure there.
            picture.reset();
        }
        m_promise.set_value(std::move(picture));
    });
}

SearchAhead::~SearchAhead() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool SearchAhead::finished() const {
    return m_picture.valid() && m_picture.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

std::optional<SearchAhead::Picture> SearchAhead::take() {
    if (!m_picture.valid())
        return std::nullopt;
    std::optional<Picture> picture = m_picture.get();
    if (m_thread.joinable())
        m_thread.join();
    return picture;
}

AppointmentIndex::Gathered SearchAhead::readInQuarters(const QString& path, const QString& password,
                                                       const std::atomic_bool& stop, bool* stopped) {
    if (stopped)
        *stopped = false;
    store::WholeBookReader book(path, password);
    AppointmentIndex::Gathered filled;
    const auto take = [&filled](const store::DayRow& day) {
        const QDate date = store::storedDay(day.date);
        if (!date.isValid())
            return;
        for (int slot = 0; slot < store::SlotCount; ++slot) {
            const std::optional<QString>& value = day.slotTexts[static_cast<std::size_t>(slot)];
            if (!value)
                continue;
            if (const std::optional<QString> text = store::appointmentText(*value))
                filled.add(date, slot, *text);
        }
    };
    // The stored dates are ISO text, so text bounds are the calendar's: everything before the first quarter, each
    // quarter of the calendar's years, everything after them (a date beyond them, or text that is no date).
    const auto key = [](QDate day) { return day.toString(Qt::ISODate); };
    QDate from(calendar::FirstYear, 1, 1);
    const QDate end(calendar::LastYear + 1, 1, 1);
    book.readBetween(QString(), key(from), take);
    while (from < end) {
        if (stop) {
            if (stopped)
                *stopped = true;
            return filled;
        }
        const QDate below = from.addMonths(3);
        book.readBetween(key(from), key(below), take);
        from = below;
    }
    book.readBetween(key(end), QString(), take);
    book.close();
    // The picture puts them in its own order.
    return filled;
}
