#pragma once

#include "report/ReportItem.h"

#include <QString>

namespace report {

// An item placed on a page: its geometry moved to page millimetres and its text resolved (a data field's
// value formatted, a page number filled in).
struct PlacedItem {
    ReportItem item;
    QString text;
};

} // namespace report
