// A book on a server when the network or the server fails: every failure is a clear message naming the server
// within a bounded time, the user's text stays in the record buffer, nothing is written half, and the seat
// works again once the server is back.

#include "tests/store/BookFixture.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/BookWatch.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerAdmin.h"
#include "store/server/ServerLink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <thread>

#include <csignal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Day = QStringLiteral("#3/5/2010#");

QString slot(int number) {
    return store::slotColumnNames().at(number - 1);
}

// What the server holds in the day's first two slots, read by the test's own connection.
QString storedSlots(TestServer& server, const QString& database) {
    return server.run(database, QStringLiteral("SELECT concat_ws('+', coalesce(\"0800-0830\", '-'), "
                                               "coalesce(\"0830-0900\", '-')) FROM rantebou"));
}

// Far longer than any bounded wait of the engine, short enough to show a hang as a failure.
constexpr qint64 HangMilliseconds = 12000;

} // namespace

class ServerFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void stoppedServerRefusesThePostAndRecovers();
    void serverStoppedDuringAPostWritesNothing();
    void lockedRecordWaitsBoundedly();
    void unansweredPostIsSettled();
    void unreachableServerNamedInTime_data();
    void unreachableServerNamedInTime();
    void desksNeedOnlySelectInsertUpdate();
    void noticeFloodCostsOneRereadPerInterval_data();
    void noticeFloodCostsOneRereadPerInterval();
    void hostileServerFile_data();
    void hostileServerFile();

private:
    struct Open {
        QString folder;
        QString database;
        std::unique_ptr<store::Connection> connection;
        std::unique_ptr<store::Query> query;
    };
    Open openDay();
    BookFixture m_books;
};

void ServerFaultsTest::initTestCase() {
    if (!m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
}

ServerFaultsTest::Open ServerFaultsTest::openDay() {
    Open open;
    open.folder = m_books.makeBook(QStringLiteral("server"), &open.database);
    open.connection = std::make_unique<store::Connection>();
    open.connection->reopen(BookFixture::connectionText(open.folder));
    store::ensureDayRecord(*open.connection, Day);
    open.query = std::make_unique<store::Query>(*open.connection);
    store::openQuery(*open.query, store::selectDayStatement(Day));
    return open;
}

void ServerFaultsTest::stoppedServerRefusesThePostAndRecovers() {
    Open day = openDay();
    day.query->setValue(slot(1), QStringLiteral("first"));
    day.query->setValue(slot(2), QStringLiteral("second"));
    QVERIFY(m_books.server().stop());
    QElapsedTimer clock;
    clock.start();
    try {
        day.query->post();
        QFAIL("a post to a stopped server succeeded");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::ServerUnreachable);
        QVERIFY2(error.text().contains(day.database) && error.text().contains(QLatin1String("on the server")),
                 error.what());
    }
    QVERIFY2(clock.elapsed() < HangMilliseconds, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(day.query->state(), store::Query::State::Edit);
    QCOMPARE(day.query->value(slot(1)).toString(), QStringLiteral("first"));

    // Back again: the same post goes through on a new connection, without reopening anything.
    QVERIFY(m_books.server().start());
    day.query->post();
    QCOMPARE(storedSlots(m_books.server(), day.database), QStringLiteral("first+second"));
}

void ServerFaultsTest::serverStoppedDuringAPostWritesNothing() {
    Open day = openDay();
    day.query->setValue(slot(1), QStringLiteral("first"));
    day.query->setValue(slot(2), QStringLiteral("second"));
    // Another program holds the record, so the post is still waiting at the server when it goes down.
    store::ServerAdmin holder(m_books.server().connectionFor(day.database));
    holder.run(QStringLiteral("BEGIN"));
    holder.run(QStringLiteral("SELECT 1 FROM rantebou FOR UPDATE"));
    std::jthread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        m_books.server().stop();
    });
    QElapsedTimer clock;
    clock.start();
    // The shutdown ends the holder's session too, so the post may still get through just before its own
    // session ends: then it is there whole. Either way it is never there in part.
    bool saved = true;
    try {
        day.query->post();
    } catch (const store::EngineError& error) {
        saved = false;
        QVERIFY2(error.text().contains(day.database), error.what());
    }
    stopper.join();
    QVERIFY2(clock.elapsed() < HangMilliseconds, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(day.query->state(), saved ? store::Query::State::Browse : store::Query::State::Edit);
    QCOMPARE(day.query->value(slot(2)).toString(), QStringLiteral("second"));
    QVERIFY(m_books.server().start());
    QCOMPARE(storedSlots(m_books.server(), day.database),
             saved ? QStringLiteral("first+second") : QStringLiteral("-+-"));
}

