#include "legacy/ImportVerifier.h"

#include "legacy/ImportError.h"
#include "legacy/JetBook.h"
#include "legacy/JetDate.h"
#include "legacy/OlderBookReading.h"
#include "legacy/SlotMerge.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"
#include "store/wholebook/WholeBookReader.h"

#include <QCoreApplication>
#include <QDir>

#include <utility>

namespace legacy {

namespace {

QString shown(const std::optional<QString>& text) {
    return text ? QLatin1Char('"') + *text + QLatin1Char('"') : QStringLiteral("no value");
}

[[noreturn]] void differs(const QString& newBook, const QString& date, int slot, const std::optional<QString>& want,
                          const std::optional<QString>& got) {
    throw ImportError(
        QCoreApplication::translate("legacy", "The new book \"%1\" did not read back as written (day %2, slot %3: %4 instead "
                       "of %5); it was not put in place and nothing was changed. Try again; if it "
                       "happens again, the disk may be failing.")
            .arg(QDir::toNativeSeparators(newBook), date, store::slotColumnNames()[slot], shown(got), shown(want)));
}

// Whether what a merged slot holds still keeps a text that went into it.
bool keeps(const std::optional<QString>& merged, const std::optional<QString>& part, bool partFirst) {
    if (!part)
        return true;
    if (!merged)
        return false;
    if (isFreeSlot(part))
        return true; // blanks give way to an appointment
    return partFirst ? (*merged == *part || merged->startsWith(*part + QLatin1String(JoinSeparator)))
                     : holdsPart(*merged, *part);
}

} // namespace

ImportVerifier::ImportVerifier(Expectation expectation) : m_expected(std::move(expectation)) {}

void ImportVerifier::verify(store::WholeBookReader& book, const QString& newBook) const {
    const QString password = QLatin1String(store::FixedDatabasePassword);
    qint64 expectedDays = -m_expected.mergeCount;

    OlderBookRecords::Cursor jet = m_expected.older->records();
    JetRecord record;
    while (jet.next(record)) {
        if (!record.date)
            continue;
        const QString date = isoDay(jetDay(*record.date));
        ++expectedDays;
        const std::optional<store::DayRow> day = book.find(date);
        if (!day)
            throw ImportError(QCoreApplication::translate("legacy", "The new book \"%1\" lacks the day %2 of the older book; it was not put "
                                             "in place and nothing was changed.")
                                  .arg(QDir::toNativeSeparators(newBook), date));
        const bool merged = m_expected.mergedDates.contains(date);
        for (int slot = 0; slot < store::SlotCount; ++slot) {
            const auto& want = record.slotTexts[static_cast<std::size_t>(slot)];
            const auto& got = day->slotTexts[static_cast<std::size_t>(slot)];
            if (merged ? !keeps(got, want, false) : got != want)
                differs(newBook, date, slot, want, got);
        }
    }

    if (!m_expected.existingBook.isEmpty()) {
        store::WholeBookReader existing(m_expected.existingBook, password);
        store::DayRow before;
        while (existing.next(before)) {
            ++expectedDays;
            const std::optional<store::DayRow> day = book.find(before.date);
            if (!day)
                throw ImportError(QCoreApplication::translate("legacy", "The new book \"%1\" lacks the day %2 of the book it was to extend; "
                                                 "it was not put in place and nothing was changed.")
                                      .arg(QDir::toNativeSeparators(newBook), before.date));
            const bool merged = m_expected.mergedDates.contains(before.date);
            for (int slot = 0; slot < store::SlotCount; ++slot) {
                const auto& want = before.slotTexts[static_cast<std::size_t>(slot)];
                const auto& got = day->slotTexts[static_cast<std::size_t>(slot)];
                if (merged ? !keeps(got, want, true) : got != want)
                    differs(newBook, before.date, slot, want, got);
            }
        }
    }

    const qint64 days = book.dayCount();
    if (days != expectedDays)
        throw ImportError(QCoreApplication::translate("legacy", "The new book \"%1\" holds %2 days where %3 were written; it was not put in "
                                         "place and nothing was changed.")
                              .arg(QDir::toNativeSeparators(newBook))
                              .arg(days)
                              .arg(expectedDays));
}

} // namespace legacy
