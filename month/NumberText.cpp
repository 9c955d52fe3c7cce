#include "month/NumberText.h"

#include <cmath>
#include <stdexcept>

namespace {

[[noreturn]] void throwNotANumber(const QString& text) {
    throw std::invalid_argument(QStringLiteral("'%1' is not a valid number.").arg(text).toStdString());
}

} // namespace

float numberFromText(const QString& text) {
    bool ok = false;
    // The C locale's reading, whatever the user's settings: the texts come from this program, not from typing.
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value)) {
        throwNotANumber(text);
    }
    return value;
}

int integerFromText(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        throwNotANumber(text);
    }
    return value;
}
