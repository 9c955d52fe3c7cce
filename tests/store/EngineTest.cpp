// The engine objects on real encrypted files: what the windows rely on.

#include "tests/store/StoreTestSupport.h"

#include "platform/Files.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/DatabasePool.h"
#include "store/cipher/PooledDatabase.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sqlcipher/sqlite3.h>

using storetest::RawDatabase;

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void openCloseInOrder();
    void fieldsByPositionAndName();
    void declaredSizeIsHonoured();
    void declaredSizeOfEachType_data();
    void declaredSizeOfEachType();
    void positionOutsideTheRecordFails();
    void editsStayInBufferUntilPost();
    void fileIsEncrypted();
    void cipherGuardPassesOnRealBuild();
    void oddFoldersOpen_data();
    void oddFoldersOpen();
    void reopenNoticesReplacedFile();
    void reopenNoticesDeletedFile();
    void firstOpenCheckKeepsNoPages();

private:
    QString openDay(store::Connection& connection, const QString& dateText);

    // A connection of its own and a query open on one day's record, made ready as the windows do it.
    struct OpenedDay {
        OpenedDay(EngineTest& test, const QString& dateText) {
            connection.setConnectionText(test.m_text);
            connection.open();
            key = test.openDay(connection, dateText);
            query.addStatement(store::selectDayStatement(key));
            query.open();
        }
        store::Connection connection;
        store::Query query{connection};
        QString key;
    };

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    QString m_text;
};

void EngineTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = storetest::makeDataFile(m_dir->path());
    m_text = storetest::connectionTextFor(m_dir->path());
}

// The month window's step: make sure the record exists, ignoring the failure for an existing one.
QString EngineTest::openDay(store::Connection& connection, const QString& dateText) {
    QString key = dateText;
    store::MakeDayKey(key);
    store::ensureDayRecord(connection, key);
    return key;
}

void EngineTest::openCloseInOrder() {
    store::Connection connection;
    connection.close();
    QVERIFY(!connection.isOpen());
    connection.setConnectionText(m_text);
    connection.setCommandTimeout(0);
    connection.setConnectionTimeout(0);
    connection.open();
    QVERIFY(connection.isOpen());
    QCOMPARE(connection.databasePath(), m_file);
    connection.close();
    connection.close();
    QVERIFY(!connection.isOpen());

    // A query on a closed connection says so.
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    QVERIFY_THROWS_EXCEPTION(store::EngineError, query.open());
}

void EngineTest::fieldsByPositionAndName() {
    OpenedDay day(*this, QStringLiteral("31/12/2010"));
    store::Query& query = day.query;
    QVERIFY(!query.isEmpty());
    QCOMPARE(query.fieldCount(), 29);
    QCOMPARE(query.fieldName(0), QStringLiteral("HMEROMHNIA"));
    for (int p = 1; p <= 28; ++p) {
        QCOMPARE(query.fieldName(p), store::slotColumnNames()[p - 1]);
        QCOMPARE(query.fieldIndex(store::slotColumnNames()[p - 1]), p);
        QCOMPARE(query.fieldSize(store::slotColumnNames()[p - 1]), 255);
        QVERIFY(query.value(p).isNull());
    }
    QCOMPARE(query.value(0).typeId(), QMetaType::QDate);
    QCOMPARE(query.value(0).toDate(), QDate(2010, 12, 31));
    QCOMPARE(query.value(QStringLiteral("HMEROMHNIA")).toDate(), QDate(2010, 12, 31));
    QCOMPARE(query.fieldIndex(QStringLiteral("no such")), -1);
    QVERIFY_THROWS_EXCEPTION(store::EngineError, query.value(QStringLiteral("no such")));
}

