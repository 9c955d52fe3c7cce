// The search window built for real over a real encrypted book: typing finds slots as a Greek reader expects,
// the keyboard alone works it, and a found day opens through the month window's own day-opening path, after
// which the window shows what was saved and the month shows the new counts.
#include "tests/month/BookSlots.h"
#include "tests/month/GridProbe.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "month/SearchAhead.h"
#include "month/SearchWindow.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/FilledSlots.h"
#include "store/engine/TableLayout.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <atomic>
#include <functional>
#include <memory>

namespace {

const QDate Today(2010, 3, 10);

using booktest::Slot;
using booktest::keyOf;
using booktest::writeSlots;

// The book every test starts with: two days before today, today and two after.
const QList<Slot>& book() {
    static const QList<Slot> filled = {
        {QDate(2010, 3, 5), 5, QStringLiteral("Παπαδοπούλου Ελένη")},
        {QDate(2010, 3, 12), 1, QStringLiteral("ΠΑΠΑΔΟΠΟΥΛΟΥ Ε. 6944 123456")},
        {QDate(2010, 3, 10), 21, QStringLiteral("Γεωργίου 100% _έκπτωση_")},
        {QDate(2009, 12, 1), 3, QStringLiteral("O'Brien C:\\temp *")},
        {QDate(2010, 4, 1), 28, QStringLiteral("Papadopoulos")},
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

QLineEdit* searchBox(const TForm3& window) {
    return part<QLineEdit>(window, "Edit1");
}
QTreeView* results(const TForm3& window) {
    return part<QTreeView>(window, "ListView1");
}
QLabel* summary(const TForm3& window) {
    return part<QLabel>(window, "Label2");
}

// The rows as the user reads them: "date | time | text".
QStringList shownRows(const TForm3& window) {
    const QAbstractItemModel* model = results(window)->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells << model->index(row, column).data().toString();
        }
        rows << cells.join(QStringLiteral(" | "));
    }
    return rows;
}

// Types each character as its own key press (Greek text needs this), as a user's keystrokes arrive.
void typeText(QWidget* target, const QString& text) {
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// The label under which the month window shows the count of `day`.
QLabel* countOfDay(const TForm1& month, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        if (dayLabel(month, cell)->text() == QString::number(day)) {
            return countLabel(month, cell);
        }
    }
    return nullptr;
}

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EmptyDataFolder> m_folder;
    std::unique_ptr<TForm1> m_month;
    QStringList m_reports;

