#include "resources/DaySheetFile.h"

#include "platform/FilePlacement.h"
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
    platform::FilePlacement placement(path, platform::FilePlacement::Mode::NewOnly,
                                      platform::FilePlacement::Access::Usual);
    if (const QString why = placement.write(definition); !why.isEmpty()) {
        // A short write on a full disk leaves the file's own error text empty of meaning ("Unknown error").
        const QStorageInfo disk(QFileInfo(path).absolutePath());
        const QString reason = disk.bytesAvailable() < definition.size()
                                   ? QStringLiteral("the disk holding it is full. Free some space and try again")
                                   : why;
        throw std::runtime_error(QStringLiteral("\"%1\" could not be written: %2. Nothing was left in the folder.")
                                     .arg(QDir::toNativeSeparators(path), reason)
                                     .toStdString());
    }
}
