#include "store/ReadTogether.h"

#include "store/Connection.h"
#include "store/engine/EngineSession.h"

namespace store {

ReadTogether::ReadTogether(Connection& connection) : m_connection(connection) {
    m_connection.session().beginReading();
}

ReadTogether::~ReadTogether() {
    if (m_connection.isOpen())
        m_connection.session().endReading();
}

} // namespace store
