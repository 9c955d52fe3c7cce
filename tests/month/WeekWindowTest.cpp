// The week window built for real over a real encrypted book: the seven days of a chosen week hold what the book
// holds, at the calendar's ends too; the buttons and keys move by weeks and stop at the calendar's ends; a cell
// opens its day through the month window's own path, after which the week shows what was saved; the month
// opens the week on the right day; the week and a range of days print from it; a day's Ctrl+W shows its week.
// With ORVELLA_PICTURE_DIR set, a picture of the week and the PDF of its sheet are kept there.
#include "tests/month/BookSlots.h"
#include "tests/month/GridProbe.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "month/DayRangeDialog.h"
#include "month/WeekWindow.h"
#include "tests/report/PdfTools.h"
#include "tests/report/WindowDriver.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/BookWatch.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <tuple>

namespace {

const QDate Today(2010, 3, 10);

using booktest::Slot;
using booktest::keyOf;
using booktest::writeSlots;

const QString Long =
    QStringLiteral("Ιωαννίδου Μαρία, έλεγχος μετά την επέμβαση, να φέρει τις εξετάσεις ") + QString(180, QChar(u'α'));

const QList<Slot>& book() {
    static const QList<Slot> filled = {
        {QDate(2009, 12, 27), 1, QStringLiteral("Κυριακή πριν")},
        {QDate(2009, 12, 31), 1, QStringLiteral("Παπαδοπούλου Ελένη")},
        {QDate(2010, 1, 1), 28, QStringLiteral("Πρωτοχρονιά")},
        {QDate(2010, 1, 3), 14, QStringLiteral("  Κυριακή βάρδια  ")},
        {QDate(2010, 1, 4), 1, QStringLiteral("Δευτέρα μετά")},
        {QDate(2010, 3, 28), 1, QStringLiteral("week before")},
        {QDate(2010, 3, 30), 5, Long},
        {QDate(2010, 3, 31), 3, QStringLiteral("Γεωργίου 6944 123456")},
        {QDate(2010, 4, 1), 4, QStringLiteral("Πρώτη γραμμή\nδεύτερη γραμμή")},
        {QDate(2010, 4, 5), 1, QStringLiteral("next week")},
        // Today's week, as an ordinary office fills it.
        {QDate(2010, 3, 8), 3, QStringLiteral("Αντωνίου Νίκος, έλεγχος")},
        {QDate(2010, 3, 9), 5, QStringLiteral("Κωνσταντίνου Άννα 6977 000111, πρώτη επίσκεψη")},
        {QDate(2010, 3, 10), 4, QStringLiteral("Δημητρίου Σοφία")},
        {QDate(2010, 3, 10), 15, QStringLiteral("Οικονόμου Γ., αποτελέσματα εξετάσεων")},
        {QDate(2010, 3, 12), 21, QStringLiteral("Μαρκόπουλος Π.")},
        {QDate(2010, 3, 13), 6, QStringLiteral("Σάββατο: Λαμπράκη Ε.")},
        {QDate(2007, 12, 31), 2, QStringLiteral("πριν το ημερολόγιο")},
        {QDate(2008, 1, 1), 2, QStringLiteral("πρώτη μέρα")},
        {QDate(2035, 12, 31), 27, QStringLiteral("τελευταία μέρα")},
        {QDate(2036, 1, 1), 1, QStringLiteral("μετά το ημερολόγιο")},
    };
    return filled;
}

template <typename T> T* part(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

QTableWidget* table(const WeekWindow& week) {
    return part<QTableWidget>(week, "WeekTable");
}

// Every cell that shows something, as the user reads it: "date | half hour | shown text | tool tip".
QStringList shownCells(const WeekWindow& week) {
    const QTableWidget* cells = table(week);
    QStringList shown;
    for (int column = 0; column < cells->columnCount(); ++column) {
        for (int row = 0; row < cells->rowCount(); ++row) {
            const QTableWidgetItem* cell = cells->item(row, column);
            if (cell->text().isEmpty() && cell->toolTip().isEmpty())
                continue;
            const QDate date = week.dateOfColumn(column);
            shown << QStringLiteral("%1/%2 | %3 | %4 | %5")
                         .arg(date.day())
                         .arg(date.month())
                         .arg(cells->verticalHeaderItem(row)->text(), cell->text(), cell->toolTip());
        }
    }
    return shown;
}

// The columns whose cells can be chosen (the days the calendar holds), as "0123456".
QString openableColumns(const WeekWindow& week) {
    QString columns;
    for (int column = 0; column < 7; ++column)
        if (table(week)->item(0, column)->flags() & Qt::ItemIsEnabled)
            columns += QString::number(column);
    return columns;
}

QString cellText(const QString& date, int slot, const QString& shown, const QString& tip = {}) {
    return QStringLiteral("%1 | %2 | %3 | %4")
        .arg(date, store::slotCaption(store::slotColumnNames().at(slot - 1)), shown, tip.isEmpty() ? shown : tip);
}

QLabel* countOfDay(const TForm1& month, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        if (dayLabel(month, cell)->text() == QString::number(day)) {
            return countLabel(month, cell);
        }
    }
    return nullptr;
}

} // namespace

class WeekWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EmptyDataFolder> m_folder;
    std::unique_ptr<TForm1> m_month;
    QStringList m_reports;

    // A shown week window over the month window, active as a window system would make it.
    std::unique_ptr<WeekWindow> openWeek(QDate day) {
        auto week = std::make_unique<WeekWindow>(*m_month, day);
        week->show();
        QApplication::setActiveWindow(week.get());
        if (!QTest::qWaitForWindowActive(week.get())) {
            qWarning("the week window did not become active");
        }
        return week;
    }

    // Runs `open` with `inside` run on the first modal window of type T once it is up; false when none came.
    template <typename T> bool withModal(const std::function<void()>& open, const std::function<void(T&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (window == nullptr) {
                return;
            }
            ran = true;
            inside(*window);
            if (window->isVisible()) {
                window->close();
            }
        });
        open();
        return ran;
    }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
        m_folder = std::make_unique<EmptyDataFolder>();
        writeSlots(book());
    }

    void cleanupTestCase() {
        m_folder.reset();
        ErrorReport::setObserver({});
    }

    void init() {
        sharedState() = SharedState{};
        m_month = std::make_unique<TForm1>(nullptr, Today);
        m_month->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_month.get()));
        m_reports.clear();
    }

    void cleanup() {
        m_month.reset();
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    }

    void showsTheWeekOfTheBook_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QDate>("monday");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("openable");
        QTest::addColumn<QString>("firstHead");
        const QStringList yearEnd = {
            cellText(QStringLiteral("31/12"), 1, QStringLiteral("Παπαδοπούλου Ελένη")),
            cellText(QStringLiteral("1/1"), 28, QStringLiteral("Πρωτοχρονιά")),
            // Blanks at the ends are no part of an appointment.
            cellText(QStringLiteral("3/1"), 14, QStringLiteral("Κυριακή βάρδια")),
        };
        QTest::newRow("a week across the year's end")
            << QDate(2010, 1, 1) << QDate(2009, 12, 28) << yearEnd << "0123456" << QStringLiteral("Δευτέρα\n28/12");
        QTest::newRow("a Sunday opens its own week")
            << QDate(2010, 1, 3) << QDate(2009, 12, 28) << yearEnd << "0123456" << QStringLiteral("Δευτέρα\n28/12");
        QTest::newRow("a week across the month's end")
            << QDate(2010, 4, 1) << QDate(2010, 3, 29)
            << QStringList{cellText(QStringLiteral("30/3"), 5, Long),
                           cellText(QStringLiteral("31/3"), 3, QStringLiteral("Γεωργίου 6944 123456")),
                           // A cell shows the first line; its tool tip the whole text.
                           cellText(QStringLiteral("1/4"), 4, QStringLiteral("Πρώτη γραμμή"),
                                    QStringLiteral("Πρώτη γραμμή\nδεύτερη γραμμή"))}
            << "0123456" << QStringLiteral("Δευτέρα\n29/3");
        QTest::newRow("today's week")
            << QDate(2010, 3, 10) << QDate(2010, 3, 8)
            << QStringList{cellText(QStringLiteral("8/3"), 3, QStringLiteral("Αντωνίου Νίκος, έλεγχος")),
                           cellText(QStringLiteral("9/3"), 5,
                                    QStringLiteral("Κωνσταντίνου Άννα 6977 000111, πρώτη επίσκεψη")),
                           cellText(QStringLiteral("10/3"), 4, QStringLiteral("Δημητρίου Σοφία")),
                           cellText(QStringLiteral("10/3"), 15, QStringLiteral("Οικονόμου Γ., αποτελέσματα εξετάσεων")),
                           cellText(QStringLiteral("12/3"), 21, QStringLiteral("Μαρκόπουλος Π.")),
                           cellText(QStringLiteral("13/3"), 6, QStringLiteral("Σάββατο: Λαμπράκη Ε."))}
            << "0123456" << QStringLiteral("Δευτέρα\n8/3");
        QTest::newRow("an empty week") << QDate(2010, 2, 17) << QDate(2010, 2, 15) << QStringList{} << "0123456"
                                       << QStringLiteral("Δευτέρα\n15/2");
        // The calendar's first week begins on the last day of 2007, its last week ends in 2036: those days are
        // shown as lying outside, hold nothing and cannot be opened.
        QTest::newRow("the first week of 2008")
            << QDate(2008, 1, 6) << QDate(2007, 12, 31)
            << QStringList{cellText(QStringLiteral("1/1"), 2, QStringLiteral("πρώτη μέρα"))} << "123456"
            << QStringLiteral("Δευτέρα\n31/12");
        QTest::newRow("the last week of 2035")
            << QDate(2035, 12, 31) << QDate(2035, 12, 31)
            << QStringList{cellText(QStringLiteral("31/12"), 27, QStringLiteral("τελευταία μέρα"))} << "0"
            << QStringLiteral("Δευτέρα\n31/12");
        QTest::newRow("a day before the calendar opens its first week")
            << QDate(2007, 6, 1) << QDate(2007, 12, 31)
            << QStringList{cellText(QStringLiteral("1/1"), 2, QStringLiteral("πρώτη μέρα"))} << "123456"
            << QStringLiteral("Δευτέρα\n31/12");
    }

    void showsTheWeekOfTheBook() {
        QFETCH(QDate, day);
        QFETCH(QDate, monday);
        QFETCH(QStringList, cells);
        QFETCH(QString, openable);
        QFETCH(QString, firstHead);
        auto week = openWeek(day);
        QCOMPARE(week->monday(), monday);
        QTableWidget* grid = table(*week);
        QCOMPARE(grid->columnCount(), 7);
        QCOMPARE(grid->rowCount(), 28);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), firstHead);
        QCOMPARE(grid->horizontalHeaderItem(6)->text().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Κυριακή"));
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QStringLiteral("08:00 - 08:30"));
        QCOMPARE(grid->verticalHeaderItem(27)->text(), QStringLiteral("21:30 - 22:00"));
        QCOMPARE(shownCells(*week), cells);
        QCOMPARE(openableColumns(*week), openable);
        QCOMPARE(part<QPushButton>(*week, "PreviousWeekButton")->isEnabled(), monday > QDate(2007, 12, 31));
        QCOMPARE(part<QPushButton>(*week, "NextWeekButton")->isEnabled(), monday < QDate(2035, 12, 31));

        const QByteArray pictures = qgetenv("ORVELLA_PICTURE_DIR");
        if (!pictures.isEmpty() && QTest::currentDataTag() == QByteArray("today's week")) {
            QDir().mkpath(QString::fromLocal8Bit(pictures));
            week->grab().save(QDir(QString::fromLocal8Bit(pictures)).filePath(QStringLiteral("week-window.png")));
        }
    }

    void marksTodayAndTheWeekend() {
        auto week = openWeek(Today);
        QTableWidget* grid = table(*week);
        // Today (a Wednesday) green and bold, as the month draws its number; Saturday and Sunday grey.
        QCOMPARE(grid->horizontalHeaderItem(2)->foreground().color(), QColor(0, 128, 0));
        QVERIFY(grid->horizontalHeaderItem(2)->font().bold());
        QVERIFY(!grid->horizontalHeaderItem(1)->font().bold());
        QCOMPARE(grid->horizontalHeaderItem(5)->foreground().color(), QColor(128, 128, 128));
        QCOMPARE(grid->horizontalHeaderItem(6)->foreground().color(), QColor(128, 128, 128));
        QCOMPARE(grid->horizontalHeaderItem(0)->foreground().style(), Qt::NoBrush);
        const QColor weekday = grid->item(0, 0)->background().color();
        QVERIFY(grid->item(0, 2)->background().color() != weekday);
        QVERIFY(grid->item(0, 5)->background().color() != weekday);
        QCOMPARE(grid->item(27, 6)->background().color(), grid->item(0, 5)->background().color());
        // The keyboard starts on the day it opened on.
        QCOMPARE(grid->currentColumn(), 2);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(week->windowTitle(), QStringLiteral("Εβδομαδιαία κατάσταση των ραντεβού"));
    }

    void movesByWeeks_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QDate>("monday");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("firstCell");
        QTest::newRow("PageDown") << QDate(2010, 3, 31) << "PageDown" << QDate(2010, 4, 5) << 2
                                  << cellText(QStringLiteral("5/4"), 1, QStringLiteral("next week"));
        QTest::newRow("PageUp") << QDate(2010, 4, 5) << "PageUp" << QDate(2010, 3, 29) << 0
                                << cellText(QStringLiteral("30/3"), 5, Long);
        QTest::newRow("Alt+Right into the new year")
            << QDate(2009, 12, 23) << "Alt+Right" << QDate(2009, 12, 28) << 2
            << cellText(QStringLiteral("31/12"), 1, QStringLiteral("Παπαδοπούλου Ελένη"));
        QTest::newRow("Alt+Left into the old year")
            << QDate(2010, 1, 4) << "Alt+Left" << QDate(2009, 12, 28) << 0
            << cellText(QStringLiteral("31/12"), 1, QStringLiteral("Παπαδοπούλου Ελένη"));
        QTest::newRow("next button") << QDate(2010, 3, 24) << "next button" << QDate(2010, 3, 29) << 2
                                     << cellText(QStringLiteral("30/3"), 5, Long);
        QTest::newRow("previous button") << QDate(2010, 1, 10) << "previous button" << QDate(2009, 12, 28) << 6
                                         << cellText(QStringLiteral("31/12"), 1, QStringLiteral("Παπαδοπούλου Ελένη"));
        // Back to today's week, on today's column.
        QTest::newRow("Home") << QDate(2012, 6, 6) << "Home" << QDate(2010, 3, 8) << 2
                              << cellText(QStringLiteral("8/3"), 3, QStringLiteral("Αντωνίου Νίκος, έλεγχος"));
        QTest::newRow("this week button")
            << QDate(2035, 12, 31) << "today button" << QDate(2010, 3, 8) << 2
            << cellText(QStringLiteral("8/3"), 3, QStringLiteral("Αντωνίου Νίκος, έλεγχος"));
        QTest::newRow("PageUp at the first week stays")
            << QDate(2008, 1, 2) << "PageUp" << QDate(2007, 12, 31) << 2
            << cellText(QStringLiteral("1/1"), 2, QStringLiteral("πρώτη μέρα"));
        QTest::newRow("PageDown at the last week stays")
            << QDate(2035, 12, 31) << "PageDown" << QDate(2035, 12, 31) << 0
            << cellText(QStringLiteral("31/12"), 27, QStringLiteral("τελευταία μέρα"));
        QTest::newRow("PageDown onto the last week")
            << QDate(2035, 12, 28) << "PageDown" << QDate(2035, 12, 31) << 0
            << cellText(QStringLiteral("31/12"), 27, QStringLiteral("τελευταία μέρα"));
    }

    void movesByWeeks() {
        QFETCH(QDate, from);
        QFETCH(QString, step);
        QFETCH(QDate, monday);
        QFETCH(int, column);
        QFETCH(QString, firstCell);
        auto week = openWeek(from);
        QTableWidget* grid = table(*week);
        grid->setCurrentCell(5, grid->currentColumn());
        if (step == QLatin1String("PageDown"))
            QTest::keyClick(grid, Qt::Key_PageDown);
        else if (step == QLatin1String("PageUp"))
            QTest::keyClick(grid, Qt::Key_PageUp);
        else if (step == QLatin1String("Alt+Right"))
            QTest::keyClick(grid, Qt::Key_Right, Qt::AltModifier);
        else if (step == QLatin1String("Alt+Left"))
            QTest::keyClick(grid, Qt::Key_Left, Qt::AltModifier);
        else if (step == QLatin1String("Home"))
            QTest::keyClick(grid, Qt::Key_Home);
        else if (step == QLatin1String("next button"))
            QTest::mouseClick(part<QPushButton>(*week, "NextWeekButton"), Qt::LeftButton);
        else if (step == QLatin1String("previous button"))
            QTest::mouseClick(part<QPushButton>(*week, "PreviousWeekButton"), Qt::LeftButton);
        else
            QTest::mouseClick(part<QPushButton>(*week, "ThisWeekButton"), Qt::LeftButton);
        QCOMPARE(week->monday(), monday);
        QCOMPARE(shownCells(*week).value(0), firstCell);
        // The keyboard stays on the same half hour, on the same weekday (today's after Home).
        QCOMPARE(grid->currentColumn(), column);
        QCOMPARE(grid->currentRow(), 5);
    }

    void aCellOpensItsDay_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter") << "enter";
        QTest::newRow("keypad Enter") << "keypad enter";
        QTest::newRow("double click") << "double click";
        QTest::newRow("open button") << "button";
    }

    void aCellOpensItsDay() {
        QFETCH(QString, how);
        auto week = openWeek(QDate(2010, 3, 30));
        QTableWidget* grid = table(*week);
        QCOMPARE(monthChooser(*m_month)->currentIndex(), 2); // March
        // Thursday 1/4/2010, 12:30 - 13:00.
        grid->setCurrentCell(9, 3);

        const auto open = [&] {
            if (how == QLatin1String("enter")) {
                QTest::keyClick(grid, Qt::Key_Return);
            } else if (how == QLatin1String("keypad enter")) {
                QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
            } else if (how == QLatin1String("double click")) {
                const QRect place = grid->visualItemRect(grid->item(9, 3));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
            } else {
                QTest::mouseClick(part<QPushButton>(*week, "OpenDayButton"), Qt::LeftButton);
            }
        };
        const bool opened = withModal<TForm2>(open, [&](TForm2& day) {
            // The usual path: the day's heading and statement, and the month moved to April 2010.
            QCOMPARE(part<QLabel>(day, "Label83")->text(), QStringLiteral("1/4/2010"));
            QCOMPARE(day.ADOQuery1().statement().trimmed(),
                     store::selectDayStatement(QStringLiteral("#4/1/2010#")).trimmed());
            QCOMPARE(monthChooser(*m_month)->currentIndex(), 3);
            QCOMPARE(part<QLineEdit>(day, "DBEdit4")->text(), QStringLiteral("Πρώτη γραμμή\nδεύτερη γραμμή"));
            auto* slot10 = part<QLineEdit>(day, "DBEdit10");
            slot10->setFocus();
            for (const QChar ch : QStringLiteral("Νικολάου %1").arg(how))
                QTest::sendKeyEvent(QTest::Click, slot10, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::mouseClick(part<QToolButton>(day, "DBNavigator1Post"), Qt::LeftButton);
        });
        QVERIFY2(opened, "the day window did not open");

        // Back in the week: still there, on the same week and cell, with what was saved.
        QVERIFY(week->isVisible());
        QCOMPARE(week->monday(), QDate(2010, 3, 29));
        QCOMPARE(grid->currentRow(), 9);
        QCOMPARE(grid->currentColumn(), 3);
        QCOMPARE(grid->item(9, 3)->text(), QStringLiteral("Νικολάου %1").arg(how));
        QCOMPARE(grid->item(9, 3)->toolTip(), QStringLiteral("Νικολάου %1").arg(how));
        // The month counts the day's two slots, as the week shows them.
        QLabel* count = countOfDay(*m_month, 1);
        QVERIFY(count);
        QCOMPARE(count->text(), QStringLiteral("2"));
        int shownThatDay = 0;
        for (int row = 0; row < 28; ++row)
            shownThatDay += grid->item(row, 3)->text().isEmpty() ? 0 : 1;
        QCOMPARE(shownThatDay, 2);

        // The slot is emptied again for the next row, through the book, and the week follows the book's notice.
        writeSlots({{QDate(2010, 4, 1), 10, QString()}});
        store::BookWatch::instance().announceDay(QDate(2010, 4, 1));
        QTRY_VERIFY(grid->item(9, 3)->text().isEmpty());
        QVERIFY(grid->item(9, 3)->toolTip().isEmpty());
    }

    void aDayOutsideTheCalendarDoesNotOpen() {
        auto week = openWeek(QDate(2008, 1, 1));
        QTableWidget* grid = table(*week);
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            if (auto* day = qobject_cast<TForm2*>(QApplication::activeModalWidget())) {
                opened = true;
                day->close();
            }
        });
        // A double click on 31/12/2007 opens nothing (not the current day 1/1/2008 either), and the day cannot
        // become the current one, which Enter would open.
        const QRect place = grid->visualItemRect(grid->item(0, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
        QVERIFY(!opened);
        grid->setCurrentCell(0, 0);
        QCOMPARE(grid->currentColumn(), 1);
        QCOMPARE(monthChooser(*m_month)->currentIndex(), 2);
    }

    void printsFromTheWeek_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        const QStringList week = {QStringLiteral("Αντωνίου Νίκος"), QStringLiteral("Δημητρίου Σοφία"),
                                  QStringLiteral("Λαμπράκη Ε."), QStringLiteral("14/3/2010")};
        QTest::newRow("the week by Ctrl+P") << "ctrl+p" << 1 << week;
        QTest::newRow("the week by its button") << "button" << 1 << week;
        QTest::newRow("the shown week's days") << "days" << 7 << week;
        QTest::newRow("two days chosen") << "two days" << 2 << QStringList{QStringLiteral("Αντωνίου Νίκος"), QStringLiteral("9/3/2010")};
    }

    // The week window's prints go through "Output Options" as the day's does: the week on one page, the days on
    // one page each, in one PDF file.
    void printsFromTheWeek() {
        QFETCH(QString, how);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);
        if (!PdfTools::available())
            QSKIP("poppler's pdftotext and pdfinfo are not installed");
        for (const char* sheet : {"RANTEBOU.rav", "EBDOMADA.rav"}) {
            const QString at = QDir::current().filePath(QLatin1String(sheet));
            if (!QFileInfo::exists(at)) {
                QVERIFY(QFile::copy(QStringLiteral(":/orvella/") + QLatin1String(sheet), at));
                QVERIFY(QFile::setPermissions(at, QFile::ReadOwner | QFile::WriteOwner));
            }
        }
        const QString pdf = QDir::current().filePath(QStringLiteral("week-%1.pdf").arg(QTest::currentDataTag()));
        auto week = openWeek(Today);
        bool answered = false;
        WindowDriver::whenShown(QStringLiteral("Output Options"), [&](QWidget* dialog) {
            if (!dialog)
                return;
            answered = true;
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(pdf);
            WindowDriver::click(dialog, QStringLiteral("OkButton"));
        });
        if (how == QLatin1String("ctrl+p")) {
            QTest::keyClick(table(*week), Qt::Key_P, Qt::ControlModifier);
        } else if (how == QLatin1String("button")) {
            QTest::mouseClick(part<QPushButton>(*week, "PrintWeekButton"), Qt::LeftButton);
        } else {
            QDate from;
            QDate to;
            const bool asked = withModal<DayRangeDialog>(
                [&] { QTest::mouseClick(part<QPushButton>(*week, "PrintDaysButton"), Qt::LeftButton); },
                [&](DayRangeDialog& range) {
                    from = range.first();
                    to = range.last();
                    if (how == QLatin1String("two days"))
                        range.setRange(QDate(2010, 3, 8), QDate(2010, 3, 9));
                    range.accept();
                });
            QVERIFY2(asked, "the days were not asked for");
            // The shown week to begin with.
            QCOMPARE(from, QDate(2010, 3, 8));
            QCOMPARE(to, QDate(2010, 3, 14));
        }
        WindowDriver::cancelPending();
        QVERIFY2(answered, "Output Options did not show");
        QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(pages));
        const QString printed = PdfTools::text(pdf).value_or(QString());
        for (const QString& text : texts)
            QVERIFY2(printed.contains(text), qPrintable(text));
        QVERIFY(week->isVisible());
        const QByteArray pictures = qgetenv("ORVELLA_PICTURE_DIR");
        if (!pictures.isEmpty() && how == QLatin1String("ctrl+p")) {
            QDir().mkpath(QString::fromLocal8Bit(pictures));
            const QString kept = QDir(QString::fromLocal8Bit(pictures)).filePath(QStringLiteral("week-sheet.pdf"));
            QFile::remove(kept);
            QFile::copy(pdf, kept);
        }
    }

    // A folder from before the week sheet: Ctrl+P says what is missing and what to do, in the error report's box,
    // and the week stays open; no "Output Options" comes.
    void aMissingWeekSheetIsReported() {
        const QString sheet = QDir::current().filePath(QStringLiteral("EBDOMADA.rav"));
        QFile::remove(sheet);
        auto week = openWeek(Today);
        bool optionsCame = false;
        WindowDriver::whenShown(QStringLiteral("Output Options"), [&](QWidget* dialog) {
            optionsCame = dialog != nullptr;
            if (dialog)
                WindowDriver::click(dialog, QStringLiteral("CancelButton"));
        });
        QTest::keyClick(table(*week), Qt::Key_P, Qt::ControlModifier);
        WindowDriver::cancelPending();
        const QStringList reports = m_reports;
        m_reports.clear();
        QVERIFY(!optionsCame);
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.first().startsWith(QStringLiteral("The following reporting project does not exist:\n\"") +
                                            QDir::toNativeSeparators(sheet) + QLatin1Char('"')),
                 qPrintable(reports.first()));
        QVERIFY2(reports.first().contains(QStringLiteral("RANTEBOU.rav")), qPrintable(reports.first()));
        QVERIFY(week->isVisible());
    }

    // The range asked for must be one: OK waits while the last day comes first or the days are too many.
    void theDaysAskedForMustBeARange() {
        DayRangeDialog range(QDate(2010, 3, 8), QDate(2010, 3, 14));
        QPushButton* ok = range.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const QList<std::tuple<QDate, QDate, bool>> cases = {
            {QDate(2010, 3, 8), QDate(2010, 3, 8), true},
            {QDate(2010, 3, 9), QDate(2010, 3, 8), false},
            {QDate(2010, 1, 1), QDate(2011, 1, 1), true},
            {QDate(2010, 1, 1), QDate(2011, 1, 2), false},
        };
        for (const auto& [first, last, accepted] : cases) {
            range.setRange(first, last);
            QVERIFY2(ok->isEnabled() == accepted, qPrintable(first.toString() + QLatin1Char(' ') + last.toString()));
        }
    }

    void theDayShowsItsWeek_data() {
        QTest::addColumn<bool>("fromWeek");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("weekShown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("from the month, nothing typed") << false << -1 << true << QString();
        QTest::newRow("from the month, typed and saved") << false << int(QMessageBox::Save) << true << "Ρήγας";
        QTest::newRow("from the month, typed and dropped") << false << int(QMessageBox::Discard) << true << QString();
        QTest::newRow("from the month, typed and stayed") << false << int(QMessageBox::Cancel) << false << QString();
        QTest::newRow("from a week, back to it") << true << int(QMessageBox::Save) << true << "Ρήγας";
    }

    // Ctrl+W in a day settles its text as a close does, closes the day and shows its week: a new week window
    // over the month, or the week window the day was opened from (never a second one over it).
    void theDayShowsItsWeek() {
        QFETCH(bool, fromWeek);
        QFETCH(int, answer);
        QFETCH(bool, weekShown);
        QFETCH(QString, stored);
        const QDate day(2010, 5, 12);
        writeSlots({{day, 20, QString()}});
        std::unique_ptr<WeekWindow> outer;
        if (fromWeek)
            outer = openWeek(day);

        QDate shownMonday;
        int weekWindows = 0;
        bool dayStayed = false;
        bool textKept = false;
        const auto inDay = [&](TForm2& dayWindow) {
            // The window shortcut needs its window active, as the window system makes a new dialog.
            QApplication::setActiveWindow(&dayWindow);
            if (!QTest::qWaitForWindowActive(&dayWindow))
                qWarning("the day window did not become active");
            if (answer >= 0) {
                auto* slot20 = part<QLineEdit>(dayWindow, "DBEdit20");
                slot20->setFocus();
                for (const QChar ch : QStringLiteral("Ρήγας"))
                    QTest::sendKeyEvent(QTest::Click, slot20, Qt::Key_unknown, QString(ch), Qt::NoModifier);
                QTimer::singleShot(0, this, [answer] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                        box->button(QMessageBox::StandardButton(answer))->click();
                });
            }
            QTest::keyClick(&dayWindow, Qt::Key_W, Qt::ControlModifier);
            dayStayed = dayWindow.isVisible();
            if (dayStayed) {
                // Stayed: the text is still there to save, and the window is closed here without it.
                textKept = part<QLineEdit>(dayWindow, "DBEdit20")->text() == QStringLiteral("Ρήγας");
                QTimer::singleShot(0, this, [] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                        box->button(QMessageBox::Discard)->click();
                });
                dayWindow.close();
            }
        };
        // Once the day has gone, whatever new week window comes up is looked at and closed.
        QTimer weekWatch;
        weekWatch.setInterval(20);
        connect(&weekWatch, &QTimer::timeout, this, [&] {
            auto* week = qobject_cast<WeekWindow*>(QApplication::activeModalWidget());
            if (week && week != outer.get() && week->isVisible()) {
                ++weekWindows;
                shownMonday = week->monday();
                week->close();
            }
        });
        weekWatch.start();
        const bool opened = withModal<TForm2>(
            [&] {
                if (outer) {
                    table(*outer)->setCurrentCell(19, 2);
                    outer->openCurrentDay();
                } else {
                    m_month->OpenDayOf(day);
                }
            },
            inDay);
        QVERIFY2(opened, "the day did not open");
        QCOMPARE(dayStayed, !weekShown);
        QCOMPARE(textKept, dayStayed);
        if (fromWeek) {
            // Back in the week it came from, read again with what was saved.
            QCOMPARE(weekWindows, 0);
            QVERIFY(outer->isVisible());
            QCOMPARE(table(*outer)->item(19, 2)->text(), stored);
        } else {
            QCOMPARE(weekWindows, weekShown ? 1 : 0);
            if (weekShown)
                QCOMPARE(shownMonday, QDate(2010, 5, 10));
        }
        store::Connection connection;
        connection.reopen(sharedState().ConnectionText);
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(keyOf(day)));
        QCOMPARE(query.value(store::slotColumnNames().at(19)).toString(), stored);
    }

    void theMonthOpensTheWeek_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QDate>("shownMonth");
        QTest::addColumn<int>("focusedDay");
        QTest::addColumn<QDate>("monday");
        QTest::addColumn<int>("column");
        QTest::newRow("Ctrl+W on today") << "key" << Today << 0 << QDate(2010, 3, 8) << 2;
        QTest::newRow("Ctrl+W on a focused day") << "key" << QDate(2010, 5, 1) << 31 << QDate(2010, 5, 31) << 0;
        QTest::newRow("Ctrl+W on a month without today") << "key" << QDate(2011, 2, 1) << 0 << QDate(2011, 1, 31) << 1;
        QTest::newRow("context menu on a focused day") << "menu" << QDate(2010, 1, 1) << 3 << QDate(2009, 12, 28) << 6;
    }

    void theMonthOpensTheWeek() {
        QFETCH(QString, how);
        QFETCH(QDate, shownMonth);
        QFETCH(int, focusedDay);
        QFETCH(QDate, monday);
        QFETCH(int, column);
        m_month->ShowMonth(shownMonth.year(), shownMonth.month());
        if (focusedDay > 0) {
            for (int cell = 1; cell <= 37; ++cell)
                if (dayLabel(*m_month, cell)->text() == QString::number(focusedDay))
                    dayLabel(*m_month, cell)->setFocus();
        } else if (m_month->focusWidget()) {
            m_month->focusWidget()->clearFocus();
        }
        QApplication::setActiveWindow(m_month.get());

        QDate shownMonday;
        int shownColumn = -1;
        QString title;
        const auto inside = [&](WeekWindow& week) {
            shownMonday = week.monday();
            shownColumn = table(week)->currentColumn();
            title = week.windowTitle();
        };
        bool opened = false;
        if (how == QLatin1String("key")) {
            opened =
                withModal<WeekWindow>([&] { QTest::keyClick(m_month.get(), Qt::Key_W, Qt::ControlModifier); }, inside);
        } else {
            QStringList entries;
            QAction* weekEntry = nullptr;
            QTimer::singleShot(0, this, [&] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (menu == nullptr)
                    return;
                for (QAction* action : menu->actions())
                    entries << action->text() + QLatin1Char('\t') + action->shortcut().toString();
                weekEntry = menu->actions().value(1);
                menu->close();
            });
            QLabel* day = dayLabel(*m_month, 10);
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), day->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(day, &event);
            QStringList expected{QStringLiteral("Αναζήτηση ραντεβού…\tCtrl+F"), QStringLiteral("Εβδομάδα…\tCtrl+W")};
#ifdef ORVELLA_ICS_IMPORT
            // Below a separator, where the build has it, the import of a calendar.
            expected << QStringLiteral("\t") << QStringLiteral("Εισαγωγή ημερολογίου (.ics)…\t");
#endif
            QCOMPARE(entries, expected);
            QVERIFY(weekEntry);
            // The entry chosen, as a click on it would: the month window has the activation back.
            QApplication::setActiveWindow(m_month.get());
            opened = withModal<WeekWindow>([&] { weekEntry->trigger(); }, inside);
        }
        QVERIFY2(opened, "the week window did not open");
        QCOMPARE(shownMonday, monday);
        QCOMPARE(shownColumn, column);
        QCOMPARE(title, QStringLiteral("Εβδομαδιαία κατάσταση των ραντεβού"));
        QVERIFY(m_month->isVisible());
    }
};

QTEST_MAIN(WeekWindowTest)
#include "WeekWindowTest.moc"
