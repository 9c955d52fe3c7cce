// The counts under the day numbers, read from a real encrypted data file, and opening a day from the month
// window: the record made on first opening, the count after a post, nothing kept after closing unsaved.
#include "tests/month/BookSlots.h"
#include "tests/month/GridProbe.h"
#ifdef ORVELLA_TEST_SERVER
#include "tests/store/BookFixture.h"
#endif
#include "tests/store/StoreTestSupport.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "month/Occupancy.h"
#include "platform/Files.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"
#include "tests/day/DayWindowClosing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <tuple>

namespace {

const QString Password = QStringLiteral("Kw73Tp");

using booktest::keyOf;

// Writes the given slots (1 to 28) of a day through the engine, making the record first.
void writeDay(const QString& folder, QDate date, const QMap<int, QVariant>& slotValues) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, Password));
    store::ensureDayRecord(connection, keyOf(date));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(date)));
    for (auto it = slotValues.cbegin(); it != slotValues.cend(); ++it) {
        query.setValue(store::slotColumnNames().at(it.key() - 1), it.value());
    }
    if (!slotValues.isEmpty()) {
        query.post();
    }
    query.close();
    connection.close();
}

// The day's 28 slots as stored, read through a connection of the test's own; empty when it has no record.
QVariantList storedSlots(const QString& folder, QDate date) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, Password));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(date)));
    QVariantList values;
    if (!query.isEmpty()) {
        for (const QString& column : store::slotColumnNames()) {
            values << query.value(column);
        }
    }
    return values;
}

// The count the day's values give, each read from an opened query and looked at as the month does: the shown text.
QString countOfValues(const QString& folder, QDate date) {
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, Password));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(date)));
    int count = -1;
    for (int position = 0; position < occupancy::PositionsPerRecord; ++position)
        count += occupancy::holdsText(query.value(position)) ? 1 : 0;
    return count >= 1 ? QString::number(count) : QString();
}

int recordCount(const QString& folder, QDate date) {
    return storedSlots(folder, date).isEmpty() ? 0 : 1;
}

QVariant storedSlot(const QString& folder, QDate date, int slot) {
    return storedSlots(folder, date).value(slot - 1);
}

QLabel* dayLabelShowing(const TForm1& window, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        if (dayLabel(window, cell)->text() == QString::number(day)) {
            return dayLabel(window, cell);
        }
    }
    return nullptr;
}

QLabel* countLabelOfDay(const TForm1& window, int day) {
    for (int cell = 1; cell <= 37; ++cell) {
        if (dayLabel(window, cell)->text() == QString::number(day)) {
            return countLabel(window, cell);
        }
    }
    return nullptr;
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

} // namespace

class OccupancyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
#ifdef ORVELLA_TEST_SERVER
    BookFixture m_books;
