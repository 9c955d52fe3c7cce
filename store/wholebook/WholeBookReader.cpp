#include "store/wholebook/WholeBookReader.h"

#include <QCoreApplication>

#include "store/cipher/CipherGuard.h"
#include "store/cipher/FileFormat.h"
#include "store/engine/TableLayout.h"

namespace store {

namespace {

QString selectColumns() {
    QString columns = QLatin1String(DayColumnName);
    for (const QString& slot : slotColumnNames())
        columns += QStringLiteral(", \"") + slot + QLatin1Char('"');
    return columns;
}

// The n of a declared type VARCHAR(n), or 0.
int declaredSize(const QString& type) {
    const qsizetype open = type.indexOf(QLatin1Char('('));
    const qsizetype close = type.indexOf(QLatin1Char(')'), open + 1);
    if (open < 0 || close < 0)
        return 0;
    bool ok = false;
    const int size = type.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
    return ok ? size : 0;
}

} // namespace

WholeBookReader::WholeBookReader(const QString& path, const QString& password, Access access)
    : m_path(path), m_context{path, QStringLiteral(QT_TRANSLATE_NOOP("store", "reading the book")), 4} {
    m_database = SqliteDatabase(
        path, access == Access::ReadAndLock ? SqliteDatabase::OpenMode::ReadWrite : SqliteDatabase::OpenMode::ReadOnly,
        m_context);
    requireCipher(m_database.get());
    keyBook(m_database, password, m_context);
    m_database.setBusyTimeout(m_context.waitSeconds * 1000);
    requireAppointmentTable();
    if (access == Access::ReadAndLock) {
        m_database.execute(QStringLiteral("BEGIN IMMEDIATE"), m_context);
        m_locked = true;
    }
}

WholeBookReader::WholeBookReader(const QString& path, SqliteDatabase keyed)
    : m_path(path), m_context{path, QStringLiteral(QT_TRANSLATE_NOOP("store", "reading the book")), 4}, m_database(std::move(keyed)) {
    check(m_database.get() != nullptr && !m_database.inTransaction(), EngineError::Misuse,
          QCoreApplication::translate("store", "The book \"%1\" can only be read back through a handle open on it outside any "
                         "transaction.")
              .arg(path));
    m_database.releaseCache();
    m_database.setBusyTimeout(m_context.waitSeconds * 1000);
    requireAppointmentTable();
}

void WholeBookReader::requireAppointmentTable() {
    // The first read proves the password (a wrong one fails here as "not a database").
    SqliteStatement probe(m_database,
                          QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                              .arg(QLatin1String(AppointmentTableName)),
                          m_context);
    probe.step();
    check(probe.value(0).toInt() == 1, EngineError::NotADatabase,
          QCoreApplication::translate("store", "The book \"%1\" holds no appointment table; it is not an Orvella data file.").arg(m_path));
}

WholeBookReader::~WholeBookReader() {
    close();
}

void WholeBookReader::keepFewPages() {
    // In KiB: the tree's upper pages, which every range read walks down again, and the pages of the range.
    m_database.execute(QStringLiteral("PRAGMA cache_size = -256"), m_context);
}

void WholeBookReader::close() {
    m_all.reset();
    m_find.reset();
    if (m_locked && m_database.get() && m_database.inTransaction()) {
        try {
            m_database.execute(QStringLiteral("ROLLBACK"), m_context);
        } catch (...) {
            // Closing the handle releases the lock all the same.
        }
    }
    m_locked = false;
    m_database = SqliteDatabase();
}

SlotSizes WholeBookReader::slotSizes() {
    SlotSizes sizes;
    sizes.fill(SlotTextSize);
    SqliteStatement info(m_database, QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(AppointmentTableName)),
                         m_context);
    while (info.step()) {
        const qsizetype slot = slotColumnNames().indexOf(info.value(1).toString());
        const int size = declaredSize(info.value(2).toString());
        if (slot >= 0 && size > 0)
            sizes[static_cast<std::size_t>(slot)] = size;
    }
    return sizes;
}

qint64 WholeBookReader::dayCount() {
    SqliteStatement count(
        m_database, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(AppointmentTableName)), m_context);
    count.step();
    return count.value(0).toLongLong();
}

bool WholeBookReader::next(DayRow& day) {
    if (!m_all)
        m_all = std::make_unique<SqliteStatement>(
            m_database,
            QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                .arg(selectColumns(), QLatin1String(AppointmentTableName), QLatin1String(DayColumnName)),
            m_context);
    if (!m_all->step())
        return false;
    readDayRow(*m_all, day);
    return true;
}

std::optional<DayRow> WholeBookReader::find(const QString& date) {
    if (!m_find)
        m_find = std::make_unique<SqliteStatement>(
            m_database,
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1")
                .arg(selectColumns(), QLatin1String(AppointmentTableName), QLatin1String(DayColumnName)),
            m_context);
    m_find->bind(1, date);
    std::optional<DayRow> day;
    if (m_find->step()) {
        day.emplace();
        readDayRow(*m_find, *day);
    }
    m_find->reset();
    return day;
}

void WholeBookReader::readBetween(const QString& from, const QString& below,
                                  const std::function<void(const DayRow&)>& take) {
    QString where;
    if (!from.isEmpty())
        where = QStringLiteral("%1 >= ?1").arg(QLatin1String(DayColumnName));
    if (!below.isEmpty())
        where += (where.isEmpty() ? QString() : QStringLiteral(" AND ")) +
                 QStringLiteral("%1 < ?2").arg(QLatin1String(DayColumnName));
    SqliteStatement range(m_database,
                          QStringLiteral("SELECT %1 FROM %2%3")
                              .arg(selectColumns(), QLatin1String(AppointmentTableName),
                                   where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                          m_context);
    if (!from.isEmpty())
        range.bind(1, from);
    if (!below.isEmpty())
        range.bind(2, below);
    DayRow day;
    while (range.step()) {
        readDayRow(range, day);
        take(day);
    }
}

void readDayRow(const SqliteStatement& statement, DayRow& day) {
    const auto textOf = [&](int column, std::optional<QString>& text) {
        const char* data = nullptr;
        qsizetype size = 0;
        if (statement.textAt(column, data, size))
            text = QString::fromUtf8(data, size);
        else if (const QVariant decimal = statement.value(column); !decimal.isNull())
            text = decimal.toString();
        else
            text.reset();
    };
    std::optional<QString> date;
    textOf(0, date);
    day.date = date.value_or(QString());
    for (int slot = 0; slot < SlotCount; ++slot)
        textOf(slot + 1, day.slotTexts[static_cast<std::size_t>(slot)]);
}

} // namespace store
