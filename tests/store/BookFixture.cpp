#include "tests/store/BookFixture.h"

#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConnectionText.h"
#include "store/server/ServerBook.h"

#include <QDir>
#include <QFile>

BookFixture::BookFixture() : m_root(std::make_unique<QTemporaryDir>()) {}

BookFixture::~BookFixture() = default;

TestServer& BookFixture::server() {
    if (!m_server)
        m_server = std::make_unique<TestServer>();
    return *m_server;
}

QString BookFixture::newFolder() {
    const QString folder = m_root->filePath(QStringLiteral("book%1").arg(++m_folders));
    QDir().mkpath(folder);
    return folder;
}

QString BookFixture::serverFolder(const QString& connection) {
    const QString folder = newFolder();
    store::writeServerBook(QDir(folder).filePath(QLatin1String(store::ServerBookFileName)), connection);
    return folder;
}

QString BookFixture::makeBook(const QString& engine, QString* database, bool withTable) {
    if (engine == QLatin1String("file")) {
        const QString folder = newFolder();
        store::createDatabaseFile(QDir(folder).filePath(QLatin1String(store::DatabaseFileName)),
                                  QLatin1String(store::FixedDatabasePassword));
        return folder;
    }
    const QString name = server().makeDatabase(QStringLiteral("book%1").arg(++m_databases), withTable);
    if (database)
        *database = name;
    return serverFolder(server().connectionFor(name));
}

QString BookFixture::secondSeat(const QString& folder) {
    const QString serverFile = QDir(folder).filePath(QLatin1String(store::ServerBookFileName));
    if (!QFile::exists(serverFile))
        return folder;
    return serverFolder(store::readServerBook(serverFile).connection + QStringLiteral(" application_name=second"));
}

QString BookFixture::connectionText(const QString& folder) {
    return store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword));
}
