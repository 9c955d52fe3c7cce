// The command-line data-folder maker, run as a user runs it.

#include "StoreTestSupport.h"

#include "Connection.h"
#include "DayKey.h"
#include "Query.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
    QString errors;
};

Run runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
    Run run;
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    run.output = QString::fromUtf8(tool.readAllStandardOutput());
    run.errors = QString::fromUtf8(tool.readAllStandardError());
    return run;
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

void DataFolderToolTest::makesFolderAndEmptyFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/data folder"));
    const Run run = runTool({folder});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QLatin1String("data.mdb")));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("data.mdb")});

    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(folder));
    connection.open();
    store::Query query(connection);
    query.addStatement(QStringLiteral("SELECT count(*) FROM RANTEBOU"));
    query.open();
    QCOMPARE(query.value(0).toInt(), 0);
}

void DataFolderToolTest::refusesToOverwrite()
{
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
}

void DataFolderToolTest::refusesBadArguments_data()
{
    QTest::addColumn<bool>("fileInTheWay");
    QTest::addColumn<int>("argumentCount");
    QTest::addColumn<QString>("message");
    QTest::newRow("no folder") << false << 0 << QStringLiteral("usage");
    QTest::newRow("two folders") << false << 2 << QStringLiteral("usage");
    QTest::newRow("a file, not a folder") << true << 1 << QStringLiteral("is not a folder");
}

void DataFolderToolTest::refusesBadArguments()
{
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