    // A shown search window over the month window, with the focus where the user finds it.
    std::unique_ptr<TForm3> openSearch() {
        auto window = std::make_unique<TForm3>(*m_month);
        window->show();
        // The offscreen platform leaves its first window active; a window system would activate the new one.
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) {
            qWarning("the search window did not become active");
        }
        return window;
    }

    // Runs `open` (which opens a day) with `inside` run on the day window once it is up; false when no day
    // window came.
    bool withDayWindow(const std::function<void()>& open, const std::function<void(TForm2&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* day = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            if (day == nullptr) {
                return;
            }
            ran = true;
            inside(*day);
            if (day->isVisible()) {
                day->close();
            }
        });
        open();
        return ran;
    }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
    }

    void init() {
        m_folder = std::make_unique<EmptyDataFolder>();
        writeSlots(book());
        m_month = std::make_unique<TForm1>(nullptr, Today);
        m_month->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_month.get()));
        m_reports.clear();
    }

    void cleanup() {
        m_month.reset();
        m_folder.reset();
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
    }

    void findsAsYouType_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("summaryHolds");
        const QString future = QStringLiteral("12/3/2010 | 08:00 - 08:30 | ΠΑΠΑΔΟΠΟΥΛΟΥ Ε. 6944 123456");
        const QString past = QStringLiteral("5/3/2010 | 10:00 - 10:30 | Παπαδοπούλου Ελένη");
        const QString today = QStringLiteral("10/3/2010 | 18:00 - 18:30 | Γεωργίου 100% _έκπτωση_");
        const QString irish = QStringLiteral("1/12/2009 | 09:00 - 09:30 | O'Brien C:\\temp *");
        const QString latin = QStringLiteral("1/4/2010 | 21:30 - 22:00 | Papadopoulos");
        QTest::newRow("lower case, no accents, upcoming first") << "παπαδοπουλου" << QStringList{future, past} << "2";
        QTest::newRow("capitals with an accent and blanks") << "  ΠΑΠΑΔΟΠΟΎΛΟΥ  " << QStringList{future, past} << "2";
        QTest::newRow("Latin finds Latin only") << "papad" << QStringList{latin} << "1";
        QTest::newRow("phone number") << "6944" << QStringList{future} << "1";
        QTest::newRow("one Latin letter") << "o" << QStringList{latin, irish} << "2";
        QTest::newRow("one Greek letter") << "ε" << QStringList{today, future, past} << "3";
        QTest::newRow("percent") << "%" << QStringList{today} << "1";
        QTest::newRow("underscore") << "_" << QStringList{today} << "1";
        QTest::newRow("quote") << "'" << QStringList{irish} << "1";
        QTest::newRow("backslash") << "\\" << QStringList{irish} << "1";
        QTest::newRow("star") << "*" << QStringList{irish} << "1";
        QTest::newRow("pattern, not a pattern") << "O%B" << QStringList{} << "O%B";
        QTest::newRow("SQL") << "'; DROP TABLE RANTEBOU; --" << QStringList{} << "DROP TABLE";
        QTest::newRow("255 characters") << QString(255, QChar(0x03B1)) << QStringList{} << "Κανένα";
        QTest::newRow("only blanks") << "   " << QStringList{} << "5 ραντεβού";
    }

    void findsAsYouType() {
        QFETCH(QString, search);
        QFETCH(QStringList, rows);
        QFETCH(QString, summaryHolds);
        auto window = openSearch();
        QCOMPARE(QApplication::focusWidget(), searchBox(*window));
        typeText(searchBox(*window), search);
        QCOMPARE(searchBox(*window)->text(), search);
        // An empty list is what the window shows before the search too: wait for the line that reports it.
        QTRY_VERIFY2(summary(*window)->text().contains(summaryHolds), qPrintable(summary(*window)->text()));
        QCOMPARE(shownRows(*window), rows);
        QCOMPARE(results(*window)->currentIndex().row(), rows.isEmpty() ? -1 : 0);
        // The book itself is untouched by whatever was typed.
        QCOMPARE(window->index().size(), std::size_t(5));
    }

    void keyboardAlone() {
        auto window = openSearch();
        typeText(searchBox(*window), QStringLiteral("ε"));
        QTRY_COMPARE(shownRows(*window).size(), 3);
        QTreeView* list = results(*window);
        QTest::keyClick(searchBox(*window), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->currentIndex().row(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), 2);
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(list->currentIndex().row(), 0);
        // Up from the first row goes back to the box; typing in the list goes on in the box too.
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), searchBox(*window));
        QTest::keyClick(searchBox(*window), Qt::Key_Down);
        typeText(list, QStringLiteral("λ"));
        QCOMPARE(QApplication::focusWidget(), searchBox(*window));
        QCOMPARE(searchBox(*window)->text(), QStringLiteral("ελ"));
        QTRY_COMPARE(shownRows(*window).size(), 1);
        // Esc closes it.
        QTest::keyClick(searchBox(*window), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
    }

    void opensTheFoundDay_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter in the search box") << "enter in box";
        QTest::newRow("Enter in the results") << "enter in list";
        QTest::newRow("double click") << "double click";
        QTest::newRow("open button") << "button";
    }

    void opensTheFoundDay() {
        QFETCH(QString, how);
        auto window = openSearch();
        typeText(searchBox(*window), QStringLiteral("papad"));
        QTRY_COMPARE(shownRows(*window).size(), 1);
        QTreeView* list = results(*window);
        QCOMPARE(monthChooser(*m_month)->currentIndex(), 2); // March

        const auto open = [&] {
            if (how == QLatin1String("enter in box")) {
                QTest::keyClick(searchBox(*window), Qt::Key_Return);
            } else if (how == QLatin1String("enter in list")) {
                QTest::keyClick(searchBox(*window), Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Enter);
            } else if (how == QLatin1String("double click")) {
                QTRY_VERIFY(list->visualRect(list->model()->index(0, 2)).isValid());
                const QRect row = list->visualRect(list->model()->index(0, 2));
                // A double click as the window system delivers it: a click, then the double-click event.
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
            } else {
                QTest::mouseClick(part<QPushButton>(*window, "Button1"), Qt::LeftButton);
            }
        };
        const bool opened = withDayWindow(open, [&](TForm2& day) {
            // The usual path: the day's heading, key and statement, and the month moved to April 2010.
            QCOMPARE(part<QLabel>(day, "Label83")->text(), QStringLiteral("1/4/2010"));
            QCOMPARE(day.ADOQuery1().statement().trimmed(),
                     store::selectDayStatement(QStringLiteral("#4/1/2010#")).trimmed());
            QCOMPARE(monthChooser(*m_month)->currentIndex(), 3);
            QCOMPARE(yearChooser(*m_month)->currentText(), QStringLiteral("2010"));
            QCOMPARE(part<QLineEdit>(day, "DBEdit28")->text(), QStringLiteral("Papadopoulos"));
            auto* slot2 = part<QLineEdit>(day, "DBEdit2");
            slot2->setFocus();
            typeText(slot2, QStringLiteral("Papadakis"));
            QTest::mouseClick(part<QToolButton>(day, "DBNavigator1Post"), Qt::LeftButton);
        });
        QVERIFY2(opened, "the day window did not open");

        // Back in the search window: still there, the saved slot found, the opened slot still current.
        QVERIFY(window->isVisible());
        QCOMPARE(shownRows(*window), (QStringList{QStringLiteral("1/4/2010 | 08:30 - 09:00 | Papadakis"),
                                                  QStringLiteral("1/4/2010 | 21:30 - 22:00 | Papadopoulos")}));
        QCOMPARE(list->currentIndex().row(), 1);
        // And the month window counts the day's two slots.
        QLabel* count = countOfDay(*m_month, 1);
        QVERIFY(count);
        QCOMPARE(count->text(), QStringLiteral("2"));
    }

    // The picture of the book is kept between openings; what another program writes into the file meanwhile is
    // there at the next opening, and so is a change made through this program's own day window.
    void aKeptPictureSeesOtherWritersAtTheNextOpening() {
        {
            auto window = openSearch();
            typeText(searchBox(*window), QStringLiteral("Ζαχαρίου"));
            QTRY_VERIFY(summary(*window)->text().contains(QStringLiteral("Κανένα")));
        }
        writeSlots({{QDate(2010, 3, 15), 7, QStringLiteral("Ζαχαρίου Άννα")}});
        {
            auto window = openSearch();
            typeText(searchBox(*window), QStringLiteral("ζαχαριου"));
            QTRY_COMPARE(shownRows(*window),
                         QStringList{QStringLiteral("15/3/2010 | 11:00 - 11:30 | Ζαχαρίου Άννα")});
        }
        // A day saved through the program's own day window: its day alone is read again.
        QVERIFY(withDayWindow([this] { m_month->OpenDayOf(QDate(2010, 3, 16)); }, [](TForm2& day) {
            auto* box = part<QLineEdit>(day, "DBEdit1");
            box->setFocus();
            typeText(box, QStringLiteral("Ζαχαρίου Νίκος"));
            QTest::mouseClick(part<QToolButton>(day, "DBNavigator1Post"), Qt::LeftButton);
        }));
        auto window = openSearch();
        typeText(searchBox(*window), QStringLiteral("ζαχαριου"));
        QTRY_COMPARE(shownRows(*window), (QStringList{QStringLiteral("15/3/2010 | 11:00 - 11:30 | Ζαχαρίου Άννα"),
                                                      QStringLiteral("16/3/2010 | 08:00 - 08:30 | Ζαχαρίου Νίκος")}));
    }

    // The picture made ahead, read a range of days at a time in shown order on its own handle and stowed, is the
    // whole read's once made whole, whatever the file holds (days before and after the calendar's years, a
    // quarter's first and last day, a date that is none, blank and control-only texts, a number stored in a slot)
    // and wherever today falls.
    void aPictureReadAheadIsTheWholeRead_data() {
        QTest::addColumn<QDate>("today");
        QTest::newRow("inside a quarter") << QDate(2010, 3, 10);
        QTest::newRow("a quarter's first day") << QDate(2011, 4, 1);
        QTest::newRow("a day with slots, the quarter's last") << QDate(2010, 3, 31);
        QTest::newRow("before the calendar's years") << QDate(2007, 12, 31);
        QTest::newRow("the calendar's last day") << QDate(2035, 12, 31);
        QTest::newRow("after the calendar's years") << QDate(2040, 6, 1);
    }

    void aPictureReadAheadIsTheWholeRead() {
        const QString connectionText = store::buildConnectionText(QDir::currentPath(), QStringLiteral("Kw73Tp"));
        {
            store::Connection connection;
            connection.reopen(connectionText);
            const QStringList rows = {
                QStringLiteral("'2007-12-31', ' before the years ', NULL"),
                QStringLiteral("'2036-01-01', 'after the years', 'two'"),
                QStringLiteral("'2010-03-31', ' \t ', 'quarter end'"),
                QStringLiteral("'2011-04-01', 'quarter start', NULL"),
                QStringLiteral("'2010-03-06', 'a day of its own', 'Παπαδοπούλου'"),
                QStringLiteral("'no date', 'not a day', NULL"),
                QStringLiteral("'2035-12-31', 42, '\n'"),
            };
            for (const QString& row : rows) {
                store::Command insert(connection);
                insert.setCommandText(QStringLiteral("INSERT INTO %1 (%2, \"0800-0830\", \"2130-2200\") VALUES (%3)")
                                          .arg(QLatin1String(store::AppointmentTableName),
                                               QLatin1String(store::DayColumnName), row));
                insert.execute();
            }
            connection.close();
        }
        store::Connection connection;
        connection.reopen(connectionText);
        const std::vector<store::FilledSlot> read = store::readFilledSlots(connection);
        connection.close();
        QCOMPARE(read.size(), std::size_t(book().size() + 8));
        QFETCH(QDate, today);
        const std::atomic_bool go{false};
        bool stopped = true;
        const QString path = QDir::current().filePath(QLatin1String(store::DatabaseFileName));
        std::optional<AppointmentIndex> stowed = SearchAhead::readStowed(path, QStringLiteral("Kw73Tp"), today, go, &stopped);
        QVERIFY(!stopped);
        QVERIFY(stowed);
        QVERIFY(stowed->stowed());
        QCOMPARE(stowed->size(), read.size());
        AppointmentIndex whole;
        whole.assign(read, today);
        QVERIFY(stowed->unstow());
        QVERIFY(!stowed->stowed());
        QCOMPARE(stowed->size(), whole.size());
        for (std::size_t i = 0; i < whole.size(); ++i) {
            QCOMPARE(stowed->entry(i).date, whole.entry(i).date);
            QCOMPARE(stowed->entry(i).slot, whole.entry(i).slot);
            QCOMPARE(stowed->entry(i).text, whole.entry(i).text);
        }
        for (const QString& search : {QStringLiteral("the"), QStringLiteral("παπαδοπουλου"), QStringLiteral("4")})
            QCOMPARE(stowed->find(search, 1000).shown, whole.find(search, 1000).shown);
        // Made whole again, it takes a closed day as a picture read whole does.
        stowed->replaceDay(QDate(2010, 3, 6), {{QDate(2010, 3, 6), 3, QStringLiteral("the new one")}});
        whole.replaceDay(QDate(2010, 3, 6), {{QDate(2010, 3, 6), 3, QStringLiteral("the new one")}});
        QCOMPARE(stowed->find(QStringLiteral("the"), 1000).shown, whole.find(QStringLiteral("the"), 1000).shown);
        // Stopped before its first range, it reads no further and gives nothing.
        const std::atomic_bool stop{true};
        QVERIFY(!SearchAhead::readStowed(path, QStringLiteral("Kw73Tp"), today, stop, &stopped));
        QVERIFY(stopped);
    }

    // The picture made ahead while the month waited is the one the search shows, unless the book changed since:
    // a day this program saved is read into it again, another program's write makes the search read the book whole.
    void thePictureMadeAheadShowsTheBook_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("rows");
        const QString known = QStringLiteral("12/3/2010 | 08:00 - 08:30 | ΠΑΠΑΔΟΠΟΥΛΟΥ Ε. 6944 123456");
        const QString past = QStringLiteral("5/3/2010 | 10:00 - 10:30 | Παπαδοπούλου Ελένη");
        QTest::newRow("nothing") << "nothing" << QStringList{known, past};
        QTest::newRow("a day saved in this program")
            << "own" << QStringList{known, QStringLiteral("16/3/2010 | 08:00 - 08:30 | Παπαδοπούλου Νίκη"), past};
        QTest::newRow("another program's write")
            << "other" << QStringList{known, QStringLiteral("15/3/2010 | 11:00 - 11:30 | Παπαδοπούλου Άννα"), past};
    }

    void thePictureMadeAheadShowsTheBook() {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, rows);
        QTRY_VERIFY_WITH_TIMEOUT(m_month->searchPictureMadeAhead(), 20000);
        if (meanwhile == QLatin1String("own")) {
            QVERIFY(withDayWindow([this] { m_month->OpenDayOf(QDate(2010, 3, 16)); }, [](TForm2& day) {
                auto* box = part<QLineEdit>(day, "DBEdit1");
                box->setFocus();
                typeText(box, QStringLiteral("Παπαδοπούλου Νίκη"));
                QTest::mouseClick(part<QToolButton>(day, "DBNavigator1Post"), Qt::LeftButton);
            }));
        } else if (meanwhile == QLatin1String("other")) {
            writeSlots({{QDate(2010, 3, 15), 7, QStringLiteral("Παπαδοπούλου Άννα")}});
        }
        auto window = openSearch();
        typeText(searchBox(*window), QStringLiteral("παπαδοπουλου"));
        QTRY_COMPARE(shownRows(*window), rows);
        QVERIFY(!m_month->searchPictureMadeAhead());
    }

    void capsTheShownRows() {
        QList<Slot> many;
        for (int day = 1; day <= 18; ++day) {
            for (int slot = 1; slot <= 28; ++slot) {
                many.append({QDate(2011, 5, day), slot, QStringLiteral("Κοινό κείμενο %1").arg(slot)});
            }
        }
        writeSlots(many);
        auto window = openSearch();
        typeText(searchBox(*window), QStringLiteral("κοινο"));
        QTRY_COMPARE(shownRows(*window).size(), TForm3::ShownLimit);
        QVERIFY2(summary(*window)->text().contains(QStringLiteral("504")), qPrintable(summary(*window)->text()));
        QVERIFY2(summary(*window)->text().contains(QStringLiteral("άλλα 4 ")), qPrintable(summary(*window)->text()));
        QCOMPARE(shownRows(*window).front(), QStringLiteral("1/5/2011 | 08:00 - 08:30 | Κοινό κείμενο 1"));
    }

    void reachedFromTheMonthWindow() {
        // A right click anywhere on the grid offers the search and the week, each with its key.
        QStringList entries;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            for (QAction* action : menu->actions()) {
                entries << action->text() + QLatin1Char('\t') + action->shortcut().toString();
            }
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

        // Ctrl+F opens it, with the focus in the search box.
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            auto* search = qobject_cast<TForm3*>(QApplication::activeModalWidget());
            if (search == nullptr) {
                return;
            }
            // The window's focus is in the box (the offscreen platform does not move activation to it).
            opened = search->focusWidget() == searchBox(*search) &&
                     search->windowTitle() == QStringLiteral("Αναζήτηση ραντεβού");
            QTest::keyClick(searchBox(*search), Qt::Key_Escape);
        });
        // The menu took the activation; the month window has it back, as it has when the user works in it.
        QApplication::setActiveWindow(m_month.get());
        QTest::keyClick(m_month.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(opened);
        QVERIFY(m_month->isVisible());
    }
};

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
