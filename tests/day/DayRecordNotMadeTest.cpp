// A day whose record could not be made (a read-only data file) shows its slots read-only, and the user is told
// why, once, with the engine's reason; a day whose record exists, or was made, opens without a word.

#include "tests/day/DayTestFile.h"
#include "tests/store/StoreTestSupport.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

class DayRecordNotMadeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { OrvellaApplication::setUpIdentity(); }
    void toldWhyOnlyWhenTheRecordIsMissing_data();
    void toldWhyOnlyWhenTheRecordIsMissing();
};

void DayRecordNotMadeTest::toldWhyOnlyWhenTheRecordIsMissing_data() {
    QTest::addColumn<bool>("recordBefore");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("told");
    QTest::newRow("read-only file, no record: told why") << false << true << true;
    QTest::newRow("read-only file, the record exists: no word") << true << true << false;
    QTest::newRow("writable file, the record is made: no word") << false << false << false;
}

void DayRecordNotMadeTest::toldWhyOnlyWhenTheRecordIsMissing() {
    QFETCH(bool, recordBefore);
    QFETCH(bool, readOnly);
    QFETCH(bool, told);
    DayTestFile file;
    QVERIFY(file.isValid());
    const QString day = QStringLiteral("5/3/2010");
    if (recordBefore)
        file.ensureDay(day);
    std::unique_ptr<storetest::FilePermissionsEnforced> enforced;
    if (readOnly) {
        QVERIFY(QFile::setPermissions(file.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        enforced = std::make_unique<storetest::FilePermissionsEnforced>();
        if (!enforced->active())
            QSKIP("file permissions cannot be enforced here");
    }
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });

    // What the month window's OpenDay does.
    std::optional<QString> notMade;
    {
        store::Connection connection;
        connection.reopen(file.connectionText());
        notMade = store::ensureDayRecord(connection, DayTestFile::keyOf(day));
    }
    TForm2 window;
    window.openDay(day, file.connectionText(), store::selectDayStatement(DayTestFile::keyOf(day)),
                   TForm6::reportFileOf(QFileInfo(file.path()).absolutePath()), notMade);
    ErrorReport::setObserver({});
    enforced.reset();
    QFile::setPermissions(file.path(), QFile::ReadOwner | QFile::WriteOwner);

    if (told) {
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].contains(QStringLiteral("Η ημέρα 5/3/2010 δεν μπόρεσε να δημιουργηθεί")), qPrintable(reports[0]));
        QVERIFY2(reports[0].contains(QStringLiteral("μόνο για ανάγνωση")), qPrintable(reports[0]));
        QVERIFY2(reports[0].contains(QStringLiteral("Επιτρέψτε την εγγραφή σε αυτό")), qPrintable(reports[0]));
    } else {
        QCOMPARE(reports, QStringList());
    }
    const auto* box = window.findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    QVERIFY(box);
    QCOMPARE(box->isReadOnly(), told);
}

QTEST_MAIN(DayRecordNotMadeTest)
#include "DayRecordNotMadeTest.moc"