void EngineTest::declaredSizeIsHonoured() {
    // A file made elsewhere with narrower slots: the size comes from the declared type.
    const QString folder = m_dir->filePath(QStringLiteral("narrow"));
    QVERIFY(QDir().mkpath(folder));
    {
        RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"), true);
        QString create = QStringLiteral("CREATE TABLE RANTEBOU (HMEROMHNIA DATE PRIMARY KEY");
        for (const QString& slot : store::slotColumnNames())
            create += QStringLiteral(", \"%1\" VARCHAR(40)").arg(slot);
        QCOMPARE(raw.execute(create + QLatin1Char(')')), 0);
        QCOMPARE(raw.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-05')")), 0);
    }
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(folder));
    connection.open();
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    query.open();
    QCOMPARE(query.fieldSize(QStringLiteral("0800-0830")), 40);
    query.setValue(QStringLiteral("0800-0830"), QString(40, QLatin1Char('x')));
    QVERIFY_THROWS_EXCEPTION(store::EngineError,
                             query.setValue(QStringLiteral("0830-0900"), QString(41, QLatin1Char('x'))));
    query.post();
    QCOMPARE(query.value(1).toString(), QString(40, QLatin1Char('x')));
}

// The size is read from the declared type's first "(n)", blanks allowed; a type without one has no size.
void EngineTest::declaredSizeOfEachType_data() {
    QTest::addColumn<QString>("declaredType");
    QTest::addColumn<int>("size");
    QTest::newRow("VARCHAR(255)") << QStringLiteral("VARCHAR(255)") << 255;
    QTest::newRow("lower case") << QStringLiteral("varchar(7)") << 7;
    QTest::newRow("blanks inside") << QStringLiteral("VARCHAR( 40 )") << 40;
    QTest::newRow("blank before the bracket") << QStringLiteral("NCHAR (12)") << 12;
    QTest::newRow("two numbers") << QStringLiteral("DECIMAL(10,2)") << 0;
    QTest::newRow("no size") << QStringLiteral("TEXT") << 0;
    QTest::newRow("two words") << QStringLiteral("CHARACTER VARYING( 9 )") << 9;
}

void EngineTest::declaredSizeOfEachType() {
    QFETCH(QString, declaredType);
    QFETCH(int, size);
    const QString folder = m_dir->filePath(QStringLiteral("types"));
    QVERIFY(QDir().mkpath(folder));
    {
        RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"), true);
        // The first slot has the type under test, the others their usual one.
        QString create = QStringLiteral("CREATE TABLE RANTEBOU (HMEROMHNIA DATE PRIMARY KEY");
        for (const QString& slot : store::slotColumnNames())
            create += QStringLiteral(", \"%1\" %2")
                          .arg(slot, slot == QStringLiteral("0800-0830") ? declaredType : QStringLiteral("TEXT"));
        QCOMPARE(raw.execute(create + QLatin1Char(')')), 0);
        QCOMPARE(raw.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-05')")), 0);
    }
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(folder));
    connection.open();
    store::Query query(connection);
    query.addStatement(QStringLiteral("SELECT * FROM RANTEBOU"));
    query.open();
    QCOMPARE(query.fieldSize(QStringLiteral("0800-0830")), size);
}

// A read outside the record's fields fails with a message that says so, at either end.
void EngineTest::positionOutsideTheRecordFails() {
    store::Connection connection;
    connection.setConnectionText(m_text);
    connection.open();
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(openDay(connection, QStringLiteral("5/3/2010"))));
    query.open();
    for (const int position : {-1, 29}) {
        try {
            query.value(position);
            QFAIL(qPrintable(QStringLiteral("position %1 was read").arg(position)));
        } catch (const store::EngineError& error) {
            QCOMPARE(error.text(),
                     QStringLiteral("The record has no field at position %1; it has 29 fields.").arg(position));
        }
    }
    QCOMPARE(query.value(28), QVariant());
}

