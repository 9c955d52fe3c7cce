#include "DatabaseFile.h"

#include "EngineError.h"

namespace store {

// First-commit stub: the engine is being built.
void createDatabaseFile(const QString&, const QString&) { throw EngineError(1, QStringLiteral("not yet built")); }

} // namespace store
