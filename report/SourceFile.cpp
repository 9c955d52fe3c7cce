#include "report/SourceFile.h"

namespace report {

QString SourceFile::fault(qint64 maxBytes) const {
    switch (outcome) {
    case Outcome::Read:
        return {};
    case Outcome::Missing:
        return QStringLiteral("does not exist");
    case Outcome::NotAFile:
        return QStringLiteral("is %1, not an ordinary file").arg(reason);
    case Outcome::TooLarge:
        return QStringLiteral("is larger than the %1 MB it may be").arg(maxBytes >> 20);
    case Outcome::Unreadable:
        break;
    }
    return QStringLiteral("cannot be read: %1").arg(reason);
}

SourceFile readSourceFile(const QString& path, qint64 maxBytes) {
    platform::ReadFile read = platform::readOrdinaryFile(path, maxBytes);
    SourceFile result;
    result.bytes = std::move(read.bytes);
    result.version = read.version;
    result.changedWhileRead = read.changedWhileRead;
    switch (read.outcome) {
    case platform::ReadFile::Outcome::Read:
        result.outcome = SourceFile::Outcome::Read;
        break;
    case platform::ReadFile::Outcome::Missing:
        result.outcome = SourceFile::Outcome::Missing;
        result.reason = read.reason;
        break;
    case platform::ReadFile::Outcome::NotAFile:
        result.outcome = SourceFile::Outcome::NotAFile;
        result.reason = platform::kindInWords(read);
        break;
    case platform::ReadFile::Outcome::TooLarge:
        result.outcome = SourceFile::Outcome::TooLarge;
        break;
    case platform::ReadFile::Outcome::Unreadable:
        result.outcome = SourceFile::Outcome::Unreadable;
        result.reason = read.reason;
        break;
    }
    return result;
}

} // namespace report
