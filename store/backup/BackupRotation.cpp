#include "store/backup/BackupRotation.h"

#include "store/backup/BackupFolder.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace store {

QStringList backupsToRemove(const QStringList& fileNames, const QDate& newestVerified) {
    // Every dated copy, newest first.
    std::vector<std::pair<QDate, QString>> dated;
    for (const QString& name : fileNames) {
        if (const std::optional<QDate> date = dateOfBackupName(name))
            dated.emplace_back(*date, name);
    }
    std::sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    if (!newestVerified.isValid() ||
        std::none_of(dated.begin(), dated.end(), [&](const auto& item) { return item.first == newestVerified; }))
        return {};

    std::set<QDate> kept;
    std::size_t daily = 0;
    for (const auto& [date, name] : dated) {
        if (date <= newestVerified && daily++ < DailyBackupsKept)
            kept.insert(date);
    }
    const int lastMonth = newestVerified.year() * 12 + newestVerified.month() - 1;
    std::map<int, QDate> newestOfMonth;
    for (const auto& [date, name] : dated) {
        const int month = date.year() * 12 + date.month() - 1;
        if (month > lastMonth - MonthlyBackupsKept && month <= lastMonth && !newestOfMonth.count(month))
            newestOfMonth[month] = date;
    }
    for (const auto& [month, date] : newestOfMonth)
        kept.insert(date);

    QStringList removed;
    for (const auto& [date, name] : dated) {
        if (date < newestVerified && !kept.count(date))
            removed << name;
    }
    return removed;
}

} // namespace store
