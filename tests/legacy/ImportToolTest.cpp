// orvella-datafolder --import, run as a user runs it: a new data folder from an older book, days added to
// an existing folder's book, and every kind of bad input ending with a clear message, a non-zero exit code
// and nothing half-made in the target folder.

#include "tests/faults/SmallDisk.h"
#include "tests/legacy/LegacyTestSupport.h"
#include "tests/store/StoreTestSupport.h"

#include "store/cipher/DatabaseFile.h"
#include "store/wholebook/WholeBookReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
    QString errors;
};

// Runs the tool; asUser runs it without root's override of file permissions, as an ordinary user meets them.
Run runTool(const QStringList& arguments, bool asUser = false) {
    QProcess tool;
    if (asUser && ::geteuid() == 0)
        tool.start(QStringLiteral("setpriv"),
                   QStringList{QStringLiteral("--bounding-set=-dac_override,-dac_read_search"),
                               QStringLiteral(ORVELLA_DATAFOLDER_TOOL)} +
                       arguments);
    else
        tool.start(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
    Run run;
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    run.output = QString::fromUtf8(tool.readAllStandardOutput());
    run.errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

// Whether only the owner may reach path (no rights for the group or others), as a book and its folder must be.
bool ownerOnly(const QString& path) {
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
    return (QFile::permissions(path) & others) == 0;
}

qint64 daysIn(const QString& folder) {
    return store::WholeBookReader(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"))
        .dayCount();
}

// Every file under folder with its bytes, to show a failure left the folder as it was.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> contents;
    if (!QFileInfo(folder).isDir())
        return contents;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        contents.insert(entry.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(folder)"));
    }
    return contents;
}

} // namespace

class ImportToolTest : public QObject {
    Q_OBJECT

private slots:
    void makesANewDataFolder();
    void addsDaysToAnExistingFolder();
    void takesAnotherPassword();
    void neverOverwrites();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void badInput_data();
    void badInput();
};

void ImportToolTest::makesANewDataFolder() {
    QTemporaryDir dir;
    const QString source = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small-password.mdb"));
    const QString folder = dir.filePath(QStringLiteral("new/Ιατρείο"));
    // Owner-only whatever the umask lets through.
    const mode_t umask = ::umask(0022);
    const Run run = runTool({QStringLiteral("--import"), source, folder});
    ::umask(umask);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(ownerOnly(folder));
    QVERIFY(ownerOnly(QDir(folder).filePath(QStringLiteral("data.mdb"))));
    QVERIFY2(run.output.contains(QLatin1String("60 records read, 60 new days")), qPrintable(run.output));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("EBDOMADA.rav"), QStringLiteral("RANTEBOU.rav"), QStringLiteral("data.mdb")}));
    QCOMPARE(daysIn(folder), 60);
}

