#include "legacy/ConversionRefusal.h"

#include "platform/FilePlacement.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace legacy {

namespace {

constexpr qint64 LargestNote = 64 * 1024;

QString notePath(const QString& olderBook) {
    return QFileInfo(olderBook).absoluteDir().filePath(QLatin1String(ConversionRefusal::FileName));
}

// The state a refusal is tied to: the same file, the same size, written at the same moment.
QString stateOf(const QString& olderBook) {
    const std::optional<platform::FileVersion> version = platform::versionOf(olderBook);
    if (!version)
        return {};
    return QStringLiteral("%1 %2 %3 %4")
        .arg(version->identity.device)
        .arg(version->identity.index)
        .arg(version->size)
        .arg(version->modifiedNs);
}

} // namespace

QString ConversionRefusal::remember(const QString& olderBook, const QString& message) {
    const QString state = stateOf(olderBook);
    if (state.isEmpty())
        return QStringLiteral("the older book is gone");
    platform::FilePlacement placement(notePath(olderBook), platform::FilePlacement::Mode::Replace);
    return placement.write((state + QLatin1Char('\n') + message).toUtf8());
}

QString ConversionRefusal::recalled(const QString& olderBook) {
    const platform::ReadFile note = platform::readOrdinaryFile(notePath(olderBook), LargestNote);
    if (!note.isRead())
        return {};
    const QString text = QString::fromUtf8(note.bytes);
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    if (lineEnd <= 0)
        return {};
    const QString state = stateOf(olderBook);
    return !state.isEmpty() && text.left(lineEnd) == state ? text.mid(lineEnd + 1) : QString();
}

} // namespace legacy
