#include "app/HostWindow.h"

#include "app/OldBookOffer.h"
#include "app/SplashWindow.h"
#include "app/StartupNotice.h"
#include "base/ErrorReport.h"
#include "base/TitlePicture.h"
#include "month/MonthWindow.h"
#include "store/backup/DailyBackup.h"
#include "store/backup/FolderLock.h"
#include "store/cipher/DatabasePool.h"
#include "store/engine/ConnectionText.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>

#include <memory>

namespace {

constexpr int FontsAfterSplashMilliseconds = 200;

} // namespace

TForm5::TForm5(QWidget* parent, Preparation preparation) : QWidget(parent), m_preparation(preparation) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QString());
    setGeometry(0, 0, 104, 17);
    ErrorReport::guard([this] { FormCreate(); });
}

void TForm5::FormCreate() {
    hide();
    // The folder the month window is about to capture as the data folder.
    const QString folder = QDir::currentPath();
    const QString dataFile = QDir(folder).filePath(QLatin1String(store::DatabaseFileName));
    std::unique_ptr<store::FolderLock> inUse;
    // An older-format book is offered for conversion below; there is nothing of ours to copy yet.
    const bool present = QFileInfo(dataFile).isFile();
    const bool ourBook = present && !OldBookOffer::isOlderBook(dataFile);
    // Held while the program runs, whatever book it then opens (the one the start-up conversion makes
    // included), so that a restore into this folder is refused meanwhile.
    if (present)
        inUse = std::make_unique<store::FolderLock>(folder, store::FolderLock::Mode::Shared);

    // Work on threads of its own while the notice and the splash are up, begun once the notice is on screen so
    // that nothing delays it (decoding the picture beside the notice being made showed the notice about 9 ms
    // later on two cores). The splash's picture first: Enter may come as soon as the notice shows, and the
    // splash's first frame waits for the picture. Then the day's backup (with the book's integrity check) and
    // the book's key, which the month window would otherwise wait for. A failure of the picture or the key is
    // reported where they are used, with the same text as without the head start.
    StartupNotice::show([this, ourBook, dataFile] {
        if (m_preparation == Preparation::Ahead)
            TitlePicture::prepareInBackground(TForm4::pictureDeviceSize());
        if (ourBook)
            store::DailyBackup::instance().startIfDue(dataFile, QLatin1String(store::FixedDatabasePassword),
                                                      QDate::currentDate());
        if (m_preparation == Preparation::OnDemand)
            return;
        if (ourBook)
            store::DatabasePool::instance().prepareInBackground(dataFile, QLatin1String(store::FixedDatabasePassword));
    });

    {
        std::unique_ptr<TForm4> splash = std::make_unique<TForm4>();
        // Once the splash is on screen, while it waits: the month window's fonts, so that its first frame
        // comes sooner after the splash.
        if (m_preparation == Preparation::Ahead)
            QTimer::singleShot(FontsAfterSplashMilliseconds, splash.get(), [] { TForm1::prepareFonts(); });
        splash->exec();
    }
    if (const auto backup = store::DailyBackup::instance().finish();
        backup && backup->result == store::BackupOutcome::Result::Failed)
        ErrorReport::show(backup->message);

    // The month window reads the data folder's book: an older-format one is offered for conversion first.
    OldBookOffer::offer(QDir::currentPath());

    std::unique_ptr<TForm1> month = std::make_unique<TForm1>();
    month->exec();

    // The message loop has not started yet; a queued quit ends it at its first turn.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}
