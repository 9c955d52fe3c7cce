#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace report {

// A source of rows of named, typed values that feeds a report through a named data connection. The caller
// implements it over whatever holds the data; the engine only reads it, and reads every value it needs
// before any output starts, so a failing source (an exception from value()) leaves no half-printed sheet.
class Dataset {
public:
    virtual ~Dataset() = default;

    // The column names, in order; value() takes an index into this list.
    virtual QStringList columnNames() const = 0;
    virtual int rowCount() const = 0;
    // A null or invalid QVariant prints as nothing.
    virtual QVariant value(int row, int column) const = 0;

protected:
    Dataset() = default;
    Dataset(const Dataset&) = default;
    Dataset& operator=(const Dataset&) = default;
};

// The datasets bound to the project's data connections, by connection name. The engine does not own them.
using DataConnections = QHash<QString, const Dataset*>;

} // namespace report
