#include "base/AddressOpener.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QProcess>
#include <QStringList>
#endif

namespace {
AddressOpener::Observer& observer() {
    static AddressOpener::Observer current;
    return current;
}
} // namespace

void OpenAddress(const QString& address) {
    if (observer()) {
        observer()(address);
        return;
    }
#ifdef Q_OS_WIN
    WinExec(("EXPLORER.EXE " + address).toLocal8Bit(), SW_HIDE);
#else
    // The address is the one argument of xdg-open; no shell sees it, so spaces and shell characters in it
    // stay plain text.
    QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{address});
#endif
}

namespace AddressOpener {

void setObserver(Observer newObserver) {
    observer() = std::move(newObserver);
}

} // namespace AddressOpener
