#include "store/engine/EngineSession.h"

namespace store {

void EngineSession::readText(const QString& statement, TextRowReader& reader) {
    const ResultSet result = select(statement);
    QStringList names;
    for (std::size_t column = 0; column < result.fields.size(); ++column)
        names << result.fields[column].name;
    reader.columns(names);
    std::vector<QByteArray> texts(result.fields.size());
    std::vector<TextValue> values(result.fields.size());
    for (const std::vector<QVariant>& row : result.rows) {
        for (std::size_t column = 0; column < row.size() && column < values.size(); ++column) {
            if (row[column].isNull()) {
                values[column] = TextValue();
                continue;
            }
            texts[column] = row[column].toString().toUtf8();
            values[column] = TextValue{texts[column].constData(), texts[column].size()};
        }
        reader.row(values.data());
    }
}

} // namespace store
