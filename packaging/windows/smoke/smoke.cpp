// Proves that the cross-built prefix links and runs: each command exercises one
// library the Windows program needs and writes what it found to a UTF-8 file
// (the console's code page would garble Greek text on standard output), which
// smoke.sh then checks on the host.
//
//   smoke sqlcipher-write BOOK KEY TEXT OUT   new book: table t(a), one row
//                                             holding TEXT's (UTF-8) content
//   smoke sqlcipher-read  BOOK KEY OUT        the rows of t, and the cipher settings
//   smoke mdb             BOOK TABLE OUT      row count, and every text cell
//   smoke qt              PDF JPEG OUT        QApplication, a PDF with Greek text, a JPEG
//   smoke libpq           OUT                 libpq's version and its TLS library

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>
#include <libpq-fe.h>
#include <mdbtools.h>
#include <jpeglib.h>

namespace {

int fail(const std::string& what)
{
    std::fprintf(stderr, "smoke: %s\n", what.c_str());
    return 1;
}

struct Db {
    sqlite3* h = nullptr;
    ~Db() { if (h) sqlite3_close(h); }
};

// Every row of every column of a statement, one line per row, '|' between.
bool query(sqlite3* db, const std::string& sql, std::vector<std::string>& rows, std::string& err)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        err = sql + ": " + sqlite3_errmsg(db);
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::string line;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            if (i) line += '|';
            auto* t = sqlite3_column_text(st, i);
            line += t ? reinterpret_cast<const char*>(t) : "NULL";
        }
        rows.push_back(line);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        err = sql + ": " + sqlite3_errmsg(db);
        return false;
    }
    return true;
}

bool exec(sqlite3* db, const std::string& sql, std::string& err)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
        err = sql + ": " + (msg ? msg : "?");
        sqlite3_free(msg);
        return false;
    }
    return true;
}

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s) { q += c; if (c == '\'') q += '\''; }
    return q + "'";
}

int sqlcipherWrite(const std::string& book, const std::string& key, const std::string& textFile, const std::string& out)
{
    // From a file: argv arrives in the ANSI code page on Windows.
    std::ifstream in(textFile, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.empty()) return fail("no text in " + textFile);
    Db db;
    if (sqlite3_open(book.c_str(), &db.h) != SQLITE_OK) return fail("cannot open " + book);
    if (sqlite3_key(db.h, key.data(), int(key.size())) != SQLITE_OK) return fail("sqlite3_key failed");
    std::string err;
    if (!exec(db.h, "create table t(a); insert into t values(" + quoted(text) + ")", err)) return fail(err);
    std::vector<std::string> rows;
    if (!query(db.h, "PRAGMA cipher_version", rows, err)) return fail(err);
    std::ofstream o(out, std::ios::binary);
    for (auto& r : rows) o << "cipher_version=" << r << '\n';
    return o ? 0 : fail("cannot write " + out);
}

