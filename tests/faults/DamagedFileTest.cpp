// Damaged data files: opening one and reading it the way the month scan does ends in a clear error that
// names the file and says what is wrong, never in a crash or a hang, and leaves the file exactly as it was.
// Each file is opened by a second program, so that a crash shows as that program's crash.

#include "tests/faults/PosterProcess.h"
#include "tests/store/StoreTestSupport.h"

#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Damage = std::function<void(const QString& path)>;

constexpr qint64 PageSize = 1024;

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s cannot be read", qPrintable(path));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("%s cannot be written", qPrintable(path));
}

void truncateTo(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.resize(size))
        qFatal("%s cannot be shortened", qPrintable(path));
}

// Inverts count bytes from offset on.
void invert(const QString& path, qint64 offset, qint64 count) {
    QByteArray bytes = readAll(path);
    for (qint64 i = offset; i < offset + count && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(~bytes[i]);
    writeAll(path, bytes);
}

qint64 sizeOf(const QString& path) {
    return QFileInfo(path).size();
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class DamagedFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedFileRefused_data();
    void damagedFileRefused();
    void everyPageDamagedInTurn();

private:
    // Opens the data file in folder in a second program and checks the outcome: read whole when words is
    // empty, else refused with a message holding every word; either way the file left as it was.
    void openInOtherProgram(const QString& folder, const QStringList& words);

    QTemporaryDir m_dir;
    QString m_soundFile;
};

void DamagedFileTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    // A month of full days, so that the file has pages enough to damage in the middle.
    const QString folder = QDir(m_dir.path()).filePath(QStringLiteral("sound"));
    QVERIFY(QDir().mkpath(folder));
    m_soundFile = storetest::makeDataFile(folder);
    storetest::RawDatabase database(m_soundFile, QStringLiteral("Kw73Tp"));
    QCOMPARE(database.execute(QStringLiteral("BEGIN")), 0);
    for (int day = 1; day <= 31; ++day) {
        QString values = QStringLiteral("'2010-03-%1'").arg(day, 2, 10, QLatin1Char('0'));
        for (const QString& slot : store::slotColumnNames())
            values += QStringLiteral(", 'Ραντεβού %1 στις %2, κ. Παπαδόπουλος'").arg(day).arg(slot);
        QCOMPARE(database.execute(QStringLiteral("INSERT INTO RANTEBOU VALUES (%1)").arg(values)), 0);
    }
    QCOMPARE(database.execute(QStringLiteral("COMMIT")), 0);
    QVERIFY(sizeOf(m_soundFile) >= 40 * PageSize);
}

void DamagedFileTest::damagedFileRefused_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QStringList>("words");

    const QStringList damaged{QStringLiteral("is damaged"), QStringLiteral("Restore it from a backup")};
    QTest::newRow("sound file (the reading itself works)") << Damage([](const QString&) {}) << QStringList();
    QTest::newRow("truncated to half its bytes")
        << Damage([](const QString& path) { truncateTo(path, sizeOf(path) / 2); }) << damaged;
    QTest::newRow("truncated inside a page")
        << Damage([](const QString& path) { truncateTo(path, sizeOf(path) / 2 + 100); }) << damaged;
    QTest::newRow("last page missing") << Damage([](const QString& path) { truncateTo(path, sizeOf(path) - PageSize); })
                                       << damaged;
    QTest::newRow("a page in the middle inverted")
        << Damage([](const QString& path) { invert(path, sizeOf(path) / PageSize / 2 * PageSize, PageSize); })
        << damaged;
    QTest::newRow("sixteen bytes of the last page inverted")
        << Damage([](const QString& path) { invert(path, sizeOf(path) - PageSize + 200, 16); }) << damaged;
    // The first page carries what tells a damaged file from one keyed with another password.
    QTest::newRow("first page inverted after its salt")
        << Damage([](const QString& path) { invert(path, 16, PageSize - 16); })
        << QStringList{QStringLiteral("password does not match"), QStringLiteral("not an Orvella data file")};
    QTest::newRow("unencrypted database with the table") << Damage([](const QString& path) {
        QFile::remove(path);
        storetest::RawDatabase plain(path, QString(), true);
        plain.execute(
            QStringLiteral("CREATE TABLE RANTEBOU (HMEROMHNIA DATE PRIMARY KEY, \"0800-0830\" VARCHAR(255))"));
        plain.execute(QStringLiteral("INSERT INTO RANTEBOU VALUES ('2010-03-05', 'plain')"));
    }) << QStringList{QStringLiteral("unencrypted database"), QStringLiteral("not an Orvella data file")};
    QTest::newRow("zero bytes") << Damage([](const QString& path) { truncateTo(path, 0); })
                                << QStringList{QStringLiteral("is empty (0 bytes)")};
    QTest::newRow("a folder named data.mdb") << Damage([](const QString& path) {
        QFile::remove(path);
        QDir().mkpath(path);
    }) << QStringList{QStringLiteral("is a folder")};
}

