#include "store/engine/ConnectionText.h"

#include "platform/Files.h"
#include "store/engine/EngineError.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace store {

namespace {

const QStringList& knownKeys() {
    static const QStringList keys = {
        QStringLiteral("Provider"),
        QStringLiteral("Password"),
        QStringLiteral("User ID"),
        QStringLiteral("Data Source"),
        QStringLiteral("Mode"),
        QStringLiteral("Persist Security Info"),
        QStringLiteral("Extended Properties"),
        QStringLiteral("Locale Identifier"),
    };
    return keys;
}

// The length of the known key (with its "=") that starts at position, or 0.
qsizetype keyAt(const QString& text, qsizetype position) {
    for (const QString& key : knownKeys()) {
        if (text.mid(position, key.size()).compare(key, Qt::CaseInsensitive) == 0 &&
            text.mid(position + key.size(), 1) == QLatin1String("="))
            return key.size() + 1;
    }
    // The provider's own keys all start with its prefix, e.g. "Jet OLEDB:Database Password=".
    static const QString prefix = QStringLiteral("Jet OLEDB:");
    if (text.mid(position, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0) {
        for (qsizetype i = position + prefix.size(); i < text.size(); ++i) {
            if (text[i] == QLatin1Char('='))
                return i - position + 1;
            if (text[i] == QLatin1Char(';'))
                break;
        }
    }
    return 0;
}

// Where the value that starts at start ends: at a ";" followed by a known key, or at a ";" or the end
// of the text.
qsizetype valueEnd(const QString& text, qsizetype start) {
    qsizetype end = start;
    while (end < text.size() &&
           !(text[end] == QLatin1Char(';') && (end + 1 == text.size() || keyAt(text, end + 1) > 0)))
        ++end;
    return end;
}

bool endsWithFileName(const QString& dataSource) {
    return dataSource.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive);
}

// The ending the program itself gives every data source: the separator it writes, then the file's name.
bool endsAsTheProgramWritesIt(const QString& dataSource) {
    return dataSource.endsWith(QStringLiteral("\\") + QLatin1String(DatabaseFileName), Qt::CaseInsensitive);
}

// A value in double quotes, with "" standing for one quote, when the quotes enclose it exactly.
QString unquoted(const QString& value) {
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
        return value;
    const QString inner = value.mid(1, value.size() - 2);
    if (inner.count(QLatin1Char('"')) != 2 * inner.count(QLatin1String("\"\"")))
        return value;
    return QString(inner).replace(QLatin1String("\"\""), QLatin1String("\""));
}

// The data source as a path here: the program puts a backslash before the file name, which is the
// separator on Windows and is made one elsewhere; other backslashes may be part of a folder's name.
QString localPath(const QString& dataSource) {
    if (platform::backslashSeparates())
        return QDir::fromNativeSeparators(dataSource);
    const qsizetype slash = dataSource.lastIndexOf(QLatin1Char('\\'));
    if (slash < 0 || dataSource.indexOf(QLatin1Char('/'), slash) >= 0)
        return dataSource;
    return dataSource.left(slash) + QLatin1Char('/') + dataSource.mid(slash + 1);
}

} // namespace

QString buildConnectionText(const QString& dataFolder, const QString& password) {
    const QString text = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + dataFolder +
                         QStringLiteral("\\data.mdb") +
                         QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=") + password;
    // No folder name may lead the engine to another file: the text must read back to this folder's data.mdb.
    const QString meant = localPath(dataFolder + QStringLiteral("\\") + QLatin1String(DatabaseFileName));
    if (parseConnectionText(text).dataSource != meant)
        throw EngineError(EngineError::CantOpen,
                          QCoreApplication::translate("store", "The data folder's name \"%1\" cannot be used: it holds text that would name "
                                         "another data file. Rename the folder (for example without \";\" or "
                                         "\"=\") and start Orvella there.")
                              .arg(QDir::toNativeSeparators(dataFolder)));
    return text;
}

ConnectionSettings parseConnectionText(const QString& text) {
    ConnectionSettings settings;
    qsizetype position = 0;
    while (position < text.size()) {
        const qsizetype keyLength = keyAt(text, position);
        if (keyLength == 0) {
            // Not a key we know: skip to the next ";".
            const qsizetype next = text.indexOf(QLatin1Char(';'), position);
            if (next < 0)
                break;
            position = next + 1;
            continue;
        }
        const QString key = text.mid(position, keyLength - 1);
        const qsizetype start = position + keyLength;
        const bool dataSource = key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0;
        qsizetype end = valueEnd(text, start);
        if (dataSource) {
            // A folder may itself hold ";Mode=" or the like, even ";Mode=x.mdb". The program's data source
            // always ends with a backslash and data.mdb, so the last boundary that ends it so is the real one;
            // failing that, the first that ends with a file name.
            qsizetype candidate = end;
            qsizetype written = -1;
            qsizetype named = endsWithFileName(text.mid(start, end - start)) ? end : -1;
            while (candidate < text.size()) {
                if (endsAsTheProgramWritesIt(text.mid(start, candidate - start)))
                    written = candidate;
                if (named < 0 && endsWithFileName(text.mid(start, candidate - start)))
                    named = candidate;
                candidate = valueEnd(text, candidate + 1);
            }
            if (endsAsTheProgramWritesIt(text.mid(start, candidate - start)))
                written = candidate;
            if (named < 0 && endsWithFileName(text.mid(start, candidate - start)))
                named = candidate;
            end = written >= 0 ? written : (named >= 0 ? named : end);
        }
        const QString value = unquoted(text.mid(start, end - start));
        if (dataSource)
            settings.dataSource = localPath(value);
        else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive) == 0)
            settings.password = value;
        position = end + 1;
    }
    return settings;
}

} // namespace store
