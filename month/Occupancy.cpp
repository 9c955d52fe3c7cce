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

} // namespace occupancy
