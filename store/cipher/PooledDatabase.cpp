#include "store/cipher/PooledDatabase.h"

#include "platform/Files.h"
#include "store/cipher/CipherGuard.h"
#include "store/cipher/DataFileProbe.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/FirstOpenCheck.h"
#include "store/cipher/SqliteStatement.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

const QString Opening = QStringLiteral(QT_TRANSLATE_NOOP("store", "opening it"));

} // namespace

FileIdentity identifyDataFile(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    // One look at what is there serves the messages below and the file's identity.
    const platform::Entry entry = platform::lookAt(path);
    switch (entry.kind) {
    case platform::EntryKind::LinkLoop:
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The data file \"%1\" is a link that leads back to itself (a loop of links), "
                                         "so there is no file to open. Put the data file itself in its place.")
                              .arg(file));
    case platform::EntryKind::Missing: {
        // A folder that keeps backups of the book lost the book itself: bringing one back is the way, not a new
        // folder.
        const QDir folder = QFileInfo(path).absoluteDir();
        if (!QDir(folder.filePath(QStringLiteral("backups"))).entryList({QStringLiteral("data-*.mdb")}, QDir::Files).isEmpty())
            throw EngineError(
                EngineError::CantOpen,
                QCoreApplication::translate(
                    "store", "The data file \"%1\" is missing, but its folder keeps backups of it in \"%2\". Close "
                             "Orvella and list them, newest first, with the command that puts one back:\n\n"
                             "orvella-datafolder --list-backups \"%3\"")
                    .arg(file, QDir::toNativeSeparators(folder.filePath(QStringLiteral("backups"))),
                         QDir::toNativeSeparators(folder.absolutePath())));
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The data file \"%1\" does not exist. Start Orvella in "
                                                               "the folder that holds data.mdb, or make a new data "
                                                               "folder with orvella-datafolder.")
                              .arg(file));
    }
    case platform::EntryKind::Folder:
        throw EngineError(EngineError::CantOpen, QStringLiteral("\"%1\" is a folder, not a data file.").arg(file));
    case platform::EntryKind::Unreachable:
        throw EngineError(EngineError::CantOpen, QCoreApplication::translate("store", "The data file \"%1\" cannot be reached.").arg(file));
    case platform::EntryKind::File:
        break;
    default: {
        // Something that is not an ordinary file (a pipe or a device, whose reading would wait for ever or
        // never end).
        const QString kind = entry.kind == platform::EntryKind::Pipe         ? QStringLiteral("a named pipe")
                             : entry.kind == platform::EntryKind::Device     ? QStringLiteral("a device")
                             : entry.kind == platform::EntryKind::DiskDevice ? QStringLiteral("a disk device")
                             : entry.kind == platform::EntryKind::Socket     ? QStringLiteral("a socket")
                                                                             : QStringLiteral("a special file");
        throw EngineError(EngineError::CantOpen,
                          QStringLiteral("\"%1\" is %2, not an ordinary file, so it cannot be an Orvella data file. "
                                         "Put the data file made by orvella-datafolder in its place.")
                              .arg(file, kind));
    }
    }
    FileIdentity identity;
    identity.file = entry.version.identity;
    identity.writable = platform::mayWrite(path);
    check(
        platform::mayRead(path), EngineError::NoPassword,
        QCoreApplication::translate("store", "The data file \"%1\" may not be read by this user. Allow reading it and try again.").arg(file));
    const QString foreign = entry.version.size == 0 ? describeForeignFile(path) : QString();
    check(foreign.isEmpty(), EngineError::NotADatabase, foreign);
    return identity;
}

