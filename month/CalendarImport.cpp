#include "month/CalendarImport.h"

#include "base/ErrorReport.h"
#include "exchange/CalendarImportSummary.h"
#include "exchange/ICalendarReader.h"
#include "store/Connection.h"
#include "store/SlotBooking.h"
#include "store/engine/BookWatch.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeZone>

namespace calendarimport {

namespace {

// The lists of the summary shown in a window are kept short; the tool prints them whole.
constexpr int ListedInWindow = 12;

void tell(QWidget* parent, const QString& name, const QString& text) {
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(ErrorReport::ApplicationTitle), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(name);
    box.exec();
}

} // namespace

bool chooseAndImport(QWidget* parent, const QString& connectionText) {
    bool booked = false;
    ErrorReport::guard([&] {
        const QString path = QFileDialog::getOpenFileName(
            parent, QCoreApplication::translate("CalendarImport", "Import a calendar (.ics)"), QString(),
            QCoreApplication::translate("CalendarImport", "Calendars (*.ics);;All files (*)"));
        if (!path.isEmpty())
            booked = importFile(parent, connectionText, path);
    });
    return booked;
}

bool importFile(QWidget* parent, const QString& connectionText, const QString& path) {
    bool booked = false;
    ErrorReport::guard([&] {
        // The book's times are Athens time, as the day window shows them.
        exchange::CalendarReadOptions options;
        options.zone = QTimeZone(QByteArrayLiteral("Europe/Athens"));
        const exchange::CalendarReading reading = exchange::readCalendarFile(path, options);
        store::Connection connection;
        connection.reopen(connectionText);
        const store::BookingPlan plan = store::planBooking(connection, reading.writes);
        const QString summary =
            exchange::importSummary(QFileInfo(path).fileName(), reading, plan, ListedInWindow).join(QLatin1Char('\n'));
        if (plan.free.empty()) {
            tell(parent, QStringLiteral("CalendarImportDone"),
                 summary + QStringLiteral("\n\n") +
                     QCoreApplication::translate("CalendarImport", "Nothing to book; the book was not changed."));
            return;
        }
        QMessageBox question(QMessageBox::Question, QString::fromUtf8(ErrorReport::ApplicationTitle),
                             summary + QStringLiteral("\n\n") +
                                 QCoreApplication::translate(
                                     "CalendarImport", "Book the %1 free half hours now? Nothing else is changed.")
                                     .arg(plan.free.size()),
                             QMessageBox::Yes | QMessageBox::No, parent);
        question.setObjectName(QStringLiteral("CalendarImportQuestion"));
        question.button(QMessageBox::Yes)->setText(QCoreApplication::translate("CalendarImport", "&Yes"));
        question.button(QMessageBox::No)->setText(QCoreApplication::translate("CalendarImport", "&No"));
        question.setDefaultButton(QMessageBox::No);
        question.setEscapeButton(QMessageBox::No);
        if (question.exec() != QMessageBox::Yes)
            return;
        const store::BookingPlan done = store::bookFreeSlots(connection, reading.writes);
        connection.close();
        booked = !done.free.empty();
        // Many days may have changed: every window of the program reads what it shows again, as after a
        // server's link came back (the month's counts, a week, the search's picture).
        if (booked)
            store::BookWatch::instance().announceReload();
        QString result = QCoreApplication::translate("CalendarImport", "Booked %1 half hours.").arg(done.free.size());
        if (done.taken.size() > plan.taken.size())
            result +=
                QLatin1Char('\n') +
                QCoreApplication::translate(
                    "CalendarImport", "%1 of them were filled by another desk meanwhile and were left as they are.")
                    .arg(done.taken.size() - plan.taken.size());
        tell(parent, QStringLiteral("CalendarImportDone"), result);
    });
    return booked;
}

} // namespace calendarimport
