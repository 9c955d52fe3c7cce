#pragma once

#include "report/Dataset.h"
#include "report/LaidOutReport.h"
#include "report/ProjectDefinition.h"

#include <functional>

namespace report {

// Runs the active report of a project over its data: checks the data connections, then flows the bands
// down the pages.
class ReportLayouter {
public:
    // Every data connection the active report uses must have a dataset in data, and every data field's
    // column must be one of its dataset's columns (an exact match, else one differing only in case).
    // Throws ReportError naming the file, the item's line and column, and the connection or column.
    static void checkData(const ProjectDefinition& project, const DataConnections& data);

    // Checks the data as checkData() does, then lays the active report out. The page header opens every
    // page and the footer closes it; title bands print once and detail bands once per row, in file order,
    // each band moving to a new page when it does not fit on the current one. A report always has at
    // least one page. onPage, when given, hears the number of each page as it is started.
    static LaidOutReport layOut(const ProjectDefinition& project, const DataConnections& data,
                                const std::function<void(int)>& onPage = {});
};

} // namespace report
