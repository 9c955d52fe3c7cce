#include "report/UserMessages.h"

#include <QMessageBox>

namespace report::UserMessages {

namespace {

Observer& observer() {
    static Observer installed;
    return installed;
}

} // namespace

void warn(QWidget* parent, const QString& caption, const QString& text) {
    if (observer()) {
        observer()(Kind::Warning, text);
        return;
    }
    QMessageBox::warning(parent, caption, text);
}

bool ask(QWidget* parent, const QString& caption, const QString& text) {
    if (observer())
        return observer()(Kind::Question, text);
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void setObserver(Observer newObserver) {
    observer() = std::move(newObserver);
}

} // namespace report::UserMessages
