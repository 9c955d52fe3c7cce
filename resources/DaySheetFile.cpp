#include "resources/DaySheetFile.h"

#include "platform/FilePlacement.h"
#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <stdexcept>
#include <string>

namespace {

// Writes the definition kept in the resources under `resource` at path; `what` names it in a failure.
void writeDefaultSheet(const QString& resource, const char* what, const QString& path) {
    QFile source(resource);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("the default ") + what + " is missing from this build");
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

} // namespace

void writeDefaultDaySheet(const QString& path) {
    writeDefaultSheet(QStringLiteral(":/orvella/RANTEBOU.rav"), "day sheet", path);
}

void writeDefaultWeekSheet(const QString& path) {
    writeDefaultSheet(QStringLiteral(":/orvella/EBDOMADA.rav"), "week sheet", path);
}