#endif
    QString m_savedCurrent;
    QStringList m_reports;

    // The month window on `today`'s month, with its data folder the temporary one.
    std::unique_ptr<TForm1> openMonth(QDate today) { return std::make_unique<TForm1>(nullptr, today); }

    // Clicks day `day` in the month window and, once the day window is up, runs `inside` on it.
    void clickDay(TForm1& month, int day, const std::function<void(TForm2&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* dayWindow = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            if (dayWindow == nullptr) {
                return;
            }
            ran = true;
            inside(*dayWindow);
            if (dayWindow->isVisible()) {
                dayWindow->close();
            }
        });
        QLabel* label = dayLabelShowing(month, day);
        QVERIFY(label);
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY2(ran, "the day window did not open");
    }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
        m_savedCurrent = QDir::currentPath();
    }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        store::createDatabaseFile(m_dir->filePath(QStringLiteral("data.mdb")), Password);
        m_reports.clear();
    }

    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void stripsOnlyBlanksAndControlCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks") << QStringLiteral("   ") << QString();
        QTest::newRow("tabs and line breaks") << QStringLiteral("\t\r\n \t") << QString();
        QTest::newRow("NUL and other controls") << QString(QChar(0)) + QStringLiteral("\x01\x1f") << QString();
        QTest::newRow("name inside blanks") << QStringLiteral("  Παπαδόπουλος \n") << QStringLiteral("Παπαδόπουλος");
        QTest::newRow("inner blanks kept") << QStringLiteral(" a  b ") << QStringLiteral("a  b");
        QTest::newRow("hyphen") << QStringLiteral("-") << QStringLiteral("-");
        QTest::newRow("no-break spaces are not blanks")
            << QStringLiteral("\u00a0\u00a0") << QStringLiteral("\u00a0\u00a0");
        QTest::newRow("DEL is not a control here") << QStringLiteral("\x7f") << QStringLiteral("\x7f");
        QTest::newRow("ideographic space kept") << QStringLiteral(" \u3000 ") << QStringLiteral("\u3000");
    }

    void stripsOnlyBlanksAndControlCharacters() {
        QFETCH(QString, text);
        QFETCH(QString, stripped);
        QCOMPARE(occupancy::stripBlanksAndControls(text), stripped);
        QCOMPARE(occupancy::holdsText(text), !stripped.isEmpty());
    }

    // What a record's value holds, of each kind a query gives: the scan reads them without converting a text.
    void valuesHoldTextByTheirKind_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("holds");
        QTest::newRow("no value") << QVariant() << false;
        QTest::newRow("null text") << QVariant(QString()) << false;
        QTest::newRow("blanks and controls") << QVariant(QStringLiteral(" \t\r\n")) << false;
        QTest::newRow("a name") << QVariant(QStringLiteral(" Ελένη ")) << true;
        QTest::newRow("the record's date") << QVariant(QDate(2020, 1, 15)) << true;
        QTest::newRow("no day") << QVariant(QDate()) << false;
        QTest::newRow("a date without an ISO text") << QVariant(QDate(10000, 1, 1)) << false;
        QTest::newRow("a whole number") << QVariant(qlonglong(7)) << true;
        QTest::newRow("bytes of blanks") << QVariant(QByteArray("  ")) << false;
    }

    void valuesHoldTextByTheirKind() {
        QFETCH(QVariant, value);
        QFETCH(bool, holds);
        QCOMPARE(occupancy::holdsText(value), holds);
    }

    // Each case on both engines; a few kinds of value the windows never write (bytes that are not UTF-8, numbers,
    // bytes) only in the file, put there past the engine. The shown count must be what the record's values give,
    // read one by one as the scan read them before it counted in the store.
    void countsFilledSlotsOfEachDay_data() {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QVariantMap>("slotValues"); // slot number as text -> value; empty map: no record
        QTest::addColumn<bool>("makeRecord");
        QTest::addColumn<QString>("raw"); // SQL run on the file past the engine, after the values
        QTest::addColumn<QString>("shown");
        auto withSlots = [](std::initializer_list<std::pair<int, QVariant>> values) {
            QVariantMap map;
            for (const auto& [slot, value] : values) {
                map.insert(QString::number(slot), value);
            }
            return map;
        };
        QVariantMap all;
        for (int slot = 1; slot <= 28; ++slot) {
            all.insert(QString::number(slot), QStringLiteral("Ραντεβού %1").arg(slot));
        }
        const QList<std::tuple<const char*, QVariantMap, bool, QString>> cases = {
            {"no record", QVariantMap(), false, QString()},
            {"record with all slots null (the date only)", QVariantMap(), true, QString()},
            {"all empty texts", withSlots({{1, QString()}, {2, QString()}, {28, QString()}}), true, QString()},
            {"only blanks, tabs, line breaks",
             withSlots({{1, QStringLiteral("   ")}, {5, QStringLiteral("\t\t")}, {9, QStringLiteral("\r\n")}}), true,
             QString()},
            {"only control characters", withSlots({{2, QStringLiteral("\x01\x1f\x0b")}}), true, QString()},
            {"a name with blanks around it", withSlots({{3, QStringLiteral("  Νίκος  ")}}), true, QStringLiteral("1")},
            {"one hyphen", withSlots({{14, QStringLiteral("-")}}), true, QStringLiteral("1")},
            {"only no-break spaces", withSlots({{7, QStringLiteral("\u00a0\u00a0")}}), true, QStringLiteral("1")},
            {"only a byte order mark", withSlots({{8, QStringLiteral("\ufeff")}}), true, QString()},
            {"a byte order mark, then blanks, another mark", withSlots({{8, QStringLiteral("\ufeff \ufeff")}}), true,
             QStringLiteral("1")},
            {"two byte order marks", withSlots({{8, QStringLiteral("\ufeff\ufeff")}}), true, QStringLiteral("1")},
            {"a character beyond the basic plane", withSlots({{9, QString::fromUcs4(U"\U0001F600", 1)}}), true,
             QStringLiteral("1")},
            {"all 28", all, true, QStringLiteral("28")},
            {"three of five, blanks ignored",
             withSlots({{1, QStringLiteral("a")},
                        {2, QStringLiteral(" ")},
                        {10, QStringLiteral("b")},
                        {20, QString()},
                        {28, QStringLiteral("c")}}),
             true, QStringLiteral("3")},
        };
#ifdef ORVELLA_TEST_SERVER
        const std::initializer_list<const char*> engines = {"file", "server"};
#else
        const std::initializer_list<const char*> engines = {"file"};
#endif
        for (const char* engine : engines) {
            for (const auto& [name, values, makeRecord, shown] : cases)
                QTest::addRow("%s: %s", engine, name)
                    << QString::fromLatin1(engine) << values << makeRecord << QString() << shown;
        }
        const QString update = QStringLiteral("UPDATE RANTEBOU SET %1 WHERE HMEROMHNIA = '2010-03-05'");
        const QList<std::tuple<const char*, QString, QString>> stored = {
            {"a NUL, then a letter", QStringLiteral("\"0800-0830\" = CAST(X'0041' AS TEXT)"), QStringLiteral("1")},
            {"bytes that are not UTF-8", QStringLiteral("\"0800-0830\" = CAST(X'FF20' AS TEXT)"), QStringLiteral("1")},
            {"blanks as bytes", QStringLiteral("\"0800-0830\" = X'20092020'"), QString()},
            {"a name as bytes, an empty run of bytes",
             QStringLiteral("\"0800-0830\" = X'416E6E61', \"0830-0900\" = X''"), QStringLiteral("1")},
            {"whole and decimal numbers", QStringLiteral("\"0800-0830\" = 0, \"0830-0900\" = 0.0, \"0900-0930\" = -7"),
             QStringLiteral("3")},
        };
        for (const auto& [name, assignments, shown] : stored)
            QTest::addRow("file: %s", name)
                << QStringLiteral("file") << QVariantMap() << true << update.arg(assignments) << shown;
    }

    void countsFilledSlotsOfEachDay() {
        QFETCH(QString, engine);
        QFETCH(QVariantMap, slotValues);
        QFETCH(bool, makeRecord);
        QFETCH(QString, raw);
        QFETCH(QString, shown);
        QString folder = m_dir->path();
#ifdef ORVELLA_TEST_SERVER
        if (engine == QLatin1String("server")) {
            if (!m_books.server().isRunning())
                QSKIP(qPrintable(m_books.server().failure()));
            folder = m_books.makeBook(engine);
            QVERIFY(QDir::setCurrent(folder));
        }
#endif
        const QDate day(2010, 3, 5);
        if (makeRecord) {
            QMap<int, QVariant> values;
            for (auto it = slotValues.cbegin(); it != slotValues.cend(); ++it) {
                values.insert(it.key().toInt(), it.value());
            }
            writeDay(folder, day, values);
        }
        if (!raw.isEmpty()) {
            storetest::RawDatabase file(QDir(folder).filePath(QStringLiteral("data.mdb")), Password);
            QCOMPARE(file.execute(raw), 0);
        }
        auto month = openMonth(QDate(2010, 3, 20));
        QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join(QLatin1Char('\n'))));
        QLabel* count = countLabelOfDay(*month, 5);
        QVERIFY(count);
        QVERIFY(!count->isHidden());
        QCOMPARE(count->text(), shown);
        QCOMPARE(count->text(), countOfValues(folder, day));
        // The neighbours, without records, show nothing, and the scan made no record for them.
        QCOMPARE(countLabelOfDay(*month, 4)->text(), QString());
        QCOMPARE(countLabelOfDay(*month, 6)->text(), QString());
        QCOMPARE(recordCount(folder, QDate(2010, 3, 6)), 0);
    }

    // The count's red sits on its own label: today's green number and the weekend's grey leave it alone.
    void countsInTodaysCellAndWeekendColumns() {
        // 6 March 2010 is a Saturday, 7 March a Sunday; today is the Sunday.
        writeDay(m_dir->path(), QDate(2010, 3, 6), {{1, QStringLiteral("x")}, {2, QStringLiteral("y")}});
        writeDay(m_dir->path(), QDate(2010, 3, 7), {{4, QStringLiteral("z")}});
        writeDay(m_dir->path(), QDate(2010, 3, 31), {{28, QStringLiteral("τέλος")}});
        auto month = openMonth(QDate(2010, 3, 7));
        QCOMPARE(countLabelOfDay(*month, 6)->text(), QStringLiteral("2"));
        QCOMPARE(countLabelOfDay(*month, 7)->text(), QStringLiteral("1"));
        QCOMPARE(countLabelOfDay(*month, 31)->text(), QStringLiteral("1"));
        QCOMPARE(textColour(dayLabelShowing(*month, 6)), QColor(128, 128, 128));
        QCOMPARE(textColour(dayLabelShowing(*month, 7)), QColor(0, 128, 0));
        QCOMPARE(textColour(countLabelOfDay(*month, 6)), QColor(255, 0, 0));
        QCOMPARE(textColour(countLabelOfDay(*month, 7)), QColor(255, 0, 0));

        // Another month, then back: the counts follow the shown month.
        monthChooser(*month)->setCurrentIndex(3);
        for (int day = 1; day <= 30; ++day) {
            QCOMPARE(countLabelOfDay(*month, day)->text(), QString());
        }
        monthChooser(*month)->setCurrentIndex(2);
        QCOMPARE(countLabelOfDay(*month, 6)->text(), QStringLiteral("2"));
    }

    // Without a data file the grid is still right, every count is empty and each rebuild reports once.
    void absentDatabaseReportsOncePerRebuild() {
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("data.mdb"))));
        auto month = openMonth(QDate(2010, 3, 7));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(QStringLiteral("data.mdb")), qPrintable(m_reports.first()));
        QVERIFY(dayLabelShowing(*month, 31));
        for (int cell = 1; cell <= 37; ++cell) {
            QCOMPARE(countLabel(*month, cell)->text(), QString());
        }
        monthChooser(*month)->setCurrentIndex(4);
        QCOMPARE(m_reports.size(), 2);
        QVERIFY(dayLabelShowing(*month, 31));
        QCOMPARE(monthChooser(*month)->currentIndex(), 4);
    }

    // A click on a day with no record makes exactly one record, all slots free, and shows no count.
    void firstOpeningMakesOneEmptyRecord() {
        auto month = openMonth(QDate(2010, 3, 20));
        QCOMPARE(recordCount(m_dir->path(), QDate(2010, 3, 5)), 0);
        QString heading;
        QString statement;
        clickDay(*month, 5, [&heading, &statement](TForm2& day) {
            heading = day.findChild<QLabel*>(QStringLiteral("Label83"))->text();
            statement = day.ADOQuery1().statement();
        });
        QCOMPARE(heading, QStringLiteral("5/3/2010"));
        QCOMPARE(sharedState().SelectedDay, 5.0f);
        QCOMPARE(statement.trimmed(), QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2010#"));
        QCOMPARE(recordCount(m_dir->path(), QDate(2010, 3, 5)), 1);
        for (int slot = 1; slot <= 28; ++slot) {
            QVERIFY(storedSlot(m_dir->path(), QDate(2010, 3, 5), slot).isNull());
        }
        QCOMPARE(countLabelOfDay(*month, 5)->text(), QString());
        QVERIFY(m_reports.isEmpty());

        // Opening it again keeps the one record.
        clickDay(*month, 5, [](TForm2&) {});
        QCOMPARE(recordCount(m_dir->path(), QDate(2010, 3, 5)), 1);
    }

    // Typed and posted: the count shows at once; typed and closed unsaved: nothing changes.
    void postedSlotsShowInTheMonthAndUnsavedOnesDoNot() {
        writeDay(m_dir->path(), QDate(2010, 3, 12), {{1, QStringLiteral("Υπάρχον")}});
        auto month = openMonth(QDate(2010, 3, 20));
        QCOMPARE(countLabelOfDay(*month, 12)->text(), QStringLiteral("1"));

        clickDay(*month, 12, [](TForm2& day) {
            typeInto(day.findChild<QLineEdit*>(QStringLiteral("DBEdit2")), QStringLiteral("Μαρία Κ."));
            typeInto(day.findChild<QLineEdit*>(QStringLiteral("DBEdit20")), QStringLiteral("John S."));
            day.findChild<QAbstractButton*>(QStringLiteral("DBNavigator1Post"))->click();
        });
        QCOMPARE(countLabelOfDay(*month, 12)->text(), QStringLiteral("3"));
        QCOMPARE(storedSlot(m_dir->path(), QDate(2010, 3, 12), 2).toString(), QStringLiteral("Μαρία Κ."));

        clickDay(*month, 12, [](TForm2& day) {
            QCOMPARE(day.findChild<QLineEdit*>(QStringLiteral("DBEdit2"))->text(), QStringLiteral("Μαρία Κ."));
            typeInto(day.findChild<QLineEdit*>(QStringLiteral("DBEdit5")), QStringLiteral("not saved"));
            bool asked = false;
            dayclosing::answerWhenAsked(&day, QMessageBox::Discard, &asked);
            QTest::keyClick(&day, Qt::Key_Escape);
            QVERIFY(asked);
        });
        QCOMPARE(countLabelOfDay(*month, 12)->text(), QStringLiteral("3"));
        QVERIFY(storedSlot(m_dir->path(), QDate(2010, 3, 12), 5).isNull());

        // Erasing every slot and posting clears the day's number.
        clickDay(*month, 12, [](TForm2& day) {
            for (int slot : {1, 2, 20}) {
                auto* edit = day.findChild<QLineEdit*>(QStringLiteral("DBEdit%1").arg(slot));
                edit->setFocus();
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Delete);
            }
            day.findChild<QAbstractButton*>(QStringLiteral("DBNavigator1Post"))->click();
        });
        QCOMPARE(countLabelOfDay(*month, 12)->text(), QString());
        QVERIFY(m_reports.isEmpty());
    }

    void theKeyboardMovesOverTheDays_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QDate>("focused");
        const QDate today(2010, 3, 20);
        QTest::newRow("starts on today") << today << QList<int>{} << today;
        QTest::newRow("right") << today << QList<int>{Qt::Key_Right} << QDate(2010, 3, 21);
        QTest::newRow("down a week") << today << QList<int>{Qt::Key_Down} << QDate(2010, 3, 27);
        QTest::newRow("down two weeks, into April")
            << today << QList<int>{Qt::Key_Down, Qt::Key_Down} << QDate(2010, 4, 3);
        QTest::newRow("left twenty days, into February") << today << QList<int>(20, Qt::Key_Left) << QDate(2010, 2, 28);
        QTest::newRow("up into the last year's December")
            << QDate(2011, 1, 3) << QList<int>{Qt::Key_Up} << QDate(2010, 12, 27);
        QTest::newRow("never before the first year")
            << QDate(2008, 1, 3) << QList<int>{Qt::Key_Up, Qt::Key_Left} << QDate(2008, 1, 2);
        QTest::newRow("never after the last year")
            << QDate(2035, 12, 30) << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down} << QDate(2035, 12, 31);
        QTest::newRow("Home comes back to today")
            << today << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Home} << today;
    }

    // The focus starts on today and the arrows move it a day or a week, into the next or last month where it
    // leaves the shown one; the focused day is plainly framed.
    void theKeyboardMovesOverTheDays() {
        QFETCH(QDate, today);
        QFETCH(QList<int>, keys);
        QFETCH(QDate, focused);
        auto month = openMonth(today);
        month->show();
        QVERIFY(QTest::qWaitForWindowActive(month.get()));
        QTRY_VERIFY(month->focusWidget() != nullptr);
        for (int key : keys)
            QTest::keyClick(month->focusWidget(), Qt::Key(key));
        const SharedState& shared = sharedState();
        QCOMPARE(QDate(int(shared.SelectedYear), int(shared.SelectedMonth), 1),
                 QDate(focused.year(), focused.month(), 1));
        QCOMPARE(month->focusWidget(), dayLabelShowing(*month, focused.day()));
        // The frame: the focused label's border differs from its inside, an unfocused label's does not.
        const QImage framed = month->focusWidget()->grab().toImage();
        QVERIFY(framed.pixelColor(1, framed.height() / 2) !=
                framed.pixelColor(framed.width() / 2 + 20, framed.height() / 2));
        QVERIFY(m_reports.isEmpty());
    }

    // A day opened, typed into and saved without the mouse: Enter on the focused day, the text, Ctrl+S, Esc.
    void aDayIsOpenedAndSavedFromTheKeyboard() {
        auto month = openMonth(QDate(2010, 3, 20));
        month->show();
        QVERIFY(QTest::qWaitForWindowActive(month.get()));
        QTRY_VERIFY(month->focusWidget() != nullptr);
        QTest::keyClick(month->focusWidget(), Qt::Key_Right);
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* day = qobject_cast<TForm2*>(QApplication::activeModalWidget());
            if (!day)
                return;
            ran = true;
            // The first slot takes the focus once the window is active: type, save, leave.
            if (!QTest::qWaitFor([] {
                    return QApplication::focusWidget() &&
                           QApplication::focusWidget()->objectName() == QLatin1String("DBEdit1");
                })) {
                day->hide();
                return;
            }
            QWidget* box = QApplication::focusWidget();
            QTest::keyClicks(box, QStringLiteral("Keyboard only"));
            QTest::keyClick(box, Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("second"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QTest::keyClick(month->focusWidget(), Qt::Key_Return);
        QVERIFY(ran);
        QCOMPARE(storedSlot(m_dir->path(), QDate(2010, 3, 21), 1).toString(), QStringLiteral("Keyboard only"));
        QCOMPARE(storedSlot(m_dir->path(), QDate(2010, 3, 21), 2).toString(), QStringLiteral("second"));
        QCOMPARE(countLabelOfDay(*month, 21)->text(), QStringLiteral("2"));
        // Back on the day it came from.
        QCOMPARE(month->focusWidget(), dayLabelShowing(*month, 21));
        QVERIFY(m_reports.isEmpty());
    }

    // When the file can't be opened, the error shows, no day window opens and the month isn't rescanned.
    void openingWithoutTheFileShowsTheErrorAndNoWindow() {
        auto month = openMonth(QDate(2010, 3, 20));
        if (platform::openFilesStayPut()) {
            // The month's scan keeps the book open, and this system removes no file a handle holds.
            QVERIFY(!QFile::remove(m_dir->filePath(QStringLiteral("data.mdb"))));
            QSKIP("this system does not let an open book be removed");
        }
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("data.mdb"))));
        bool dayWindowSeen = false;
        QTimer::singleShot(0, this, [&dayWindowSeen] {
            if (auto* w = qobject_cast<TForm2*>(QApplication::activeModalWidget())) {
                dayWindowSeen = true;
                w->close();
            }
        });
        QTest::mouseClick(dayLabelShowing(*month, 9), Qt::LeftButton);
        QVERIFY(!dayWindowSeen);
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(QStringLiteral("data.mdb")), qPrintable(m_reports.first()));
        QCOMPARE(sharedState().SelectedDay, 9.0f);
    }
};

QTEST_MAIN(OccupancyTest)
#include "OccupancyTest.moc"
