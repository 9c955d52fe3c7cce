// orvella_floor_exchange: what bringing an older book over and exporting the book cost when a program does
// nothing but the work itself, the floors that orvella-datafolder's --import, --export-csv and --export-ics are
// measured against (bench/exchange-floors.sh runs both, in pairs, and under Callgrind).
//
//   orvella_floor_exchange import OLD.mdb NEW.mdb   the older book's table read through libmdb (its values bound
//                                                   as the library converts them), written into a new encrypted
//                                                   book with one prepared INSERT in one transaction
//   orvella_floor_exchange csv BOOK.mdb OUT.csv     one SELECT of the book in date order, written with C stdio
//   orvella_floor_exchange ics BOOK.mdb OUT.ics FROM.ics
//                                                   the same as a calendar; the time zone's rules (the part up to
//                                                   END:VTIMEZONE), the stamp and the zone's name are taken from
//                                                   FROM.ics, the program's own export, so that the two files can
//                                                   be compared byte for byte
//
// No Qt: the floor uses the two libraries and the C library only. The book's password and format are the
// program's own (the fixed password, 1,024-byte pages, 64,000 key derivation rounds, page checksums).

#include <glib.h>
extern "C" {
#include <mdbtools.h>
}
#include <sqlcipher/sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* Password = "Kw73Tp";
constexpr int SlotCount = 28;
constexpr int BindSize = 65536;

std::string slotName(int slot) {
    const int start = 8 * 60 + 30 * slot;
    const int end = start + 30;
    char name[10];
    std::snprintf(name, sizeof name, "%02d%02d-%02d%02d", start / 60, start % 60, end / 60, end % 60);
    return name;
}

bool run(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "orvella_floor_exchange: %s: %s\n", sql.c_str(), message ? message : "?");
    sqlite3_free(message);
    return false;
}

sqlite3* openBook(const char* path, bool create) {
    sqlite3* db = nullptr;
    const int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(path, &db, flags, nullptr) != SQLITE_OK)
        return nullptr;
    if (!run(db, std::string("PRAGMA key = '") + Password + "'") || !run(db, "PRAGMA cipher_page_size = 1024") ||
        !run(db, "PRAGMA kdf_iter = 64000") || !run(db, "PRAGMA cipher_use_hmac = ON")) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

// The civil date of a count of days since 1970-01-01.
void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int floorImport(const char* oldPath, const char* newPath) {
    unsetenv("MDBICONV");
    MdbHandle* mdb = mdb_open(oldPath, MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
        return 1;
    char tableName[] = "RANTEBOU";
    MdbTableDef* table = mdb_read_table_by_name(mdb, tableName, MDB_TABLE);
    if (!table || !mdb_read_columns(table))
        return 1;
    int dateColumn = -1;
    int slotColumns[SlotCount];
    for (int& column : slotColumns)
        column = -1;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (g_ascii_strcasecmp(column->name, "HMEROMHNIA") == 0)
            dateColumn = static_cast<int>(i);
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (g_ascii_strcasecmp(column->name, slotName(slot).c_str()) == 0)
                slotColumns[slot] = static_cast<int>(i);
        }
    }
    if (dateColumn < 0)
        return 1;
    mdb_set_bind_size(mdb, BindSize);
    std::vector<char> bound(static_cast<std::size_t>(BindSize) * SlotCount);
    int lengths[SlotCount] = {};
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (slotColumns[slot] < 0)
            return 1;
        mdb_bind_column(table, slotColumns[slot] + 1, bound.data() + static_cast<std::size_t>(slot) * BindSize,
                        &lengths[slot]);
    }
    mdb_rewind_table(table);

    sqlite3* db = openBook(newPath, true);
    if (!db || !run(db, "PRAGMA journal_mode = DELETE") || !run(db, "BEGIN IMMEDIATE"))
        return 1;
    std::string create = "CREATE TABLE RANTEBOU (HMEROMHNIA DATE NOT NULL PRIMARY KEY CHECK (HMEROMHNIA = "
                         "date(HMEROMHNIA))";
    std::string insert = "INSERT INTO RANTEBOU VALUES (?1";
    for (int slot = 0; slot < SlotCount; ++slot) {
        const std::string name = "\"" + slotName(slot) + "\"";
        create += ", " + name + " VARCHAR(255) CHECK (length(" + name + ") <= 255)";
        insert += ", ?" + std::to_string(slot + 2);
    }
    if (!run(db, create + ")"))
        return 1;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return 1;
    const auto* date = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, static_cast<guint>(dateColumn)));
    while (mdb_fetch_row(table)) {
        if (date->cur_value_len != 8)
            continue;
        double value = 0;
        std::memcpy(&value, mdb->pg_buf + date->cur_value_start, sizeof value);
        int year = 0, month = 0, day = 0;
        civilFromDays(static_cast<long long>(value) - 25569, year, month, day);
        char iso[11];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", year, month, day);
        sqlite3_bind_text(statement, 1, iso, 10, SQLITE_TRANSIENT);
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (lengths[slot] == 0)
                sqlite3_bind_null(statement, slot + 2);
            else
                sqlite3_bind_text(statement, slot + 2, bound.data() + static_cast<std::size_t>(slot) * BindSize,
                                  lengths[slot], SQLITE_STATIC);
        }
        if (sqlite3_step(statement) != SQLITE_DONE)
            return 1;
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    const bool committed = run(db, "COMMIT");
    sqlite3_close(db);
    mdb_free_tabledef(table);
    mdb_close(mdb);
    return committed ? 0 : 1;
}

bool isControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f;
}