void EngineTest::editsStayInBufferUntilPost() {
    store::Connection connection;
    connection.setConnectionText(m_text);
    connection.open();
    const QString key = openDay(connection, QStringLiteral("5/3/2010"));
    store::Query query(connection);
    QSignalSpy states(&query, &store::Query::stateChanged);
    QSignalSpy values(&query, &store::Query::valuesChanged);
    query.addStatement(store::selectDayStatement(key));
    query.open();
    query.setValue(QStringLiteral("0800-0830"), QStringLiteral("Meeting"));
    query.setValue(QStringLiteral("2130-2200"), QStringLiteral("Late call"));
    QCOMPARE(query.state(), store::Query::State::Edit);
    QCOMPARE(query.value(1).toString(), QStringLiteral("Meeting"));
    QCOMPARE(query.value(QStringLiteral("2130-2200")).toString(), QStringLiteral("Late call"));
    QVERIFY(states.count() >= 2);
    QVERIFY(values.count() >= 3);

    RawDatabase raw(m_file, QStringLiteral("Kw73Tp"));
    QVERIFY(raw.text(QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU")).isNull());
    query.post();
    QCOMPARE(query.state(), store::Query::State::Browse);
    QCOMPARE(raw.text(QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU")), QStringLiteral("Meeting"));
    QCOMPARE(raw.text(QStringLiteral("SELECT \"2130-2200\" FROM RANTEBOU")), QStringLiteral("Late call"));
    QVERIFY(raw.text(QStringLiteral("SELECT \"0830-0900\" FROM RANTEBOU")).isNull());

    // Erasing a slot writes what the box holds.
    query.setValue(QStringLiteral("0800-0830"), QString());
    query.post();
    QCOMPARE(raw.text(QStringLiteral("SELECT \"0800-0830\" IS NULL OR \"0800-0830\" = '' FROM RANTEBOU")),
             QStringLiteral("1"));
}

void EngineTest::fileIsEncrypted() {
    const QString marker = QStringLiteral("Secret appointment Ραντεβού 7c1e");
    {
        store::Connection connection;
        connection.setConnectionText(m_text);
        connection.open();
        const QString key = openDay(connection, QStringLiteral("5/3/2010"));
        store::Query query(connection);
        query.addStatement(store::selectDayStatement(key));
        query.open();
        query.setValue(QStringLiteral("0900-0930"), marker);
        query.post();
    }
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.contains(marker.toUtf8()));
    QVERIFY(!bytes.contains("Secret"));
    QVERIFY(!bytes.contains("RANTEBOU"));
    QVERIFY(!bytes.startsWith("SQLite format 3"));

    const QString plainTool = QStringLiteral("/usr/bin/sqlite3");
    const QString cipherTool = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (!QFile::exists(plainTool) || cipherTool.isEmpty())
        QSKIP("the sqlite3 and sqlcipher command-line tools are needed to read the file from outside");
    QProcess plain;
    plain.start(plainTool, {m_file, QStringLiteral("SELECT * FROM RANTEBOU;")});
    QVERIFY(plain.waitForFinished());
    QVERIFY(plain.exitCode() != 0);
    QVERIFY(!plain.readAllStandardOutput().contains("Secret"));
    QVERIFY(plain.readAllStandardError().contains("not a database"));

    QProcess cipher;
    cipher.start(cipherTool, {m_file});
    QVERIFY(cipher.waitForStarted());
    cipher.write("PRAGMA key = 'Kw73Tp';\nSELECT \"0900-0930\" FROM RANTEBOU;\n");
    cipher.closeWriteChannel();
    QVERIFY(cipher.waitForFinished());
    QCOMPARE(QString::fromUtf8(cipher.readAllStandardOutput()).trimmed(), marker);
}

void EngineTest::cipherGuardPassesOnRealBuild() {
    // The guard's refusal on a plain build is shown by the test linked against plain SQLite.
    RawDatabase raw(m_file, QString());
    store::requireCipher(raw.get());
}

void EngineTest::oddFoldersOpen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("; and =") << QStringLiteral("a;b=c;Persist Security Info=x") << false;
    QTest::newRow("ends in /") << QStringLiteral("plain") << true;
    QTest::newRow("Greek, blanks, backslash") << QStringLiteral("Ραντεβού μου\\x") << false;
}

void EngineTest::oddFoldersOpen() {
    QFETCH(QString, name);
    QFETCH(bool, trailingSeparator);
    const QString folder = m_dir->filePath(name);
    QVERIFY(QDir().mkpath(folder));
    storetest::makeDataFile(folder);
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(trailingSeparator ? folder + QLatin1Char('/') : folder));
    connection.open();
    openDay(connection, QStringLiteral("2/2/2012"));
    RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
    QCOMPARE(raw.text(QStringLiteral("SELECT HMEROMHNIA FROM RANTEBOU")), QStringLiteral("2012-02-02"));
}

void EngineTest::reopenNoticesReplacedFile() {
    store::Connection connection;
    connection.setConnectionText(m_text);
    connection.open();
    openDay(connection, QStringLiteral("5/3/2010"));
    connection.close();

    // Another file takes the name: the next open reads it, not the old one.
    if (platform::openFilesStayPut()) {
        QVERIFY(!QFile::remove(m_file)); // the pool's handle keeps it: nobody replaces the book meanwhile
        QSKIP("this system does not let an open book be replaced");
    }
    QVERIFY(QFile::remove(m_file));
    storetest::makeDataFile(m_dir->path());
    connection.open();
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    query.open();
    QVERIFY(query.isEmpty());
    connection.close();

    // Replaced by a file under another password: the open is refused.
    QVERIFY(QFile::remove(m_file));
    storetest::makeDataFile(m_dir->path(), QStringLiteral("other"));
    try {
        connection.open();
        QFAIL("a file under another password opened");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::NotADatabase);
        QVERIFY2(error.text().contains(QLatin1String("password does not match")), error.what());
    }

    // The same file rekeyed in place (same inode): the kept handle no longer reads it.
    connection.setConnectionText(storetest::connectionTextFor(m_dir->path(), QStringLiteral("other")));
    connection.open();
    connection.close();
    {
        RawDatabase raw(m_file, QStringLiteral("other"));
        QCOMPARE(raw.execute(QStringLiteral("PRAGMA rekey = 'third'")), 0);
    }
    QVERIFY_THROWS_EXCEPTION(store::EngineError, connection.open());
}

