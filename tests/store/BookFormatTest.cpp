// The book's file format against the stock sqlcipher command-line tool, with the settings written in
// docs/file-format.md (read from that file, so that the document cannot drift from the program): a book the tool
// makes opens in the store, and a book the store makes opens in the tool; with other settings it does not.

#include "tests/store/StoreTestSupport.h"

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/cipher/FileFormat.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Slot = QStringLiteral("0900-0930");

// The first sql block of docs/file-format.md: the statements that open a book in the tool.
QString documentedSettings() {
    QFile document(QStringLiteral(ORVELLA_SOURCE_DIR "/docs/file-format.md"));
    if (!document.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(document.readAll());
    const QRegularExpressionMatch block =
        QRegularExpression(QStringLiteral("```sql\\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption)
            .match(text);
    return block.captured(1);
}

// Runs the tool on file with script on its input; returns its output, or a null text with the reason in error.
QString runTool(const QString& file, const QString& script, QString* error) {
    QProcess tool;
    tool.start(QStringLiteral("sqlcipher"), {QStringLiteral("-batch"), file});
    if (!tool.waitForStarted(10000)) {
        *error = QStringLiteral("the sqlcipher tool did not start");
        return {};
    }
    tool.write(script.toUtf8());
    tool.closeWriteChannel();
    tool.waitForFinished(30000);
    *error = QString::fromUtf8(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QString keyOf(const QString& day) {
    QString key = day;
    store::MakeDayKey(key);
    return key;
}

} // namespace

class BookFormatTest : public QObject {
    Q_OBJECT

private slots:
    void settingsForTheLibraryVersion_data();
    void settingsForTheLibraryVersion();
    void documentNamesTheProgramsSettings();
    void bookMadeByTheToolOpensInTheStore();
    void bookMadeByTheStoreOpensInTheTool_data();
    void bookMadeByTheStoreOpensInTheTool();
};

void BookFormatTest::settingsForTheLibraryVersion_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("statements");
    const QStringList three{QStringLiteral("PRAGMA cipher_page_size = 1024"), QStringLiteral("PRAGMA kdf_iter = 64000"),
                            QStringLiteral("PRAGMA cipher_use_hmac = ON")};
    const QStringList compatible{QStringLiteral("PRAGMA cipher_compatibility = 3")};
    QTest::newRow("3.4.1 (Debian 12)") << "3.4.1" << three;
    QTest::newRow("3.0.0") << "3.0.0" << three;
    QTest::newRow("4.0.0") << "4.0.0" << compatible;
    QTest::newRow("4.5.6 community") << "4.5.6 community" << compatible;
    QTest::newRow("10.1.0") << "10.1.0" << compatible;
}

void BookFormatTest::settingsForTheLibraryVersion() {
    QFETCH(QString, version);
    QFETCH(QStringList, statements);
    QCOMPARE(store::bookFormatStatements(version), statements);
}

void BookFormatTest::documentNamesTheProgramsSettings() {
    const QString settings = documentedSettings();
    QVERIFY2(settings.contains(QLatin1String("PRAGMA key = 'Kw73Tp';")), qPrintable(settings));
    for (const QString& statement : store::bookFormatStatements(QStringLiteral("3.4.1")))
        QVERIFY2(settings.contains(statement + QLatin1Char(';')), qPrintable(statement));
}

void BookFormatTest::bookMadeByTheToolOpensInTheStore() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("data.mdb"));
    QString error;
    runTool(file,
            documentedSettings() + store::createTableStatement() +
                QStringLiteral(";\nINSERT INTO RANTEBOU(HMEROMHNIA, \"%1\") VALUES('2010-03-05', 'Από το εργαλείο');\n")
                    .arg(Slot),
            &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(QFile::exists(file));
    QVERIFY(!QFile(file).open(QIODevice::ReadOnly) || !QFile(file).read(16).startsWith("SQLite format 3"));

    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(dir.path()));
    connection.open();
    store::Query query(connection);
    store::openQuery(query, store::selectDayStatement(keyOf(QStringLiteral("5/3/2010"))));
    QCOMPARE(query.value(Slot).toString(), QStringLiteral("Από το εργαλείο"));
    // And the store writes to it as to its own.
    query.setValue(Slot, QStringLiteral("Από το πρόγραμμα"));
    query.post();
    query.close();
    connection.close();
    QCOMPARE(runTool(file, documentedSettings() + QStringLiteral("SELECT \"%1\" FROM RANTEBOU;\n").arg(Slot), &error)
                 .trimmed(),
             QStringLiteral("Από το πρόγραμμα"));
}

void BookFormatTest::bookMadeByTheStoreOpensInTheTool_data() {
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("opens");
    QTest::newRow("the documented settings") << documentedSettings() << true;
    QTest::newRow("another key derivation count")
        << QString(documentedSettings()).replace(QStringLiteral("64000"), QStringLiteral("4000")) << false;
    QTest::newRow("another page size")
        << QString(documentedSettings()).replace(QStringLiteral("= 1024"), QStringLiteral("= 4096")) << false;
    QTest::newRow("without the page HMAC")
        << QString(documentedSettings())
               .replace(QStringLiteral("cipher_use_hmac = ON"), QStringLiteral("cipher_use_hmac = OFF"))
        << false;
}

void BookFormatTest::bookMadeByTheStoreOpensInTheTool() {
    QFETCH(QString, settings);
    QFETCH(bool, opens);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = storetest::makeDataFile(dir.path());
    {
        store::Connection connection;
        connection.setConnectionText(storetest::connectionTextFor(dir.path()));
        connection.open();
        store::ensureDayRecord(connection, keyOf(QStringLiteral("9/12/2026")));
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(keyOf(QStringLiteral("9/12/2026"))));
        query.setValue(Slot, QStringLiteral("Ραντεβού"));
        query.post();
    }
    QString error;
    const QString output = runTool(
        file,
        settings + QStringLiteral("SELECT HMEROMHNIA || '|' || \"%1\" FROM RANTEBOU;\nPRAGMA quick_check;\n").arg(Slot),
        &error);
    if (opens) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(output, QStringLiteral("2026-12-09|Ραντεβού\nok\n"));
    } else {
        QVERIFY2(error.contains(QLatin1String("file is encrypted or is not a database")), qPrintable(error + output));
    }
}

QTEST_GUILESS_MAIN(BookFormatTest)
#include "BookFormatTest.moc"
