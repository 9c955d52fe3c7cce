#pragma once

#include <QString>
#include <QVariant>

namespace report {

// Turns a dataset value into the text a data field prints. Null and invalid values print as nothing.
// format applies to dates, times and date-times (QDate::toString patterns such as "d/M/yyyy"), also to
// text that holds an ISO date or date-time ("2010-03-05"); other values print as they are.
QString formatValue(const QVariant& value, const QString& format);

} // namespace report