void EngineTest::reopenNoticesDeletedFile() {
    store::Connection connection;
    connection.setConnectionText(m_text);
    connection.open();
    connection.close();
    if (platform::openFilesStayPut()) {
        QVERIFY(!QFile::remove(m_file));
        QSKIP("this system does not let an open book be deleted");
    }
    QVERIFY(QFile::remove(m_file));
    try {
        connection.open();
        QFAIL("a deleted file opened");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::CantOpen);
        QVERIFY2(error.text().contains(m_file) && error.text().contains(QLatin1String("does not exist")), error.what());
    }
    QVERIFY(!QFile::exists(m_file));
}

// The first open of a book reads all of it to check it; those pages must not stay in the handle's cache for
// the rest of the day (the windows read a month or a day at a time).
void EngineTest::firstOpenCheckKeepsNoPages() {
    {
        RawDatabase database(m_file, QStringLiteral("Kw73Tp"));
        QCOMPARE(database.execute(QStringLiteral("BEGIN")), 0);
        for (int day = 0; day < 1000; ++day) {
            QString values = QStringLiteral("'%1'").arg(QDate(2010, 1, 1).addDays(day).toString(Qt::ISODate));
            for (const QString& slot : store::slotColumnNames())
                values += QStringLiteral(", 'Ραντεβού %1 στις %2, κ. Παπαδόπουλος'").arg(day).arg(slot);
            QCOMPARE(database.execute(QStringLiteral("INSERT INTO RANTEBOU VALUES (%1)").arg(values)), 0);
        }
        QCOMPARE(database.execute(QStringLiteral("COMMIT")), 0);
    }
    // More than the cache would hold back if the check's pages stayed.
    QVERIFY(QFileInfo(m_file).size() > 1024 * 1024);

    const auto pooled = store::DatabasePool::instance().acquire(m_file, QStringLiteral("Kw73Tp"), 0);
    int cached = 0;
    int highest = 0;
    QCOMPARE(sqlite3_db_status(pooled->handle().get(), SQLITE_DBSTATUS_CACHE_USED, &cached, &highest, 0), SQLITE_OK);
    QVERIFY2(cached < 256 * 1024, qPrintable(QStringLiteral("%1 bytes of pages kept").arg(cached)));
}

QTEST_GUILESS_MAIN(EngineTest)
#include "EngineTest.moc"
