#pragma once

#include "report/ReportItem.h"

#include <QList>
#include <QString>

namespace report {

// Page header and footer print on every page; a title band prints once where it stands; a detail band
// prints once per row of its data connection. Title and detail bands flow down the pages in file order.
enum class BandKind { PageHeader, Title, Detail, PageFooter };

// A horizontal strip of the sheet, the full printable width wide, holding items.
struct ReportBand {
    BandKind kind = BandKind::Title;
    double height = 0.0;
    // Detail bands only: the data connection whose rows repeat the band.
    QString connection;
    QList<ReportItem> items;
    int sourceLine = 0;
    int sourceColumn = 0;
};

} // namespace report
