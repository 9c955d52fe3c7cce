#pragma once

#include "report/OutputOptions.h"

#include <QList>

namespace report {

// The pages (indices from 0) that an output holds, in order: the chosen range, repeated `copies` times
// (collated). A range that ends past the last page stops at it; one that starts past it, a reversed
// range, or copies outside 1..99 throw ReportError, since they would give an empty or wrong output.
QList<int> selectPages(int pageCount, const OutputOptions& options);

// As selectPages(), once, whatever the copies: the pages a preview shows.
QList<int> selectPagesOnce(int pageCount, const OutputOptions& options);

} // namespace report
