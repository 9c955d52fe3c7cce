#include "store/engine/EngineSession.h"

#include "store/engine/HeldText.h"

#include <algorithm>

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

std::optional<int> EngineSession::countHeld(const QString& statement, int positions) {
    const ResultSet result = select(statement);
    if (result.rows.empty())
        return std::nullopt;
    const std::vector<QVariant>& row = result.rows.front();
    return static_cast<int>(std::count_if(
        row.begin(), row.begin() + std::clamp<qsizetype>(positions, 0, static_cast<qsizetype>(row.size())),
        [](const QVariant& value) { return holdsText(value); }));
}

} // namespace store
