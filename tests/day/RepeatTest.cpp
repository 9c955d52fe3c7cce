// The repeat of an appointment: the days a rule gives, and the dialog booking them in a real data file, only
// where the slot is free, all of them or none.
#include "tests/day/DayTestFile.h"
#include "tests/day/DayWindowClosing.h"
#include "tests/store/StoreTestSupport.h"

#include "base/ErrorReport.h"
#include "day/DayWindow.h"
#include "day/RepeatDialog.h"
#include "day/RepeatPlan.h"
#include "store/Connection.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString Column = QStringLiteral("1000-1030");
constexpr int Slot = 4; // 10:00 - 10:30
const QString Text = QStringLiteral("Παπαδόπουλος Γ., φυσικοθεραπεία 🦵🏽");
const QDate First(2026, 12, 15);

QString dayText(QDate day) { return day.toString(QStringLiteral("d/M/yyyy")); }

// Closes the information box the booking shows, once it comes, and keeps its text.
void takeTheSummary(QWidget* owner, QString* text) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QLatin1String("RepeatDone"))
            return;
        *text = box->text();
        box->accept();
        poll->stop();
        poll->deleteLater();
    });
    poll->start(20);
}

} // namespace

class RepeatTest : public QObject {
    Q_OBJECT
private slots:
    void repeatDatesFollowTheRule_data();
    void repeatDatesFollowTheRule();
    void onlyFreeDaysAreBookedAndTheTakenAreNamed();
    void aFailureMidwayWritesNothing();
    void theDayWindowSavesFirstAndOffersTheRepeat();
};

void RepeatTest::repeatDatesFollowTheRule_data() {
    QTest::addColumn<QDate>("first");
    QTest::addColumn<int>("everyDays");
    QTest::addColumn<int>("times");
    QTest::addColumn<QDate>("until");
    QTest::addColumn<int>("count");
    QTest::addColumn<QDate>("firstDate");
    QTest::addColumn<QDate>("lastDate");
    QTest::newRow("every week, 8 times") << First << 7 << 8 << QDate() << 8 << QDate(2026, 12, 22)
                                         << QDate(2027, 2, 9);
    QTest::newRow("every 3 days, 5 times") << First << 3 << 5 << QDate() << 5 << QDate(2026, 12, 18)
                                           << QDate(2026, 12, 30);
    QTest::newRow("until a day, which counts") << First << 7 << 0 << QDate(2027, 1, 5) << 3 << QDate(2026, 12, 22)
                                               << QDate(2027, 1, 5);
    QTest::newRow("until before the first step") << First << 7 << 0 << QDate(2026, 12, 20) << 0 << QDate() << QDate();
    QTest::newRow("times and until: the sooner") << First << 7 << 8 << QDate(2027, 1, 1) << 2 << QDate(2026, 12, 22)
                                                 << QDate(2026, 12, 29);
    QTest::newRow("not past the calendar's last year") << QDate(2035, 12, 1) << 7 << 10 << QDate() << 4
                                                       << QDate(2035, 12, 8) << QDate(2035, 12, 29);
    QTest::newRow("at most ten years of weeks") << First << 1 << 100000 << QDate() << MaximumRepeats
                                                << First.addDays(1) << First.addDays(MaximumRepeats);
    QTest::newRow("a step of no days gives nothing") << First << 0 << 8 << QDate() << 0 << QDate() << QDate();
    QTest::newRow("across the leap day") << QDate(2028, 2, 22) << 7 << 2 << QDate() << 2 << QDate(2028, 2, 29)
                                         << QDate(2028, 3, 7);
}

void RepeatTest::repeatDatesFollowTheRule() {
    QFETCH(QDate, first);
    QFETCH(int, everyDays);
    QFETCH(int, times);
    QFETCH(QDate, until);
    QFETCH(int, count);
    QFETCH(QDate, firstDate);
    QFETCH(QDate, lastDate);
    RepeatRule rule{everyDays, times, until.isValid() ? std::optional<QDate>(until) : std::nullopt};
    const std::vector<QDate> dates = repeatDates(first, rule);
    QCOMPARE(static_cast<int>(dates.size()), count);
    if (count == 0)
        return;
    QCOMPARE(dates.front(), firstDate);
    QCOMPARE(dates.back(), lastDate);
    for (std::size_t i = 1; i < dates.size(); ++i)
        QCOMPARE(dates[i - 1].daysTo(dates[i]), qint64(everyDays));
}

