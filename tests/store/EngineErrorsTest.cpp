// Every failure a person can meet opening or saving, each with its message, each leaving the file as it was.

#include "tests/store/StoreTestSupport.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/EngineError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using storetest::RawDatabase;

Q_DECLARE_METATYPE(std::function<void(const QString&)>)

namespace {

using Maker = std::function<void(const QString& path)>;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
}

} // namespace

class EngineErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void openRefused_data();
    void openRefused();
    void readOnlyAtPost_data();
    void readOnlyAtPost();
    void lockedFileWaitsThenFails_data();
    void lockedFileWaitsThenFails();
    void writeLockBlocksOnlyThePost();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void EngineErrorsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = QDir(m_dir->path()).filePath(QStringLiteral("data.mdb"));
}

void EngineErrorsTest::openRefused_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong password") << Maker([](const QString& path) {
        storetest::makeDataFile(QFileInfo(path).path());
    }) << QStringLiteral("wrong") << int(store::EngineError::NotADatabase)
                                    << QStringLiteral("password does not match");
    QTest::newRow("no password given") << Maker([](const QString& path) {
        storetest::makeDataFile(QFileInfo(path).path());
    }) << QString() << int(store::EngineError::NoPassword)
                                       << QStringLiteral("gives no database password");
    QTest::newRow("text file") << Maker([](const QString& path) { writeBytes(path, "Appointments:\n5/3 dentist\n"); })
                               << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                               << QStringLiteral("is not an Orvella data file");
    QTest::newRow("zero bytes") << Maker([](const QString& path) { writeBytes(path, QByteArray()); })
                                << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                                << QStringLiteral("is empty (0 bytes)");
    QTest::newRow("plain unencrypted database") << Maker([](const QString& path) {
        RawDatabase raw(path, QString(), true);
        raw.execute(QStringLiteral("CREATE TABLE RANTEBOU (HMEROMHNIA DATE PRIMARY KEY)"));
    }) << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                                                << QStringLiteral("unencrypted database");
    QTest::newRow("older format with its own header") << Maker([](const QString& path) {
        QByteArray bytes(4096, '\0');
        bytes.replace(0, 24, QByteArray("\x00\x01\x00\x00Classic Book Database", 24));
        writeBytes(path, bytes);
    }) << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                                                      << QStringLiteral("begins with readable text");
    QTest::newRow("table missing") << Maker([](const QString& path) {
        RawDatabase raw(path, QStringLiteral("Kw73Tp"), true);
        raw.execute(QStringLiteral("CREATE TABLE OTHER (x)"));
    }) << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                                   << QStringLiteral("holds no appointment table RANTEBOU");
    QTest::newRow("a slot column missing") << Maker([](const QString& path) {
        RawDatabase raw(path, QStringLiteral("Kw73Tp"), true);
        raw.execute(QStringLiteral("CREATE TABLE RANTEBOU (HMEROMHNIA DATE PRIMARY KEY, \"0800-0830\" TEXT)"));
    }) << QStringLiteral("Kw73Tp") << int(store::EngineError::NotADatabase)
                                           << QStringLiteral("lacks the column(s) 0830-0900");
    QTest::newRow("a folder in its place")
        << Maker([](const QString& path) { QDir().mkpath(path); }) << QStringLiteral("Kw73Tp")
        << int(store::EngineError::CantOpen) << QStringLiteral("is a folder");
}

void EngineErrorsTest::openRefused() {
    QFETCH(Maker, make);
    QFETCH(QString, password);
    QFETCH(int, code);
    QFETCH(QString, message);
    make(m_file);
    const storetest::FileSnapshot before = storetest::snapshot(m_file);
    QTest::qWait(20); // a write would now show in the modification time
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(m_dir->path(), password));
    try {
        connection.open();
        QFAIL("the connection opened");
    } catch (const store::EngineError& error) {
        QCOMPARE(int(error.kind()), code);
        QVERIFY2(error.text().contains(message), error.what());
        QVERIFY2(error.text().contains(QDir::toNativeSeparators(m_file)), error.what());
    }
    QVERIFY(!connection.isOpen());
    QVERIFY(storetest::snapshot(m_file) == before);
    QVERIFY(!QFile::exists(m_file + QStringLiteral("-journal")));
}

void EngineErrorsTest::readOnlyAtPost_data() {
    QTest::addColumn<bool>("folderReadOnly");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only file") << false << QStringLiteral("the file is read-only");
    QTest::newRow("read-only folder") << true << QStringLiteral("allows writing");
}

