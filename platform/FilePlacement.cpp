#include "platform/FilePlacement.h"

#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace platform {

QString partialNameBeside(const QString& target) {
    return QFileInfo(target).absoluteFilePath() +
           QStringLiteral(".%1.partial").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

FilePlacement::FilePlacement(const QString& target, Mode mode, Access access, const QString& partialPath)
    : m_target(target), m_partial(partialPath.isEmpty() ? partialNameBeside(target) : partialPath), m_mode(mode),
      m_access(access) {}

FilePlacement::~FilePlacement() {
    if (!m_placed)
        discard();
}

QString FilePlacement::createPartial() {
    return createExclusive(m_partial);
}

void FilePlacement::discard() {
    QFile::remove(m_partial);
    // A database written at the passing name may have left its journal beside it.
    QFile::remove(m_partial + QStringLiteral("-journal"));
}

QString FilePlacement::write(const QByteArray& contents) {
    if (const QString why = createPartial(); !why.isEmpty())
        return why;
    QFile file(m_partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size() ||
        !file.flush()) {
        const QString why = file.errorString();
        file.close();
        discard();
        return why;
    }
    file.close();
    return place();
}

QString FilePlacement::place() {
    QString why = syncFile(m_partial);
    if (why.isEmpty()) {
        // The access the finished file gets is decided before anything takes its place.
        why = m_access == Access::OwnerOnly ? makeOwnerOnly(m_partial)
                                            : applyUsualAccess(m_partial, usualAccessFor(m_target));
    }
    if (why.isEmpty())
        why = m_mode == Mode::NewOnly ? placeNew(m_partial, m_target) : replaceFile(m_partial, m_target);
    if (!why.isEmpty()) {
        discard();
        return why;
    }
    m_placed = true;
    QFile::remove(m_partial + QStringLiteral("-journal"));
    // The new name reaches the disk with the folder's entries; a failure here leaves the file whole.
    syncFolder(QFileInfo(m_target).absolutePath());
    return {};
}

} // namespace platform
