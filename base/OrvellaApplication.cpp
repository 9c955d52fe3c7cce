#include "base/OrvellaApplication.h"

#include "base/ErrorReport.h"
#include "resources/Catalogue.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>

OrvellaApplication::OrvellaApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setUpIdentity();
}

bool OrvellaApplication::notify(QObject* receiver, QEvent* event) {
    // The safety net under every event handler: what escapes one is shown, and the event loop goes on.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorReport::showCurrentException();
    }
    return false;
}

void OrvellaApplication::setUpIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Orvella"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/orvella/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/orvella/icon32.png"), QSize(32, 32));
    QGuiApplication::setWindowIcon(icon);
    // The windows speak Greek whatever the desktop's language.
    catalogue::useGreek();

    // The windows are laid out for Tahoma. Where it is missing, fontconfig would pick a much wider face and
    // crowd the labels; Liberation Sans has the closest widths and carries Greek.
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    }
}
