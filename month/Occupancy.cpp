#include "month/Occupancy.h"

#include "store/FilledSlots.h"

namespace occupancy {

// The rule belongs to the appointment table; the scan and the whole-book readers share it.
QString stripBlanksAndControls(const QString& text) {
    return store::stripBlanksAndControls(text);
}

bool holdsText(const QString& text) {
    return store::holdsAppointment(text);
}

bool holdsText(const QVariant& value) {
    // Read without converting what needs no conversion: the scan asks this of 29 values of every day.
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::QString:
        return store::holdsAppointment(*static_cast<const QString*>(value.constData()));
    case QMetaType::QDate: {
        // Its text is the date in ISO form, which a date that is no day, or one outside the years 1 to 9999, lacks.
        const QDate date = value.toDate();
        return date.isValid() && date.year() >= 1 && date.year() <= 9999;
    }
    default:
        return !value.isNull() && store::holdsAppointment(value.toString());
    }
}

} // namespace occupancy