void EngineErrorsTest::readOnlyAtPost() {
    QFETCH(bool, folderReadOnly);
    QFETCH(QString, message);
    storetest::makeDataFile(m_dir->path());
    const QString text = storetest::connectionTextFor(m_dir->path());
    {
        store::Connection connection;
        connection.setConnectionText(text);
        connection.open();
        store::Command insert(connection);
        insert.setCommandText(store::insertDayStatement(QStringLiteral("#3/5/2010#")));
        insert.execute();
    }
    const QString locked = folderReadOnly ? m_dir->path() : m_file;
    const QFile::Permissions writable = QFile::permissions(locked);
    QVERIFY(QFile::setPermissions(
        locked, writable & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther)));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(locked, writable); });
    storetest::FilePermissionsEnforced enforced;
    if (!enforced.active())
        QSKIP("file permissions cannot be enforced for this user (root without the right to drop its override)");

    const storetest::FileSnapshot before = storetest::snapshot(m_file);
    QTest::qWait(20);
    store::Connection connection;
    connection.setConnectionText(text);
    connection.open(); // reading still works
    store::Query query(connection);
    query.addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    query.open();
    query.setValue(QStringLiteral("0800-0830"), QStringLiteral("kept"));
    try {
        query.post();
        QFAIL("the post wrote to a read-only place");
    } catch (const store::EngineError& error) {
        QVERIFY2(error.text().contains(message), error.what());
        QVERIFY2(error.text().contains(QDir::toNativeSeparators(m_file)), error.what());
    }
    QCOMPARE(query.state(), store::Query::State::Edit);
    QCOMPARE(query.value(QStringLiteral("0800-0830")).toString(), QStringLiteral("kept"));
    QVERIFY(storetest::snapshot(m_file) == before);
}

void EngineErrorsTest::lockedFileWaitsThenFails_data() {
    QTest::addColumn<int>("timeout");
    QTest::addColumn<int>("expectedWait");
    QTest::newRow("one second") << 1 << 1;
    QTest::newRow("0 is the bounded default, not forever") << 0 << 4;
}

void EngineErrorsTest::lockedFileWaitsThenFails() {
    QFETCH(int, timeout);
    QFETCH(int, expectedWait);
    storetest::makeDataFile(m_dir->path());
    RawDatabase other(m_file, QStringLiteral("Kw73Tp"));
    QCOMPARE(other.execute(QStringLiteral("BEGIN EXCLUSIVE")), 0); // another program in the middle of writing
    const storetest::FileSnapshot before = storetest::snapshot(m_file);

    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(m_dir->path()));
    connection.setConnectionTimeout(timeout);
    connection.setCommandTimeout(timeout);
    QElapsedTimer clock;
    clock.start();
    try {
        connection.open();
        QFAIL("the connection opened a file locked for writing");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Busy);
        QVERIFY2(error.text().contains(QLatin1String("in use by another program")), error.what());
        QVERIFY2(error.text().contains(QStringLiteral("%1 seconds").arg(expectedWait)), error.what());
    }
    // It waited, and it gave up: the only thread never hangs behind the lock.
    QVERIFY(clock.elapsed() >= expectedWait * 1000 - 100);
    QVERIFY(clock.elapsed() < expectedWait * 1000 + 20000);
    QCOMPARE(other.execute(QStringLiteral("ROLLBACK")), 0);
    QVERIFY(storetest::snapshot(m_file) == before);
    connection.open();
    QVERIFY(connection.isOpen());
}

void EngineErrorsTest::writeLockBlocksOnlyThePost() {
    storetest::makeDataFile(m_dir->path());
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(m_dir->path()));
    connection.setCommandTimeout(1);
    connection.open();
    store::Command insert(connection);
    insert.setCommandText(store::insertDayStatement(QStringLiteral("#3/5/2010#")));
    insert.execute();

    RawDatabase other(m_file, QStringLiteral("Kw73Tp"));
    QCOMPARE(other.execute(QStringLiteral("BEGIN IMMEDIATE")), 0);
    QCOMPARE(other.execute(QStringLiteral("UPDATE RANTEBOU SET \"1000-1030\" = 'theirs'")), 0);

    store::Query query(connection);
    query.addStatement(store::selectDayStatement(QStringLiteral("#3/5/2010#")));
    query.open(); // readers are not blocked by a writer that has not committed
    QVERIFY(query.value(QStringLiteral("1000-1030")).isNull());
    query.setValue(QStringLiteral("0800-0830"), QStringLiteral("mine"));
    try {
        query.post();
        QFAIL("the post wrote while another program held the write lock");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Busy);
        QVERIFY2(error.text().contains(QLatin1String("saving the record")), error.what());
    }
    QCOMPARE(query.state(), store::Query::State::Edit);
    QCOMPARE(query.value(QStringLiteral("0800-0830")).toString(), QStringLiteral("mine"));

    QCOMPARE(other.execute(QStringLiteral("COMMIT")), 0);
    query.post();
    QCOMPARE(query.value(QStringLiteral("1000-1030")).toString(), QStringLiteral("theirs"));
    QCOMPARE(other.text(QStringLiteral("SELECT \"0800-0830\" || '+' || \"1000-1030\" FROM RANTEBOU")),
             QStringLiteral("mine+theirs"));
}

QTEST_GUILESS_MAIN(EngineErrorsTest)
#include "EngineErrorsTest.moc"
