// The data-folder tool's backup commands, run as a user runs them: listing the daily copies, putting one back
// (the book it replaces kept beside, the restored one in place in one move), and refusing, with nothing changed,
// a backup that is damaged or no book, and a folder Orvella is working on.

#include "tests/store/StoreTestSupport.h"

#include "store/backup/BackupFolder.h"
#include "store/backup/BackupMaker.h"
#include "store/backup/FolderLock.h"
#include "store/engine/ConnectionText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Password = QStringLiteral("Kw73Tp");
const QDate Older(2026, 12, 8);
const QDate Newer(2026, 12, 9);

using Run = storetest::ProgramRun;

Run runTool(const QStringList& arguments) {
    return storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments, 30000);
}

// What the book's one record holds in its first slot.
QString storedText(const QString& file) {
    return storetest::RawDatabase(file, Password).text(QStringLiteral("SELECT \"0800-0830\" FROM RANTEBOU"));
}

void setText(const QString& file, const QString& text) {
    storetest::RawDatabase(file, Password)
        .execute(QStringLiteral("INSERT OR REPLACE INTO RANTEBOU(HMEROMHNIA, \"0800-0830\") VALUES('2026-12-08', '%1')")
                     .arg(text));
}

void overwrite(const QString& file, qint64 offset, const QByteArray& bytes) {
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    QVERIFY(damaged.seek(offset));
    QCOMPARE(damaged.write(bytes), bytes.size());
}

QStringList setAside(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("data-replaced-*")}, QDir::Files);
}

} // namespace

class RestoreToolTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void listsTheCopiesNewestFirst();
    void listsNoCopies();
    void restoresAndKeepsTheReplacedBook();
    void restoresIntoAFolderThatLostItsBook();
    void refuses_data();
    void refuses();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_book;
    QString m_older;
    QString m_newer;
};

void RestoreToolTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_book = storetest::makeDataFile(m_dir->path());
    setText(m_book, QStringLiteral("older"));
    QCOMPARE(store::makeDailyBackup(m_book, Password, Older).result, store::BackupOutcome::Result::Made);
    setText(m_book, QStringLiteral("newer"));
    QCOMPARE(store::makeDailyBackup(m_book, Password, Newer).result, store::BackupOutcome::Result::Made);
    setText(m_book, QStringLiteral("current"));
    m_older = QDir(store::backupFolderOf(m_dir->path())).filePath(store::backupFileName(Older));
    m_newer = QDir(store::backupFolderOf(m_dir->path())).filePath(store::backupFileName(Newer));
}

void RestoreToolTest::listsTheCopiesNewestFirst() {
    const Run run = runTool({QStringLiteral("--list-backups"), m_dir->path()});
    QCOMPARE(run.exitCode, 0);
    const qsizetype newer = run.output.indexOf(QLatin1String("2026-12-09"));
    const qsizetype older = run.output.indexOf(QLatin1String("2026-12-08"));
    QVERIFY2(newer >= 0 && older > newer, qPrintable(run.output));
    QVERIFY2(run.output.contains(store::restoreCommand(m_newer, m_dir->path())), qPrintable(run.output));
}

