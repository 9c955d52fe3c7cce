#include "base/ErrorReport.h"

#include <QCoreApplication>
#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace {
ErrorReport::Observer& observer() {
    static ErrorReport::Observer current;
    return current;
}
} // namespace

namespace ErrorReport {

void show(const QString& text) {
    if (observer()) {
        observer()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(ApplicationTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorReport"));
    box.exec();
}

void showCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        show(QString::fromUtf8(e.what()));
    } catch (...) {
        show(QCoreApplication::translate("ErrorReport", "An unknown error occurred."));
    }
}

void setObserver(Observer newObserver) {
    observer() = std::move(newObserver);
}

} // namespace ErrorReport
