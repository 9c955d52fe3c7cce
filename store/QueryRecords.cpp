// Reading every row of a query's result, for the operations that go over a whole book at once (search,
// export) rather than one day record.
#include "store/Check.h"
#include "store/Query.h"

#include <sqlcipher/sqlite3.h>

namespace store {

int Query::recordCount() const {
    return static_cast<int>(m_rows.size());
}

QVariant Query::valueAt(int row, int position) const {
    const auto p = static_cast<std::size_t>(checkedPosition(position));
    if (row < 0 || row >= recordCount())
        check(false, SQLITE_RANGE,
              QStringLiteral("The result has no row %1; it has %2 rows.").arg(row).arg(recordCount()));
    return presented(position, m_rows[static_cast<std::size_t>(row)][p]);
}

} // namespace store
