#include "exchange/CalendarImportSummary.h"

#include "store/FilledSlots.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>

namespace exchange {

namespace {

QString whenOf(const SkippedEvent& skipped) {
    if (!skipped.start.isValid())
        return QStringLiteral("?");
    const QString start = skipped.start.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (skipped.reason == SkipReason::AllDay || skipped.reason == SkipReason::NoTitle ||
        skipped.reason == SkipReason::Cancelled || skipped.reason == SkipReason::TooFrequent ||
        !skipped.end.isValid() || skipped.end <= skipped.start)
        return skipped.reason == SkipReason::AllDay ? skipped.start.toString(QStringLiteral("yyyy-MM-dd")) : start;
    const QString endFormat =
        skipped.end.date() == skipped.start.date() ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm");
    return start + QStringLiteral(" - ") + skipped.end.toString(endFormat);
}

// Lines of a list, at most listAtMost of them and then how many more.
template <typename Item, typename Line>
void appendList(QStringList& lines, const std::vector<Item>& items, int listAtMost, Line line) {
    const std::size_t shown =
        listAtMost < 0 ? items.size() : std::min(items.size(), static_cast<std::size_t>(listAtMost));
    for (std::size_t i = 0; i < shown; ++i)
        lines << QStringLiteral("    ") + line(items[i]);
    if (shown < items.size())
        lines << QStringLiteral("    ") +
                     QCoreApplication::translate("exchange", "… and %1 more").arg(items.size() - shown);
}

} // namespace

QStringList importSummary(const QString& fileName, const CalendarReading& reading, const store::BookingPlan& plan,
                          int listAtMost) {
    QStringList lines;
    lines << QCoreApplication::translate("exchange", "%1: %2 events, %3 occurrences in the days taken.")
                 .arg(fileName)
                 .arg(reading.events)
                 .arg(reading.occurrences);
    lines << QCoreApplication::translate("exchange", "Half hours to book: %1").arg(plan.free.size());
    lines << QCoreApplication::translate("exchange", "Half hours already holding the same text (nothing to do): %1")
                 .arg(plan.same.size());
    lines << QCoreApplication::translate("exchange", "Half hours holding another text (left as they are): %1")
                 .arg(plan.taken.size());
    appendList(lines, plan.taken, listAtMost, [](const store::SlotWrite& write) {
        return QStringLiteral("%1 %2  %3")
            .arg(write.day.toString(QStringLiteral("yyyy-MM-dd")), store::slotTimeText(write.slot), write.text);
    });
    lines << QCoreApplication::translate("exchange", "Events or parts skipped: %1").arg(reading.skipped.size());
    appendList(lines, reading.skipped, listAtMost, [](const SkippedEvent& skipped) {
        return QStringLiteral("%1  %2  %3").arg(whenOf(skipped), skipReasonText(skipped.reason), skipped.text);
    });
    if (reading.outsideDays > 0)
        lines << QCoreApplication::translate("exchange", "Occurrences outside the days asked for (left out): %1")
                     .arg(reading.outsideDays);
    if (reading.shortenedTexts > 0)
        lines << QCoreApplication::translate("exchange", "Texts cut to the %1 characters a slot holds: %2")
                     .arg(store::SlotTextSize)
                     .arg(reading.shortenedTexts);
    return lines;
}

} // namespace exchange
