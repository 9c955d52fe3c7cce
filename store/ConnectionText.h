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

} // namespace store
