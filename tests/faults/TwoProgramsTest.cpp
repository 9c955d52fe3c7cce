// Two programs on one data file: a save that would overwrite the other program's change is refused with
// the user's text kept, saves of different slots both land, a lock held by the other program costs a
// bounded wait and a clear error, never a hang, and nothing any program saved is lost.

#include "tests/faults/DataFileState.h"
#include "tests/faults/PostReport.h"
#include "tests/faults/PosterProcess.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/ConflictMessage.h"
#include "store/cipher/DatabasePool.h"
#include "store/cipher/PooledDatabase.h"
#include "store/engine/EngineError.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Day = QStringLiteral("5/3/2010");
const QString Slot = QStringLiteral("0900-0930");
const QString OtherSlot = QStringLiteral("1400-1430");

QString keyOf(const QString& day) {
    QString key = day;
    store::MakeDayKey(key);
    return key;
}

} // namespace

class TwoProgramsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void conflictingPostRefused_data();
    void conflictingPostRefused();
    void differentSlotsMerge_data();
    void differentSlotsMerge();
    void lockedByOtherProgram_data();
    void lockedByOtherProgram();
    void nothingLostBetweenTwoPosters_data();
    void nothingLostBetweenTwoPosters();

private:
    std::unique_ptr<store::Query> openDay(const QString& day);
    void post(const QString& slot, const QString& value);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    store::Connection m_connection;
};

void TwoProgramsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = storetest::makeDataFile(m_dir->path());
    m_connection.close();
    m_connection.setConnectionText(storetest::connectionTextFor(m_dir->path()));
    m_connection.open();
    for (const QString& day : {Day, QStringLiteral("6/3/2010")}) {
        store::Command insert(m_connection);
        insert.setCommandText(store::insertDayStatement(keyOf(day)));
        insert.execute();
    }
}

void TwoProgramsTest::cleanup() {
    m_connection.close();
    store::DatabasePool::instance().releaseIdle();
}

std::unique_ptr<store::Query> TwoProgramsTest::openDay(const QString& day) {
    auto query = std::make_unique<store::Query>(m_connection);
    query->addStatement(store::selectDayStatement(keyOf(day)));
    query->open();
    return query;
}

void TwoProgramsTest::post(const QString& slot, const QString& value) {
    auto query = openDay(Day);
    query->setValue(slot, value);
    query->post();
}

void TwoProgramsTest::conflictingPostRefused_data() {
    QTest::addColumn<bool>("otherFirst");
    QTest::addColumn<QString>("before");
    QTest::newRow("the other program saves first, slot was free") << true << QString();
    QTest::newRow("this program saves first, slot was free") << false << QString();
    QTest::newRow("the other program saves first, slot held text") << true << QStringLiteral("Παλιό ραντεβού");
    QTest::newRow("this program saves first, slot held text") << false << QStringLiteral("Παλιό ραντεβού");
}

