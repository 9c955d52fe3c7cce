#include "store/EngineError.h"

namespace store {

EngineError::EngineError(int code, const QString& message) : std::runtime_error(message.toStdString()), m_code(code) {}

} // namespace store
