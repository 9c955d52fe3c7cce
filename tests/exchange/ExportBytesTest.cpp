// The exports of a book of 10,000 days, byte for byte. The files made from the values as the engine stores them
// equal those made from the slots read as Qt strings through the query, and those the writers made before they
// wrote straight from the stored bytes (their SHA-256, taken from that version on this same book).

#include "tests/exchange/ExportBook.h"

#include "exchange/CsvWriter.h"
#include "exchange/ICalendarWriter.h"
#include "store/Connection.h"
#include "store/FilledSlots.h"
#include "store/engine/ConnectionText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

class ExportBytesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sameFiles_data();
    void sameFiles();
    void keepsOnlyTheDaysAsked();

private:
    QByteArray exported(bool calendar, const store::FilledSlotTexts& filled) const;

    QTemporaryDir m_folder;
    store::FilledSlotTexts m_stored;
    std::vector<store::FilledSlot> m_read;
};

void ExportBytesTest::initTestCase() {
    QVERIFY(m_folder.isValid());
    const QString password = QLatin1String(store::FixedDatabasePassword);
    exportbook::write(QDir(m_folder.path()).filePath(QLatin1String(store::DatabaseFileName)), password);
    store::Connection connection;
    connection.reopen(store::buildConnectionText(m_folder.path(), password));
    m_stored = store::readFilledSlotTexts(connection);
    m_read = store::readFilledSlots(connection);
    connection.close();
    QCOMPARE(m_read.size(), std::size_t(83554));
}

QByteArray ExportBytesTest::exported(bool calendar, const store::FilledSlotTexts& filled) const {
    const exchange::CalendarOptions options{QTimeZone("Europe/Athens"),
                                            QDateTime(QDate(2026, 12, 10), QTime(9, 30), QTimeZone::utc())};
    return calendar ? exchange::calendarText(filled, options) : exchange::csvTable(filled);
}

void ExportBytesTest::sameFiles_data() {
    QTest::addColumn<bool>("calendar");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("csv") << false << QByteArray("aaba1bd8a48c14e380f2a5c3e2fee66a0735e8712b1ddbdf6cda4bf90b6358a9");
    QTest::newRow("ics") << true << QByteArray("d4e51d118af7831fcc8de016f8361d53977f67d82ba24b1ec4a7551dea6e23b0");
}

void ExportBytesTest::sameFiles() {
    QFETCH(bool, calendar);
    QFETCH(QByteArray, before);
    const QByteArray fromStored = exported(calendar, m_stored);
    const QByteArray fromStrings = exported(calendar, store::FilledSlotTexts::of(m_read));
    QCOMPARE(fromStored.size(), fromStrings.size());
    QVERIFY(fromStored == fromStrings);
    QCOMPARE(QCryptographicHash::hash(fromStored, QCryptographicHash::Sha256).toHex(), before);
}

void ExportBytesTest::keepsOnlyTheDaysAsked() {
    const QDate first(2012, 2, 28);
    const QDate last(2012, 3, 1);
    store::Connection connection;
    connection.reopen(store::buildConnectionText(m_folder.path(), QLatin1String(store::FixedDatabasePassword)));
    const store::FilledSlotTexts range = store::readFilledSlotTexts(connection, first, last);
    connection.close();
    std::vector<store::FilledSlot> expected;
    std::copy_if(m_read.begin(), m_read.end(), std::back_inserter(expected),
                 [&](const store::FilledSlot& slot) { return slot.date >= first && slot.date <= last; });
    QVERIFY(!expected.empty());
    QCOMPARE(exported(false, range), exported(false, store::FilledSlotTexts::of(expected)));
}

QTEST_GUILESS_MAIN(ExportBytesTest)
#include "ExportBytesTest.moc"
