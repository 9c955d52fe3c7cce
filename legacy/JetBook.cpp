#include "legacy/JetBook.h"

#include "legacy/ImportError.h"
#include "legacy/JetDate.h"
#include "legacy/JetText.h"
#include "platform/Files.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// libmdb's header includes glib inside its own extern "C", which C++ templates in glib cannot stand.
#include <glib.h>
extern "C" {
#include <mdbtools.h>
}

#include <cstring>
#include <utility>
#include <vector>

namespace legacy {

namespace {

// Bytes the library may hand over for one converted text: a memo of up to 16,000 characters in UTF-8.
constexpr int BindSize = 65536;
// Bytes the library's conversion of one Jet 4 text value (at most a page) may take in UTF-8: three for every two
// bytes stored, two for every byte of compressed text, and the terminating NUL.
constexpr int ConvertedSize = 2 * MDB_PGSIZE + 1;

// The bits of a record's place in a page's table of records that give its offset; the others are flags.
constexpr int RecordOffsetMask = 0x1fff;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

MdbColumn* columnAt(MdbTableDef* table, int index) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, static_cast<guint>(index)));
}

QString dayName(const JetRecord& record) {
    if (!record.date)
        return QStringLiteral("record %1 (without a date)").arg(record.number);
    const QDate day = jetDay(*record.date);
    return day.isValid() ? day.toString(QStringLiteral("d/M/yyyy")) : QStringLiteral("record %1").arg(record.number);
}

} // namespace

// The library's handles and the buffers it writes converted texts into; kept in one place on the heap,
// so that moving a JetBook leaves every pointer the library holds valid.
struct JetBook::Handles {
    MdbHandle* mdb = nullptr;
    MdbTableDef* table = nullptr;
    std::vector<char> bound; // one buffer of BindSize per slot
    std::array<int, store::SlotCount> boundLength{};
    std::vector<char> converted = std::vector<char>(ConvertedSize); // the library's reading of one Jet 4 text
};

void JetBook::requireReadableFile(const QString& path) {
    const QString file = native(path);
    const platform::Entry entry = platform::lookAt(path);
    if (entry.kind == platform::EntryKind::Missing)
        throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" does not exist. Give the path of the older appointment "
                                         "book (data.mdb).")
                              .arg(file));
    if (entry.kind == platform::EntryKind::Folder)
        throw ImportError(QStringLiteral("\"%1\" is a folder, not an appointment book file. Give the path of the "
                                         "older book's data.mdb inside it.")
                              .arg(file));
    // Looked at without opening it: reading a pipe or a device would wait for ever or never end.
    if (const QString what = platform::notAnOrdinaryFile(path, JetHeader::LargestFile); !what.isEmpty())
        throw ImportError(QStringLiteral("\"%1\" is %2, not an older appointment book file (a Jet file is an "
                                         "ordinary file of at most 2 GB); nothing was read. Give the path of the "
                                         "older book's data.mdb.")
                              .arg(file, what));
    if (!platform::mayRead(path))
        throw ImportError(
            QCoreApplication::translate("legacy", "The file \"%1\" cannot be read: you are not allowed to. Allow reading it and try again.")
                .arg(file));
}

JetBook::JetBook(const QString& path, const QString& expectedPassword) : m_path(path) {
    const QString file = native(path);
    requireReadableFile(path);
    const QFileInfo info(path);
    const JetHeader header = JetHeader::read(path);
    switch (header.format) {
    case JetHeader::Format::NotJet:
        throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" is not an older appointment book: it is not a Jet "
                                         "database (.mdb) file%2. Give the older program's data.mdb.")
                              .arg(file, info.size() == 0 ? QStringLiteral(" (it is empty)") : QString()));
    case JetHeader::Format::Newer:
        throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" is a database of a newer format than the older appointment "
                                         "book's (Jet 3 or Jet 4); it cannot be read. Save it in the 2000 format "
                                         "(.mdb) first.")
                              .arg(file));
    case JetHeader::Format::Jet3:
    case JetHeader::Format::Jet4:
        break;
    }
    m_format = header.format;
    if (info.size() < 3 * header.pageSize || info.size() % header.pageSize != 0)
        throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" is incomplete (%2 bytes, where a whole one is made "
                                         "of at least three %3-byte pages): it was cut short, perhaps while being "
                                         "copied. Copy it again from where it came from.")
                              .arg(file)
                              .arg(info.size())
                              .arg(header.pageSize));
    if (!passwordAccepted(header.password, expectedPassword))
        throw ImportError(QCoreApplication::translate("legacy", "The database password of \"%1\" is not \"%2\"; nothing was read. If this "
                                         "book was protected with another password, give it with --password.")
                              .arg(file, expectedPassword));

    // The library converts text to the character set named in MDBICONV; unset, it gives UTF-8.
    qunsetenv("MDBICONV");
    m_handles = new Handles;
    try {
        m_handles->mdb = mdb_open(platform::libraryFileName(path).constData(), MDB_NOFLAGS);
        if (!m_handles->mdb)
            throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" could not be opened as a Jet database; it may be "
                                             "damaged.")
                                  .arg(file));
        openTable();
    } catch (...) {
        close();
        throw;
    }
}