int sqlcipherRead(const std::string& book, const std::string& key, const std::string& out)
{
    Db db;
    if (sqlite3_open_v2(book.c_str(), &db.h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return fail("cannot open " + book);
    std::string err;
    if (!exec(db.h, "PRAGMA key=" + quoted(key), err)) return fail(err);
    std::vector<std::string> rows, settings;
    if (!query(db.h, "select a from t", rows, err)) return fail(err);
    for (const char* p : {"cipher_version", "cipher", "kdf_iter", "cipher_page_size", "cipher_use_hmac",
                          "page_size", "journal_mode"}) {
        std::vector<std::string> v;
        if (!query(db.h, std::string("PRAGMA ") + p, v, err)) return fail(err);
        settings.push_back(std::string(p) + "=" + (v.empty() ? "" : v.front()));
    }
    std::vector<std::string> options;
    if (!query(db.h, "PRAGMA compile_options", options, err)) return fail(err);
    std::ofstream o(out, std::ios::binary);
    for (auto& r : rows) o << "row=" << r << '\n';
    for (auto& s : settings) o << s << '\n';
    for (auto& s : options) o << "option=" << s << '\n';
    return o ? 0 : fail("cannot write " + out);
}

int mdb(const std::string& book, const std::string& table, const std::string& out)
{
    MdbHandle* h = mdb_open(book.c_str(), MDB_NOFLAGS);
    if (!h) return fail("mdb_open failed: " + book);
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> guard(h, mdb_close);
    if (!mdb_read_catalog(h, MDB_TABLE)) return fail("cannot read the catalog");
    MdbTableDef* t = mdb_read_table_by_name(h, const_cast<gchar*>(table.c_str()), MDB_TABLE);
    if (!t) return fail("no table " + table);
    mdb_read_columns(t);
    mdb_rewind_table(t);
    const unsigned n = t->num_cols;
    std::vector<std::vector<char>> bound(n, std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lens(n);
    for (unsigned i = 0; i < n; ++i) mdb_bind_column(t, int(i) + 1, bound[i].data(), &lens[i]);
    std::ofstream o(out, std::ios::binary);
    long rows = 0;
    std::string cells;
    while (mdb_fetch_row(t)) {
        ++rows;
        for (unsigned i = 0; i < n; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
            if (lens[i] > 0 && col->col_type == MDB_TEXT)
                cells += "cell=" + std::string(col->name) + '\t' + std::string(bound[i].data(), size_t(lens[i])) + '\n';
        }
    }
    o << "columns=" << n << '\n' << "rows=" << rows << '\n' << cells;
    mdb_free_tabledef(t);
    return o ? 0 : fail("cannot write " + out);
}

// libjpeg-turbo reads back the JPEG that Qt's image plugin wrote.
bool jpegSize(const std::string& file, unsigned& w, unsigned& h)
{
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return false;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    const bool ok = jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK;
    w = cinfo.image_width;
    h = cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return ok;
}

int qt(int argc, char** argv, const std::string& pdf, const std::string& jpeg, const std::string& out)
{
    QApplication app(argc, argv);
    std::ofstream o(out, std::ios::binary);
    o << "platform=" << QGuiApplication::platformName().toStdString() << '\n';
    o << "families=" << QFontDatabase::families().size() << '\n';
    // Listing printers goes through the windows print support plugin.
    o << "printers=" << QPrinterInfo::availablePrinterNames().size() << '\n';

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    QPainter p;
    if (!p.begin(&printer)) return fail("QPainter cannot begin on the PDF printer");
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    p.drawText(QPointF(200, 400), QStringLiteral("Ραντεβού Τρίτη 12:30 Γεωργίου Μαρία"));
    p.end();

    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 40));
    if (!img.save(QString::fromStdString(jpeg), "JPEG")) return fail("Qt cannot write JPEG");
    QImage back(QString::fromStdString(jpeg));
    o << "qt_jpeg=" << back.width() << 'x' << back.height() << '\n';
    QImage png(16, 16, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    const std::string pngFile = jpeg + ".png";
    o << "qt_png=" << (png.save(QString::fromStdString(pngFile), "PNG") && QImage(QString::fromStdString(pngFile)).width() == 16) << '\n';
    // QtCore's XML and JSON readers stay when the Qt Xml module is left out.
    QXmlStreamReader xml(QStringLiteral("<book><day date=\"2012-02-29\"/></book>"));
    QString date;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd())
        if (xml.isStartElement() && xml.name() == QLatin1String("day"))
            date = xml.attributes().value(QLatin1String("date")).toString();
    o << "xml=" << date.toStdString() << '\n';
    const auto json = QJsonDocument::fromJson(R"({"slot":"0900-0930"})");
    o << "json=" << json.object().value(QLatin1String("slot")).toString().toStdString() << '\n';
    unsigned w = 0, h = 0;
    if (!jpegSize(jpeg, w, h)) return fail("libjpeg cannot read " + jpeg);
    o << "libjpeg=" << w << 'x' << h << '\n';
    return o ? 0 : fail("cannot write " + out);
}

int libpq(const std::string& out)
{
    std::ofstream o(out, std::ios::binary);
    o << "libpq_version=" << PQlibVersion() << '\n';
    const char* tls = PQsslAttribute(nullptr, "library");
    o << "libpq_tls=" << (tls ? tls : "none") << '\n';
    // No server here: the attempt must fail cleanly with a message.
    PGconn* c = PQconnectdb("host=127.0.0.1 port=1 connect_timeout=2 dbname=x user=x");
    o << "libpq_status_bad=" << (PQstatus(c) == CONNECTION_BAD) << '\n';
    PQfinish(c);
    return o ? 0 : fail("cannot write " + out);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> a(argv, argv + argc);
    if (a.size() == 6 && a[1] == "sqlcipher-write") return sqlcipherWrite(a[2], a[3], a[4], a[5]);
    if (a.size() == 5 && a[1] == "sqlcipher-read") return sqlcipherRead(a[2], a[3], a[4]);
    if (a.size() == 5 && a[1] == "mdb") return mdb(a[2], a[3], a[4]);
    if (a.size() >= 5 && a[1] == "qt") return qt(argc, argv, a[2], a[3], a[4]);
    if (a.size() == 3 && a[1] == "libpq") return libpq(a[2]);
    return fail("usage: smoke sqlcipher-write|sqlcipher-read|mdb|qt|libpq ...");
}
