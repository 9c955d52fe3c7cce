#include "tools/datafolder/DaySheetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <stdexcept>

void writeDefaultDaySheet(const QString& path) {
    QFile source(QStringLiteral(":/orvella/RANTEBOU.rav"));
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error("the default day sheet is missing from this build");
    const QByteArray definition = source.readAll();
    QFile target(path);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly) || target.write(definition) != definition.size() ||
        !target.flush()) {
        // A short write on a full disk leaves the file's own error text empty of meaning ("Unknown error").
        const QStorageInfo disk(QFileInfo(path).absolutePath());
        const QString reason = disk.bytesAvailable() < definition.size()
                                   ? QStringLiteral("the disk holding it is full. Free some space and try again")
                                   : target.errorString();
        target.close();
        target.remove();
        throw std::runtime_error(QStringLiteral("\"%1\" could not be written: %2. Nothing was left in the folder.")
                                     .arg(QDir::toNativeSeparators(path), reason)
                                     .toStdString());
    }
}