void TwoProgramsTest::conflictingPostRefused() {
    QFETCH(bool, otherFirst);
    QFETCH(QString, before);
    if (!before.isEmpty())
        post(Slot, before);

    PosterProcess other({QStringLiteral("serve"), m_dir->path()});
    QVERIFY(other.started());
    QCOMPARE(other.request(QStringLiteral("open ") + Day), QStringLiteral("ok"));
    auto mine = openDay(Day);
    // Both read the same slot, then both change it.
    QCOMPARE(other.request(QStringLiteral("set %1 theirs").arg(Slot)), QStringLiteral("ok"));
    mine->setValue(Slot, QStringLiteral("Δικό μου"));

    if (otherFirst) {
        QCOMPARE(other.request(QStringLiteral("post")), QStringLiteral("ok"));
        try {
            mine->post();
            QFAIL("the post overwrote the other program's change");
        } catch (const store::EngineError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("another desk or program changed \"%1\"").arg(store::slotCaption(Slot))), error.what());
            QVERIFY2(error.text().contains(QLatin1String("Your text is still shown")), error.what());
        }
        QCOMPARE(mine->state(), store::Query::State::Edit);
        QCOMPARE(mine->value(Slot).toString(), QStringLiteral("Δικό μου"));
        QCOMPARE(faults::storedSlots(m_file).value(Day + QLatin1Char(' ') + Slot), QStringLiteral("theirs"));
        // Opening the day again shows the other program's text, to be edited from there.
        mine->close();
        mine->open();
        QCOMPARE(mine->value(Slot).toString(), QStringLiteral("theirs"));
    } else {
        mine->post();
        const QString refused = other.request(QStringLiteral("post"));
        QVERIFY2(refused.startsWith(QStringLiteral("error %1 ").arg(store::EngineError::Conflict)),
                 qPrintable(refused));
        QVERIFY2(refused.contains(QStringLiteral("another desk or program changed \"%1\"").arg(store::slotCaption(Slot))), qPrintable(refused));
        QCOMPARE(other.request(QStringLiteral("state")), QStringLiteral("state Edit"));
        QCOMPARE(other.request(QStringLiteral("value ") + Slot), QStringLiteral("value theirs"));
        QCOMPARE(faults::storedSlots(m_file).value(Day + QLatin1Char(' ') + Slot), QStringLiteral("Δικό μου"));
        QCOMPARE(other.request(QStringLiteral("open ") + Day), QStringLiteral("ok"));
        QCOMPARE(other.request(QStringLiteral("value ") + Slot), QStringLiteral("value Δικό μου"));
    }
    QCOMPARE(other.request(QStringLiteral("quit")), QStringLiteral("ok"));
    QCOMPARE(faults::integrityCheck(m_file), QStringLiteral("ok"));
}

void TwoProgramsTest::differentSlotsMerge_data() {
    QTest::addColumn<bool>("otherFirst");
    QTest::newRow("the other program saves first") << true;
    QTest::newRow("this program saves first") << false;
}

void TwoProgramsTest::differentSlotsMerge() {
    QFETCH(bool, otherFirst);
    PosterProcess other({QStringLiteral("serve"), m_dir->path()});
    QVERIFY(other.started());
    QCOMPARE(other.request(QStringLiteral("open ") + Day), QStringLiteral("ok"));
    auto mine = openDay(Day);
    QCOMPARE(other.request(QStringLiteral("set %1 theirs").arg(OtherSlot)), QStringLiteral("ok"));
    mine->setValue(Slot, QStringLiteral("Δικό μου"));

    if (otherFirst) {
        QCOMPARE(other.request(QStringLiteral("post")), QStringLiteral("ok"));
        mine->post();
        // The record read back after the save shows the other program's slot too.
        QCOMPARE(mine->value(OtherSlot).toString(), QStringLiteral("theirs"));
    } else {
        mine->post();
        QCOMPARE(other.request(QStringLiteral("post")), QStringLiteral("ok"));
        QCOMPARE(other.request(QStringLiteral("value ") + Slot), QStringLiteral("value Δικό μου"));
    }
    QCOMPARE(mine->state(), store::Query::State::Browse);
    const SlotValues expected{{Day + QLatin1Char(' ') + Slot, QStringLiteral("Δικό μου")},
                              {Day + QLatin1Char(' ') + OtherSlot, QStringLiteral("theirs")}};
    const SlotValues stored = faults::storedSlots(m_file);
    QVERIFY2(stored == expected, qPrintable(faults::describeDifference(expected, stored)));
}

void TwoProgramsTest::lockedByOtherProgram_data() {
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("refused");
    // A save in progress elsewhere (a write lock) leaves reading free; only an exclusive lock stops readers.
    QTest::newRow("write lock: reading the day goes on") << "immediate"
                                                         << "read" << false;
    QTest::newRow("write lock: saving waits, then fails") << "immediate"
                                                          << "post" << true;
    QTest::newRow("exclusive lock: opening waits, then fails") << "exclusive"
                                                               << "open" << true;
    QTest::newRow("exclusive lock: reading waits, then fails") << "exclusive"
                                                               << "read" << true;
    QTest::newRow("exclusive lock: saving waits, then fails") << "exclusive"
                                                              << "post" << true;
}

