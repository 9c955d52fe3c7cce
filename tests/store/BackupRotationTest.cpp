// Which daily copies of the book the rotation removes once a newer copy is verified: the 14 newest stay, and the
// newest copy of each of the last 12 months; nothing newer than the verified copy, and nothing that is not a daily
// copy, is ever chosen.

#include "store/backup/BackupRotation.h"
#include "store/backup/BackupFolder.h"
#include "store/backup/BackupMaker.h"
#include "store/cipher/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QTest>

namespace {

// Daily copies for every day from first to last.
QStringList everyDay(const QDate& first, const QDate& last) {
    QStringList names;
    for (QDate day = first; day <= last; day = day.addDays(1))
        names << store::backupFileName(day);
    return names;
}

QStringList named(const QStringList& dates) {
    QStringList names;
    for (const QString& date : dates)
        names << QStringLiteral("data-%1.mdb").arg(date);
    return names;
}

} // namespace

class BackupRotationTest : public QObject {
    Q_OBJECT

private slots:
    void removes_data();
    void removes();
    void aYearOfDailyCopiesKeepsFourteenAndOnePerMonth();
    void backupNamesReadBack_data();
    void backupNamesReadBack();
    void aFailedBackupSaysWhyAndWhetherWorkCanGoOn_data();
    void aFailedBackupSaysWhyAndWhetherWorkCanGoOn();
};

void BackupRotationTest::aFailedBackupSaysWhyAndWhetherWorkCanGoOn_data() {
    QTest::addColumn<bool>("bookWritable");
    QTest::newRow("the backups folder cannot be made") << true;
    QTest::newRow("the data folder cannot be written") << false;
}

// A backup that fails says why; it tells the user to go on working only when changes can still be saved.
void BackupRotationTest::aFailedBackupSaysWhyAndWhetherWorkCanGoOn() {
    QFETCH(bool, bookWritable);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, QStringLiteral("Kw73Tp"));
    // An ordinary file where the backups folder belongs: the copy has nowhere to go.
    QFile inTheWay(dir.filePath(QStringLiteral("backups")));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    const store::BackupOutcome outcome = store::makeDailyBackup(book, QStringLiteral("Kw73Tp"), QDate(2026, 12, 10));
    QCOMPARE(int(outcome.result), int(store::BackupOutcome::Result::Failed));
    // The same failure as the user would read it when the folder is (or is not) writable.
    const QString message = bookWritable ? outcome.message
                                         : store::backupFailureMessage(book, QStringLiteral("no room"),
                                                                       dir.filePath(QStringLiteral("backups")), false);
    QVERIFY2(message.contains(QDir::toNativeSeparators(book)), qPrintable(message));
    QCOMPARE(message.contains(QLatin1String("go on working")), bookWritable);
    QVERIFY2(message.contains(bookWritable ? QDir::toNativeSeparators(dir.filePath(QStringLiteral("backups")))
                                           : QStringLiteral("cannot be written")),
             qPrintable(message));
}

