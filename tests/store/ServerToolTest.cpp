// The data-folder tool's commands for a book on a server, run as an administrator runs them: making a server
// data folder, making the table on an empty database, and copying a book up to the server and back down.

#include "tests/store/BookFixture.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Connection.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlcipher/sqlite3.h>

#include <sys/stat.h>

namespace {

using Run = storetest::ProgramRun;

Run runTool(const QStringList& arguments) {
    return storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments, 120000);
}

QString slotList() {
    QStringList columns{QStringLiteral("HMEROMHNIA")};
    for (const QString& slot : store::slotColumnNames())
        columns << QLatin1Char('"') + slot + QLatin1Char('"');
    return columns.join(QStringLiteral(", "));
}

// Every value of a data file's book, one line per day, nulls told apart from empty texts.
QStringList fileBook(const QString& folder) {
    storetest::RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
    sqlite3_stmt* statement = nullptr;
    QStringList lines;
    const QByteArray sql = QStringLiteral("SELECT %1 FROM RANTEBOU ORDER BY 1").arg(slotList()).toUtf8();
    if (sqlite3_prepare_v2(raw.get(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return {QStringLiteral("unreadable")};
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList values;
        for (int c = 0; c < 29; ++c)
            values << (sqlite3_column_type(statement, c) == SQLITE_NULL
                           ? QStringLiteral("<null>")
                           : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c))));
        lines << values.join(QLatin1Char('|'));
    }
    sqlite3_finalize(statement);
    return lines;
}

// A book of days on this computer: Greek and Latin texts, nulls, empty and blank-only slots.
void fillFileBook(const QString& folder, int days) {
    storetest::makeDataFile(folder);
    storetest::RawDatabase raw(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
    raw.execute(QStringLiteral("BEGIN"));
    QRandomGenerator random(2024);
    const QStringList texts = {QStringLiteral("Ραντεβού με τον κ. Παπαδόπουλο"),
                               QStringLiteral("Dentist"),
                               QStringLiteral("O'Brien \"quoted\""),
                               QString(),
                               QStringLiteral("   "),
                               QStringLiteral("line\nbreak"),
                               QString(255, QChar(0x03A9))};
    QDate day(2008, 1, 1);
    for (int i = 0; i < days; ++i, day = day.addDays(1)) {
        QStringList values{QStringLiteral("'%1'").arg(day.toString(Qt::ISODate))};
        for (int slot = 0; slot < 28; ++slot) {
            const int pick = int(random.bounded(texts.size() * 3));
            if (pick >= texts.size())
                values << QStringLiteral("NULL");
            else
                values << QLatin1Char('\'') + QString(texts[pick]).replace(QLatin1Char('\''), QStringLiteral("''")) +
                              QLatin1Char('\'');
        }
        raw.execute(QStringLiteral("INSERT INTO RANTEBOU VALUES (%1)").arg(values.join(QStringLiteral(", "))));
    }
    raw.execute(QStringLiteral("COMMIT"));
}

} // namespace

class ServerToolTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void serverFolderMadeAndRefused();
    void initMakesTableOnce();
    void copyUpAndDownRoundTrips();
    void copyUpRefusedOrMerged();

private:
    QString freshDatabase(bool withTable);
    BookFixture m_books;
    QTemporaryDir m_dir;
    int m_databases = 0;
};

void ServerToolTest::initTestCase() {
    // A usual desktop's umask, under which a folder made the plain way is readable by everybody.
    ::umask(022);
    if (!m_books.server().isRunning())
        QSKIP(qPrintable(m_books.server().failure()));
}

QString ServerToolTest::freshDatabase(bool withTable) {
    return m_books.server().makeDatabase(QStringLiteral("tool%1").arg(++m_databases), withTable);
}

