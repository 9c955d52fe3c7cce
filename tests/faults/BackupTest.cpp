// The day's backup of the book: consistent while another program saves (each copy is the book as it stood at one
// moment, with every save acknowledged before the copy began), rotated, the owner's alone whatever the umask,
// reported with a reason when it cannot be made and never touching the book; and a damaged book caught at its
// first open, naming the newest good backup and the command that restores it.

#include "tests/faults/DataFileState.h"
#include "tests/faults/PostReport.h"
#include "tests/faults/PosterProcess.h"
#include "tests/store/StoreTestSupport.h"

#include "store/backup/BackupFolder.h"
#include "store/backup/BackupMaker.h"
#include "store/backup/BackupRotation.h"
#include "store/backup/DailyBackup.h"
#include "store/Connection.h"
#include "store/cipher/FirstOpenCheck.h"
#include "store/engine/TableLayout.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString Password = QStringLiteral("Kw73Tp");
const QDate Today(2026, 12, 9);

// Records on days the poster never touches, so that a copy takes long enough for saves to meet it.
void fill(const QString& book, int records) {
    storetest::RawDatabase database(book, Password);
    database.execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < records; ++i) {
        database.execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA, \"0800-0830\", \"1200-1230\") VALUES('%1', "
                                        "'Ραντεβού %2', 'Συνάντηση με τον κ. Παπαδόπουλο')")
                             .arg(QDate(2011, 1, 1).addDays(i).toString(Qt::ISODate))
                             .arg(i));
    }
    database.execute(QStringLiteral("COMMIT"));
}

int mode(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return static_cast<int>(status.st_mode & 0777);
}

void invertPage(const QString& path, qint64 page) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(page * 1024));
    QByteArray bytes = file.read(1024);
    for (char& c : bytes)
        c = static_cast<char>(~c);
    QVERIFY(file.seek(page * 1024));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class BackupTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    // First, while this process has checked no book yet.
    void firstOpenWaitsForTheBackupsCheck();
    void copiesAreConsistentWhileAnotherProgramSaves();
    void dailyBackupRotatesAndIsTheOwnersAlone();
    void failedBackupSaysWhyAndLeavesTheBook_data();
    void failedBackupSaysWhyAndLeavesTheBook();
    void theWorkerRunsOncePerDay();
    void damagedBookNamesTheNewestGoodBackup_data();
    void damagedBookNamesTheNewestGoodBackup();
    void todaysCopyIsSetAsideUnlessSound_data();
    void todaysCopyIsSetAsideUnlessSound();
    void backupFolderLeadingOutsideIsNeverTouched();
    void proposedBackupPassesItsCheckAndIsNotAheadOfTheClock();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_book;
};

void BackupTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_book = storetest::makeDataFile(m_dir->path());
}

