// The month window's import of a calendar, built for real over a real encrypted book: the context menu's entry,
// the file chooser, the question with the summary, then the booking (or nothing, answered No); the month's counts
// show what was booked, and a half hour that already held text keeps it.
#include "tests/month/BookSlots.h"
#include "tests/month/GridProbe.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "month/CalendarImport.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace {

const QDate Today(2010, 3, 10);

QLabel* countOfDay(const TForm1& month, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        if (dayLabel(month, cell)->text() == QString::number(day))
            return countLabel(month, cell);
    }
    return nullptr;
}

// Two events: 10:00-11:00 on the 10th, whose first half hour the book already holds, and 09:00-09:30 on the 11th.
constexpr char Calendar[] =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:test\r\n"
    "BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Εισαγωγή\r\nDTSTART;TZID=Europe/Athens:20100310T100000\r\n"
    "DTEND;TZID=Europe/Athens:20100310T110000\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Δεύτερη\r\nDTSTART:20100311T070000Z\r\nDURATION:PT30M\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n";

} // namespace

class CalendarImportWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EmptyDataFolder> m_folder;
    std::unique_ptr<TForm1> m_month;
    QStringList m_reports;

private slots:
    void init() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
        m_folder = std::make_unique<EmptyDataFolder>();
        booktest::writeSlots({{Today, 5, QStringLiteral("Στο γραφείο")}});
        QFile file(QDir::current().filePath(QStringLiteral("άλλο.ics")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Calendar) > 0);
        sharedState() = SharedState{};
        m_month = std::make_unique<TForm1>(nullptr, Today);
        m_month->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_month.get()));
        m_reports.clear();
    }

    void cleanup() {
        m_month.reset();
        m_folder.reset();
        ErrorReport::setObserver({});
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    }

    void importsThroughTheContextMenu_data() {
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QString>("countOn10th");
        QTest::addColumn<QString>("countOn11th");
        QTest::newRow("answered Yes") << true << QStringLiteral("2") << QStringLiteral("1");
        QTest::newRow("answered No") << false << QStringLiteral("1") << QString();
    }

    void importsThroughTheContextMenu() {
        QFETCH(bool, answerYes);
        QFETCH(QString, countOn10th);
        QFETCH(QString, countOn11th);
        // The entry is in the context menu, below the others.
        QAction* entry = nullptr;
        QTimer::singleShot(0, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                entry = menu->actions().value(3);
                menu->close();
            }
        });
        QLabel* day = dayLabel(*m_month, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), day->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(day, &event);
        QVERIFY(entry);
        QCOMPARE(entry->objectName(), QStringLiteral("ImportCalendarAction"));

        // Each modal window in turn: the chooser is given the file, the question is looked at and answered, the
        // closing notice is read and closed.
        QStringList seen;
        QString question;
        QString notice;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            // Found among the windows, not as the active one: the chooser may be the desktop's own.
            QFileDialog* chooser = m_month->findChild<QFileDialog*>();
            QWidget* window = chooser;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (!window && qobject_cast<QMessageBox*>(top) && top->isVisible())
                    window = top;
            }
            if (!window || (!chooser && seen.contains(window->objectName())))
                return;
            if (chooser) {
                if (!chooser->isVisible())
                    return;
                if (!seen.contains(QStringLiteral("chooser")))
                    seen << QStringLiteral("chooser");
                // Typed into its name box, as a person would, and opened.
                auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(QDir::current().filePath(QStringLiteral("άλλο.ics")));
                static_cast<QDialog*>(chooser)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(window)) {
                seen << box->objectName();
                if (box->objectName() == QLatin1String("CalendarImportQuestion")) {
                    question = box->text();
                    box->button(answerYes ? QMessageBox::Yes : QMessageBox::No)->click();
                } else {
                    notice = box->text();
                    box->accept();
                }
            }
        });
        poll.start(30);
        QApplication::setActiveWindow(m_month.get());
        entry->trigger();
        poll.stop();

        QStringList expected{QStringLiteral("chooser"), QStringLiteral("CalendarImportQuestion")};
        if (answerYes)
            expected << QStringLiteral("CalendarImportDone");
        QCOMPARE(seen, expected);
        QVERIFY2(question.contains(QStringLiteral("Μισάωρα προς καταχώριση: 2")), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("Μισάωρα με άλλο κείμενο (μένουν όπως είναι): 1\n"
                                                  "    2010-03-10 10:00 - 10:30  Εισαγωγή")),
                 qPrintable(question));
        if (answerYes)
            QCOMPARE(notice, QStringLiteral("Καταχωρίστηκαν 2 μισάωρα."));
        QCOMPARE(countOfDay(*m_month, 10)->text(), countOn10th);
        QCOMPARE(countOfDay(*m_month, 11)->text(), countOn11th);

        store::Connection connection;
        connection.reopen(sharedState().ConnectionText);
        QStringList filled;
        for (const store::FilledSlot& slot : store::readFilledSlots(connection))
            filled << QStringLiteral("%1 %2 %3").arg(slot.date.toString(Qt::ISODate)).arg(slot.slot).arg(slot.text);
        QStringList book{QStringLiteral("2010-03-10 4 Στο γραφείο")};
        if (answerYes)
            book = QStringList{QStringLiteral("2010-03-10 4 Στο γραφείο"), QStringLiteral("2010-03-10 5 Εισαγωγή"),
                               QStringLiteral("2010-03-11 2 Δεύτερη")};
        QCOMPARE(filled, book);
    }

    // A file that is no calendar goes to the error report in Greek, naming the file; nothing is asked or written.
    void aFileThatIsNoCalendarIsReported() {
        const QString path = QDir::current().filePath(QStringLiteral("σημειώσεις.ics"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("Τηλέφωνα γιατρών\n") > 0);
        file.close();
        QVERIFY(!calendarimport::importFile(m_month.get(), sharedState().ConnectionText, path));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.front().contains(QStringLiteral("σημειώσεις.ics")) &&
                     m_reports.front().contains(QStringLiteral("Δεν περιέχει ημερολόγιο iCalendar")),
                 qPrintable(m_reports.front()));
        m_reports.clear();
        QCOMPARE(countOfDay(*m_month, 10)->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(CalendarImportWindowTest)
#include "CalendarImportWindowTest.moc"
