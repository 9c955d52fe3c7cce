#pragma once

#include "report/Dataset.h"

namespace store {
class Query;
}

// The report data connection over a database query: its fields under their names, one row when the query
// has a current record and none when it has not. Values are read from the query when the report asks.
class QueryDataset : public report::Dataset {
public:
    explicit QueryDataset(const store::Query& query);

    QStringList columnNames() const override;
    int rowCount() const override;
    QVariant value(int row, int column) const override;

private:
    const store::Query& m_query;
};
