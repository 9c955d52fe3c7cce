#include "bench/ProcessStatus.h"

#include <QByteArray>
#include <QFile>
#include <QList>

long statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(qstrlen(key))).trimmed().split(' ').first().toLong();
    }
    return -1;
}
