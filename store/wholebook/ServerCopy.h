#pragma once

#include <QString>

namespace store {

// What a copy did, for the administrator to read.
struct CopySummary {
    int days = 0;      // day records read from the source
    int added = 0;     // day records the target did not have
    int merged = 0;    // day records the target had, whose free slots were filled from the source
    int slotsKept = 0; // filled slots of the target left as they were although the source differs
};

// Copies the book of the data file at file (keyed with password) up to the server book connection names, in
// one transaction: all of it or nothing. The server must hold no day yet, unless merge is set: then a day the
// server has keeps every filled slot, and only its free slots take the file's text. Throws EngineError.
CopySummary copyBookUp(const QString& file, const QString& password, const QString& connection, bool merge);

// Copies the server book connection names down into a new data file at file (keyed with password), which must
// not exist: written beside under a passing name, read back and compared, then put in place without ever
// overwriting. Throws EngineError.
CopySummary copyBookDown(const QString& connection, const QString& file, const QString& password);

} // namespace store
