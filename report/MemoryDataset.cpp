#include "report/MemoryDataset.h"

#include <QCoreApplication>

#include "report/ReportError.h"

namespace report {

MemoryDataset::MemoryDataset(QStringList columnNames) : m_columnNames(std::move(columnNames)) {}

void MemoryDataset::appendRow(const QVariantList& values) {
    if (values.size() != m_columnNames.size())
        throw ReportError(QCoreApplication::translate("report", "A row of %1 values does not fit a dataset of %2 columns.")
                              .arg(values.size())
                              .arg(m_columnNames.size()));
    m_rows.append(values);
}

int MemoryDataset::rowCount() const {
    return static_cast<int>(m_rows.size());
}

QVariant MemoryDataset::value(int row, int column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columnNames.size())
        throw ReportError(
            QCoreApplication::translate("report", "There is no value at row %1, column %2 of the dataset.").arg(row).arg(column));
    return m_rows[row][column];
}

} // namespace report