void ServerToolTest::serverFolderMadeAndRefused() {
    const QString folder = m_dir.filePath(QStringLiteral("desk"));
    const QString connection = m_books.server().connectionFor(freshDatabase(true));
    Run made = runTool({QStringLiteral("server-folder"), folder, connection});
    QVERIFY2(made.exitCode == 0, qPrintable(made.errors));
    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("server.book"))));
    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav"))));
    QVERIFY(QFileInfo(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav"))).isWritable());
    store::Connection opened;
    opened.reopen(store::buildConnectionText(folder, QStringLiteral("Kw73Tp")));
    QVERIFY(opened.isOpen());

    Run again = runTool({QStringLiteral("server-folder"), folder, connection});
    QCOMPARE(again.exitCode, 1);
    QVERIFY2(again.errors.contains(QLatin1String("already exists")), qPrintable(again.errors));

    // The folder and its files are the user's alone, whatever the umask.
    QCOMPARE(int(QFileInfo(folder).permissions() & 0x7077),
             int(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const char* name : {"server.book", "RANTEBOU.rav", "EBDOMADA.rav"})
        QCOMPARE(int(QFileInfo(QDir(folder).filePath(QLatin1String(name))).permissions() & 0x7077),
                 int(QFile::ReadOwner | QFile::WriteOwner));

    // Refused: nothing is left behind, not even the folder.
    const QString withPassword = m_dir.filePath(QStringLiteral("secret"));
    Run refused = runTool({QStringLiteral("server-folder"), withPassword, connection + QStringLiteral(" password=x")});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.errors.contains(QLatin1String("holds a password")), qPrintable(refused.errors));
    QVERIFY(!QFileInfo::exists(withPassword));

    // A server that fails: only the failure is said, and it starts with a capital.
    const QString missing = m_books.serverFolder(m_books.server().connectionFor(QStringLiteral("no_such_book")));
    Run failed = runTool({QStringLiteral("server-init"), missing});
    QCOMPARE(failed.exitCode, 1);
    QCOMPARE(failed.output, QString());
    QVERIFY2(failed.errors.startsWith(QLatin1String("orvella-datafolder: The book the database \"no_such_book\"")),
             qPrintable(failed.errors));
    // A copy down from it leaves no folder behind, which a later start would take for one that lost its book.
    const QString notMade = m_dir.filePath(QStringLiteral("never"));
    Run notCopied = runTool({QStringLiteral("copy-down"), missing, notMade});
    QCOMPARE(notCopied.exitCode, 1);
    QVERIFY2(notCopied.errors.contains(QLatin1String("does not exist")), qPrintable(notCopied.errors));
    QVERIFY(!QFileInfo::exists(notMade));

    // Every command on a line of its own.
    Run help = runTool({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    for (const char* command : {"--import", "--export-ics", "--export-csv", "--list-backups", "--restore",
                                "server-folder", "server-init", "copy-up", "copy-down"})
        QCOMPARE(help.output.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^  %1 ").arg(
                                                                   QRegularExpression::escape(QLatin1String(command)))))
                     .size(),
                 1);
}

void ServerToolTest::initMakesTableOnce() {
    const QString database = freshDatabase(false);
    const QString folder = m_books.serverFolder(m_books.server().connectionFor(database));
    Run first = runTool({QStringLiteral("server-init"), folder});
    QVERIFY2(first.exitCode == 0, qPrintable(first.errors));
    QVERIFY2(first.output.contains(QLatin1String("made the appointment table")), qPrintable(first.output));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname = "
                                                           "'orvella_announce_day'")),
             QStringLiteral("1"));
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, QStringLiteral("Kw73Tp")));
    store::ensureDayRecord(connection, QStringLiteral("#3/5/2010#"));

    Run second = runTool({QStringLiteral("server-init"), folder});
    QVERIFY2(second.exitCode == 0, qPrintable(second.errors));
    QVERIFY2(second.output.contains(QLatin1String("kept the appointment table")), qPrintable(second.output));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT count(*) FROM rantebou")), QStringLiteral("1"));
}

void ServerToolTest::copyUpAndDownRoundTrips() {
    const QString source = m_dir.filePath(QStringLiteral("source"));
    QVERIFY(QDir().mkpath(source));
    fillFileBook(source, 10000);
    const QStringList original = fileBook(source);
    QCOMPARE(original.size(), 10000);

    const QString database = freshDatabase(true);
    const QString server = m_books.serverFolder(m_books.server().connectionFor(database));
    Run up = runTool({QStringLiteral("copy-up"), source, server});
    QVERIFY2(up.exitCode == 0, qPrintable(up.errors));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT count(*) FROM rantebou")), QStringLiteral("10000"));

    // The server folder's own sheets go down with the book.
    for (const char* name : {"RANTEBOU.rav", "EBDOMADA.rav"}) {
        QFile sheet(QDir(server).filePath(QLatin1String(name)));
        QVERIFY(sheet.open(QIODevice::WriteOnly) && sheet.write(QByteArray("<sheet of ") + name + "/>") > 0);
    }
    const QString target = m_dir.filePath(QStringLiteral("target"));
    Run down = runTool({QStringLiteral("copy-down"), server, target});
    QVERIFY2(down.exitCode == 0, qPrintable(down.errors));
    // A whole data folder: the book and the server folder's two sheets, the user's alone; nothing left beside.
    for (const char* name : {"RANTEBOU.rav", "EBDOMADA.rav"}) {
        QFile copy(QDir(target).filePath(QLatin1String(name)));
        QVERIFY(copy.open(QIODevice::ReadOnly) && copy.readAll() == QByteArray("<sheet of ") + name + "/>");
        QCOMPARE(int(copy.permissions() & 0x7077), int(QFile::ReadOwner | QFile::WriteOwner));
    }
    QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Hidden).size(), 3);
    const QStringList copied = fileBook(target);
    QCOMPARE(copied.size(), original.size());
    for (int i = 0; i < original.size(); ++i)
        QCOMPARE(copied[i], original[i]);

    // A copy never goes over an existing book.
    Run over = runTool({QStringLiteral("copy-down"), server, target});
    QCOMPARE(over.exitCode, 1);
    QVERIFY2(over.errors.contains(QLatin1String("already exists")), qPrintable(over.errors));
    QCOMPARE(fileBook(target).size(), 10000);

    // A week sheet of the user's own in the new folder is kept.
    const QString withSheet = m_dir.filePath(QStringLiteral("with-sheet"));
    QVERIFY(QDir().mkpath(withSheet) && QFile::copy(QDir(server).filePath(QStringLiteral("RANTEBOU.rav")),
                                                     QDir(withSheet).filePath(QStringLiteral("EBDOMADA.rav"))));
    Run besideOwn = runTool({QStringLiteral("copy-down"), server, withSheet});
    QVERIFY2(besideOwn.exitCode == 0, qPrintable(besideOwn.errors));
    QFile own(QDir(withSheet).filePath(QStringLiteral("EBDOMADA.rav")));
    QVERIFY(own.open(QIODevice::ReadOnly) && own.readAll() == "<sheet of RANTEBOU.rav/>");
}

