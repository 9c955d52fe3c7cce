#include "store/cipher/SqliteStatement.h"

#include "store/cipher/SqliteDatabase.h"

#include <QCoreApplication>
#include <sqlcipher/sqlite3.h>

#include <utility>

namespace store {

namespace {

QString fromText(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

SqliteStatement::SqliteStatement(SqliteDatabase& database, const QString& sql, const FailureContext& context)
    : m_database(&database), m_context(context) {
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    check(sqlite3_prepare_v2(database.get(), utf8.constData(), static_cast<int>(utf8.size() + 1), &m_statement, &tail),
          database.get(), context);
    check(m_statement != nullptr, EngineError::Misuse, QCoreApplication::translate("store", "The statement is empty."));
    m_hadMore = tail && !QString::fromUtf8(tail).trimmed().remove(QLatin1Char(';')).trimmed().isEmpty();
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_database(other.m_database),
      m_context(std::move(other.m_context)), m_hadMore(other.m_hadMore) {}

void SqliteStatement::bind(int parameter, const QVariant& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_statement, parameter);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_statement, parameter, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_statement, parameter, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(m_statement, parameter, bytes.constData(),
                                     static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_statement, parameter, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    check(rc, m_database->get(), m_context);
}

void SqliteStatement::bindText(int parameter, const std::optional<QString>& text) {
    const int rc = text ? sqlite3_bind_text16(m_statement, parameter,
                                              text->isNull() ? static_cast<const void*>(u"") : text->utf16(),
                                              static_cast<int>(text->size() * 2), SQLITE_STATIC)
                        : sqlite3_bind_null(m_statement, parameter);
    check(rc, m_database->get(), m_context);
}

void SqliteStatement::reset() {
    // sqlite3_reset repeats the last step's error, which that step has reported already.
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(m_statement);
    check(rc, m_database->get(), m_context);
    return rc == SQLITE_ROW;
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int column) const {
    return fromText(sqlite3_column_name(m_statement, column));
}

QString SqliteStatement::declaredType(int column) const {
    return fromText(sqlite3_column_decltype(m_statement, column));
}

QString SqliteStatement::tableName(int column) const {
    return fromText(sqlite3_column_table_name(m_statement, column));
}

QString SqliteStatement::originName(int column) const {
    return fromText(sqlite3_column_origin_name(m_statement, column));
}

QVariant SqliteStatement::value(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                                          sqlite3_column_bytes(m_statement, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                                   sqlite3_column_bytes(m_statement, column)));
    default:
        return QVariant();
    }
}

bool SqliteStatement::textAt(int column, const char*& data, qsizetype& size) const {
    const int type = sqlite3_column_type(m_statement, column);
    if (type == SQLITE_NULL || type == SQLITE_FLOAT)
        return false;
    // Asked for before its length, as the library wants: the length is then that of the text.
    const unsigned char* text = type == SQLITE_BLOB
                                    ? static_cast<const unsigned char*>(sqlite3_column_blob(m_statement, column))
                                    : sqlite3_column_text(m_statement, column);
    size = sqlite3_column_bytes(m_statement, column);
    data = text ? reinterpret_cast<const char*>(text) : "";
    return true;
}

QByteArrayView SqliteStatement::asText(int column) const {
    // Asked for before its length, as the library wants.
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    return text ? QByteArrayView(reinterpret_cast<const char*>(text), sqlite3_column_bytes(m_statement, column))
                : QByteArrayView();
}

} // namespace store
