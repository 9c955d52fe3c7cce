#include "report/ValueFormat.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace report {

QString formatValue(const QVariant& value, const QString& format) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return format.isEmpty() ? value.toDate().toString(Qt::ISODate) : value.toDate().toString(format);
    case QMetaType::QTime:
        return format.isEmpty() ? value.toTime().toString(Qt::ISODate) : value.toTime().toString(format);
    case QMetaType::QDateTime:
        return format.isEmpty() ? value.toDateTime().toString(Qt::ISODate) : value.toDateTime().toString(format);
    case QMetaType::QString: {
        const QString text = value.toString();
        if (format.isEmpty())
            return text;
        // Stores that keep dates as ISO text hand them over as text.
        const QString trimmed = text.trimmed();
        if (const QDate date = QDate::fromString(trimmed, Qt::ISODate); date.isValid())
            return date.toString(format);
        if (const QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODate); moment.isValid())
            return moment.toString(format);
        return text;
    }
    default:
        return value.toString();
    }
}

} // namespace report
