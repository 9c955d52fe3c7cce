// What the Start-menu launcher makes of the user's data folder in each state it can be found in, with the real
// data-folder tool: made once, never a new book beside a folder that lost its own, a missing sheet added.
#include "tools/launcher/UserFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Setup = std::function<void(const QDir& base)>;

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

const QString Tool = QStringLiteral(ORVELLA_DATAFOLDER_TOOL);

} // namespace

Q_DECLARE_METATYPE(Setup)

class UserFolderTest : public QObject {
    Q_OBJECT

private slots:
    void eachState_data();
    void eachState();
    void refusesWithoutABase();
    void toolFailureLeavesNothing();
};

void UserFolderTest::eachState_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("after");   // the names in the data folder afterwards
    QTest::addColumn<QByteArray>("bookWas"); // data.mdb's bytes before, kept as they were; empty for none
    using Kind = LaunchPlan::Kind;
    const QStringList both = {QStringLiteral("EBDOMADA.rav"), QStringLiteral("RANTEBOU.rav"), QStringLiteral("data.mdb")};
    const QStringList onServer = {QStringLiteral("EBDOMADA.rav"), QStringLiteral("RANTEBOU.rav"), QStringLiteral("server.book")};
    QTest::newRow("first start, not even the base folder")
        << Setup([](const QDir& base) { QVERIFY(QDir(base.path()).removeRecursively()); }) << int(Kind::Start) << both
        << QByteArray();
    QTest::newRow("first start") << Setup([](const QDir&) {}) << int(Kind::Start) << both << QByteArray();
    QTest::newRow("ready folder") << Setup([](const QDir& base) {
        QVERIFY(base.mkdir("Orvella"));
        put(base.filePath("Orvella/data.mdb"), "the user's book");
        put(base.filePath("Orvella/RANTEBOU.rav"), "<sheet/>");
        put(base.filePath("Orvella/EBDOMADA.rav"), "<week/>");
    }) << int(Kind::Start) << both << QByteArray("the user's book");
    QTest::newRow("a folder from before the week sheet: added, the rest kept") << Setup([](const QDir& base) {
        QVERIFY(base.mkdir("Orvella"));
        put(base.filePath("Orvella/data.mdb"), "the user's book");
        put(base.filePath("Orvella/RANTEBOU.rav"), "<sheet/>");
    }) << int(Kind::Start) << both << QByteArray("the user's book");
    QTest::newRow("book lost: no new one") << Setup([](const QDir& base) {
        QVERIFY(base.mkpath("Orvella/backups"));
        put(base.filePath("Orvella/RANTEBOU.rav"), "<sheet/>");
    }) << int(Kind::MissingBook) << QStringList{QStringLiteral("RANTEBOU.rav"), QStringLiteral("backups")}
                                       << QByteArray();
    QTest::newRow("sheet missing: added, book kept") << Setup([](const QDir& base) {
        QVERIFY(base.mkdir("Orvella"));
        put(base.filePath("Orvella/data.mdb"), "the user's book");
    }) << int(Kind::Start) << both << QByteArray("the user's book");
    QTest::newRow("book on a server: no data.mdb made") << Setup([](const QDir& base) {
        QVERIFY(base.mkdir("Orvella"));
        put(base.filePath("Orvella/server.book"), "host=books.office");
        put(base.filePath("Orvella/RANTEBOU.rav"), "<sheet/>");
    }) << int(Kind::Start) << onServer << QByteArray();
    QTest::newRow("book on a server, sheet deleted: only the sheet made") << Setup([](const QDir& base) {
        QVERIFY(base.mkdir("Orvella"));
        put(base.filePath("Orvella/server.book"), "host=books.office");
    }) << int(Kind::Start) << onServer << QByteArray();
    QTest::newRow("a file where the folder goes") << Setup([](const QDir& base) {
        put(base.filePath("Orvella"), "not a folder");
    }) << int(Kind::Failure) << QStringList() << QByteArray();
}

void UserFolderTest::eachState() {
    QFETCH(Setup, setup);
    QFETCH(int, kind);
    QFETCH(QStringList, after);
    QFETCH(QByteArray, bookWas);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QDir base(QDir(scratch.path()).filePath(QStringLiteral("Roaming")));
    QVERIFY(QDir().mkpath(base.path()));
    setup(base);
    if (QTest::currentTestFailed())
        return;
    const LaunchPlan plan = prepareUserFolder(base.path(), Tool);
    QCOMPARE(int(plan.kind), kind);
    const QString data = base.filePath(QStringLiteral("Orvella"));
    if (plan.kind == LaunchPlan::Kind::Failure) {
        QVERIFY(plan.failure.contains(QDir::toNativeSeparators(data)));
        QCOMPARE(contents(data), QByteArray("not a folder"));
    } else {
        QCOMPARE(QDir(plan.folder), QDir(data));
        QCOMPARE(namesIn(data), after);
    }
    if (!bookWas.isEmpty())
        QCOMPARE(contents(base.filePath(QStringLiteral("Orvella/data.mdb"))), bookWas);
    // No scratch folder is left anywhere: not beside the data folder, not in it.
    QCOMPARE(namesIn(base.path()).filter(QStringLiteral(".orvella-new")), QStringList());
    if (plan.kind == LaunchPlan::Kind::Start && bookWas.isEmpty() && after.contains(QStringLiteral("data.mdb")))
        QVERIFY(contents(base.filePath(QStringLiteral("Orvella/data.mdb"))).size() > 0);
}

void UserFolderTest::refusesWithoutABase() {
    for (const QString& base : {QString(), QStringLiteral("relative/folder")}) {
        const LaunchPlan plan = prepareUserFolder(base, Tool);
        QCOMPARE(int(plan.kind), int(LaunchPlan::Kind::Failure));
        QVERIFY(plan.failure.contains(QStringLiteral("APPDATA")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("relative")));
    }
}

void UserFolderTest::toolFailureLeavesNothing() {
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const LaunchPlan plan = prepareUserFolder(base.path(), QDir(base.path()).filePath(QStringLiteral("no-such-tool")));
    QCOMPARE(int(plan.kind), int(LaunchPlan::Kind::Failure));
    QVERIFY2(plan.failure.contains(QStringLiteral("could not be started")), qPrintable(plan.failure));
    // A later start must find no half-made folder to take for one that lost its book.
    QCOMPARE(namesIn(base.path()), QStringList());
}

QTEST_GUILESS_MAIN(UserFolderTest)
#include "UserFolderTest.moc"