// One CSV field by the export's rules (controls as blanks, the apostrophe before a formula, quotes when needed).
void csvField(std::string& out, const char* text, std::size_t size) {
    const auto at = [&](std::size_t i) { return isControl(static_cast<unsigned char>(text[i])) ? ' ' : text[i]; };
    std::size_t first = 0;
    while (first < size && (at(first) == ' ' || at(first) == '\t' || at(first) == '\r' || at(first) == '\n'))
        ++first;
    const bool formula = (first < size && std::strchr("=+-@", at(first)) && at(first) != '\0') ||
                         (size > 0 && (at(0) == '\t' || at(0) == '\r'));
    bool quoted = false;
    for (std::size_t i = 0; i < size; ++i)
        quoted = quoted || text[i] == '"' || text[i] == ',' || text[i] == '\r' || text[i] == '\n';
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (size > 0)
        quoted = quoted || blank(at(size - 1)) || (!formula && blank(at(0)));
    if (quoted)
        out += '"';
    if (formula)
        out += '\'';
    for (std::size_t i = 0; i < size; ++i) {
        const char c = at(i);
        if (quoted && c == '"')
            out += '"';
        out += c;
    }
    if (quoted)
        out += '"';
}

void escapeText(std::string& out, const char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ';':
            out += "\\;";
            break;
        case ',':
            out += "\\,";
            break;
        case '\r':
            if (i + 1 < size && text[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f ? ' ' : c;
        }
    }
}

void folded(std::FILE* file, const std::string& line) {
    std::size_t start = 0;
    bool first = true;
    do {
        std::size_t end = std::min(start + (first ? 75 : 74), line.size());
        while (end < line.size() && end > start + 1 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            --end;
        if (!first)
            std::fputc(' ', file);
        std::fwrite(line.data() + start, 1, end - start, file);
        std::fputs("\r\n", file);
        start = end;
        first = false;
    } while (start < line.size());
}

std::string readWhole(const char* path) {
    std::string text;
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

int floorExport(const char* bookPath, const char* outPath, const char* calendarFrom) {
    std::string head;
    std::string stamp;
    std::string zone;
    if (calendarFrom) {
        const std::string from = readWhole(calendarFrom);
        const std::size_t endZone = from.find("END:VTIMEZONE\r\n");
        const std::size_t stampAt = from.find("DTSTAMP:");
        const std::size_t zoneAt = from.find("DTSTART;TZID=");
        if (endZone == std::string::npos || stampAt == std::string::npos || zoneAt == std::string::npos)
            return 1;
        head = from.substr(0, endZone + 15);
        stamp = from.substr(stampAt, from.find("\r\n", stampAt) - stampAt);
        zone = from.substr(zoneAt + 7, from.find(':', zoneAt) + 1 - zoneAt - 7);
    }
    sqlite3* db = openBook(bookPath, false);
    if (!db)
        return 1;
    std::string select = "SELECT HMEROMHNIA";
    for (int slot = 0; slot < SlotCount; ++slot)
        select += ", \"" + slotName(slot) + "\"";
    select += " FROM RANTEBOU ORDER BY HMEROMHNIA";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, select.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return 1;
    std::FILE* file = std::fopen(outPath, "wb");
    if (!file)
        return 1;
    static char buffer[1 << 16];
    std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    if (calendarFrom)
        std::fwrite(head.data(), 1, head.size(), file);
    else
        std::fputs("Ημερομηνία,Έναρξη,Λήξη,Ραντεβού\r\n", file);
    std::string line;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* day = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (!day || sqlite3_column_bytes(statement, 0) != 10)
            continue;
        for (int slot = 0; slot < SlotCount; ++slot) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, slot + 1));
            std::size_t end = static_cast<std::size_t>(sqlite3_column_bytes(statement, slot + 1));
            std::size_t begin = 0;
            while (text && begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
                ++begin;
            while (text && end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
                --end;
            if (!text || begin == end)
                continue;
            const int start = 8 * 60 + 30 * slot;
            const int stop = start + 30;
            char times[32];
            line.clear();
            if (!calendarFrom) {
                std::snprintf(times, sizeof times, ",%02d:%02d,%02d:%02d,", start / 60, start % 60, stop / 60,
                              stop % 60);
                line.append(day, 10).append(times);
                csvField(line, text + begin, end - begin);
                line += "\r\n";
                std::fwrite(line.data(), 1, line.size(), file);
                continue;
            }
            char digits[9] = {day[0], day[1], day[2], day[3], day[5], day[6], day[8], day[9], '\0'};
            std::fprintf(file, "BEGIN:VEVENT\r\nUID:%s-%02d%02d@orvella.quenmark\r\n%s\r\n", digits, start / 60,
                         start % 60, stamp.c_str());
            std::snprintf(times, sizeof times, "T%02d%02d00", start / 60, start % 60);
            folded(file, "DTSTART" + zone + digits + times);
            std::snprintf(times, sizeof times, "T%02d%02d00", stop / 60, stop % 60);
            folded(file, "DTEND" + zone + digits + times);
            line = "SUMMARY:";
            escapeText(line, text + begin, end - begin);
            folded(file, line);
            std::fputs("END:VEVENT\r\n", file);
        }
    }
    if (calendarFrom)
        std::fputs("END:VCALENDAR\r\n", file);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return std::fclose(file) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "import" && argc == 4)
        return floorImport(argv[2], argv[3]);
    if (command == "csv" && argc == 4)
        return floorExport(argv[2], argv[3], nullptr);
    if (command == "ics" && argc == 5)
        return floorExport(argv[2], argv[3], argv[4]);
    std::fprintf(stderr, "usage: orvella_floor_exchange import OLD NEW | csv BOOK OUT | ics BOOK OUT FROM.ics\n");
    return 2;
}
