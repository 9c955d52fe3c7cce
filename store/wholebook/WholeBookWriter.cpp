#include "store/wholebook/WholeBookWriter.h"

#include "store/cipher/CipherGuard.h"
#include "store/cipher/FileFormat.h"
#include "store/engine/TableLayout.h"
#include "store/wholebook/WholeBookReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace store {

namespace {

QString quotedSlot(int slot) {
    return QLatin1Char('"') + slotColumnNames()[slot] + QLatin1Char('"');
}

std::optional<DayRow> dayFrom(const SqliteStatement& statement) {
    DayRow day;
    readDayRow(statement, day);
    return day;
}

} // namespace

WholeBookWriter::WholeBookWriter(const QString& path, const QString& password, const SlotSizes& sizes)
    : m_path(path), m_context{path, QStringLiteral(QT_TRANSLATE_NOOP("store", "writing the new book")), 0}, m_sizes(sizes) {
    const QFileInfo target(path);
    check(!target.exists() && !target.isSymLink(), EngineError::CantOpen,
          QStringLiteral("\"%1\" already exists; it was left as it is.").arg(QDir::toNativeSeparators(path)));
    for (int& size : m_sizes)
        size = std::max(size, 1);
    m_database = SqliteDatabase(path, SqliteDatabase::OpenMode::Create, m_context);
    requireCipher(m_database.get());
    keyBook(m_database, password, m_context);
    // The same journal as every data file (see createDatabaseFile).
    m_database.execute(QStringLiteral("PRAGMA journal_mode = DELETE"), m_context);
    m_database.execute(QStringLiteral("BEGIN IMMEDIATE"), m_context);
    m_database.execute(tableStatement(QLatin1String(AppointmentTableName), m_sizes), m_context);
    prepare();
}

WholeBookWriter::~WholeBookWriter() {
    m_find.reset();
    m_insert.reset();
    m_update.reset();
    if (!m_committed && m_database.get() && m_database.inTransaction()) {
        try {
            m_database.execute(QStringLiteral("ROLLBACK"), m_context);
        } catch (...) {
            // Closing the handle below drops the transaction all the same.
        }
    }
}

QString WholeBookWriter::tableStatement(const QString& table, const SlotSizes& sizes) {
    // The same layout as createTableStatement(), with each slot's own size.
    QString text = QStringLiteral("CREATE TABLE %1 (%2 DATE NOT NULL PRIMARY KEY CHECK (%2 = date(%2))")
                       .arg(table, QLatin1String(DayColumnName));
    for (int slot = 0; slot < SlotCount; ++slot) {
        text += QStringLiteral(", \"%1\" VARCHAR(%2) CHECK (length(\"%1\") <= %2)")
                    .arg(slotColumnNames()[slot])
                    .arg(sizes[static_cast<std::size_t>(slot)]);
    }
    return text + QLatin1Char(')');
}

void WholeBookWriter::prepare() {
    const QString table = QLatin1String(AppointmentTableName);
    const QString day = QLatin1String(DayColumnName);
    QString columns = day;
    QString parameters = QStringLiteral("?1");
    QString assignments;
    for (int slot = 0; slot < SlotCount; ++slot) {
        columns += QStringLiteral(", ") + quotedSlot(slot);
        parameters += QStringLiteral(", ?%1").arg(slot + 2);
        assignments +=
            (slot ? QStringLiteral(", ") : QString()) + quotedSlot(slot) + QStringLiteral(" = ?%1").arg(slot + 2);
    }
    m_find = std::make_unique<SqliteStatement>(
        m_database, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1").arg(columns, table, day), m_context);
    m_insert = std::make_unique<SqliteStatement>(
        m_database, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns, parameters), m_context);
    m_update = std::make_unique<SqliteStatement>(
        m_database, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?1").arg(table, assignments, day), m_context);
}

std::optional<DayRow> WholeBookWriter::find(const QString& date) {
    m_find->bind(1, date);
    std::optional<DayRow> day;
    if (m_find->step())
        day = dayFrom(*m_find);
    m_find->reset();
    return day;
}

void WholeBookWriter::fitTexts(const DayRow& day) {
    SlotSizes wanted = m_sizes;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto& text = day.slotTexts[static_cast<std::size_t>(slot)];
        if (text)
            wanted[static_cast<std::size_t>(slot)] =
                std::max(wanted[static_cast<std::size_t>(slot)], characterCount(*text));
    }
    if (wanted == m_sizes)
        return;
    // The declared sizes live in the table's definition: the table is made anew with the larger sizes and
    // its records moved over, all inside the one transaction.
    m_find.reset();
    m_insert.reset();
    m_update.reset();
    const QString table = QLatin1String(AppointmentTableName);
    const QString grown = table + QStringLiteral("_grown");
    m_database.execute(tableStatement(grown, wanted), m_context);
    m_database.execute(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(grown, table), m_context);
    m_database.execute(QStringLiteral("DROP TABLE %1").arg(table), m_context);
    m_database.execute(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(grown, table), m_context);
    m_sizes = wanted;
    prepare();
}

void WholeBookWriter::bindSlots(SqliteStatement& statement, const DayRow& day, int firstParameter) {
    // A text that is there but empty stays a text: only a slot without a value is null.
    for (int slot = 0; slot < SlotCount; ++slot)
        statement.bindText(firstParameter + slot, day.slotTexts[static_cast<std::size_t>(slot)]);
}

void WholeBookWriter::insert(const DayRow& day) {
    fitTexts(day);
    m_insert->bindText(1, day.date);
    bindSlots(*m_insert, day, 2);
    m_insert->step();
    m_insert->reset();
}

void WholeBookWriter::update(const DayRow& day) {
    fitTexts(day);
    m_update->bindText(1, day.date);
    bindSlots(*m_update, day, 2);
    m_update->step();
    m_update->reset();
}

void WholeBookWriter::commit() {
    m_find.reset();
    m_insert.reset();
    m_update.reset();
    m_database.execute(QStringLiteral("COMMIT"), m_context);
    m_committed = true;
}

std::unique_ptr<WholeBookReader> WholeBookWriter::readBack() {
    check(m_committed, EngineError::Misuse,
          QCoreApplication::translate("store", "The new book \"%1\" is read back only once it is written whole.")
              .arg(QDir::toNativeSeparators(m_path)));
    return std::make_unique<WholeBookReader>(m_path, std::move(m_database));
}

} // namespace store
