#include "report/OutputTarget.h"

#include "report/SourceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

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
            return sameName ? QStringLiteral("The report cannot be written to %1: the program works from that file, "
                                             "and writing the report there would destroy it. Choose another file "
                                             "name.")
                                  .arg(shown(path))
                            : QStringLiteral("The report cannot be written to %1: it is the file %2 under another "
                                             "name or through a link, and the program works from that file. Choose "
                                             "another file name.")
                                  .arg(shown(path), shown(file));
        }
    }

    const QByteArray name = QFile::encodeName(path);
    struct stat entry {};
    if (::lstat(name.constData(), &entry) != 0)
        return {};
    if (S_ISDIR(entry.st_mode))
        return QStringLiteral("%1 is a folder; name a file in it.").arg(shown(path));
    if (S_ISLNK(entry.st_mode)) {
        struct stat folder {};
        const QByteArray folderName = QFile::encodeName(QFileInfo(path).absolutePath());
        const bool shared = ::stat(folderName.constData(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0 &&
                            (folder.st_mode & S_IWOTH) != 0;
        if (shared && entry.st_uid != ::geteuid() && entry.st_uid != folder.st_uid)
            return QStringLiteral("The report cannot be written to %1: it is a link that another user put in this "
                                  "shared folder, and it may lead to someone's file. Choose another file name.")
                .arg(shown(path));
    }
    return {};
}

bool somethingAt(const QString& path) {
    struct stat entry {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &entry) == 0;
}

QString replaceQuestion(const QString& path) {
    return QStringLiteral("The file %1 already exists.\nReplace it with the report?").arg(shown(path));
}

} // namespace report::output