PooledDatabase::PooledDatabase(const QString& path, const QString& password, const FileIdentity& identity,
                               int waitSeconds)
    : m_path(path), m_identity(identity) {
    check(!password.isEmpty(), EngineError::NoPassword,
          QCoreApplication::translate("store", "The connection text gives no database password for \"%1\"; Orvella data files are always "
                         "encrypted with one.")
              .arg(QDir::toNativeSeparators(path)));
    // Never SQLITE_OPEN_CREATE: the program does not make data files. A file this user may not write
    // opens for reading only.
    m_handle = SqliteDatabase(path, SQLITE_OPEN_READWRITE, context(Opening));
    requireCipher(m_handle.get());
    setWait(waitSeconds);
    keyBook(m_handle, password, context(Opening));

    // The first read derives the key from the password and shows whether it fits the file.
    const int rc = sqlite3_exec(m_handle.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_NOTADB) {
        const QString foreign = describeForeignFile(path);
        check(foreign.isEmpty(), EngineError::NotADatabase, foreign);
        throw EngineError(
            EngineError::NotADatabase,
            QCoreApplication::translate("store", "The data file \"%1\" could not be opened: the database password does not match, or the "
                           "file is not an Orvella data file.")
                .arg(QDir::toNativeSeparators(path)));
    }
    // Damage can stop the first read of the schema itself: said the same way as the first open's check says it.
    if ((rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_ERROR)
        throwDamagedBook(path, QStringLiteral("a part of it can no longer be read: %1")
                                   .arg(QString::fromUtf8(sqlite3_errmsg(m_handle.get()))));
    check(rc, m_handle.get(), context(Opening));
    checkOnFirstOpen(m_handle, path, identity, context(Opening));
    checkTable();
}

void PooledDatabase::setWait(int seconds) {
    m_waitSeconds = seconds > 0 ? seconds : DefaultWaitSeconds;
    m_handle.setBusyTimeout(m_waitSeconds * 1000);
}

bool PooledDatabase::stillReadable() {
    // Kept with the others: the month's scan opens the book again at every rebuild.
    SqliteStatement& statement = keptStatement(QStringLiteral("PRAGMA schema_version"), context(Opening)).statement;
    qlonglong version = -1;
    try {
        if (statement.step())
            version = statement.value(0).toLongLong();
        statement.reset();
    } catch (const EngineError& error) {
        statement.reset();
        if (error.kind() == EngineError::Busy)
            throw;
        return false;
    }
    // Last: a changed table starts the kept statements afresh, this one included.
    if (version != m_schemaVersion)
        checkTable();
    return true;
}

void PooledDatabase::requireSameFile() const {
    bool same = false;
    try {
        const FileIdentity now = identifyDataFile(m_path);
        same = now.file == m_identity.file;
    } catch (const EngineError&) {
        same = false;
    }
    check(same, EngineError::Conflict,
          QCoreApplication::translate("store", "Nothing was saved: the data file \"%1\" was removed or replaced by another program after "
                         "it was opened. Your text is still shown; note it, then close the day and open it again.")
              .arg(QDir::toNativeSeparators(m_path)));
}

PooledDatabase::KeptStatement& PooledDatabase::keptStatement(const QString& sql, const FailureContext& context) {
    auto found = m_kept.find(sql);
    if (found == m_kept.end()) {
        // A handful of texts recur; anything beyond that is unusual, and starting afresh bounds the memory.
        constexpr std::size_t MaximumKept = 16;
        if (m_kept.size() >= MaximumKept)
            m_kept.clear();
        found =
            m_kept
                .emplace(sql,
                         std::make_unique<KeptStatement>(KeptStatement{SqliteStatement(m_handle, sql, context), {}}))
                .first;
    }
    found->second->statement.setContext(context);
    return *found->second;
}

void PooledDatabase::checkTable() {
    // A changed table may describe its columns differently: kept statements start afresh.
    m_kept.clear();
    const QString file = QDir::toNativeSeparators(m_path);
    const QString table = QLatin1String(AppointmentTableName);
    QSet<QString> columns;
    QStringList extra;
    bool dateInKey = false;
    bool othersInKey = false;
    const QStringList expected = QStringList{QLatin1String(DayColumnName)} + slotColumnNames();
    {
        SqliteStatement info(m_handle, QStringLiteral("PRAGMA table_info(%1)").arg(table), context(Opening));
        while (info.step()) {
            const QString name = info.value(1).toString();
            columns.insert(name);
            if (!expected.contains(name))
                extra << name;
            // The key's position in the table's primary key: 1 when the date alone is the key.
            if (name == QLatin1String(DayColumnName))
                dateInKey = info.value(5).toLongLong() != 0;
            else if (info.value(5).toLongLong() != 0)
                othersInKey = true;
        }
    }
    check(!columns.isEmpty(), EngineError::NotADatabase,
          QCoreApplication::translate("store", "The data file \"%1\" holds no appointment table %2: it is not an Orvella data file, or it is "
                         "damaged.")
              .arg(file, table));
    QStringList missing;
    for (const QString& name : QStringList{QLatin1String(DayColumnName)} + slotColumnNames()) {
        if (!columns.contains(name))
            missing << name;
    }
    check(missing.isEmpty(), EngineError::NotADatabase,
          QCoreApplication::translate("store", "The appointment table of the data file \"%1\" lacks the column(s) %2: it is not an Orvella "
                         "data file, or it is damaged.")
              .arg(file, missing.join(QStringLiteral(", "))));
    // The month scan reads a record by position and a save finds it by its date: a table with other columns,
    // or whose date is not its key, would be miscounted and would gain a record at every opening of a day.
    check(extra.isEmpty(), EngineError::NotADatabase,
          QCoreApplication::translate("store", "The appointment table of the data file \"%1\" has column(s) an Orvella data file does not "
                         "have: %2. Nothing was changed in it. Copy its days into a book made by orvella-datafolder, "
                         "or remove those columns with the sqlcipher tool.")
              .arg(file, extra.join(QStringLiteral(", "))));
    check(dateInKey && !othersInKey, EngineError::NotADatabase,
          QCoreApplication::translate("store", "The appointment table of the data file \"%1\" does not have the date %2 as its key, so a "
                         "day could gain a second record. Nothing was changed in it. Copy its days into a book made "
                         "by orvella-datafolder.")
              .arg(file, QLatin1String(DayColumnName)));
    SqliteStatement version(m_handle, QStringLiteral("PRAGMA schema_version"), context(Opening));
    m_schemaVersion = version.step() ? version.value(0).toLongLong() : -1;
}

} // namespace store
