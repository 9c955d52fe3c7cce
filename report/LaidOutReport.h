#pragma once

#include "report/LaidOutPage.h"
#include "report/PageSetup.h"

#include <QList>
#include <QString>

namespace report {

// A report ready to draw: every page with every value read. Drawing it reads no data.
struct LaidOutReport {
    QString name;
    PageSetup page;
    QList<LaidOutPage> pages;
};

} // namespace report