void TwoProgramsTest::lockedByOtherProgram() {
    QFETCH(QString, lock);
    QFETCH(QString, operation);
    QFETCH(bool, refused);
    // The day is open with a text typed, as in the day window, before the other program takes the lock.
    auto day = openDay(Day);
    day->setValue(Slot, QStringLiteral("Δικό μου"));
    if (operation == QLatin1String("open")) {
        m_connection.close();
        store::DatabasePool::instance().releaseIdle();
    }
    // Runs the operation; reading gives the slot another program is changing, which must read as it was.
    auto run = [&]() -> QVariant {
        if (operation == QLatin1String("open")) {
            m_connection.setCommandTimeout(0);
            m_connection.setConnectionTimeout(0);
            m_connection.open();
        } else if (operation == QLatin1String("read")) {
            return openDay(QStringLiteral("6/3/2010"))->value(QStringLiteral("2130-2200"));
        } else {
            day->post();
        }
        return QVariant();
    };

    // The other program keeps its lock for 6 s: an engine that waited for it instead of giving up
    // would succeed after 6 s rather than fail.
    PosterProcess holder({QStringLiteral("hold"), m_dir->path(), lock, QStringLiteral("6000")});
    QVERIFY(holder.started());
    QCOMPARE(holder.nextLine(20000), QStringLiteral("locked"));
    QElapsedTimer waited;
    waited.start();
    QString failure;
    QVariant read;
    try {
        read = run();
    } catch (const store::EngineError& error) {
        failure = error.text();
    }
    const qint64 elapsed = waited.elapsed();
    // Still locked when this program gave up or went on: it did not hang behind the lock.
    QVERIFY2(holder.nextLine(100).isNull(), "the other program's lock was gone before the operation ended");
    if (!refused) {
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY2(read.isNull(), "another program's unfinished save was read");
        QVERIFY2(elapsed < store::PooledDatabase::DefaultWaitSeconds * 1000,
                 qPrintable(QStringLiteral("reading sat out the lock for %1 ms").arg(elapsed)));
        return;
    }
    QVERIFY2(!failure.isEmpty(), "no error while the other program held the lock");
    QVERIFY2(failure.contains(QLatin1String("in use by another program")), qPrintable(failure));
    QVERIFY2(failure.contains(m_file), qPrintable(failure));
    QVERIFY2(elapsed < 5500, qPrintable(QStringLiteral("gave up only after %1 ms").arg(elapsed)));
    QCOMPARE(day->state(), store::Query::State::Edit);
    QCOMPARE(day->value(Slot).toString(), QStringLiteral("Δικό μου"));

    // The other program dies in the middle of its save; the next try works, and its half-made change is gone.
    holder.kill();
    QVERIFY(run().isNull());
    if (operation != QLatin1String("post"))
        day->post();
    const SlotValues expected{{Day + QLatin1Char(' ') + Slot, QStringLiteral("Δικό μου")}};
    const SlotValues stored = faults::storedSlots(m_file);
    QVERIFY2(stored == expected, qPrintable(faults::describeDifference(expected, stored)));
    QCOMPARE(faults::integrityCheck(m_file), QStringLiteral("ok"));
}