JetBook::~JetBook() {
    close();
}

JetBook::JetBook(JetBook&& other) noexcept
    : m_path(std::move(other.m_path)), m_format(other.m_format), m_handles(std::exchange(other.m_handles, nullptr)),
      m_ignored(std::move(other.m_ignored)), m_dateColumn(other.m_dateColumn), m_slotColumns(other.m_slotColumns),
      m_layout(std::move(other.m_layout)), m_read(other.m_read) {}

JetBook& JetBook::operator=(JetBook&& other) noexcept {
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_format = other.m_format;
        m_handles = std::exchange(other.m_handles, nullptr);
        m_ignored = std::move(other.m_ignored);
        m_dateColumn = other.m_dateColumn;
        m_slotColumns = other.m_slotColumns;
        m_layout = std::move(other.m_layout);
        m_read = other.m_read;
    }
    return *this;
}

void JetBook::close() noexcept {
    if (!m_handles)
        return;
    if (m_handles->table)
        mdb_free_tabledef(m_handles->table);
    if (m_handles->mdb)
        mdb_close(m_handles->mdb);
    delete m_handles;
    m_handles = nullptr;
}

void JetBook::openTable() {
    const QString file = native(m_path);
    MdbHandle* mdb = m_handles->mdb;
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw ImportError(QCoreApplication::translate("legacy", "The list of tables in \"%1\" cannot be read: the file is damaged. Repair "
                                         "it with the older program, or copy it again from a backup.")
                              .arg(file));
    // Table names are compared without regard to case, as Jet does.
    QByteArray name(store::AppointmentTableName);
    m_handles->table = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!m_handles->table)
        throw ImportError(QCoreApplication::translate("legacy", "The file \"%1\" is a Jet database but not an appointment book: it has no "
                                         "table %2. Give the older program's own data.mdb.")
                              .arg(file, name));
    MdbTableDef* table = m_handles->table;
    if (!mdb_read_columns(table))
        throw ImportError(QCoreApplication::translate("legacy", "The columns of the table %1 in \"%2\" cannot be read: the file is damaged.")
                              .arg(name, file));

    m_slotColumns.fill(-1);
    const QStringList& slotNames = store::slotColumnNames();
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const MdbColumn* column = columnAt(table, static_cast<int>(i));
        const QString columnName = QString::fromUtf8(column->name);
        if (columnName.compare(QLatin1String(store::DayColumnName), Qt::CaseInsensitive) == 0) {
            if (column->col_type != MDB_DATETIME)
                throw ImportError(QCoreApplication::translate("legacy", "The column %1 of the table %2 in \"%3\" does not hold dates; this "
                                                 "is not an appointment book the import can read.")
                                      .arg(columnName, name, file));
            m_dateColumn = static_cast<int>(i);
            continue;
        }
        qsizetype match = -1;
        for (qsizetype s = 0; s < slotNames.size() && match < 0; ++s) {
            if (slotNames[s].compare(columnName, Qt::CaseInsensitive) == 0)
                match = s;
        }
        if (match < 0) {
            m_ignored << columnName;
            continue;
        }
        if (column->col_type != MDB_TEXT && column->col_type != MDB_MEMO)
            throw ImportError(QCoreApplication::translate("legacy", "The slot column %1 of the table %2 in \"%3\" does not hold text; this "
                                             "is not an appointment book the import can read.")
                                  .arg(columnName, name, file));
        m_slotColumns[static_cast<std::size_t>(match)] = static_cast<int>(i);
    }
    if (m_dateColumn < 0)
        throw ImportError(QCoreApplication::translate("legacy", "The table %1 in \"%2\" has no date column %3; it is not an appointment book "
                                         "the import can read.")
                              .arg(name, file, QLatin1String(store::DayColumnName)));
    for (int slot = 0; slot < store::SlotCount; ++slot) {
        if (m_slotColumns[static_cast<std::size_t>(slot)] < 0)
            throw ImportError(QCoreApplication::translate("legacy", "The table %1 in \"%2\" has no column %3 for the half hour %3; it is not "
                                             "an appointment book the import can read, and nothing was imported.")
                                  .arg(name, file, slotNames[slot]));
    }

    // Jet 4 text is decoded from its stored bytes here (the library would turn a character beyond the basic
    // plane into "??"), and read a second time by the library's own conversion, which it must agree with; memo
    // values and Jet 3's code-page text come converted from the library alone.
    mdb_set_bind_size(mdb, BindSize);
    m_handles->bound.assign(static_cast<std::size_t>(BindSize) * store::SlotCount, '\0');
    for (int slot = 0; slot < store::SlotCount; ++slot) {
        const int index = m_slotColumns[static_cast<std::size_t>(slot)];
        const MdbColumn* column = columnAt(table, index);
        if (m_format == JetHeader::Format::Jet3 || column->col_type == MDB_MEMO)
            mdb_bind_column(table, index + 1, m_handles->bound.data() + static_cast<std::size_t>(slot) * BindSize,
                            &m_handles->boundLength[static_cast<std::size_t>(slot)]);
    }
    m_layout = Jet4Columns();
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const MdbColumn* column = columnAt(table, static_cast<int>(i));
        if (column->is_fixed) {
            m_layout.fixedEnds.push_back(column->fixed_offset + column->col_size);
            continue;
        }
        auto& numbers = m_layout.variableNumbers;
        if (numbers.size() <= column->var_col_num)
            numbers.resize(column->var_col_num + 1, -1);
        numbers[column->var_col_num] = column->col_num;
    }
    mdb_rewind_table(table);
}