void ServerFaultsTest::lockedRecordWaitsBoundedly() {
    Open day = openDay();
    store::ServerAdmin holder(m_books.server().connectionFor(day.database));
    holder.run(QStringLiteral("BEGIN"));
    holder.run(QStringLiteral("SELECT 1 FROM rantebou FOR UPDATE"));
    day.query->setValue(slot(1), QStringLiteral("mine"));
    QElapsedTimer clock;
    clock.start();
    try {
        day.query->post();
        QFAIL("a post went through a held lock");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Busy);
        QVERIFY2(error.text().contains(QLatin1String("busy")), error.what());
    }
    QVERIFY2(clock.elapsed() < HangMilliseconds, qPrintable(QString::number(clock.elapsed())));
    holder.run(QStringLiteral("ROLLBACK"));
    day.query->post();
    QCOMPARE(storedSlots(m_books.server(), day.database), QStringLiteral("mine+-"));
}

// The desk's own server process stops (SIGSTOP) while a post waits for it: the post's outcome is not known
// when the wait runs out, so it is settled on a new connection before anything is said: the stopped process is
// ended, the row read, and here it holds what was read, so the message says nothing was saved and the text
// stays in editing. Let go, the stopped process does not save it behind the user's back; pressed again, the post
// goes through; and a post whose text the row already holds is no conflict.
void ServerFaultsTest::unansweredPostIsSettled() {
    Open day = openDay();
    day.query->setValue(slot(1), QStringLiteral("first"));
    day.query->post();
    const int backend =
        day.connection->session().select(QStringLiteral("SELECT pg_backend_pid()")).rows.front().front().toInt();
    QVERIFY(backend > 0);
    day.query->setValue(slot(1), QStringLiteral("second"));
    day.query->setValue(slot(2), QStringLiteral("typed"));
    QCOMPARE(::kill(backend, SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    try {
        day.query->post();
        ::kill(backend, SIGCONT);
        QFAIL("a post to a stopped server process went through");
    } catch (const store::EngineError& error) {
        ::kill(backend, SIGCONT);
        QVERIFY2(error.text().contains(QLatin1String("nothing of it was saved")), error.what());
        QVERIFY2(error.text().contains(day.database), error.what());
    }
    QVERIFY2(clock.elapsed() < HangMilliseconds, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(day.query->state(), store::Query::State::Edit);
    QCOMPARE(day.query->value(slot(1)).toString(), QStringLiteral("second"));
    QCOMPARE(day.query->value(slot(2)).toString(), QStringLiteral("typed"));
    // The process, running again, ends before it reads the post it was sent.
    QTRY_VERIFY_WITH_TIMEOUT(::kill(backend, 0) != 0, 5000);
    QCOMPARE(storedSlots(m_books.server(), day.database), QStringLiteral("first+-"));

    day.query->post();
    QCOMPARE(day.query->state(), store::Query::State::Browse);
    QCOMPARE(storedSlots(m_books.server(), day.database), QStringLiteral("second+typed"));

    // The first slot's text is saved already (as by a post whose answer was lost): posting it again with the
    // second one is no conflict.
    store::openQuery(*day.query, store::selectDayStatement(Day));
    day.query->setValue(slot(1), QStringLiteral("third"));
    day.query->setValue(slot(2), QStringLiteral("again"));
    m_books.server().run(day.database, QStringLiteral("UPDATE rantebou SET \"0800-0830\" = 'third'"));
    day.query->post();
    QCOMPARE(storedSlots(m_books.server(), day.database), QStringLiteral("third+again"));
}

// A server that cannot be reached is named within the connect's bound, whatever stands in the way: an address
// nobody answers on (reserved for documentation), a name that does not resolve (looked up off the caller's
// thread, within the same bound), a listener that takes the connection and never says a word.
void ServerFaultsTest::unreachableServerNamedInTime_data() {
    QTest::addColumn<QString>("connection"); // "@port": the silent listener's
    QTest::addColumn<QString>("named");
    QTest::newRow("nobody answers") << QStringLiteral("host=192.0.2.1 port=5432 dbname=orvella")
                                    << QStringLiteral("Could not reach the database \"orvella\" on the server "
                                                      "\"192.0.2.1:5432\"");
    QTest::newRow("a name that does not resolve")
        << QStringLiteral("host=orvella-test.invalid dbname=orvella")
        << QStringLiteral("Could not reach the database \"orvella\" on the server \"orvella-test.invalid\": the "
                          "name \"orvella-test.invalid\"");
    QTest::newRow("a listener that never answers")
        << QStringLiteral("host=127.0.0.1 port=@port dbname=orvella")
        << QStringLiteral("Could not reach the database \"orvella\" on the server \"127.0.0.1:@port\": no answer "
                          "within 3 seconds.");
}

void ServerFaultsTest::unreachableServerNamedInTime() {
    QFETCH(QString, connection);
    QFETCH(QString, named);
    // Listening, so that a connect is taken by the system, and never accepting nor answering.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    QVERIFY(silent >= 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof where;
    QCOMPARE(::bind(silent, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
    QCOMPARE(::listen(silent, 4), 0);
    QCOMPARE(::getsockname(silent, reinterpret_cast<sockaddr*>(&where), &length), 0);
    const QString port = QString::number(ntohs(where.sin_port));
    const QString folder = m_books.serverFolder(QString(connection).replace(QStringLiteral("@port"), port));
    store::Connection book;
    QElapsedTimer clock;
    clock.start();
    try {
        book.reopen(BookFixture::connectionText(folder));
        ::close(silent);
        QFAIL("an unreachable server was opened");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::ServerUnreachable);
        QVERIFY2(error.text().contains(QString(named).replace(QStringLiteral("@port"), port)), error.what());
        QVERIFY2(!error.text().contains(QLatin1String("?.")), error.what());
    }
    ::close(silent);
    // The connect's three seconds, and the time a loaded machine takes to say so.
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
}

// The roles the README makes and server-init gives their rights: SELECT and INSERT on the table and UPDATE of
// its slot columns are enough for everything a desk does, and no more is given (the date cannot be changed, no
// passing table made); without UPDATE the post says what is missing and keeps the text.
void ServerFaultsTest::desksNeedOnlySelectInsertUpdate() {
    QString database;
    m_books.makeBook(QStringLiteral("server"), &database);
    TestServer& server = m_books.server();
    server.run(database, QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = "
                                        "'orvella_desks') THEN CREATE ROLE orvella_desks NOLOGIN; CREATE ROLE desk "
                                        "LOGIN IN ROLE orvella_desks; END IF; END $$"));
    const QString done = store::initServerBook(server.connectionFor(database));
    QVERIFY2(done.contains(QLatin1String("gave orvella_desks SELECT and INSERT")), qPrintable(done));
    const QString desk =
        server.connectionFor(database).replace(QStringLiteral("user=postgres"), QStringLiteral("user=desk"));
    {
        store::Connection connection;
        connection.reopen(BookFixture::connectionText(m_books.serverFolder(desk)));
        store::ensureDayRecord(connection, Day);
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(Day));
        query.setValue(slot(1), QStringLiteral("desk"));
        query.post();
    }
    QCOMPARE(storedSlots(server, database), QStringLiteral("desk+-"));
    store::ServerAdmin asDesk(desk);
    for (const char* refused : {"UPDATE rantebou SET hmeromhnia = '1900-01-01'", "CREATE TEMP TABLE t (x int)"}) {
        try {
            asDesk.run(QLatin1String(refused));
            QFAIL(refused);
        } catch (const store::EngineError& error) {
            QCOMPARE(error.kind(), store::EngineError::ReadOnly);
        }
    }

    server.run(database, QStringLiteral("REVOKE UPDATE ON rantebou FROM orvella_desks"));
    store::Connection connection;
    connection.reopen(BookFixture::connectionText(m_books.serverFolder(desk + QStringLiteral(" application_name=x"))));
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(Day));
    query.setValue(slot(2), QStringLiteral("refused"));
    try {
        query.post();
        QFAIL("a post without the right to update went through");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::ReadOnly);
        QVERIFY2(error.text().contains(QLatin1String("UPDATE on its slot columns")), error.what());
    }
    QCOMPARE(query.value(slot(2)).toString(), QStringLiteral("refused"));
    QCOMPARE(storedSlots(server, database), QStringLiteral("desk+-"));
}

