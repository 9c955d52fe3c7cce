#include "app/HostWindow.h"

#include "app/OldBookOffer.h"
#include "app/SplashWindow.h"
#include "app/StartupNotice.h"
#include "base/ErrorReport.h"
#include "month/MonthWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>

#include <memory>

TForm5::TForm5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QString());
    setGeometry(0, 0, 104, 17);
    ErrorReport::guard([this] { FormCreate(); });
}

void TForm5::FormCreate() {
    hide();
    StartupNotice::show();

    {
        std::unique_ptr<TForm4> splash = std::make_unique<TForm4>();
        splash->exec();
    }

    // The month window reads the data folder's book: an older-format one is offered for conversion first.
    OldBookOffer::offer(QDir::currentPath());

    std::unique_ptr<TForm1> month = std::make_unique<TForm1>();
    month->exec();

    // The message loop has not started yet; a queued quit ends it at its first turn.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}