void BackupRotationTest::removes_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QDate>("verified");
    QTest::addColumn<QStringList>("removed");

    const QDate today(2026, 12, 9);
    QTest::newRow("fourteen copies: all kept") << everyDay(today.addDays(-13), today) << today << QStringList();
    QTest::newRow("sixteen copies: the two oldest go")
        << named({QStringLiteral("2026-11-30")}) + everyDay(QDate(2026, 12, 1), today) +
               everyDay(QDate(2026, 11, 20), QDate(2026, 11, 25))
        << today << named({QStringLiteral("2026-11-20"), QStringLiteral("2026-11-21")});
    QTest::newRow("beyond the fourteen, each month's newest copy stays")
        << everyDay(QDate(2026, 10, 20), today) << today
        << everyDay(QDate(2026, 10, 20), QDate(2026, 10, 30)) + everyDay(QDate(2026, 11, 1), QDate(2026, 11, 25));
    QTest::newRow("January's copy stays (twelfth month), December's of last year goes")
        << named({QStringLiteral("2025-12-31"), QStringLiteral("2026-01-31")}) + everyDay(today.addDays(-13), today)
        << today << named({QStringLiteral("2025-12-31")});
    QTest::newRow("after a long pause the fourteen newest stay, however old")
        << named({QStringLiteral("2019-01-01")}) + everyDay(QDate(2020, 1, 1), QDate(2020, 1, 13)) +
               named({QStringLiteral("2026-12-09")})
        << today << named({QStringLiteral("2019-01-01")});
    QTest::newRow("the month of twelve months back counts")
        << named({QStringLiteral("2026-01-15"), QStringLiteral("2026-01-31"), QStringLiteral("2025-12-31")}) +
               everyDay(today.addDays(-13), today)
        << today << named({QStringLiteral("2026-01-15"), QStringLiteral("2025-12-31")});
    QTest::newRow("the verified copy missing from the list: nothing goes")
        << named({QStringLiteral("2024-01-01"), QStringLiteral("2026-12-08")}) << today << QStringList();
    QTest::newRow("copies dated after the verified one (clock set wrong) stay and take no place of the fourteen")
        << named({QStringLiteral("2027-05-01"), QStringLiteral("2020-01-01")}) + everyDay(today.addDays(-13), today)
        << today << named({QStringLiteral("2020-01-01")});
    QTest::newRow("other files in the folder are never chosen")
        << QStringList{QStringLiteral("notes.txt"),
                       QStringLiteral("data-2020-02-30.mdb"),
                       QStringLiteral("data-2020-01-01.mdb.partial-1234"),
                       QStringLiteral("data-2020-1-1.mdb"),
                       QStringLiteral("my-data-2020-01-01.mdb"),
                       QStringLiteral("data-2026-12-09.mdb")}
        << today << QStringList();
    QTest::newRow("no valid date: nothing goes") << named({QStringLiteral("2020-01-01")}) << QDate() << QStringList();
}

void BackupRotationTest::removes() {
    QFETCH(QStringList, names);
    QFETCH(QDate, verified);
    QFETCH(QStringList, removed);
    QStringList actual = store::backupsToRemove(names, verified);
    actual.sort();
    removed.sort();
    QCOMPARE(actual, removed);
}

void BackupRotationTest::aYearOfDailyCopiesKeepsFourteenAndOnePerMonth() {
    // Rotating every day for two years, as the program does, leaves exactly the copies the rule names.
    QStringList folder;
    const QDate first(2025, 1, 1);
    const QDate last(2026, 12, 9);
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        folder << store::backupFileName(day);
        for (const QString& name : store::backupsToRemove(folder, day))
            folder.removeOne(name);
    }
    QStringList expected = everyDay(last.addDays(-13), last);
    // November's newest, the 30th, is among the fourteen; December 2025 is thirteen months back.
    for (int month = 1; month <= 10; ++month)
        expected << store::backupFileName(QDate(2026, month, QDate(2026, month, 1).daysInMonth()));
    folder.sort();
    expected.sort();
    QCOMPARE(folder, expected);
}

void BackupRotationTest::backupNamesReadBack_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("date");
    QTest::newRow("a daily copy") << QStringLiteral("data-2026-12-09.mdb") << QDate(2026, 12, 9);
    QTest::newRow("a leap day") << QStringLiteral("data-2024-02-29.mdb") << QDate(2024, 2, 29);
    QTest::newRow("no such day") << QStringLiteral("data-2025-02-29.mdb") << QDate();
    QTest::newRow("a set-aside book") << QStringLiteral("data-replaced-2026-12-09T1530.mdb") << QDate();
    QTest::newRow("a passing copy") << QStringLiteral(".data-2026-12-09.mdb.partial-0000abcd") << QDate();
    QTest::newRow("a sign in the year") << QStringLiteral("data-+026-12-09.mdb") << QDate();
    QTest::newRow("a letter in the month") << QStringLiteral("data-2026-1x-09.mdb") << QDate();
    QTest::newRow("a one-digit day") << QStringLiteral("data-2026-12-9.mdb") << QDate();
    QTest::newRow("another case") << QStringLiteral("DATA-2026-12-09.mdb") << QDate();
    QTest::newRow("more after the extension") << QStringLiteral("data-2026-12-09.mdbx") << QDate();
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("data-٢٠٢٦-12-09.mdb") << QDate();
}

void BackupRotationTest::backupNamesReadBack() {
    QFETCH(QString, name);
    QFETCH(QDate, date);
    QCOMPARE(store::dateOfBackupName(name).value_or(QDate()), date);
    if (date.isValid())
        QCOMPARE(store::backupFileName(date), name);
}

QTEST_GUILESS_MAIN(BackupRotationTest)
#include "BackupRotationTest.moc"
