// A full disk under the data file: a save that cannot complete fails with a message that says so, the file
// stays sound with the day as it was, the user's text stays in the day, and once space is freed the same
// save goes through. The disk is a small tmpfs, filled to the last few kilobytes at every step of a sweep,
// so that the save runs out of space at different points: writing its journal, growing the file, ...

#include "tests/faults/DataFileState.h"
#include "tests/faults/SmallDisk.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/cipher/DatabasePool.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Day = QStringLiteral("5/3/2010");
const QString NewDay = QStringLiteral("6/3/2010");
const QString FirstSlot = QStringLiteral("0800-0830");
constexpr qint64 DiskSize = 1024 * 1024;
constexpr qint64 Step = 4096; // the memory disk hands out space in pages of this size

QString keyOf(const QString& day) {
    QString key = day;
    store::MakeDayKey(key);
    return key;
}

qint64 recordCount(const QString& file) {
    return storetest::RawDatabase(file, QStringLiteral("Kw73Tp"))
        .text(QStringLiteral("SELECT count(*) FROM RANTEBOU"))
        .toLongLong();
}

} // namespace

class FullDiskTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void operationOnFullDisk_data();
    void operationOnFullDisk();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SmallDisk> m_disk;
};

void FullDiskTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_disk = std::make_unique<SmallDisk>(QDir(m_dir->path()).filePath(QStringLiteral("disk")), DiskSize);
    if (!m_disk->mounted())
        QSKIP(qPrintable(QStringLiteral("no small disk to fill: %1 (this test needs root outside a container "
                                        "that forbids mounting)")
                             .arg(m_disk->failure())));
}

void FullDiskTest::cleanup() {
    // Nothing of the store may keep a file open on the disk when it goes.
    store::DatabasePool::instance().releaseIdle();
    m_disk.reset();
    m_dir.reset();
}

void FullDiskTest::operationOnFullDisk_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("slotCount");
    QTest::addColumn<int>("textLength");
    QTest::newRow("saving one short slot") << "post" << 1 << 12;
    QTest::newRow("saving a whole day of long Greek text") << "post" << 28 << store::SlotTextSize;
    QTest::newRow("making a new day's record") << "insert" << 0 << 0;
}

void FullDiskTest::operationOnFullDisk() {
    QFETCH(QString, operation);
    QFETCH(int, slotCount);
    QFETCH(int, textLength);
    const QString diskFolder = QDir(m_dir->path()).filePath(QStringLiteral("disk"));
    const QString folder = QDir(diskFolder).filePath(QStringLiteral("data"));
    const QString filler = QDir(diskFolder).filePath(QStringLiteral("filler"));
    int refused = 0;
    bool succeeded = false;
    for (qint64 free = 0; free <= 64 * Step && !succeeded; free += Step) {
        // A fresh data folder holding one saved slot, and the day open as in the day window.
        QDir(folder).removeRecursively();
        QFile::remove(filler);
        QVERIFY(QDir().mkpath(folder));
        const QString file = storetest::makeDataFile(folder);
        store::Connection connection;
        connection.setConnectionText(storetest::connectionTextFor(folder));
        connection.open();
        store::Command insert(connection);
        insert.setCommandText(store::insertDayStatement(keyOf(Day)));
        insert.execute();
        store::Query day(connection);
        day.addStatement(store::selectDayStatement(keyOf(Day)));
        day.open();
        day.setValue(FirstSlot, QStringLiteral("Πριν"));
        day.post();
        const SlotValues before = faults::storedSlots(file);
        SlotValues after = before;
        for (int i = 0; i < slotCount; ++i) {
            const QString slot = store::slotColumnNames()[i];
            const QString text = QStringLiteral("%1 ω").arg(slot).leftJustified(textLength, QChar(0x3C9));
            day.setValue(slot, text);
            after[Day + QLatin1Char(' ') + slot] = text;
        }
        const qint64 recordsBefore = recordCount(file);

        QVERIFY(m_disk->fill(filler) > 0);
        m_disk->leaveFree(filler, free);
        auto run = [&] {
            if (operation == QLatin1String("insert")) {
                store::Command make(connection);
                make.setCommandText(store::insertDayStatement(keyOf(NewDay)));
                make.execute();
            } else {
                day.post();
            }
        };
        QString failure;
        try {
            run();
        } catch (const store::EngineError& error) {
            failure = error.text();
        }
        const QString step = QStringLiteral(" (%1 bytes left free)").arg(free);
        QCOMPARE(faults::integrityCheck(file), QStringLiteral("ok"));
        if (failure.isEmpty()) {
            succeeded = true;
        } else {
            ++refused;
            QVERIFY2(failure.contains(QLatin1String("is full")) && failure.contains(QLatin1String("Free some space")),
                     qPrintable(failure + step));
            QVERIFY2(failure.contains(file), qPrintable(failure));
            const SlotValues stored = faults::storedSlots(file);
            QVERIFY2(stored == before, qPrintable(faults::describeDifference(before, stored) + step));
            QCOMPARE(recordCount(file), recordsBefore);
            if (operation == QLatin1String("post")) {
                QCOMPARE(day.state(), store::Query::State::Edit);
                QCOMPARE(day.value(store::slotColumnNames()[slotCount - 1]),
                         QVariant(after.value(Day + QLatin1Char(' ') + store::slotColumnNames()[slotCount - 1])));
            }
            if (free == 0) {
                // Reading needs no space: another window still opens the day.
                store::Query reader(connection);
                reader.addStatement(store::selectDayStatement(keyOf(Day)));
                reader.open();
                QCOMPARE(reader.value(FirstSlot).toString(), QStringLiteral("Πριν"));
            }
            // Space freed, the same save goes through.
            QVERIFY(QFile::remove(filler));
            run();
            QCOMPARE(faults::integrityCheck(file), QStringLiteral("ok"));
        }
        const SlotValues stored = faults::storedSlots(file);
        QVERIFY2(stored == after, qPrintable(faults::describeDifference(after, stored) + step));
        QCOMPARE(recordCount(file), recordsBefore + (operation == QLatin1String("insert") ? 1 : 0));
        if (operation == QLatin1String("post"))
            QCOMPARE(day.state(), store::Query::State::Browse);
        day.close();
        connection.close();
        store::DatabasePool::instance().releaseIdle();
    }
    qInfo("%d fillings refused the operation before it went through", refused);
    QVERIFY2(refused > 0, "the operation went through on a full disk");
    QVERIFY2(succeeded, "the operation never went through, however much space was left");
}

QTEST_GUILESS_MAIN(FullDiskTest)
#include "FullDiskTest.moc"