void ServerFaultsTest::noticeFloodCostsOneRereadPerInterval_data() {
    QTest::addColumn<QString>("flood");
    QTest::addColumn<bool>("counts"); // whether the flood's notices are the trigger's kind
    QTest::newRow("20,000 that are no day")
        << QStringLiteral("SELECT count(pg_notify('orvella_book', 'x' || g)) FROM generate_series(1, 20000) g")
        << false;
    QTest::newRow("20,000 days")
        << QStringLiteral("SELECT count(pg_notify('orvella_book', to_char(date '1950-01-01' + g, 'YYYY-MM-DD'))) "
                          "FROM generate_series(1, 20000) g")
        << true;
}

void ServerFaultsTest::noticeFloodCostsOneRereadPerInterval() {
    QFETCH(QString, flood);
    QFETCH(bool, counts);
    Open day = openDay();
    QTest::qWait(2 * store::ServerLink::NoticeMergeMilliseconds); // the day's own making told, out of the count
    int rereads = 0;
    bool sentinel = false;
    const QDate sentinelDay(1949, 12, 31);
    QObject guard;
    connect(&store::BookWatch::instance(), &store::BookWatch::reloadNeeded, &guard, [&rereads] { ++rereads; });
    connect(&store::BookWatch::instance(), &store::BookWatch::dayChanged, &guard,
            [&](const QDate& changed) {
                ++rereads;
                sentinel = sentinel || changed == sentinelDay;
            });
    QElapsedTimer clock;
    clock.start();
    m_books.server().run(day.database, flood);
    // The notices arrive in order: once a later one is told, the flood has been read.
    m_books.server().run(day.database, QStringLiteral("SELECT pg_notify('orvella_book', '1949-12-31')"));
    QTRY_VERIFY_WITH_TIMEOUT(sentinel || (counts && rereads > 0), HangMilliseconds);
    QTest::qWait(2 * store::ServerLink::NoticeMergeMilliseconds);
    const qint64 intervals = clock.elapsed() / store::ServerLink::NoticeMergeMilliseconds + 1;
    if (counts)
        QVERIFY2(rereads >= 1 && rereads <= intervals,
                 qPrintable(QStringLiteral("%1 re-reads in %2 intervals").arg(rereads).arg(intervals)));
    else
        QCOMPARE(rereads, 1); // the sentinel alone
    QVERIFY2(clock.elapsed() < HangMilliseconds, qPrintable(QString::number(clock.elapsed())));
}

