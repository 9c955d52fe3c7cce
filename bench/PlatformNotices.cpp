#include "bench/PlatformNotices.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support propagateSizeHints"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

} // namespace

void silencePlatformNotices() {
    previousHandler = qInstallMessageHandler(filterMessage);
}