qint64 JetBook::recordCount() const {
    return m_handles && m_handles->table ? m_handles->table->num_rows : 0;
}

std::optional<QString> JetBook::slotText(int slot, const JetRecord& record) const {
    MdbTableDef* table = m_handles->table;
    const MdbColumn* column = columnAt(table, m_slotColumns[static_cast<std::size_t>(slot)]);
    // Said only when something is wrong: this runs for every slot of every record.
    const auto where = [&] {
        return QCoreApplication::translate("legacy", "the slot %1 of %2 in \"%3\"")
            .arg(store::slotColumnNames()[slot], dayName(record), native(m_path));
    };
    if (column->bind_ptr) {
        // The library hands a text without characters and a missing value alike as an empty text: both
        // mean a free slot, and the slot is kept without a value.
        const int length = m_handles->boundLength[static_cast<std::size_t>(slot)];
        if (length == 0)
            return std::nullopt;
        if (length >= BindSize - 1)
            throw ImportError(
                QCoreApplication::translate("legacy", "The text in %1 is too long to be read whole; nothing was imported.").arg(where()));
        const QString text =
            QString::fromUtf8(m_handles->bound.data() + static_cast<std::size_t>(slot) * BindSize, length);
        if (m_format == JetHeader::Format::Jet4 && text.contains(QLatin1String("??")))
            throw ImportError(QCoreApplication::translate("legacy", "The text in %1 may hold characters that cannot be read from this kind "
                                             "of column (it reads \"%2\"); nothing was imported. Shorten or retype "
                                             "that text in the older program and import again.")
                                  .arg(where(), text));
        return text;
    }
    if (column->cur_value_len == 0)
        return std::nullopt;
    const auto* bytes = m_handles->mdb->pg_buf + column->cur_value_start;
    if (column->cur_value_start < 0 || column->cur_value_len < 0 ||
        column->cur_value_start + column->cur_value_len > MDB_PGSIZE)
        throw ImportError(QCoreApplication::translate("legacy", "The record of %1 in \"%2\" is damaged; nothing was imported.")
                              .arg(dayName(record), native(m_path)));
    const std::optional<QString> text = decodeJet4Text(bytes, column->cur_value_len);
    if (!text)
        throw ImportError(QCoreApplication::translate("legacy", "The text in %1 is damaged (it is not whole UTF-16 text); nothing was "
                                         "imported. Retype it in the older program and import again.")
                              .arg(where()));
    // A NUL character ends the text for the older program (it showed only what came before); brought over whole,
    // the slot would hold what nobody saw there.
    if (text->contains(QChar(u'\0')))
        throw ImportError(QCoreApplication::translate("legacy", "The text in %1 holds a NUL character (U+0000), where the older program "
                                         "showed only \"%2\"; nothing was imported. Retype that text in the older "
                                         "program and import again.")
                              .arg(where(), text->left(text->indexOf(QChar(u'\0')))));
    // The same bytes as the library reads them (its conversion that a bound column's text comes from): where the
    // two readings part, one of them is wrong, and neither is brought over.
    char* library = m_handles->converted.data();
    const int length = mdb_unicode2ascii(m_handles->mdb, reinterpret_cast<const char*>(bytes),
                                         static_cast<std::size_t>(column->cur_value_len), library, ConvertedSize);
    if (length < 0 || length >= ConvertedSize - 1 || !readsAlike(*text, QByteArrayView(library, length)))
        throw ImportError(QCoreApplication::translate("legacy", "The text in %1 reads \"%2\" from its stored bytes but \"%3\" "
                                         "as the library that reads the file gives it; the stored text is damaged, "
                                         "and nothing was imported. Retype it in the older program and import "
                                         "again.")
                              .arg(where(), shortened(*text), shortened(QString::fromUtf8(library, length))));
    // A value of nothing but the compression mark holds no text: a free slot, as the library reads it.
    if (text->isEmpty())
        return std::nullopt;
    return text;
}

