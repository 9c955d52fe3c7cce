#include "day/RepeatPlan.h"

#include <algorithm>

std::vector<QDate> repeatDates(QDate first, const RepeatRule& rule) {
    std::vector<QDate> dates;
    if (!first.isValid() || rule.everyDays < 1)
        return dates;
    QDate last(LastRepeatYear, 12, 31);
    if (rule.until && rule.until->isValid())
        last = std::min(last, *rule.until);
    int wanted = rule.times > 0 ? std::min(rule.times, MaximumRepeats) : (rule.until ? MaximumRepeats : 0);
    for (QDate day = first.addDays(rule.everyDays); wanted > 0 && day <= last; day = day.addDays(rule.everyDays)) {
        dates.push_back(day);
        --wanted;
    }
    return dates;
}
