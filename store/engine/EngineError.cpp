#include "store/engine/EngineError.h"

#include <QCoreApplication>

namespace store {

EngineError::EngineError(Kind kind, const QString& message, const QString& nativeCode)
    : platform::Failure(message), m_kind(kind), m_nativeCode(nativeCode) {}

QString doingInWords(const QString& doing) {
    return QCoreApplication::translate("store", doing.toUtf8().constData());
}

} // namespace store
