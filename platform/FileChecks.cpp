#include "platform/Files.h"

#include <QLocale>

namespace platform {

QString notAnOrdinaryFile(const QString& path, qint64 maxBytes) {
    const Entry entry = lookAt(path);
    switch (entry.kind) {
    case EntryKind::File:
        if (maxBytes >= 0 && entry.version.size > maxBytes)
            return QStringLiteral("larger than %1 bytes").arg(QLocale::c().toString(maxBytes));
        return {};
    case EntryKind::Link:
        // Links are followed here: one that stays is a loop.
        return kindInWords(EntryKind::LinkLoop);
    case EntryKind::Unreachable:
        return QStringLiteral("out of reach (%1)").arg(entry.reason);
    default:
        return kindInWords(entry.kind);
    }
}

QString kindInWords(EntryKind kind) {
    switch (kind) {
    case EntryKind::Folder:
        return QStringLiteral("a folder");
    case EntryKind::Link:
        return QStringLiteral("a link");
    case EntryKind::LinkLoop:
        return QStringLiteral("a link that leads back to itself (a loop of links)");
    case EntryKind::Pipe:
        return QStringLiteral("a named pipe (FIFO)");
    case EntryKind::Device:
        return QStringLiteral("a device");
    case EntryKind::DiskDevice:
        return QStringLiteral("a disk device");
    case EntryKind::Socket:
        return QStringLiteral("a socket");
    case EntryKind::Missing:
        return QStringLiteral("missing");
    case EntryKind::Unreachable:
        return QStringLiteral("out of reach");
    case EntryKind::File:
        return QStringLiteral("an ordinary file");
    case EntryKind::Other:
        break;
    }
    return QStringLiteral("a special file");
}

QString kindInWords(const ReadFile& read) {
    return read.systemView ? QStringLiteral("a view of the running system") : kindInWords(read.kind);
}

} // namespace platform
