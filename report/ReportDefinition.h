#pragma once

#include "report/PageSetup.h"
#include "report/ReportBand.h"

#include <QList>
#include <QString>

namespace report {

// One report of a project: its page setup and its bands in file order.
struct ReportDefinition {
    QString name;
    PageSetup page;
    QList<ReportBand> bands;
    int sourceLine = 0;
    int sourceColumn = 0;

    // The page header or footer, or nullptr when the report has none.
    const ReportBand* band(BandKind kind) const {
        for (const ReportBand& b : bands)
            if (b.kind == kind)
                return &b;
        return nullptr;
    }
    // The height left on each page for title and detail bands.
    double bodyHeight() const {
        const ReportBand* header = band(BandKind::PageHeader);
        const ReportBand* footer = band(BandKind::PageFooter);
        return page.printableHeight() - (header ? header->height : 0.0) - (footer ? footer->height : 0.0);
    }
};

} // namespace report