void RepeatTest::onlyFreeDaysAreBookedAndTheTakenAreNamed() {
    DayTestFile file;
    QVERIFY(file.isValid());
    const QDate taken(2027, 1, 5);
    file.storeSlots(dayText(First), {{Column, Text}});
    file.storeSlots(dayText(taken), {{Column, QStringLiteral("Άλλος πελάτης")}});
    store::Connection connection;
    connection.reopen(file.connectionText());

    RepeatDialog dialog(connection, First, Slot, Text);
    dialog.setRule(RepeatRule{7, 8, std::nullopt});
    QCOMPARE(dialog.dates().size(), std::size_t(8));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("RepeatDates"));
    QCOMPARE(list->count(), 8);
    // The days are shown before anything is written, the taken one marked as staying as it is.
    QVERIFY2(list->item(2)->text().contains(QLatin1String("5/1/2027")), qPrintable(list->item(2)->text()));
    QVERIFY2(list->item(2)->text().contains(QLatin1String("taken by another appointment")),
             qPrintable(list->item(2)->text()));
    QVERIFY2(list->item(3)->text().contains(QLatin1String("free")), qPrintable(list->item(3)->text()));
    QVERIFY(file.storedSlot(dayText(First.addDays(7)), Column).isNull());

    QString summary;
    takeTheSummary(&dialog, &summary);
    dialog.book();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY2(summary.startsWith(QLatin1String("7 days booked at 10:00 - 10:30.")), qPrintable(summary));
    QVERIFY2(summary.contains(QLatin1String("5/1/2027")), qPrintable(summary));
    for (const QDate& day : dialog.dates()) {
        const QString want = day == taken ? QStringLiteral("Άλλος πελάτης") : Text;
        QCOMPARE(file.storedSlot(dayText(day), Column).toString(), want);
        // Only the repeated half hour is written.
        QVERIFY(file.storedSlot(dayText(day), QStringLiteral("0930-1000")).isNull());
    }

    // The same repeat again finds every free day holding it already: nothing to book.
    RepeatDialog again(connection, First, Slot, Text);
    again.setRule(RepeatRule{7, 8, std::nullopt});
    QVERIFY(!again.findChild<QPushButton*>(QStringLiteral("RepeatBook"))->isEnabled());
    QVERIFY2(again.findChild<QLabel*>(QStringLiteral("RepeatSummary"))->text().startsWith(QLatin1String("0 of the 8")),
             qPrintable(again.findChild<QLabel*>(QStringLiteral("RepeatSummary"))->text()));
}

void RepeatTest::aFailureMidwayWritesNothing() {
    DayTestFile file;
    QVERIFY(file.isValid());
    file.storeSlots(dayText(First), {{Column, Text}});
    const QDate refused = First.addDays(7 * 5);
    {
        // The book refuses the fifth day's write, after the first four were made in the same transaction.
        file.ensureDay(dayText(refused));
        storetest::RawDatabase raw(file.path(), QString::fromLatin1(DayTestFile::Password));
        QCOMPARE(raw.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON RANTEBOU WHEN NEW.HMEROMHNIA = "
                                            "'%1' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END")
                                 .arg(refused.toString(Qt::ISODate))),
                 0);
    }
    store::Connection connection;
    connection.reopen(file.connectionText());
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });
    RepeatDialog dialog(connection, First, Slot, Text);
    dialog.setRule(RepeatRule{7, 8, std::nullopt});
    dialog.book();
    ErrorReport::setObserver({});
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.front().contains(QLatin1String("refused by the test")), qPrintable(reports.front()));
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    for (const QDate& day : dialog.dates())
        QVERIFY2(file.storedSlot(dayText(day), Column).isNull(), qPrintable(dayText(day)));
}

void RepeatTest::theDayWindowSavesFirstAndOffersTheRepeat() {
    DayTestFile file;
    QVERIFY(file.isValid());
    TForm2 window;
    file.openIn(window, dayText(First));
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });
    QString shownText;
    const bool closed = dayclosing::execUntilClosed(window, [&] {
        auto* box = window.findChild<QLineEdit*>(QStringLiteral("DBEdit%1").arg(Slot + 1));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("New client, first visit"));
        // Ctrl+R in the box: the day is saved, then the repeat asks for its rule.
        QTimer::singleShot(100, &window, [&] {
            auto* dialog = qobject_cast<RepeatDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                shownText = dialog->findChild<QLabel*>(QStringLiteral("RepeatWhat"))->text();
                dialog->reject();
            }
            window.close();
        });
        QTest::keyClick(box, Qt::Key_R, Qt::ControlModifier);
    });
    ErrorReport::setObserver({});
    QVERIFY2(reports.isEmpty(), qPrintable(reports.join(QLatin1Char('\n'))));
    QVERIFY(closed);
    QVERIFY2(shownText.contains(QLatin1String("New client, first visit")) && shownText.contains(QLatin1String("10:00 - 10:30")),
             qPrintable(shownText));
    QCOMPARE(file.storedSlot(dayText(First), Column).toString(), QStringLiteral("New client, first visit"));
}

QTEST_MAIN(RepeatTest)
#include "RepeatTest.moc"
