#include "legacy/BookImport.h"

#include "legacy/ImportError.h"
#include "legacy/ImportVerifier.h"
#include "legacy/JetBook.h"
#include "legacy/JetDate.h"
#include "legacy/OlderBookReading.h"
#include "legacy/SlotMerge.h"
#include "platform/FilePlacement.h"
#include "platform/Files.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/wholebook/WholeBookReader.h"
#include "store/wholebook/WholeBookWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace legacy {

namespace {

constexpr int FirstCalendarYear = 2008;
constexpr int LastCalendarYear = 2035;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString shownDay(const QString& isoDate) {
    return QDate::fromString(isoDate, Qt::ISODate).toString(QStringLiteral("d/M/yyyy"));
}

// Writes the new book at partial from the older book (after existing's days, when given) and checks it.
ImportSummary build(const QString& jetPath, const QString& jetPassword, const QString& partial,
                    store::WholeBookReader* existing, const QString& existingPath) {
    ImportSummary summary;
    summary.source = jetPath;
    // The older book is read in the reading helper; what it sent is written here and checked below.
    const OlderBookRecords older = readOlderBook(jetPath, jetPassword);
    summary.ignoredColumns = older.ignoredColumns;

    store::SlotSizes sizes;
    sizes.fill(store::SlotTextSize);
    if (existing)
        sizes = existing->slotSizes();
    const store::SlotSizes declared = sizes;
    QSet<QString> mergedDates;
    std::unique_ptr<store::WholeBookReader> readBack;
    {
        store::WholeBookWriter writer(partial, QLatin1String(store::FixedDatabasePassword), sizes);
        qint64 days = 0;
        if (existing) {
            store::DayRow day;
            while (existing->next(day)) {
                writer.insert(day);
                ++days;
            }
        }
        JetRecord record;
        OlderBookRecords::Cursor jet = older.records();
        while (jet.next(record)) {
            ++summary.records;
            qint64 filled = 0;
            for (const auto& slot : record.slotTexts)
                filled += isFreeSlot(slot) ? 0 : 1;
            if (!record.date) {
                bool blank = true;
                for (const auto& slot : record.slotTexts)
                    blank = blank && !slot;
                if (!blank || filled > 0)
                    throw ImportError(QCoreApplication::translate("legacy", "Record %1 of \"%2\" holds text but no date; it cannot be "
                                                     "brought over as a day, and nothing was imported. Give it a "
                                                     "date in the older program, or empty it, and import again.")
                                          .arg(record.number)
                                          .arg(native(jetPath)));
                summary.ignoredRecords << QStringLiteral("record %1").arg(record.number);
                continue;
            }
            const QDate date = jetDay(*record.date);
            if (!date.isValid())
                throw ImportError(QCoreApplication::translate("legacy", "Record %1 of \"%2\" has a date (%3) that is no calendar day; "
                                                 "nothing was imported. Correct it in the older program and import "
                                                 "again.")
                                      .arg(record.number)
                                      .arg(native(jetPath))
                                      .arg(*record.date));
            summary.filledSlots += filled;
            store::DayRow incoming{isoDay(date), record.slotTexts};
            if (date.year() < FirstCalendarYear || date.year() > LastCalendarYear)
                summary.outsideCalendar << date.toString(QStringLiteral("d/M/yyyy"));
            std::optional<store::DayRow> written = writer.find(incoming.date);
            if (!written) {
                writer.insert(incoming);
                summary.newSlots += filled;
                ++summary.newDays;
                ++days;
                continue;
            }
            // A second record for the same day (a table without a key allows it), or a day the book has.
            ++summary.mergeCount;
            const bool inBook = existing && existing->find(incoming.date);
            if (!mergedDates.contains(incoming.date))
                summary.mergedDays << QStringLiteral("%1 (%2)").arg(
                    shownDay(incoming.date), inBook ? QStringLiteral("already in the book")
                                                    : QStringLiteral("more than one record in the older book"));
            mergedDates.insert(incoming.date);
            for (int slot = 0; slot < store::SlotCount; ++slot) {
                auto& kept = written->slotTexts[static_cast<std::size_t>(slot)];
                const auto& brought = incoming.slotTexts[static_cast<std::size_t>(slot)];
                const SlotMerge merge = mergeSlot(kept, brought);
                // An appointment the day held already (a second import of the same book) is nothing new.
                if (!isFreeSlot(brought) && !(kept && holdsPart(*kept, *brought)))
                    ++summary.newSlots;
                if (merge.joined)
                    summary.joinedSlots << shownDay(incoming.date) + QLatin1Char(' ') + store::slotColumnNames()[slot];
                kept = merge.value;
            }
            writer.update(*written);
        }
        for (int slot = 0; slot < store::SlotCount; ++slot) {
            const int size = writer.slotSizes()[static_cast<std::size_t>(slot)];
            if (size != declared[static_cast<std::size_t>(slot)])
                summary.grownSlots
                    << QStringLiteral("%1: up to %2 characters").arg(store::slotColumnNames()[slot]).arg(size);
        }
        writer.commit();
        summary.bookDays = days;
        // Read back through the handle that wrote it: its key is derived once, every page read from the file.
        readBack = writer.readBack();
    }

    ImportVerifier({&older, existing ? existingPath : QString(), mergedDates, summary.mergeCount})
        .verify(*readBack, partial);
    return summary;
}

// Runs body, which builds the placement's passing file as the stand-in for its target; on failure the passing
// file goes and the message names the target instead of the passing name.
template <typename Body> ImportSummary buildingBeside(platform::FilePlacement& placement, Body&& body) {
    try {
        return body(placement.partialPath());
    } catch (const store::EngineError& error) {
        placement.discard();
        QString message = error.text();
        message.replace(native(placement.partialPath()), native(placement.target()));
        throw ImportError(message + QStringLiteral(" The older book was only read; nothing was changed."));
    } catch (...) {
        placement.discard();
        throw;
    }
}

} // namespace

