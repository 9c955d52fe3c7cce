#include "day/QueryDataset.h"

#include "store/Query.h"

QueryDataset::QueryDataset(const store::Query& query) : m_query(query) {}

QStringList QueryDataset::columnNames() const {
    QStringList names;
    for (int position = 0; position < m_query.fieldCount(); ++position) {
        names << m_query.fieldName(position);
    }
    return names;
}

int QueryDataset::rowCount() const {
    // The query holds at most the one record of the day.
    return m_query.isOpen() && !m_query.isEmpty() ? 1 : 0;
}

QVariant QueryDataset::value(int /*row*/, int column) const {
    return m_query.value(column);
}