// A server file anybody could have put in a data folder: each is refused before anything waits on it (the
// file, the network), with a message that says what is wrong and on which line; a sound one still opens.
void ServerFaultsTest::hostileServerFile_data() {
    QTest::addColumn<QByteArray>("contents"); // "@" stands for the test server's own connection text
    QTest::addColumn<QString>("standIn");     // what stands at server.book instead of a file: "fifo", "device", "huge"
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message"); // empty: the book opens

    const int opens = int(store::EngineError::GeneralError);
    const int cantOpen = int(store::EngineError::CantOpen);
    const QByteArray notes = "# one\n# two\n\n";
    QTest::newRow("sound, with notes") << notes + "@\n" << QString() << opens << QString();
    QTest::newRow("this computer, unencrypted") << QByteArray("@ sslmode=disable") << QString() << opens << QString();
    QTest::newRow("a named pipe") << QByteArray() << QStringLiteral("fifo") << cantOpen
                                  << QStringLiteral("is a named pipe (FIFO), not an ordinary file");
    QTest::newRow("a device") << QByteArray() << QStringLiteral("device") << cantOpen
                              << QStringLiteral("is a device, not an ordinary file");
    QTest::newRow("200 MB") << QByteArray() << QStringLiteral("huge") << cantOpen
                            << QStringLiteral("larger than the 8192 bytes a server file may be");
    QTest::newRow("a NUL hiding a password") << notes + QByteArray("@ user=desk1") + '\0' + " password=secret\n"
                                             << QString() << cantOpen
                                             << QStringLiteral("line 4, holds a NUL character");
    QTest::newRow("not UTF-8") << notes + "@\nuser=d\xe9sk\n" << QString() << cantOpen
                               << QStringLiteral("line 5, is not UTF-8 text");
    QTest::newRow("a 6000-character host name")
        << QByteArray("dbname=orvella host=") + QByteArray(6000, 'a') << QString() << cantOpen
        << QStringLiteral("line 1, names a server by a 6000-character host");
    QTest::newRow("connect_timeout=0") << notes + "@\nconnect_timeout=0\n" << QString() << cantOpen
                                       << QStringLiteral("line 5, sets connect_timeout, which Orvella sets itself");
    QTest::newRow("keepalives off") << QByteArray("@ keepalives=0") << QString() << cantOpen
                                    << QStringLiteral("line 1, sets keepalives, which Orvella sets itself");
    QTest::newRow("a session's own options")
        << QByteArray("@ options='-c statement_timeout=0'") << QString() << cantOpen
        << QStringLiteral("sets options, which Orvella sets itself");
    QTest::newRow("another computer, sslmode=prefer")
        << notes + "host=office.example dbname=orvella\n sslmode = prefer\n" << QString()
        << int(store::EngineError::ServerUntrusted)
        << QStringLiteral("line 5, sets sslmode=prefer, which lets this desk give its password to a server it "
                          "has not checked");
    QTest::newRow("a service, sslmode=require") << QByteArray("service=office sslmode=require") << QString()
                                                << int(store::EngineError::ServerUntrusted)
                                                << QStringLiteral("sets sslmode=require");
    QTest::newRow("a password file outside the home folder")
        << QByteArray("@ passfile=/tmp/everybody.pgpass") << QString() << cantOpen
        << QStringLiteral("names the password file \"/tmp/everybody.pgpass\", outside this user's home folder");
    QTest::newRow("a certificate authority that is a pipe")
        << QByteArray("@ sslrootcert=@fifo") << QString() << cantOpen
        << QStringLiteral("sets sslrootcert to");
}