void ServerToolTest::copyUpRefusedOrMerged() {
    const QString database = freshDatabase(true);
    const QString server = m_books.serverFolder(m_books.server().connectionFor(database));
    // The server's 0930-1000 is filled where the file's is empty: kept, but no difference of the file's.
    m_books.server().run(database, QStringLiteral("INSERT INTO rantebou (hmeromhnia, \"0800-0830\", \"0900-0930\", "
                                                  "\"0930-1000\") VALUES ('2010-03-05', 'server', ' \t ', 'only here')"));
    const QString source = m_dir.filePath(QStringLiteral("merging"));
    QVERIFY(QDir().mkpath(source));
    storetest::makeDataFile(source);
    {
        storetest::RawDatabase raw(QDir(source).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
        QCOMPARE(raw.execute(QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA, \"0800-0830\", \"0830-0900\", "
                                            "\"0900-0930\") VALUES ('2010-03-05', 'file', 'file2', 'file3')")),
                 0);
        QCOMPARE(raw.execute(QStringLiteral("INSERT INTO RANTEBOU (HMEROMHNIA, \"0800-0830\") VALUES "
                                            "('2010-03-06', 'next day')")),
                 0);
    }
    Run refused = runTool({QStringLiteral("copy-up"), source, server});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.errors.contains(QLatin1String("already holds 1 day")), qPrintable(refused.errors));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT count(*) FROM rantebou")), QStringLiteral("1"));

    // A desk, with only the rights server-init gives the desks, is told to copy through the owner's folder.
    m_books.server().run(database, QStringLiteral("CREATE ROLE orvella_desks NOLOGIN; CREATE ROLE desk9 LOGIN IN ROLE "
                                                  "orvella_desks"));
    Run init = runTool({QStringLiteral("server-init"), server});
    QVERIFY2(init.output.contains(QLatin1String("gave orvella_desks")), qPrintable(init.output));
    const QString desk = m_books.serverFolder(
        m_books.server().connectionFor(database).replace(QStringLiteral("user=postgres"), QStringLiteral("user=desk9")));
    Run fromDesk = runTool({QStringLiteral("copy-up"), source, desk, QStringLiteral("--merge")});
    QCOMPARE(fromDesk.exitCode, 1);
    QVERIFY2(fromDesk.errors.contains(QLatin1String("This user may not copy a whole book up")), qPrintable(fromDesk.errors));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT count(*) FROM rantebou")), QStringLiteral("1"));

    Run merged = runTool({QStringLiteral("copy-up"), source, server, QStringLiteral("--merge")});
    QVERIFY2(merged.exitCode == 0, qPrintable(merged.errors));
    QVERIFY2(merged.output.contains(QLatin1String("1 added, 1 merged, 1 filled slot")), qPrintable(merged.output));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT concat_ws('+', \"0800-0830\", \"0830-0900\", "
                                                           "\"0900-0930\") FROM rantebou WHERE hmeromhnia = "
                                                           "'2010-03-05'")),
             QStringLiteral("server+file2+file3"));
    QCOMPARE(m_books.server().run(database, QStringLiteral("SELECT \"0800-0830\" FROM rantebou WHERE hmeromhnia = "
                                                           "'2010-03-06'")),
             QStringLiteral("next day"));
}

QTEST_GUILESS_MAIN(ServerToolTest)
#include "ServerToolTest.moc"
