// Importing another calendar of 10,000 events into an empty book, as orvella-datafolder --import-ics does it
// (the file read through the platform's bounded reader, parsed and expanded by libical, mapped onto half hours,
// planned with one range read and booked in one transaction), beside its floor: libical's parsing of the same
// text with a walk over its events, and one prepared INSERT of as many day records in one transaction on a new
// keyed file. The calendar is the book's own export of 10,000 half hours over 2026-2029 (a VTIMEZONE and a
// zone name on every time, as khal and most calendars write them).
//
// Every benchmark fails (instead of reporting a figure) when the import did not book all 10,000 half hours.

#include "exchange/ICalendarReader.h"
#include "exchange/ICalendarWriter.h"
#include "store/Connection.h"
#include "store/SlotBooking.h"
#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>
#include <libical/ical.h>
#include <sqlcipher/sqlite3.h>

namespace {

constexpr int Events = 10000;

const QTimeZone& athens() {
    static const QTimeZone zone(QByteArrayLiteral("Europe/Athens"));
    return zone;
}

// The calendar file, written once: ten half hours a day on 1,000 days from 2026-01-01.
struct CalendarFile {
    CalendarFile() {
        std::vector<store::FilledSlot> filled;
        for (int i = 0; i < Events; ++i)
            filled.push_back({QDate(2026, 1, 1).addDays(i / 10), (i % 10) * 2, QStringLiteral("Ραντεβού %1").arg(i)});
        text = exchange::calendarText(filled, {athens(), QDateTime::currentDateTimeUtc()});
        path = folder.filePath(QStringLiteral("calendar.ics"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("the benchmark's calendar could not be written");
    }
    QTemporaryDir folder;
    QString path;
    QByteArray text;
};

const CalendarFile& calendar() {
    static const CalendarFile file;
    return file;
}

// A new, empty book of its own for each repetition: nothing in it, its key not yet derived.
struct EmptyBook {
    EmptyBook() {
        store::createDatabaseFile(folder.filePath(QStringLiteral("data.mdb")),
                                  QLatin1String(store::FixedDatabasePassword));
    }
    QTemporaryDir folder;
};

void BM_ImportCalendar10k(benchmark::State& state) {
    const CalendarFile& file = calendar();
    for (auto _ : state) {
        state.PauseTiming();
        auto book = std::make_unique<EmptyBook>();
        state.ResumeTiming();
        const exchange::CalendarReading reading = exchange::readCalendarFile(file.path, {athens(), QDate(), QDate()});
        store::Connection connection;
        connection.reopen(
            store::buildConnectionText(book->folder.path(), QLatin1String(store::FixedDatabasePassword)));
        const store::BookingPlan plan = store::planBooking(connection, reading.writes);
        const store::BookingPlan done = store::bookFreeSlots(connection, reading.writes);
        connection.close();
        if (plan.free.size() != Events || done.free.size() != Events) {
            state.SkipWithError("the import did not book every half hour");
            return;
        }
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
    state.SetLabel("10,000 events, empty book");
}

// The floor's first part: libical alone, the text parsed and every event's start read.
void BM_FloorLibicalParse10k(benchmark::State& state) {
    const QByteArray text = calendar().text + '\0';
    for (auto _ : state) {
        icalcomponent* root = icalparser_parse_string(text.constData());
        int events = 0;
        for (icalcomponent* event = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); event;
             event = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT)) {
            const icaltimetype start = icalcomponent_get_dtstart(event);
            events += start.year > 0 ? 1 : 0;
        }
        icalcomponent_free(root);
        if (events != Events) {
            state.SkipWithError("libical did not read every event");
            return;
        }
    }
    state.SetLabel("floor: parse and walk");
}

// The floor's second part: as many half hours written with one prepared INSERT, one transaction, on a new keyed
// file (its key derived, as the import's first open derives it).
void BM_FloorPreparedInsert10k(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto book = std::make_unique<EmptyBook>();
        const QByteArray path = QDir(book->folder.path()).filePath(QStringLiteral("data.mdb")).toUtf8();
        state.ResumeTiming();
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const QByteArray key = QByteArray("PRAGMA key = '") + store::FixedDatabasePassword + "'";
        sqlite3_exec(db, key.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO RANTEBOU (HMEROMHNIA, \"0800-0830\") VALUES (?, ?)", -1, &insert, nullptr);
        int written = 0;
        for (int i = 0; i < Events; ++i) {
            // One row per half hour: the floor writes as many values as the import, with no day to share.
            const QByteArray day = QDate(2026, 1, 1).addDays(i).toString(Qt::ISODate).toUtf8();
            const QByteArray text = QStringLiteral("Ραντεβού %1").arg(i).toUtf8();
            sqlite3_bind_text(insert, 1, day.constData(), static_cast<int>(day.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            written += sqlite3_step(insert) == SQLITE_DONE ? 1 : 0;
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        if (written != Events || !committed) {
            state.SkipWithError("the floor's insert failed");
            return;
        }
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
    state.SetLabel("floor: one prepared insert");
}

} // namespace

BENCHMARK(BM_ImportCalendar10k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FloorLibicalParse10k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FloorPreparedInsert10k)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
