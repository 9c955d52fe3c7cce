// The command-line data-folder maker, run as a user runs it.

#include "tests/store/StoreTestSupport.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = storetest::ProgramRun;

Run runTool(const QStringList& arguments) {
    return storetest::runProgram(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments, 30000);
}

} // namespace

class DataFolderToolTest : public QObject {
    Q_OBJECT

private slots:
    void makesFolderAndEmptyFile();
    void refusesToOverwrite();
    void refusesBadArguments_data();
    void refusesBadArguments();
};

void DataFolderToolTest::makesFolderAndEmptyFile() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/data folder"));
    const Run run = runTool({folder});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QLatin1String("data.mdb")));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("RANTEBOU.rav"), QStringLiteral("data.mdb")}));
    // The day sheet is the program's default one, byte for byte.
    QFile sheet(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav")));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    QFile original(QStringLiteral(ORVELLA_DEFAULT_SHEET));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(sheet.readAll(), original.readAll());

    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(folder));
    connection.open();
    store::Query query(connection);
    query.addStatement(QStringLiteral("SELECT count(*) FROM RANTEBOU"));
    query.open();
    QCOMPARE(query.value(0).toInt(), 0);
}

void DataFolderToolTest::refusesToOverwrite() {
    QTemporaryDir dir;
    QCOMPARE(runTool({dir.path()}).exitCode, 0);
    const QString file = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    storetest::RawDatabase(file, QStringLiteral("Kw73Tp"))
        .execute(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES('2010-03-05')"));
    const storetest::FileSnapshot before = storetest::snapshot(file);
    const Run again = runTool({dir.path()});
    QVERIFY(again.exitCode > 0);
    QVERIFY2(again.errors.contains(QLatin1String("already exists")), qPrintable(again.errors));
    QVERIFY(storetest::snapshot(file) == before);

    // A day sheet alone in the folder (no data.mdb) is not overwritten either, and no data.mdb is made.
    QTemporaryDir other;
    const QString sheet = QDir(other.path()).filePath(QStringLiteral("RANTEBOU.rav"));
    QFile edited(sheet);
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write("<project>my own layout</project>");
    edited.close();
    const storetest::FileSnapshot sheetBefore = storetest::snapshot(sheet);
    const Run refused = runTool({other.path()});
    QVERIFY(refused.exitCode > 0);
    QVERIFY2(refused.errors.contains(QLatin1String("RANTEBOU.rav")), qPrintable(refused.errors));
    QVERIFY(storetest::snapshot(sheet) == sheetBefore);
    QVERIFY(!QFile::exists(QDir(other.path()).filePath(QStringLiteral("data.mdb"))));
}

void DataFolderToolTest::refusesBadArguments_data() {
    QTest::addColumn<bool>("fileInTheWay");
    QTest::addColumn<int>("argumentCount");
    QTest::addColumn<QString>("message");
    QTest::newRow("no folder") << false << 0 << QStringLiteral("usage");
    QTest::newRow("two folders") << false << 2 << QStringLiteral("usage");
    QTest::newRow("a file, not a folder") << true << 1 << QStringLiteral("is not a folder");
}

void DataFolderToolTest::refusesBadArguments() {
    QFETCH(bool, fileInTheWay);
    QFETCH(int, argumentCount);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    if (fileInTheWay) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QStringList arguments;
    for (int i = 0; i < argumentCount; ++i)
        arguments << target + QString::number(i > 0 ? i : 0).left(i > 0 ? 1 : 0);
    const Run run = runTool(arguments);
    QVERIFY(run.exitCode > 0);
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(!QFile::exists(QDir(target).filePath(QStringLiteral("data.mdb"))));
}

QTEST_GUILESS_MAIN(DataFolderToolTest)
#include "DataFolderToolTest.moc"