void DamagedFileTest::damagedFileRefused() {
    QFETCH(Damage, damage);
    QFETCH(QStringList, words);
    const QString folder = QDir(m_dir.path()).filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("data.mdb"));
    QVERIFY(QFile::copy(m_soundFile, file));
    damage(file);
    openInOtherProgram(folder, words);
}

void DamagedFileTest::everyPageDamagedInTurn() {
    // Every page is in use (nothing was ever deleted), so damage to any one of them must be found: the table's
    // pages, the key's index, the long texts' overflow pages. The first page is the row above.
    const qint64 pages = sizeOf(m_soundFile) / PageSize;
    for (qint64 page = 1; page < pages; ++page) {
        const QString folder = QDir(m_dir.path()).filePath(QStringLiteral("page %1").arg(page + 1));
        QVERIFY(QDir().mkpath(folder));
        const QString file = QDir(folder).filePath(QStringLiteral("data.mdb"));
        QVERIFY(QFile::copy(m_soundFile, file));
        invert(file, page * PageSize, PageSize);
        openInOtherProgram(folder, {QStringLiteral("is damaged"), QStringLiteral("Restore it from a backup")});
        if (QTest::currentTestFailed()) {
            qWarning("page %lld of %lld inverted", page + 1, pages);
            return;
        }
        QDir(folder).removeRecursively();
    }
}

void DamagedFileTest::openInOtherProgram(const QString& folder, const QStringList& words) {
    const QString file = QDir(folder).filePath(QStringLiteral("data.mdb"));
    const storetest::FileSnapshot before = storetest::snapshot(file);
    const QStringList entriesBefore = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    QTest::qWait(20); // a write from now on shows in the modification time

    PosterProcess reader({QStringLiteral("open"), folder});
    QVERIFY(reader.started());
    QVERIFY2(reader.waitForEnd(30000), "opening the file hung");
    QVERIFY2(!reader.crashed(),
             qPrintable(QStringLiteral("opening the file crashed the program: ") + reader.errorOutput()));
    const QString answer = reader.takeLines().join(QLatin1Char('\n'));
    if (words.isEmpty()) {
        QCOMPARE(reader.exitCode(), 0);
        QCOMPARE(answer, QStringLiteral("opened 31"));
    } else {
        QCOMPARE(reader.exitCode(), 3);
        QVERIFY2(answer.startsWith(QLatin1String("error ")), qPrintable(answer));
        QVERIFY2(answer.contains(file), qPrintable(answer));
        for (const QString& word : words)
            QVERIFY2(answer.contains(word), qPrintable(QStringLiteral("no \"%1\" in: %2").arg(word, answer)));
    }
    QVERIFY2(storetest::snapshot(file) == before, "the file was changed");
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), entriesBefore);
}

QTEST_GUILESS_MAIN(DamagedFileTest)
#include "DamagedFileTest.moc"