void BackupTest::copiesAreConsistentWhileAnotherProgramSaves() {
    fill(m_book, 3000);
    const SlotValues before = faults::storedSlots(m_book);
    PosterProcess poster({QStringLiteral("loop"), m_dir->path(), QStringLiteral("b")});
    QVERIFY(poster.started());

    QList<PostReport> posted; // every acknowledged save, in order
    const auto take = [&](const QString& line) {
        const PostReport report = PostReport::parse(line);
        QVERIFY2(report.kind != QLatin1String("refused"), qPrintable(line));
        if (report.kind == QLatin1String("posted"))
            posted << report;
    };
    const auto collect = [&] {
        for (const QString& line : poster.takeLines())
            take(line);
    };
    while (posted.size() < 5) {
        const QString line = poster.nextLine(20000);
        QVERIFY2(!line.isNull(), qPrintable(poster.errorOutput()));
        take(line);
    }

    constexpr int Copies = 6;
    QList<qsizetype> acknowledgedBefore;
    QList<qsizetype> acknowledgedAfter;
    for (int i = 0; i < Copies; ++i) {
        collect();
        acknowledgedBefore << posted.size();
        const store::BackupOutcome outcome = store::makeDailyBackup(m_book, Password, Today.addDays(i));
        QVERIFY2(outcome.result == store::BackupOutcome::Result::Made, qPrintable(outcome.message));
        QTest::qWait(30);
        collect();
        acknowledgedAfter << posted.size();
    }
    poster.kill();
    collect();

    int savesDuringCopies = 0;
    for (int i = 0; i < Copies; ++i) {
        const QString copy =
            QDir(store::backupFolderOf(m_dir->path())).filePath(store::backupFileName(Today.addDays(i)));
        QCOMPARE(faults::integrityCheck(copy), QStringLiteral("ok"));
        const SlotValues stored = faults::storedSlots(copy);
        // The copy is the book after some number of saves, at least all those acknowledged before it began.
        SlotValues state = before;
        for (qsizetype k = 0; k < acknowledgedBefore[i]; ++k)
            state = posted[k].appliedTo(state);
        qsizetype k = acknowledgedBefore[i];
        while (state != stored && k < posted.size())
            state = posted[k++].appliedTo(state);
        QVERIFY2(state == stored, qPrintable(QStringLiteral("copy %1 is no state the book was in:\n%2")
                                                 .arg(i)
                                                 .arg(faults::describeDifference(state, stored))));
        savesDuringCopies += static_cast<int>(acknowledgedAfter[i] - acknowledgedBefore[i]);
    }
    // The saves went on while the copies were made: they waited for the copy, never failed.
    QVERIFY2(savesDuringCopies > 0, "no save met a copy");
    qInfo("%lld saves acknowledged, %d of them while one of %d copies was being made", posted.size(), savesDuringCopies,
          Copies);
}

void BackupTest::dailyBackupRotatesAndIsTheOwnersAlone() {
    const mode_t saved = ::umask(0);
    const QDir folder(store::backupFolderOf(m_dir->path()));
    const store::BackupOutcome first = store::makeDailyBackup(m_book, Password, Today.addDays(-40));
    QCOMPARE(first.result, store::BackupOutcome::Result::Made);
    QCOMPARE(mode(folder.path()), 0700);
    QCOMPARE(mode(first.path), 0600);
    ::umask(saved);

    // Forty days of copies, then today's: the rotation runs only once today's is verified and in place.
    QStringList names{store::backupFileName(Today.addDays(-40))};
    // Two files under a copy's name that this program never made: a link to someone's file outside, and a file
    // that is no book. The rotation would take both by their names; it leaves them.
    QTemporaryDir outside;
    const QString someonesFile = QDir(outside.path()).filePath(QStringLiteral("theirs.mdb"));
    QVERIFY(QFile::copy(first.path, someonesFile));
    const QString linked = store::backupFileName(Today.addDays(-38));
    const QString notABook = store::backupFileName(Today.addDays(-37));
    for (int day = -39; day < 0; ++day) {
        const QString name = store::backupFileName(Today.addDays(day));
        if (name == linked) {
            QVERIFY(QFile::link(someonesFile, folder.filePath(name)));
        } else if (name == notABook) {
            QFile junk(folder.filePath(name));
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(100, 'x'));
        } else {
            QVERIFY(QFile::copy(first.path, folder.filePath(name)));
        }
        names << name;
    }
    QFile note(folder.filePath(QStringLiteral("notes.txt")));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    names << store::backupFileName(Today);
    const store::BackupOutcome today = store::makeDailyBackup(m_book, Password, Today);
    QCOMPARE(today.result, store::BackupOutcome::Result::Made);
    QStringList expectedRemoved = store::backupsToRemove(names, Today);
    QVERIFY(expectedRemoved.contains(linked) && expectedRemoved.contains(notABook));
    expectedRemoved.removeAll(linked);
    expectedRemoved.removeAll(notABook);
    QVERIFY(expectedRemoved.size() > 20);
    QStringList removed = today.removed;
    removed.sort();
    expectedRemoved.sort();
    QCOMPARE(removed, expectedRemoved);
    for (const QString& name : expectedRemoved)
        QVERIFY(!QFile::exists(folder.filePath(name)));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("notes.txt"))));
    QVERIFY(QFileInfo(folder.filePath(linked)).isSymLink());
    QCOMPARE(faults::integrityCheck(someonesFile), QStringLiteral("ok"));
    QCOMPARE(QFileInfo(folder.filePath(notABook)).size(), 100);
    QCOMPARE(faults::integrityCheck(today.path), QStringLiteral("ok"));

    // Once a day: the second attempt leaves today's copy as it is.
    const storetest::FileSnapshot made = storetest::snapshot(today.path);
    QCOMPARE(store::makeDailyBackup(m_book, Password, Today).result, store::BackupOutcome::Result::AlreadyMade);
    QVERIFY(storetest::snapshot(today.path) == made);
}