void ServerFaultsTest::hostileServerFile() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, standIn);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QString database;
    const QString folder = m_books.makeBook(QStringLiteral("server"), &database);
    const QString path = QDir(folder).filePath(QStringLiteral("server.book"));
    const QString fifo = QDir(folder).filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QFile::remove(path));
    if (standIn == QLatin1String("fifo")) {
        QVERIFY(QFile::rename(fifo, path));
    } else if (standIn == QLatin1String("device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // 200 MB that take no room on the disk: the file's size alone must refuse it.
        if (standIn == QLatin1String("huge"))
            QVERIFY(file.resize(200ll << 20));
        QByteArray text = contents;
        text.replace("@fifo", QFile::encodeName(fifo));
        text.replace('@', m_books.server().connectionFor(database).toUtf8());
        file.write(text);
    }
    store::Connection connection;
    QElapsedTimer clock;
    clock.start();
    try {
        connection.reopen(BookFixture::connectionText(folder));
        QVERIFY2(message.isEmpty(), "the book opened");
        QVERIFY(connection.isOpen());
    } catch (const store::EngineError& error) {
        QVERIFY2(!message.isEmpty(), error.what());
        QCOMPARE(int(error.kind()), kind);
        QVERIFY2(error.text().contains(message), error.what());
        QVERIFY2(error.text().contains(path), error.what());
        // Never the 6000 characters, nor the 200 MB, shown back.
        QVERIFY2(error.text().size() < 1000, qPrintable(QString::number(error.text().size())));
    }
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(ServerFaultsTest)
#include "ServerFaultsTest.moc"
