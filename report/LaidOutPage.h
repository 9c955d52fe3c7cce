#pragma once

#include "report/PlacedItem.h"

#include <QList>

namespace report {

// The items of one page, in drawing order.
struct LaidOutPage {
    QList<PlacedItem> items;
};

} // namespace report
