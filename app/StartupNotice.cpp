#include "app/StartupNotice.h"

#include "base/ErrorReport.h"

#include <QMessageBox>
#include <QStringList>

#include <memory>

namespace StartupNotice {

QString text() {
    const QStringList paragraphs{
        QStringLiteral("Important Information"),
        QStringLiteral("Please read carefully"),
        QStringLiteral("1) If you see rubbish (unreadable characters) instead of Greek characters you must reconfigure "
                       "your Windows operating system to support Greek system characters."),
        QStringLiteral("2) The recommended screen resolution is 1024 x 768 or higher. Lower resolution may cause "
                       "application forms display incorrect."),
    };
    return paragraphs.join(QStringLiteral("\r\r"));
}

QMessageBox* createBox() {
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8(ErrorReport::ApplicationTitle), QString(),
                                QMessageBox::Ok);
    box->setObjectName(QStringLiteral("StartupNotice"));
    box->setTextFormat(Qt::PlainText);
    // A carriage return alone does not break a line in a Qt label, so the box shows each one as a line feed:
    // two of them give the empty line between paragraphs.
    QString shown = text();
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setText(shown);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

void show() {
    std::unique_ptr<QMessageBox> box(createBox());
    box->exec();
}

} // namespace StartupNotice