void BackupTest::failedBackupSaysWhyAndLeavesTheBook_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("words");
    QTest::newRow("a file where the backup folder goes")
        << "file" << int(store::BackupOutcome::Result::Failed) << "could not be made";
    QTest::newRow("a read-only backup folder")
        << "read-only" << int(store::BackupOutcome::Result::Failed) << "could not be made";
    QTest::newRow("a damaged book: opening it says so")
        << "damaged" << int(store::BackupOutcome::Result::BookDamaged) << "";
    QTest::newRow("no book: opening it says so") << "missing" << int(store::BackupOutcome::Result::NoBook) << "";
}

void BackupTest::failedBackupSaysWhyAndLeavesTheBook() {
    QFETCH(QString, obstacle);
    QFETCH(int, result);
    QFETCH(QString, words);
    fill(m_book, 100);
    const QString backups = store::backupFolderOf(m_dir->path());
    std::unique_ptr<storetest::FilePermissionsEnforced> enforced;
    if (obstacle == QLatin1String("file")) {
        QFile blocker(backups);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else if (obstacle == QLatin1String("read-only")) {
        QVERIFY(QDir().mkpath(backups));
        QVERIFY(QFile::setPermissions(backups, QFile::ReadOwner | QFile::ExeOwner));
        enforced = std::make_unique<storetest::FilePermissionsEnforced>();
        if (!enforced->active())
            QSKIP("file permissions cannot be enforced here");
    } else if (obstacle == QLatin1String("damaged")) {
        invertPage(m_book, 5);
    } else {
        QVERIFY(QFile::remove(m_book));
    }
    const storetest::FileSnapshot before = storetest::snapshot(m_book);
    const store::BackupOutcome outcome = store::makeDailyBackup(m_book, Password, Today);
    enforced.reset();
    QFile::setPermissions(backups, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(int(outcome.result), result);
    if (!words.isEmpty()) {
        QVERIFY2(outcome.message.contains(words), qPrintable(outcome.message));
        // What it means for the user, and what to do.
        QVERIFY2(outcome.message.contains(QLatin1String("not affected")), qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(QLatin1String("tries again at its next start")), qPrintable(outcome.message));
    } else {
        QVERIFY(outcome.message.isEmpty());
    }
    QVERIFY(storetest::snapshot(m_book) == before);
    QVERIFY(!QFile::exists(outcome.path));
    if (QFileInfo(backups).isDir())
        QCOMPARE(QDir(backups).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void BackupTest::theWorkerRunsOncePerDay() {
    store::DailyBackup worker;
    QVERIFY(!worker.startIfNewDay(m_book, Password, Today)); // no start-up backup yet in this process
    QVERIFY(worker.startIfDue(m_book, Password, Today.addDays(-1)));
    QVERIFY(!worker.startIfDue(m_book, Password, Today.addDays(-1)));
    std::optional<store::BackupOutcome> outcome = worker.finish();
    QVERIFY(outcome);
    QCOMPARE(outcome->result, store::BackupOutcome::Result::Made);
    QVERIFY(!worker.finish()); // handed over once
    QVERIFY(!worker.startIfNewDay(m_book, Password, Today.addDays(-1)));
    // Past midnight, the first save starts the new day's backup.
    QVERIFY(worker.startIfNewDay(m_book, Password, Today));
    QElapsedTimer waited;
    waited.start();
    while (!(outcome = worker.takeIfDone()) && waited.elapsed() < 60000)
        QTest::qWait(10);
    QVERIFY(outcome);
    QCOMPARE(outcome->result, store::BackupOutcome::Result::Made);
    QVERIFY(QFile::exists(outcome->path));
}

void BackupTest::damagedBookNamesTheNewestGoodBackup_data() {
    QTest::addColumn<bool>("newestDamaged");
    QTest::addColumn<bool>("anyBackup");
    QTest::newRow("the newest backup is good") << false << true;
    QTest::newRow("the newest backup is damaged too: the one before") << true << true;
    QTest::newRow("no backup") << false << false;
}

void BackupTest::damagedBookNamesTheNewestGoodBackup() {
    QFETCH(bool, newestDamaged);
    QFETCH(bool, anyBackup);
    fill(m_book, 200);
    const QDir backups(store::backupFolderOf(m_dir->path()));
    if (anyBackup) {
        QCOMPARE(store::makeDailyBackup(m_book, Password, Today.addDays(-1)).result,
                 store::BackupOutcome::Result::Made);
        QCOMPARE(store::makeDailyBackup(m_book, Password, Today).result, store::BackupOutcome::Result::Made);
        if (newestDamaged)
            invertPage(backups.filePath(store::backupFileName(Today)), 7);
    }
    invertPage(m_book, 7);
    const storetest::FileSnapshot before = storetest::snapshot(m_book);
    QTest::qWait(20);

    // A program starting on the folder: its first open of the book.
    PosterProcess program({QStringLiteral("open"), m_dir->path()});
    QVERIFY(program.started());
    QVERIFY(program.waitForEnd(30000));
    QCOMPARE(program.exitCode(), 3);
    const QString answer = program.takeLines().join(QLatin1Char('\n'));
    QVERIFY2(answer.contains(QLatin1String("is damaged")) && answer.contains(QLatin1String("has not written to it")),
             qPrintable(answer));
    if (anyBackup) {
        const QString good = backups.filePath(store::backupFileName(newestDamaged ? Today.addDays(-1) : Today));
        QVERIFY2(answer.contains(QStringLiteral("The newest good backup is \"%1\"").arg(good)), qPrintable(answer));
        QVERIFY2(answer.contains(store::restoreCommand(good, m_dir->path())), qPrintable(answer));
    } else {
        QVERIFY2(answer.contains(QLatin1String("No good backup was found")), qPrintable(answer));
    }
    QVERIFY2(storetest::snapshot(m_book) == before, "the damaged book was written to");
}

// A copy under today's name counts only when it passes its check and was not made on a clock running ahead;
// otherwise it is set aside, whole, and a new copy made.
void BackupTest::todaysCopyIsSetAsideUnlessSound_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("a 100-byte file under today's name") << "junk";
    QTest::newRow("a copy written while the clock ran three days ahead") << "ahead";
}

void BackupTest::todaysCopyIsSetAsideUnlessSound() {
    QFETCH(QString, obstacle);
    const QDir folder(store::backupFolderOf(m_dir->path()));
    QCOMPARE(store::makeDailyBackup(m_book, Password, Today.addDays(-1)).result, store::BackupOutcome::Result::Made);
    const QString todays = folder.filePath(store::backupFileName(Today));
    if (obstacle == QLatin1String("junk")) {
        QFile junk(todays);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(100, 'x'));
    } else {
        QVERIFY(QFile::copy(folder.filePath(store::backupFileName(Today.addDays(-1))), todays));
        QFile ahead(todays);
        QVERIFY(ahead.open(QIODevice::ReadWrite));
        QVERIFY(ahead.setFileTime(QDateTime::currentDateTime().addDays(3), QFileDevice::FileModificationTime));
    }
    const storetest::FileSnapshot before = storetest::snapshot(todays);
    fill(m_book, 10);

    const store::BackupOutcome outcome = store::makeDailyBackup(m_book, Password, Today);
    QCOMPARE(outcome.result, store::BackupOutcome::Result::Made);
    QVERIFY2(!outcome.setAside.isEmpty() && storetest::snapshot(outcome.setAside) == before,
             qPrintable(outcome.setAside));
    QCOMPARE(faults::integrityCheck(todays), QStringLiteral("ok"));
    // The copy set aside is neither listed nor rotated as a copy of its own.
    for (const store::BackupFile& backup : store::listBackups(m_dir->path()))
        QVERIFY(backup.path != outcome.setAside);
    QCOMPARE(store::makeDailyBackup(m_book, Password, Today).result, store::BackupOutcome::Result::AlreadyMade);
}

// A backup folder that is a link to another office's folder of copies: refused with a message, every file
// there left as it was.
void BackupTest::backupFolderLeadingOutsideIsNeverTouched() {
    QTemporaryDir other;
    const QDir theirs(other.path());
    QTemporaryDir scratch;
    const QString copy = store::makeDailyBackup(m_book, Password, Today).path;
    for (int day = 0; day < 20; ++day)
        QVERIFY(QFile::copy(copy, theirs.filePath(store::backupFileName(Today.addDays(-60 + 2 * day)))));
    QVERIFY(QDir(store::backupFolderOf(m_dir->path())).removeRecursively());
    QVERIFY(QFile::link(other.path(), store::backupFolderOf(m_dir->path())));
    const QStringList before = theirs.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const store::BackupOutcome outcome = store::makeDailyBackup(m_book, Password, Today);
    QCOMPARE(outcome.result, store::BackupOutcome::Result::Failed);
    QVERIFY2(outcome.message.contains(QLatin1String("outside the data folder")), qPrintable(outcome.message));
    QCOMPARE(theirs.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QCOMPARE(before.size(), 20);
    QVERIFY(store::listBackups(m_dir->path()).isEmpty());
}

// After a book is damaged, the advice names the newest copy that passes its check, never one dated ahead of
// the clock (which lacks the days since) nor one under a recent name that fails its check.
void BackupTest::proposedBackupPassesItsCheckAndIsNotAheadOfTheClock() {
    const QDate today = QDate::currentDate();
    const QDir folder(store::backupFolderOf(m_dir->path()));
    const QString good = store::makeDailyBackup(m_book, Password, today.addDays(-2)).path;
    QVERIFY(QFile::copy(good, folder.filePath(store::backupFileName(today.addDays(15)))));
    QFile junk(folder.filePath(store::backupFileName(today.addDays(-1))));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(100, 'x'));
    junk.close();
    const std::optional<store::BackupFile> proposed = store::newestGoodBackup(m_dir->path(), Password);
    QVERIFY(proposed);
    QCOMPARE(proposed->path, good);
    const QList<store::BackupFile> listed = store::listBackups(m_dir->path());
    QCOMPARE(listed.size(), 3);
    QVERIFY(listed.last().aheadOfClock);
}

// One start reads the book once: the first open waits for the check the day's backup makes (it verifies its
// copy page by page) instead of running its own beside it on the other core.
void BackupTest::firstOpenWaitsForTheBackupsCheck() {
    fill(m_book, 3000);
    store::DailyBackup worker;
    const qint64 checksBefore = store::firstOpenChecks();
    QVERIFY(worker.startIfDue(m_book, Password, Today));
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(m_dir->path()));
    connection.open();
    connection.close();
    const std::optional<store::BackupOutcome> outcome = worker.finish();
    QVERIFY(outcome);
    QCOMPARE(outcome->result, store::BackupOutcome::Result::Made);
    QCOMPARE(store::firstOpenChecks(), checksBefore);
    // Without a backup under way, the first open of a book checks it itself.
    QTemporaryDir another;
    storetest::makeDataFile(another.path());
    store::Connection second;
    second.setConnectionText(storetest::connectionTextFor(another.path()));
    second.open();
    second.close();
    QCOMPARE(store::firstOpenChecks(), checksBefore + 1);
}

QTEST_GUILESS_MAIN(BackupTest)
#include "BackupTest.moc"
