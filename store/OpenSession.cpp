#include "store/backup/BackupFolder.h"
#include "store/cipher/CipherSession.h"
#include "store/cipher/DatabasePool.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/server/ServerBook.h"
#include "store/server/ServerLink.h"
#include "store/server/ServerSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

bool existsAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

// The engine is chosen by what the data folder holds: data.mdb is a book on this computer, the server file
// names a book on a server. The windows build the same connection text either way.
std::shared_ptr<EngineSession> openSession(const ConnectionSettings& settings, int waitSeconds) {
    const QFileInfo source(settings.dataSource);
    if (source.fileName().compare(QLatin1String(DatabaseFileName), Qt::CaseInsensitive) == 0) {
        const QString serverFile = source.dir().filePath(QLatin1String(ServerBookFileName));
        if (existsAt(serverFile)) {
            // The message is made only for the refusal: a book on a server is opened at every step of a window.
            if (existsAt(settings.dataSource))
                throw EngineError(
                    EngineError::CantOpen,
                    QCoreApplication::translate(
                        "store", "The data folder \"%1\" holds both %2 (a book on this computer) and %3 (a book on a "
                                 "server), so it is not clear which book is meant. Move one of the two out of the "
                                 "folder.")
                        .arg(QDir::toNativeSeparators(source.absolutePath()), QLatin1String(DatabaseFileName),
                             QLatin1String(ServerBookFileName)));
            const ServerBook book = readServerBook(serverFile);
            return std::make_shared<ServerSession>(ServerLink::acquire(book.connection), waitSeconds);
        }
    }
    try {
        return std::make_shared<CipherSession>(
            DatabasePool::instance().acquire(settings.dataSource, settings.password, waitSeconds));
    } catch (const EngineError& error) {
        // The engine says what is damaged; what the user can do about it depends on the backups beside it.
        if (error.kind() != EngineError::Damaged)
            throw;
        throw EngineError(error.kind(),
                          error.text() + QStringLiteral("\n\n") +
                              restoreAdvice(QFileInfo(settings.dataSource).absolutePath(), settings.password),
                          error.nativeCode());
    }
}

} // namespace store
