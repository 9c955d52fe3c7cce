#include "app/MissingBookNotice.h"

#include "base/ErrorReport.h"
#include "store/backup/BackupFolder.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include <memory>

namespace MissingBookNotice {

QString text(const QString& dataFolder) {
    const QString folder = QDir::toNativeSeparators(QDir(dataFolder).absolutePath());
    return QCoreApplication::translate(
               "MissingBookNotice",
               "Your appointment book is missing.\n\nThe data folder \"%1\" is there, but the book %2 is not in it: "
               "it was deleted or moved, or it is kept on a disk that is not connected now. Orvella has not made a "
               "new, empty book in its place, so that none of your appointments is hidden or replaced.\n\nIf the "
               "book is on a disk that is not connected, connect it and start Orvella again.\n\n%3")
        .arg(folder, QLatin1String(store::DatabaseFileName),
             store::restoreAdvice(dataFolder, QLatin1String(store::FixedDatabasePassword)));
}

QMessageBox* createBox(const QString& dataFolder) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(ErrorReport::ApplicationTitle),
                                text(dataFolder), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("MissingBookNotice"));
    box->setTextFormat(Qt::PlainText);
    // The restore command is meant to be copied into a terminal.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

int show(const QString& dataFolder) {
    std::unique_ptr<QMessageBox> box(createBox(dataFolder));
    box->exec();
    return 0;
}

} // namespace MissingBookNotice
