// Data files that are not what they seem: special files, link loops, foreign tables, a folder name that would
// point elsewhere and a book swapped under an open connection. Each gets a message that says what is there,
// at once, and nothing is written.
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/cipher/DatabasePool.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "tests/store/StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class HostileBookTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { store::DatabasePool::instance().releaseIdle(); }

    void refusedAtOnce_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("message");
        QTest::newRow("named pipe") << "fifo"
                                    << "is a named pipe, not an ordinary file";
        QTest::newRow("device") << "device"
                                << "is a device, not an ordinary file";
        QTest::newRow("link loop") << "loop"
                                   << "a loop of links";
        QTest::newRow("extra column") << "extra"
                                      << "does not have: NOTES";
        QTest::newRow("date not the key") << "nokey"
                                          << "does not have the date HMEROMHNIA as its key";
    }
    void refusedAtOnce() {
        QFETCH(QString, what);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.mdb"));
        const QByteArray name = QFile::encodeName(file);
        if (what == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (what == QLatin1String("device")) {
            QCOMPARE(::symlink("/dev/zero", name.constData()), 0);
        } else if (what == QLatin1String("loop")) {
            QCOMPARE(::symlink(name.constData(), name.constData()), 0);
        } else {
            storetest::makeDataFile(dir.path());
            storetest::RawDatabase raw(file, QStringLiteral("Kw73Tp"));
            if (what == QLatin1String("extra")) {
                QCOMPARE(raw.execute(QStringLiteral("ALTER TABLE RANTEBOU ADD COLUMN NOTES TEXT")), 0);
            } else {
                QCOMPARE(raw.execute(QStringLiteral("ALTER TABLE RANTEBOU RENAME TO OLD")), 0);
                QCOMPARE(raw.execute(QStringLiteral("CREATE TABLE RANTEBOU AS SELECT * FROM OLD")), 0);
                QCOMPARE(raw.execute(QStringLiteral("DROP TABLE OLD")), 0);
            }
        }
        // A pipe or a device is not read here either: reading it would wait or never end.
        const bool special = what == QLatin1String("fifo") || what == QLatin1String("device");
        const storetest::FileSnapshot before = special ? storetest::FileSnapshot{} : storetest::snapshot(file);
        store::Connection connection;
        try {
            connection.reopen(storetest::connectionTextFor(dir.path()));
            store::ensureDayRecord(connection, QStringLiteral("#3/5/2010#"));
            QFAIL("the file was opened");
        } catch (const store::EngineError& error) {
            QVERIFY2(error.text().contains(message), qPrintable(error.text()));
            QVERIFY2(error.text().contains(QDir::toNativeSeparators(file)), qPrintable(error.text()));
        }
        if (!special)
            QVERIFY(storetest::snapshot(file) == before);
    }

    // The folder name is the user's: whatever it holds, the text reads back to that folder's data.mdb.
    void folderNamesNeverPointElsewhere_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("a key inside") << "/srv/odd/a.mdb;Mode=x";
        QTest::newRow("a key and a file name") << "/srv/odd/x;Mode=y.mdb";
        QTest::newRow("the password's key") << "/srv/odd;Jet OLEDB:Database Password=zz";
        QTest::newRow("quotes and equals") << "/srv/\"a=b\";c";
    }
    void folderNamesNeverPointElsewhere() {
        QFETCH(QString, folder);
        const QString text = store::buildConnectionText(folder, QStringLiteral("Kw73Tp"));
        QCOMPARE(store::parseConnectionText(text).dataSource, folder + QStringLiteral("/data.mdb"));
        QCOMPARE(store::parseConnectionText(text).password, QStringLiteral("Kw73Tp"));
    }

    // Another book copied over the open one is named as such, not as a wrong password.
    void bookReplacedWhileOpen() {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString file = storetest::makeDataFile(dir.path());
        const QString other = storetest::makeDataFile(elsewhere.path());
        store::Connection connection;
        connection.reopen(storetest::connectionTextFor(dir.path()));
        store::ensureDayRecord(connection, QStringLiteral("#3/5/2010#"));
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(QStringLiteral("#3/5/2010#")));
        query.setValue(QStringLiteral("0800-0830"), QStringLiteral("kept"));

        QFile source(other);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QFile target(file); // written in place: the same file, other contents
        QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(target.write(source.readAll()) > 0);
        target.close();

        try {
            query.post();
            QFAIL("the post went through");
        } catch (const store::EngineError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("replaced or changed by another program")),
                     qPrintable(error.text()));
        }
        QCOMPARE(query.value(QStringLiteral("0800-0830")).toString(), QStringLiteral("kept"));
    }
};

QTEST_MAIN(HostileBookTest)
#include "HostileBookTest.moc"
