// The write path's guarantees below the query: a transaction that is not committed leaves the file as it was,
// whatever way its scope is left, and engine errors keep the library's extended code.
#include "platform/Files.h"
#include "store/cipher/Transaction.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/ReadTogether.h"
#include "store/cipher/DatabasePool.h"
#include "store/cipher/PooledDatabase.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/EngineError.h"
#include "tests/store/StoreTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sqlcipher/sqlite3.h>

#include <stdexcept>

class TransactionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_text;

    QString storedDays() {
        return storetest::RawDatabase(m_dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"))
            .text(QStringLiteral("SELECT group_concat(HMEROMHNIA) FROM RANTEBOU"));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        storetest::makeDataFile(m_dir.path());
        m_text = storetest::connectionTextFor(m_dir.path());
    }

    void cleanup() {
        storetest::RawDatabase(m_dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"))
            .execute(QStringLiteral("DELETE FROM RANTEBOU"));
    }

    void endsAsItsScopeSays_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("stored");
        QTest::newRow("committed") << "commit"
                                   << "2010-03-05";
        QTest::newRow("left without commit") << "leave" << QString();
        QTest::newRow("left by an exception") << "throw" << QString();
    }
    void endsAsItsScopeSays() {
        QFETCH(QString, way);
        QFETCH(QString, stored);
        auto database = store::DatabasePool::instance().acquire(m_dir.filePath(QStringLiteral("data.mdb")),
                                                                QStringLiteral("Kw73Tp"), 1);
        store::SqliteDatabase& handle = database->handle();
        const store::FailureContext context = database->context(QStringLiteral("testing"));
        try {
            store::Transaction transaction(handle, context);
            handle.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-05')"), context);
            QVERIFY(handle.inTransaction());
            if (way == QLatin1String("throw"))
                throw std::runtime_error("a step after the write failed");
            if (way == QLatin1String("commit"))
                transaction.commit();
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!handle.inTransaction());
        QCOMPARE(storedDays(), stored);
    }

    // A month's reads held together leave no lock behind, however they end: another program can write at once.
    void readsTogetherLeaveTheFileFree_data() {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("ended before the connection closes") << false;
        QTest::newRow("connection closed while they were held") << true;
    }
    void readsTogetherLeaveTheFileFree() {
        QFETCH(bool, closeFirst);
        store::Connection connection;
        connection.reopen(m_text);
        {
            store::ReadTogether together(connection);
            store::Query query(connection);
            for (const char* key : {"#3/5/2010#", "#3/6/2010#"})
                store::openQuery(query, store::selectDayStatement(QLatin1String(key)));
            storetest::RawDatabase other(m_dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
            QCOMPARE(other.execute(QStringLiteral("PRAGMA busy_timeout = 0")), 0);
            // While the reads are held, a writer cannot finish: the reads see one state of the file.
            QCOMPARE(other.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-07')")) & 0xff,
                     SQLITE_BUSY);
            if (closeFirst)
                connection.close();
        }
        connection.close();
        storetest::RawDatabase other(m_dir.filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
        QCOMPARE(other.execute(QStringLiteral("PRAGMA busy_timeout = 0")), 0);
        QCOMPARE(other.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-08')")), 0);
    }

    // A book opened ahead on another thread changes nothing the user can see: the same error at the same
    // moment for a file that cannot be opened, and the file as it is now when it was replaced meanwhile.
    void openedAheadChangesNothing_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing"
                                 << "does not exist";
        QTest::newRow("other password") << "password"
                                        << "password does not match";
        QTest::newRow("replaced after") << "replaced" << QString();
    }
    void openedAheadChangesNothing() {
        QFETCH(QString, what);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.mdb"));
        if (what != QLatin1String("missing"))
            storetest::makeDataFile(dir.path(), what == QLatin1String("password") ? QStringLiteral("other")
                                                                                  : QStringLiteral("Kw73Tp"));
        store::DatabasePool::instance().prepareInBackground(file, QStringLiteral("Kw73Tp"));
        if (what == QLatin1String("replaced")) {
            QTemporaryDir elsewhere;
            const QString other = storetest::makeDataFile(elsewhere.path());
            storetest::RawDatabase(other, QStringLiteral("Kw73Tp"))
                .execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2011-01-01')"));
            QThread::msleep(300); // let the handle be opened on the old file first
            if (platform::openFilesStayPut()) {
                QVERIFY(!QFile::remove(file));
                QSKIP("this system does not let an open book be replaced");
            }
            QVERIFY(QFile::remove(file));
            QVERIFY(QFile::copy(other, file));
        }
        store::Connection connection;
        try {
            connection.reopen(storetest::connectionTextFor(dir.path()));
            QVERIFY2(message.isEmpty(), "the file opened");
            store::Query query(connection);
            store::openQuery(query, store::selectDayStatement(QStringLiteral("#1/1/2011#")));
            QVERIFY(!query.isEmpty()); // the replacing book's record, not the old file's empty table
        } catch (const store::EngineError& error) {
            QVERIFY2(!message.isEmpty() && error.text().contains(message), qPrintable(error.text()));
        }
        connection.close();
        store::DatabasePool::instance().releaseIdle();
    }

    // A second record for a day is refused with the primary key named in the extended code, and a message.
    void duplicateDayKeepsTheExtendedCode() {
        store::Connection connection;
        connection.reopen(m_text);
        store::Command insert(connection);
        insert.setCommandText(store::insertDayStatement(QStringLiteral("#3/5/2010#")));
        insert.execute();
        try {
            insert.execute();
            QFAIL("a second record for the same day was accepted");
        } catch (const store::EngineError& error) {
            QCOMPARE(error.kind(), store::EngineError::DuplicateKey);
            QCOMPARE(error.nativeCode(), QStringLiteral("SQLite %1").arg(SQLITE_CONSTRAINT_PRIMARYKEY));
            QVERIFY2(error.text().contains(QStringLiteral("already exists")), qPrintable(error.text()));
        }
    }
};

QTEST_MAIN(TransactionTest)
#include "TransactionTest.moc"
