#include "store/engine/EngineError.h"

namespace store {

EngineError::EngineError(Kind kind, const QString& message, const QString& nativeCode)
    : platform::Failure(message), m_kind(kind), m_nativeCode(nativeCode) {}

} // namespace store