void ImportToolTest::addsDaysToAnExistingFolder() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("office"));
    QCOMPARE(runTool({folder}).exitCode, 0);
    const storetest::FileSnapshot sheet = storetest::snapshot(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav")));
    const QString source = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small-encoded.mdb"));
    const mode_t umask = ::umask(0022);
    const Run run = runTool({QStringLiteral("--import"), source, QStringLiteral("--into"), folder});
    ::umask(umask);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(ownerOnly(QDir(folder).filePath(QStringLiteral("data.mdb"))));
    QCOMPARE(daysIn(folder), 60);
    // Importing the same book again merges every day into itself: nothing doubles.
    const Run again = runTool({QStringLiteral("--import"), source, QStringLiteral("--into"), folder});
    QCOMPARE(again.exitCode, 0);
    QVERIFY2(again.output.contains(QLatin1String("0 new days, 60 days in the book now")), qPrintable(again.output));
    QVERIFY2(again.output.contains(QLatin1String("60 days were merged slot by slot, 0 slots hold two texts")),
             qPrintable(again.output));
    QCOMPARE(daysIn(folder), 60);
    QVERIFY(storetest::snapshot(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav"))) == sheet);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void ImportToolTest::takesAnotherPassword() {
    QTemporaryDir dir;
    const QString source = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-other-password.mdb"));
    const Run run = runTool({QStringLiteral("--import"), source, QStringLiteral("--password"),
                             QStringLiteral("λάθος-1"), dir.filePath(QStringLiteral("office"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(daysIn(dir.filePath(QStringLiteral("office"))), 60);
}

void ImportToolTest::neverOverwrites() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("office"));
    QCOMPARE(runTool({folder}).exitCode, 0);
    const QMap<QString, QByteArray> before = contentsOf(folder);
    const Run run =
        runTool({QStringLiteral("--import"), legacytest::fixture(QStringLiteral("rantebou-small.mdb")), folder});
    QVERIFY(run.exitCode > 0);
    QVERIFY2(run.errors.contains(QLatin1String("already exists")) && run.errors.contains(QLatin1String("--into")),
             qPrintable(run.errors));
    QCOMPARE(contentsOf(folder), before);
}

void ImportToolTest::refusesBadArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no book") << QStringList{QStringLiteral("--import")};
    QTest::newRow("no folder") << QStringList{QStringLiteral("--import"), QStringLiteral("old.mdb")};
    QTest::newRow("two folders") << QStringList{QStringLiteral("--import"), QStringLiteral("old.mdb"),
                                                QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("into without folder") << QStringList{QStringLiteral("--import"), QStringLiteral("old.mdb"),
                                                        QStringLiteral("--into")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--import"), QStringLiteral("old.mdb"),
                                                   QStringLiteral("--force"), QStringLiteral("a")};
}

void ImportToolTest::refusesBadArguments() {
    QFETCH(QStringList, arguments);
    const Run run = runTool(arguments);
    QVERIFY(run.exitCode > 0);
    QVERIFY2(run.errors.contains(QLatin1String("usage: orvella-datafolder --import")), qPrintable(run.errors));
}

void ImportToolTest::badInput_data() {
    QTest::addColumn<QString>("source");    // what the older book is
    QTest::addColumn<QString>("target");    // how the target folder is
    QTest::addColumn<bool>("into");         // into an existing book, or a new folder
    QTest::addColumn<QStringList>("words"); // what the message must say, besides the file's name
    const QStringList notJet{QStringLiteral("not a Jet database")};
    for (const bool into : {false, true}) {
        const char* mode = into ? "into a book: " : "new folder: ";
        auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow(qPrintable(QLatin1String(mode) + QLatin1String(name)));
        };
        row("text file") << "text"
                         << "plain" << into << notJet;
        row("encrypted book") << "book"
                              << "plain" << into << notJet;
        row("empty file") << "empty"
                          << "plain" << into << QStringList{QStringLiteral("it is empty")};
        row("truncated") << "truncated"
                         << "plain" << into << QStringList{QStringLiteral("incomplete")};
        row("a folder") << "folder"
                        << "plain" << into << QStringList{QStringLiteral("is a folder")};
        row("missing") << "missing"
                       << "plain" << into << QStringList{QStringLiteral("does not exist")};
        row("no appointment table") << "not-an-appointment-book.mdb"
                                    << "plain" << into << QStringList{QStringLiteral("no table RANTEBOU")};
        row("jet 3 without the table") << "jet3-sample.mdb"
                                       << "plain" << into << QStringList{QStringLiteral("no table RANTEBOU")};
        row("wrong password") << "rantebou-other-password.mdb"
                              << "plain" << into
                              << QStringList{QStringLiteral("password"), QStringLiteral("nothing was read")};
        row("unreadable pages") << "zeroed"
                                << "plain" << into
                                << QStringList{QStringLiteral("Only 0 of the 60 records"), QStringLiteral("damaged")};
        row("full disk") << "rantebou-small.mdb"
                         << "full" << into << QStringList{QStringLiteral("is full"), QStringLiteral("data.mdb")};
        if (!into)
            row("full disk after the book") << "rantebou-small.mdb"
                                            << "full after the book" << into
                                            << QStringList{QStringLiteral("is full"), QStringLiteral("RANTEBOU.rav")};
        row("read-only folder") << "rantebou-small.mdb"
                                << "read-only" << into
                                << QStringList{QStringLiteral("allows writing"), QStringLiteral("data.mdb")};
    }
}

void ImportToolTest::badInput() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(bool, into);
    QFETCH(QStringList, words);
    QTemporaryDir dir;

    // The older book.
    QString old = dir.filePath(QStringLiteral("old.mdb"));
    auto write = [&](const QByteArray& bytes) {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    if (source == QLatin1String("text")) {
        write("ραντεβού 5/3/2010 09:00 Παπαδόπουλος\n");
    } else if (source == QLatin1String("book")) {
        store::createDatabaseFile(old, QStringLiteral("Kw73Tp"));
    } else if (source == QLatin1String("empty")) {
        write(QByteArray());
    } else if (source == QLatin1String("truncated")) {
        QFile whole(legacytest::fixture(QStringLiteral("rantebou-small.mdb")));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        write(whole.read(100000));
    } else if (source == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(old));
    } else if (source == QLatin1String("zeroed")) {
        old = legacytest::copyOfFixture(dir, QStringLiteral("rantebou-small.mdb"), QStringLiteral("old.mdb"));
        legacytest::zeroDataPages(old);
    } else if (source != QLatin1String("missing")) {
        old = legacytest::copyOfFixture(dir, source, QStringLiteral("old.mdb"));
    }

    // The target folder.
    const QString folder = dir.filePath(QStringLiteral("target"));
    std::unique_ptr<SmallDisk> disk;
    if (target.startsWith(QLatin1String("full"))) {
        // 24 kB take no book of the 60 days; 48 kB take the new book but not the day sheet after it.
        disk = std::make_unique<SmallDisk>(folder, (target == QLatin1String("full") ? 24 : 48) * 1024);
        if (!disk->mounted())
            QSKIP(qPrintable(disk->failure()));
    }
    if (into || target != QLatin1String("plain"))
        QVERIFY(QDir().mkpath(folder));
    if (into)
        store::createDatabaseFile(QDir(folder).filePath(QStringLiteral("data.mdb")), QStringLiteral("Kw73Tp"));
    if (target == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                  QFileDevice::ExeOther));
    const QMap<QString, QByteArray> before = contentsOf(folder);

    QStringList arguments{QStringLiteral("--import"), old};
    if (into)
        arguments << QStringLiteral("--into");
    arguments << folder;
    const Run run = runTool(arguments, target == QLatin1String("read-only"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(run.exitCode, 1);
    const QString named = target == QLatin1String("plain") ? QStringLiteral("old.mdb") : folder;
    QVERIFY2(run.errors.contains(named), qPrintable(run.errors));
    for (const QString& word : words)
        QVERIFY2(run.errors.contains(word), qPrintable(QStringLiteral("%1 lacks \"%2\"").arg(run.errors, word)));
    QVERIFY2(contentsOf(folder) == before, qPrintable(QStringList(contentsOf(folder).keys()).join(QLatin1Char(','))));
    QCOMPARE(QFileInfo::exists(folder), into || target != QLatin1String("plain"));
}

QTEST_GUILESS_MAIN(ImportToolTest)
#include "ImportToolTest.moc"