ImportSummary BookImport::intoNewBook(const QString& jetPath, const QString& jetPassword, const QString& bookPath) {
    if (platform::somethingAt(bookPath))
        throw ImportError(QStringLiteral("\"%1\" already exists; nothing was changed. Choose a new folder, or add the "
                                         "older book's days to that book with --into.")
                              .arg(native(bookPath)));
    platform::FilePlacement placement(bookPath, platform::FilePlacement::Mode::NewOnly);
    return buildingBeside(placement, [&](const QString& partial) {
        ImportSummary summary = build(jetPath, jetPassword, partial, nullptr, QString());
        if (!placement.place().isEmpty())
            throw ImportError(QCoreApplication::translate("legacy", "The new book could not be put in place as \"%1\" (the name was taken "
                                             "meanwhile, or the folder refuses it); nothing was overwritten.")
                                  .arg(native(bookPath)));
        summary.book = bookPath;
        return summary;
    });
}

ImportSummary BookImport::intoExistingBook(const QString& jetPath, const QString& jetPassword,
                                           const QString& bookPath) {
    if (!QFileInfo(bookPath).isFile())
        throw ImportError(QCoreApplication::translate("legacy", "There is no book \"%1\" to add the days to. Make a new one with "
                                         "orvella-datafolder --import OLD.mdb FOLDER instead.")
                              .arg(native(bookPath)));
    platform::FilePlacement placement(bookPath, platform::FilePlacement::Mode::Replace);
    return buildingBeside(placement, [&](const QString& partial) {
        store::WholeBookReader existing(bookPath, QLatin1String(store::FixedDatabasePassword),
                                        store::WholeBookReader::Access::ReadAndLock);
        ImportSummary summary = build(jetPath, jetPassword, partial, &existing, bookPath);
        // Where a file that a handle holds cannot be replaced (Windows), the lock goes just before the merged
        // book takes the place; a program that opens the book in between holds it open, and the placing then
        // fails and leaves it as it was.
        if (platform::openFilesStayPut())
            existing.close();
        if (!placement.place().isEmpty())
            throw ImportError(QCoreApplication::translate("legacy", "The merged book could not take the place of \"%1\"; that book was left "
                                             "as it was.")
                                  .arg(native(bookPath)));
        summary.book = bookPath;
        return summary;
    });
}

ImportSummary BookImport::convertDataFolder(const QString& folder, const QString& jetPassword, const QDate& today) {
    const QDir dir(folder);
    const QString data = dir.absoluteFilePath(QLatin1String(store::DatabaseFileName));
    const QString stem = QStringLiteral("data-jet-") + today.toString(QStringLiteral("yyyyMMdd"));
    QString keptAs = dir.absoluteFilePath(stem + QStringLiteral(".mdb"));
    for (int n = 2; platform::somethingAt(keptAs); ++n)
        keptAs = dir.absoluteFilePath(QStringLiteral("%1-%2.mdb").arg(stem).arg(n));

    platform::FilePlacement placement(data, platform::FilePlacement::Mode::Replace);
    return buildingBeside(placement, [&](const QString& partial) {
        ImportSummary summary = build(data, jetPassword, partial, nullptr, QString());
        // With a second name the older book never leaves its place until the converted one takes it.
        const bool keptAside = platform::addSecondName(data, keptAs).isEmpty();
        const bool placed = keptAside && placement.place().isEmpty();
        if (keptAside && !placed)
            QFile::remove(keptAs);
        if (!placed)
            throw ImportError(QCoreApplication::translate("legacy", "The converted book could not be put in place as \"%1\", or the older "
                                             "book could not be kept aside as \"%2\"; the older book was left as it "
                                             "was. Check that the folder allows writing.")
                                  .arg(native(data), native(keptAs)));
        summary.book = data;
        summary.source = keptAs;
        summary.keptAs = keptAs;
        return summary;
    });
}

} // namespace legacy
