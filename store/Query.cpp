#include "Query.h"

#include "Connection.h"
#include "EngineError.h"

namespace store {

// First-commit stub: the engine is being built.
Query::Query(Connection& connection, QObject* parent) : QObject(parent), m_connection(connection) {}
Query::~Query() = default;
void Query::close() { setState(State::Closed); }
void Query::clearStatement() { m_lines.clear(); }
void Query::addStatement(const QString& line) { m_lines << line; }
QString Query::statement() const { return m_lines.join(QLatin1Char('\n')); }
void Query::setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
void Query::open() { throw EngineError(1, QStringLiteral("not yet built")); }
bool Query::isEmpty() const { return m_rows.empty(); }
int Query::fieldCount() const { return static_cast<int>(m_fields.size()); }
QString Query::fieldName(int position) const { return m_fields.at(checkedPosition(position)).name; }
int Query::fieldIndex(const QString&) const { return -1; }
QVariant Query::value(int) const { throw EngineError(1, QStringLiteral("not yet built")); }
QVariant Query::value(const QString&) const { throw EngineError(1, QStringLiteral("not yet built")); }
int Query::fieldSize(const QString&) const { throw EngineError(1, QStringLiteral("not yet built")); }
void Query::setValue(const QString&, const QVariant&) { throw EngineError(1, QStringLiteral("not yet built")); }
void Query::post() { throw EngineError(1, QStringLiteral("not yet built")); }
void Query::cancel() {}
int Query::checkedPosition(int position) const { return position; }
int Query::checkedPosition(const QString&) const { return -1; }
void Query::setState(State state)
{
    m_state = state;
    emit stateChanged();
}

} // namespace store
