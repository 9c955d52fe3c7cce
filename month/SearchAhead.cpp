#include "month/SearchAhead.h"

#include "month/Calendar.h"
#include "platform/Memory.h"
#include "platform/Process.h"
#include "store/FilledSlots.h"
#include "store/engine/DateLiterals.h"
#include "store/wholebook/WholeBookReader.h"

#include <algorithm>


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
                std::optional<AppointmentIndex> stowed = readStowed(path, password, today, m_stop, &stopped);
                if (stowed && !stopped) {
                    picture.emplace();
                    picture->index = std::move(*stowed);
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

std::optional<AppointmentIndex> SearchAhead::readStowed(const QString& path, const QString& password, QDate today,
                                                       const std::atomic_bool& stop, bool* stopped) {
    if (stopped)
        *stopped = false;
    // The stored dates are ISO text, so text bounds are the calendar's. The ranges: everything before the first
    // bound, from each bound to the next, everything from the last on; the bounds are the calendar's quarters and
    // today, so that every range lies wholly before today or wholly from today on.
    std::vector<QDate> bounds;
    for (QDate from(calendar::FirstYear, 1, 1); from <= QDate(calendar::LastYear + 1, 1, 1); from = from.addMonths(3))
        bounds.push_back(from);
    bounds.push_back(today);
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    struct Range {
        QString from;  // empty: no bound
        QString below; // empty: no bound
    };
    const auto key = [](QDate day) { return store::storedDate(day.year(), day.month(), day.day()); };
    std::vector<Range> upcoming;
    std::vector<Range> past{{QString(), key(bounds.front())}};
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i)
        (bounds[i] >= today ? upcoming : past).push_back({key(bounds[i]), key(bounds[i + 1])});
    upcoming.push_back({key(bounds.back()), QString()});
    // In shown order: from today on ascending, then the past, the most recent first.
    std::vector<Range> ranges = std::move(upcoming);
    ranges.insert(ranges.end(), past.rbegin(), past.rend());

    store::WholeBookReader book(path, password);
    book.keepFewPages();
    AppointmentIndex picture;
    picture.beginStowed(today);
    for (const Range& range : ranges) {
        if (stop) {
            if (stopped)
                *stopped = true;
            return std::nullopt;
        }
        AppointmentIndex::Gathered run;
        book.readBetween(range.from, range.below, [&run](const store::DayRow& day) {
            const QDate date = store::storedDay(day.date);
            if (!date.isValid())
                return;
            for (int slot = 0; slot < store::SlotCount; ++slot) {
                const std::optional<QString>& value = day.slotTexts[static_cast<std::size_t>(slot)];
                if (!value)
                    continue;
                if (const std::optional<QString> text = store::appointmentText(*value))
                    run.add(date, slot, *text);
            }
        });
        // A stored date not written as 'yyyy-mm-dd' can name a day outside the range its text falls in: such a
        // book's picture is made in one piece when the search opens.
        if (!picture.stowRun(run))
            return std::nullopt;
    }
    book.close();
    return picture;
}
