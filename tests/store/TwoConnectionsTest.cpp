// Two connections to one file at once, as the day window and its report have, and as two programs have.

#include "tests/store/StoreTestSupport.h"

#include "platform/Files.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using storetest::RawDatabase;

class TwoConnectionsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void secondConnectionWhileQueryOpen();
    void conflictingPostRefused();
    void differentSlotsMerge();
    void removedRecordRefused();
    void replacedFileRefused();

private:
    std::unique_ptr<store::Query> openedDay(store::Connection& connection);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    store::Connection m_first;
    store::Connection m_second;
};

void TwoConnectionsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = storetest::makeDataFile(m_dir->path());
    for (store::Connection* connection : {&m_first, &m_second}) {
        connection->close();
        connection->setConnectionText(storetest::connectionTextFor(m_dir->path()));
        connection->setCommandTimeout(1);
        connection->open();
    }
    store::Command insert(m_first);
    insert.setCommandText(store::insertDayStatement(QStringLiteral("#3/5/2010#")));
    insert.execute();
}

std::unique_ptr<store::Query> TwoConnectionsTest::openedDay(store::Connection& connection) {
    auto query = std::make_unique<store::Query>(connection);
    query->addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    query->open();
    return query;
}

void TwoConnectionsTest::secondConnectionWhileQueryOpen() {
    auto day = openedDay(m_first);
    day->setValue(QStringLiteral("0800-0830"), QStringLiteral("typed, not posted"));
    {
        // The report's connection opens, reads the record as last posted, and closes.
        store::Connection report;
        report.setConnectionText(storetest::connectionTextFor(m_dir->path()));
        report.open();
        auto printed = openedDay(report);
        QVERIFY(printed->value(1).isNull());
        report.close();
    }
    m_second.close();
    QCOMPARE(day->value(1).toString(), QStringLiteral("typed, not posted"));
    day->post();
    QCOMPARE(RawDatabase(m_file, QStringLiteral("Kw73Tp")).text(QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU")),
             QStringLiteral("typed, not posted"));
}

// Another connection of this program changing the slot first is a case of the both-engines suite; here the
// change comes from another program's own handle on the file.
void TwoConnectionsTest::conflictingPostRefused() {
    auto mine = openedDay(m_first);
    {
        RawDatabase other(m_file, QStringLiteral("Kw73Tp"));
        QCOMPARE(other.execute(QStringLiteral("UPDATE RANTEBOU SET \"0900-0930\" = 'theirs'")), 0);
    }
    mine->setValue(QStringLiteral("0900-0930"), QStringLiteral("mine"));
    mine->setValue(QStringLiteral("1400-1430"), QStringLiteral("also mine"));
    try {
        mine->post();
        QFAIL("a post overwrote another's change");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Conflict);
        QVERIFY2(error.text().contains(QLatin1String("another desk or program changed \"09:00 - 09:30\"")), error.what());
        QVERIFY2(error.text().contains(QLatin1String("Nothing was saved")), error.what());
    }
    QCOMPARE(mine->state(), store::Query::State::Edit);
    QCOMPARE(mine->value(QStringLiteral("0900-0930")).toString(), QStringLiteral("mine"));
    RawDatabase raw(m_file, QStringLiteral("Kw73Tp"));
    QCOMPARE(raw.text(QStringLiteral("SELECT \"0900-0930\" FROM RANTEBOU")), QStringLiteral("theirs"));
    QVERIFY(raw.text(QStringLiteral("SELECT \"1400-1430\" FROM RANTEBOU")).isNull());
}

void TwoConnectionsTest::differentSlotsMerge() {
    auto mine = openedDay(m_first);
    auto theirs = openedDay(m_second);
    mine->setValue(QStringLiteral("0800-0830"), QStringLiteral("mine"));
    theirs->setValue(QStringLiteral("2130-2200"), QStringLiteral("theirs"));
    theirs->post();
    mine->post();
    QCOMPARE(mine->state(), store::Query::State::Browse);
    // The buffer holds the file as it now is, the other's slot included.
    QCOMPARE(mine->value(QStringLiteral("2130-2200")).toString(), QStringLiteral("theirs"));
    RawDatabase raw(m_file, QStringLiteral("Kw73Tp"));
    QCOMPARE(raw.text(QStringLiteral("SELECT \"0800-0830\" || '+' || \"2130-2200\" FROM RANTEBOU")),
             QStringLiteral("mine+theirs"));

    // The other side keeps its own view until it posts again, and then loses nothing either.
    theirs->setValue(QStringLiteral("1200-1230"), QStringLiteral("lunch"));
    theirs->post();
    QCOMPARE(raw.text(QStringLiteral("SELECT \"0800-0830\" || '+' || \"1200-1230\" FROM RANTEBOU")),
             QStringLiteral("mine+lunch"));
}

void TwoConnectionsTest::removedRecordRefused() {
    auto mine = openedDay(m_first);
    RawDatabase(m_file, QStringLiteral("Kw73Tp")).execute(QStringLiteral("DELETE FROM RANTEBOU"));
    mine->setValue(QStringLiteral("0800-0830"), QStringLiteral("mine"));
    try {
        mine->post();
        QFAIL("a post wrote to a removed record");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Conflict);
        QVERIFY2(error.text().contains(QLatin1String("removed this day's record")), error.what());
    }
    QCOMPARE(mine->state(), store::Query::State::Edit);
}

void TwoConnectionsTest::replacedFileRefused() {
    // Another program puts a new data file in place while the day is open: the post must not go to the old,
    // unlinked file where nobody would ever read it.
    auto mine = openedDay(m_first);
    if (platform::openFilesStayPut()) {
        QVERIFY(!QFile::rename(m_file, m_file + QStringLiteral(".old")));
        QSKIP("this system does not let an open book be replaced");
    }
    QVERIFY(QFile::rename(m_file, m_file + QStringLiteral(".old")));
    storetest::makeDataFile(m_dir->path());
    const storetest::FileSnapshot before = storetest::snapshot(m_file);
    mine->setValue(QStringLiteral("0800-0830"), QStringLiteral("mine"));
    try {
        mine->post();
        QFAIL("a post went to a replaced file");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Conflict);
        QVERIFY2(error.text().contains(QLatin1String("removed or replaced by another program")), error.what());
    }
    QCOMPARE(mine->state(), store::Query::State::Edit);
    QVERIFY(storetest::snapshot(m_file) == before);
    RawDatabase old(m_file + QStringLiteral(".old"), QStringLiteral("Kw73Tp"));
    QVERIFY(old.text(QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU")).isNull());
}

QTEST_GUILESS_MAIN(TwoConnectionsTest)
#include "TwoConnectionsTest.moc"
