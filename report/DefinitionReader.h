#pragma once

#include "report/ProjectDefinition.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace report {

// Reads a report-definition file (the XML format of docs/report-format.md) into a ProjectDefinition.
// Everything that can be checked without data is checked here: XML syntax, element and attribute names,
// numbers and their ranges, colours, that every item fits its band and every band its page, style names,
// data connection names, the active report's name, embedded images being base64 and linked ones being
// ordinary files that can be read, and the caps below. Each picture file is read once, and items showing
// the same picture share its bytes. (Whether the picture bytes decode is checked by the renderer before
// any output.) Reading takes time in proportion to the file's size.
// Any fault throws ReportError naming the file, the line and column, and what is wrong.
class DefinitionReader {
public:
    // What a definition may hold at most, so that a huge or hostile file is refused early instead of
    // freezing the program or filling its memory: the file's size, its elements (of every kind: reports,
    // bands, items...), the size of one linked picture file, and of all of them together.
    static constexpr qint64 MaxDefinitionBytes = 16 * 1024 * 1024;
    static constexpr qint64 MaxElements = 100'000;
    static constexpr qint64 MaxPictureBytes = 32 * 1024 * 1024;
    static constexpr qint64 MaxAllPicturesBytes = 64 * 1024 * 1024;

    // Hears, now and then during a long read, how many elements have been read so far.
    using Progress = std::function<void(qint64 elements)>;

    // Reads the file at path (an ordinary file, see readSourceFile()). A missing file is not this function's
    // concern (the caller words that case). fileLabel names the file in messages (path when not given).
    static ProjectDefinition readFile(const QString& path, const Progress& progress = {});
    static ProjectDefinition readFile(const QString& path, const QString& fileLabel, const Progress& progress = {});

    // Reads a definition held in memory. fileLabel names it in messages; baseDir resolves relative image
    // paths.
    static ProjectDefinition readBytes(const QByteArray& xml, const QString& fileLabel, const QString& baseDir,
                                       const Progress& progress = {});
};

} // namespace report
