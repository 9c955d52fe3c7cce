#pragma once

#include "report/Dataset.h"

#include <QList>

namespace report {

// A dataset held in memory: fixed column names and rows of values, for tests, tools and small callers.
class MemoryDataset : public Dataset {
public:
    explicit MemoryDataset(QStringList columnNames);

    // Appends a row; it must hold one value per column (throws ReportError otherwise).
    void appendRow(const QVariantList& values);

    QStringList columnNames() const override { return m_columnNames; }
    int rowCount() const override;
    QVariant value(int row, int column) const override;

private:
    QStringList m_columnNames;
    QList<QVariantList> m_rows;
};

} // namespace report