void JetBook::requireValuesInPlace(const JetRecord& record) const {
    MdbTableDef* table = m_handles->table;
    MdbHandle* mdb = m_handles->mdb;
    // The record just read is the one before the table's place in its page.
    int start = 0;
    std::size_t size = 0;
    if (table->cur_row == 0 || mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
        (start & RecordOffsetMask) + static_cast<qint64>(size) > MDB_PGSIZE)
        throw ImportError(QCoreApplication::translate("legacy", "The record of %1 in \"%2\" is damaged; nothing was imported.")
                              .arg(dayName(record), native(m_path)));
    const std::optional<int> misplaced =
        misplacedJet4Value(mdb->pg_buf + (start & RecordOffsetMask), static_cast<int>(size), m_layout);
    if (!misplaced)
        return;
    // The column by its name: a slot's is its half hour.
    QString column = QStringLiteral("#%1").arg(*misplaced + 1);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const MdbColumn* candidate = columnAt(table, static_cast<int>(i));
        if (!candidate->is_fixed && static_cast<int>(candidate->var_col_num) == *misplaced)
            column = QString::fromUtf8(candidate->name);
    }
    throw ImportError(QCoreApplication::translate("legacy", "The record of %1 in \"%2\" is damaged: the stored value of its column %3 "
                                     "overlaps another value or runs beyond the record; nothing was imported. Repair the "
                                     "file with the older program, or use a backup copy.")
                          .arg(dayName(record), native(m_path), column));
}

bool JetBook::next(JetRecord& record) {
    MdbTableDef* table = m_handles->table;
    if (!mdb_fetch_row(table)) {
        if (m_read < static_cast<qint64>(table->num_rows))
            throw ImportError(QCoreApplication::translate("legacy", "Only %1 of the %2 records of the appointment table in \"%3\" could be "
                                             "read: parts of the file are damaged. Nothing was imported. Repair the "
                                             "file with the older program, or use a backup copy.")
                                  .arg(m_read)
                                  .arg(table->num_rows)
                                  .arg(native(m_path)));
        return false;
    }
    record.number = ++m_read;
    const MdbColumn* dateColumn = columnAt(table, m_dateColumn);
    record.date.reset();
    if (dateColumn->cur_value_len == 8) {
        double value = 0;
        std::memcpy(&value, m_handles->mdb->pg_buf + dateColumn->cur_value_start, sizeof value);
        record.date = value;
    } else if (dateColumn->cur_value_len != 0) {
        throw ImportError(QCoreApplication::translate("legacy", "The date of record %1 in \"%2\" is damaged; nothing was imported.")
                              .arg(record.number)
                              .arg(native(m_path)));
    }
    if (m_format == JetHeader::Format::Jet4)
        requireValuesInPlace(record);
    for (int slot = 0; slot < store::SlotCount; ++slot)
        record.slotTexts[static_cast<std::size_t>(slot)] = slotText(slot, record);
    return true;
}

} // namespace legacy