void TwoProgramsTest::nothingLostBetweenTwoPosters_data() {
    QTest::addColumn<QStringList>("firstArguments");
    QTest::addColumn<QStringList>("secondArguments");
    QTest::addColumn<bool>("contested");
    const QStringList common{QStringLiteral("--day"), QStringLiteral("7/3/2010"), QStringLiteral("--posts")};
    QTest::newRow("each its own slots") << (common +
                                            QStringList{QStringLiteral("40"), QStringLiteral("--slots"),
                                                        QStringLiteral("0800-0830,0830-0900,0900-0930,0930-1000")})
                                        << (common +
                                            QStringList{QStringLiteral("40"), QStringLiteral("--slots"),
                                                        QStringLiteral("1000-1030,1030-1100,1100-1130,1130-1200")})
                                        << false;
    const QStringList oneSlot{QStringLiteral("30"),       QStringLiteral("--slots"), QStringLiteral("1200-1230"),
                              QStringLiteral("--reopen"), QStringLiteral("--pause"), QStringLiteral("10")};
    QTest::newRow("one slot both want") << (common + oneSlot) << (common + oneSlot) << true;
}

void TwoProgramsTest::nothingLostBetweenTwoPosters() {
    QFETCH(QStringList, firstArguments);
    QFETCH(QStringList, secondArguments);
    QFETCH(bool, contested);
    PosterProcess first(QStringList{QStringLiteral("loop"), m_dir->path(), QStringLiteral("a")} + firstArguments);
    PosterProcess second(QStringList{QStringLiteral("loop"), m_dir->path(), QStringLiteral("b")} + secondArguments);
    QVERIFY(first.started() && second.started());
    QVERIFY2(first.waitForEnd(60000) && second.waitForEnd(60000), "the posters did not finish");

    // Every save that returned, per slot in the order they returned in each program.
    QList<PostReport> saved;
    int refusals = 0;
    for (PosterProcess* poster : {&first, &second}) {
        QVERIFY2(!poster->crashed() && poster->exitCode() == 0, qPrintable(poster->errorOutput()));
        const QStringList lines = poster->takeLines();
        QCOMPARE(lines.value(lines.size() - 1), QStringLiteral("done"));
        for (const QString& line : lines) {
            const PostReport report = PostReport::parse(line);
            if (report.kind == QLatin1String("posted"))
                saved << report;
            if (report.kind == QLatin1String("refused")) {
                ++refusals;
                // The only refusal two careful programs may meet: a slot changed by the other meanwhile.
                QVERIFY2(contested &&
                             report.message.startsWith(QStringLiteral("%1 ").arg(store::EngineError::Conflict)),
                         qPrintable(line));
            }
        }
    }
    const SlotValues stored = faults::storedSlots(m_file);
    QCOMPARE(faults::integrityCheck(m_file), QStringLiteral("ok"));

    // Per slot, the saves that returned form one chain: each replaced exactly the value the previous one
    // left, so none overwrote a save it had not seen; the chain ends at what the file holds.
    QMap<QString, QMap<QString, QString>> nextValue; // slot -> original -> value
    for (const PostReport& report : saved) {
        for (const PostReport::Edit& edit : report.edits) {
            const QString key = report.day + QLatin1Char(' ') + edit.slot;
            QVERIFY2(!nextValue[key].contains(edit.original),
                     qPrintable(QStringLiteral("two saves both replaced %1 in %2").arg(edit.original, key)));
            nextValue[key][edit.original] = edit.value;
        }
    }
    SlotValues expected;
    for (auto slot = nextValue.begin(); slot != nextValue.end(); ++slot) {
        QString value = QStringLiteral("-");
        int links = 0;
        while (slot->contains(value)) {
            value = slot->value(value);
            ++links;
        }
        QVERIFY2(links == slot->size(),
                 qPrintable(QStringLiteral("%1: saves outside the chain from the free slot").arg(slot.key())));
        expected[slot.key()] = value;
    }
    QVERIFY2(stored == expected, qPrintable(faults::describeDifference(expected, stored)));
    if (!contested)
        QCOMPARE(saved.size(), 80);
    qInfo("%lld saves returned, %d refused as conflicts", static_cast<long long>(saved.size()), refusals);
}

QTEST_GUILESS_MAIN(TwoProgramsTest)
#include "TwoProgramsTest.moc"
