// The command-line data-folder maker, run as a user runs it.

#include "tests/store/StoreTestSupport.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    void speaksTheTerminalsLanguage_data();
    void speaksTheTerminalsLanguage();
};

void DataFolderToolTest::makesFolderAndEmptyFile() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/data folder"));
    const Run run = runTool({folder});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QLatin1String("data.mdb")));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("EBDOMADA.rav"), QStringLiteral("RANTEBOU.rav"), QStringLiteral("data.mdb")}));
    // The day and week sheets are the program's default ones, byte for byte.
    for (const char* name : {"RANTEBOU.rav", "EBDOMADA.rav"}) {
        QFile sheet(QDir(folder).filePath(QLatin1String(name)));
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        QFile original(QFileInfo(QStringLiteral(ORVELLA_DEFAULT_SHEET)).absoluteDir().filePath(QLatin1String(name)));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(sheet.readAll(), original.readAll());
    }

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

void DataFolderToolTest::speaksTheTerminalsLanguage_data() {
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("greek");
    QTest::newRow("LANG Greek") << QString() << QString() << QStringLiteral("el_GR.UTF-8") << true;
    QTest::newRow("LANG English") << QString() << QString() << QStringLiteral("en_US.UTF-8") << false;
    QTest::newRow("nothing set") << QString() << QString() << QString() << false;
    QTest::newRow("LC_ALL wins") << QStringLiteral("C") << QString() << QStringLiteral("el_GR.UTF-8") << false;
    QTest::newRow("LC_MESSAGES before LANG") << QString() << QStringLiteral("el_GR.UTF-8") << QStringLiteral("C") << true;
    QTest::newRow("el alone") << QStringLiteral("el") << QString() << QString() << true;
    QTest::newRow("not Greek, though it starts with el") << QStringLiteral("ell_XX") << QString() << QString() << false;
}

// The tool answers in Greek under a Greek terminal, in English otherwise, judged as the C library judges the
// messages' language; its help and its refusals alike.
void DataFolderToolTest::speaksTheTerminalsLanguage() {
    QFETCH(QString, all);
    QFETCH(QString, messages);
    QFETCH(QString, lang);
    QFETCH(bool, greek);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : {std::pair{QStringLiteral("LC_ALL"), all}, {QStringLiteral("LC_MESSAGES"), messages},
                                      {QStringLiteral("LANG"), lang}}) {
        environment.remove(name);
        if (!value.isEmpty())
            environment.insert(name, value);
    }
    QTemporaryDir dir;
    QFile inTheWay(dir.filePath(QStringLiteral("target")));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    for (const QStringList& arguments : {QStringList{QStringLiteral("--help")}, QStringList{inTheWay.fileName()}}) {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(ORVELLA_DATAFOLDER_TOOL), arguments);
        QVERIFY(tool.waitForFinished(30000));
        const QString said = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
        const bool saidGreek = said.contains(QStringLiteral("φάκελο")) || said.contains(QStringLiteral("φάκελος"));
        QVERIFY2(saidGreek == greek, qPrintable(said));
        QVERIFY2(said.contains(QLatin1String("orvella-datafolder")) || arguments.first() != QLatin1String("--help"),
                 qPrintable(said));
    }
}

QTEST_GUILESS_MAIN(DataFolderToolTest)
#include "DataFolderToolTest.moc"
