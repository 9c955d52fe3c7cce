// The guard against a build linked to plain SQLite. This test is deliberately linked against plain SQLite
// (not the store library), so the handle it checks really is one where "PRAGMA cipher_version" answers
// nothing and the key is silently ignored.

#include "store/cipher/CipherGuard.h"
#include "store/engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

class CipherGuardPlainTest : public QObject {
    Q_OBJECT

private slots:
    void plainBuildIgnoresTheKey();
    void guardRefusesPlainBuild();
};

void CipherGuardPlainTest::plainBuildIgnoresTheKey() {
    // What the guard protects against: the "encrypted" file comes out in plain text.
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("data.mdb"));
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db,
                          "PRAGMA key = 'Kw73Tp'; CREATE TABLE RANTEBOU (x); INSERT INTO RANTEBOU VALUES "
                          "('visible secret');",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(db);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("SQLite format 3"));
    QVERIFY(bytes.contains("visible secret"));
}

void CipherGuardPlainTest::guardRefusesPlainBuild() {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
    const auto closer = qScopeGuard([db] { sqlite3_close(db); });
    try {
        store::requireCipher(db);
        QFAIL("the guard let a plain build through");
    } catch (const store::EngineError& error) {
        QVERIFY2(error.text().contains(QLatin1String("linked against plain SQLite; refusing to run")), error.what());
    }
}

QTEST_GUILESS_MAIN(CipherGuardPlainTest)
#include "CipherGuardPlainTest.moc"