void RestoreToolTest::listsNoCopies() {
    QTemporaryDir empty;
    const Run run = runTool({QStringLiteral("--list-backups"), empty.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.startsWith(QLatin1String("No backups in")), qPrintable(run.output));
}

void RestoreToolTest::restoresAndKeepsTheReplacedBook() {
    const storetest::FileSnapshot current = storetest::snapshot(m_book);
    // A save cut short left its journal; it belongs to the book being replaced.
    QFile journal(m_book + QStringLiteral("-journal"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write("left by a save cut short");
    journal.close();

    const Run run = runTool({QStringLiteral("--restore"), m_older, m_dir->path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(storedText(m_book), QStringLiteral("older"));
#ifndef Q_OS_WIN // Windows keeps access in lists that Qt's permissions do not read
    QCOMPARE(QFileInfo(m_book).permissions() & 0x0077, QFile::Permissions());
#endif

    const QStringList kept = setAside(m_dir->path());
    QCOMPARE(kept.size(), 2);
    const QStringList keptBooks =
        kept.filter(QRegularExpression(QStringLiteral("^data-replaced-\\d{4}-\\d{2}-\\d{2}T\\d{4}\\.mdb$")));
    QVERIFY2(keptBooks.size() == 1, qPrintable(kept.join(QLatin1Char(' '))));
    const QString keptBook = QDir(m_dir->path()).filePath(keptBooks.first());
    QCOMPARE(storetest::snapshot(keptBook).bytes, current.bytes);
    QVERIFY(QFile::exists(keptBook + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(m_book + QStringLiteral("-journal")));
    QVERIFY2(run.output.contains(QFileInfo(keptBook).fileName()), qPrintable(run.output));
    // Nothing passing is left, and the backup itself is untouched.
    QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral(".data.mdb.restoring-*")}, QDir::Files | QDir::Hidden),
             QStringList());
    QCOMPARE(storedText(m_older), QStringLiteral("older"));

    // A second restore within the same minute keeps the book it replaces too, under a name of its own.
    QCOMPARE(runTool({QStringLiteral("--restore"), m_newer, m_dir->path()}).exitCode, 0);
    QCOMPARE(storedText(m_book), QStringLiteral("newer"));
    QCOMPARE(setAside(m_dir->path()).filter(QRegularExpression(QStringLiteral("\\.mdb$"))).size(), 2);
}

void RestoreToolTest::restoresIntoAFolderThatLostItsBook() {
    QVERIFY(QFile::remove(m_book));
    const Run run = runTool({QStringLiteral("--restore"), m_newer, m_dir->path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    QCOMPARE(storedText(m_book), QStringLiteral("newer"));
    QCOMPARE(setAside(m_dir->path()), QStringList());
}

void RestoreToolTest::refuses_data() {
    QTest::addColumn<QString>("backup");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("a damaged backup") << "newer"
                                      << "pages"
                                      << "cannot be restored: it is damaged";
    QTest::newRow("a backup cut short") << "newer"
                                        << "truncate"
                                        << "cannot be restored";
    QTest::newRow("a text file") << "newer"
                                 << "text"
                                 << "cannot be restored";
    QTest::newRow("a book of another password") << "newer"
                                                << "password"
                                                << "does not open with the book's password";
    QTest::newRow("no such backup") << "missing"
                                    << ""
                                    << "there is no file";
    QTest::newRow("the folder in use by Orvella") << "newer"
                                                  << "in use"
                                                  << "Orvella is running on the folder";
}

void RestoreToolTest::refuses() {
    QFETCH(QString, backup);
    QFETCH(QString, damage);
    QFETCH(QString, message);
    const QString path = backup == QLatin1String("newer") ? m_newer : m_dir->filePath(QStringLiteral("nothing.mdb"));
    std::unique_ptr<store::FolderLock> running;
    if (damage == QLatin1String("pages")) {
        overwrite(path, 3 * 1024 + 200, QByteArray(32, '\x5a'));
    } else if (damage == QLatin1String("truncate")) {
        QFile file(path);
        QVERIFY(file.resize(file.size() / 2));
    } else if (damage == QLatin1String("text")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("these are not appointments\n");
    } else if (damage == QLatin1String("password")) {
        QFile::remove(path);
        QTemporaryDir other;
        QFile::copy(storetest::makeDataFile(other.path(), QStringLiteral("another")), path);
    } else if (damage == QLatin1String("in use")) {
        running = std::make_unique<store::FolderLock>(m_dir->path(), store::FolderLock::Mode::Shared);
        QVERIFY(running->held());
    }
    const storetest::FileSnapshot before = storetest::snapshot(m_book);
    const Run run = runTool({QStringLiteral("--restore"), path, m_dir->path()});
    QVERIFY(run.exitCode > 0);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY2(run.errors.contains(QLatin1String("Nothing was changed.")), qPrintable(run.errors));
    QVERIFY(storetest::snapshot(m_book) == before);
    QCOMPARE(setAside(m_dir->path()), QStringList());
    QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral(".data.mdb.restoring-*")}, QDir::Files | QDir::Hidden),
             QStringList());
}

QTEST_GUILESS_MAIN(RestoreToolTest)
#include "RestoreToolTest.moc"
