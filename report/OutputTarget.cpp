#include "report/OutputTarget.h"

#include "platform/Files.h"
#include "report/SourceFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace report::output {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString shown(const QString& path) {
    return quoted(QDir::toNativeSeparators(path));
}

} // namespace

QString whyNotWritable(const QString& path, const QStringList& protectedFiles) {
    if (const auto target = identityOf(path)) {
        for (const QString& file : protectedFiles) {
            if (identityOf(file) != target)
                continue;
            const bool sameName = QDir::cleanPath(QFileInfo(path).absoluteFilePath()) ==
                                  QDir::cleanPath(QFileInfo(file).absoluteFilePath());
            return sameName ? QCoreApplication::translate("report", "The report cannot be written to %1: the program works from that file, "
                                             "and writing the report there would destroy it. Choose another file "
                                             "name.")
                                  .arg(shown(path))
                            : QCoreApplication::translate("report", "The report cannot be written to %1: it is the file %2 under another "
                                             "name or through a link, and the program works from that file. Choose "
                                             "another file name.")
                                  .arg(shown(path), shown(file));
        }
    }

    const platform::Entry entry = platform::lookAt(path, false);
    if (!entry.exists())
        return {};
    if (entry.kind == platform::EntryKind::Folder)
        return QCoreApplication::translate("report", "%1 is a folder; name a file in it.").arg(shown(path));
    if (entry.kind == platform::EntryKind::Link) {
        const QString folder = QFileInfo(path).absolutePath();
        if (platform::isSharedFolder(folder) && !entry.ownedByUser && entry.owner != platform::lookAt(folder).owner)
            return QCoreApplication::translate("report", "The report cannot be written to %1: it is a link that another user put in this "
                                  "shared folder, and it may lead to someone's file. Choose another file name.")
                .arg(shown(path));
    }
    return {};
}

bool somethingAt(const QString& path) {
    return platform::somethingAt(path);
}

QString replaceQuestion(const QString& path) {
    return QCoreApplication::translate("report", "The file %1 already exists.\nReplace it with the report?").arg(shown(path));
}

} // namespace report::output
