#include "store/cipher/DataFileProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace store {

namespace {

// An encrypted data file is a whole number of 1024-byte pages.
constexpr qint64 PageSize = 1024;

// The longest run of printable ASCII characters in bytes. An encrypted file begins with random salt,
// where a run of 16 happens about once in ten million files; other formats begin with readable names.
int longestReadableRun(const QByteArray& bytes) {
    int longest = 0;
    int run = 0;
    for (char c : bytes) {
        run = (c >= 0x20 && c < 0x7f) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

QString describeForeignFile(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    QFile data(path);
    if (!data.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = data.size();
    const QByteArray head = data.read(64);
    if (size == 0)
        return QCoreApplication::translate("store", "The data file \"%1\" is empty (0 bytes): it is not an Orvella data file. Replace it "
                              "with a data file made by orvella-datafolder.")
            .arg(file);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return QCoreApplication::translate("store", "The file \"%1\" is an unencrypted database, not an Orvella data file (an Orvella "
                              "data file is encrypted with its database password).")
            .arg(file);
    // An appointment book of the older format, left as it was when its conversion was declined at start.
    if (head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB"))
        return QCoreApplication::translate("store",
                                           "The file \"%1\" is an appointment book of the older format, not yet "
                                           "converted for Orvella. Close Orvella and start it again in this folder: "
                                           "it offers to convert the book (answer Yes, convert). The older book is kept "
                                           "beside the new one.")
            .arg(file);
    if (size < PageSize || size % PageSize != 0)
        return QCoreApplication::translate("store", "The file \"%1\" is not an Orvella data file: its size (%2 bytes) is not that of one.")
            .arg(file)
            .arg(size);
    if (longestReadableRun(head) >= 16)
        return QCoreApplication::translate("store", "The file \"%1\" is not an Orvella data file: it begins with readable text, as files "
                              "of other formats do, where an encrypted data file begins with random bytes.")
            .arg(file);
    return {};
}

} // namespace store
