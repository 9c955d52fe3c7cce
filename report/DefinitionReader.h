#pragma once

#include "report/ProjectDefinition.h"

#include <QByteArray>
#include <QString>

namespace report {

// Reads a report-definition file (the XML format of docs/report-format.md) into a ProjectDefinition.
// Everything that can be checked without data is checked here: XML syntax, element and attribute names,
// numbers and their ranges, colours, that every item fits its band and every band its page, style names,
// data connection names, the active report's name, embedded images being base64 and linked ones being
// files that can be read. (Whether the picture bytes decode is checked by the renderer before any output.)
// Any fault throws ReportError naming the file, the line and column, and what is wrong.
class DefinitionReader {
public:
    // Reads the file at path. A missing file is not this function's concern (the caller words that case).
    static ProjectDefinition readFile(const QString& path);

    // Reads a definition held in memory. fileLabel names it in messages; baseDir resolves relative image
    // paths.
    static ProjectDefinition readBytes(const QByteArray& xml, const QString& fileLabel, const QString& baseDir);
};

} // namespace report
