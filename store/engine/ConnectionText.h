#pragma once

#include <QString>

namespace store {

// The database file's name inside the data folder.
inline constexpr const char* DatabaseFileName = "data.mdb";

// The fixed database password.
inline constexpr const char* FixedDatabasePassword = "Kw73Tp";

// The complete connection text of the database file "data.mdb" in dataFolder, keyed with password:
// provider, an empty user password, the data source (the folder, a backslash, data.mdb) and the
// database password last. The folder is used as it is, so a folder that ends in a separator gives
// two separators in a row.
QString buildConnectionText(const QString& dataFolder, const QString& password);

// What the engine needs from a connection text.
struct ConnectionSettings {
    QString dataSource; // the data file's path; the backslash before the file name made a separator here
    QString password;   // the database password ("Jet OLEDB:Database Password")
};

// Reads the data source and the database password from a connection text. Each value runs up to the
// next ";" that starts a known key, so a folder holding ";" or "=" reads whole; a value in double quotes
// is unquoted. Missing keys give empty texts.
ConnectionSettings parseConnectionText(const QString& text);

} // namespace store
