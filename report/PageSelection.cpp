#include "report/PageSelection.h"

#include <QCoreApplication>

#include "report/ReportError.h"

namespace report {

QList<int> selectPages(int pageCount, const OutputOptions& options) {
    if (options.copies < 1 || options.copies > 99)
        throw ReportError(
            QCoreApplication::translate("report", "The number of copies must lie between 1 and 99, not %1.").arg(options.copies));
    const QList<int> once = selectPagesOnce(pageCount, options);
    QList<int> pages;
    pages.reserve(once.size() * options.copies);
    for (int copy = 0; copy < options.copies; ++copy)
        pages.append(once);
    return pages;
}

QList<int> selectPagesOnce(int pageCount, const OutputOptions& options) {
    const int first = options.fromPage <= 0 ? 1 : options.fromPage;
    int last = options.toPage <= 0 ? pageCount : options.toPage;
    if (options.fromPage < 0 || options.toPage < 0 || last < first)
        throw ReportError(QCoreApplication::translate("report", "The page range %1 to %2 is not a range of pages.")
                              .arg(options.fromPage)
                              .arg(options.toPage));
    if (first > pageCount)
        throw ReportError(QCoreApplication::translate("report", "The report has %1 page(s); the range starting at page %2 holds none of them.")
                              .arg(pageCount)
                              .arg(first));
    last = std::min(last, pageCount);
    QList<int> pages;
    for (int page = first; page <= last; ++page)
        pages.append(page - 1);
    return pages;
}

} // namespace report
