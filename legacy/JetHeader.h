#pragma once

#include <QByteArray>
#include <QString>

namespace legacy {

// What the first page of a Jet database file tells before any table is read: its format, the database
// password and whether its pages are encoded. The fields of interest are masked with a fixed key, and in
// Jet 4 the password also with the file's creation date.
struct JetHeader {
    enum class Format { NotJet, Jet3, Jet4, Newer };

    Format format = Format::NotJet;
    QString password;    // the database password; empty when the file has none
    quint32 pageKey = 0; // not 0 when the pages after the first are encoded
    int pageSize = 0;    // 2048 for Jet 3, 4096 for Jet 4

    // The number of header bytes parse() needs.
    static constexpr int Size = 0x98;
    // The largest file a Jet database can be (2 GB); anything larger is not one.
    static constexpr qint64 LargestFile = qint64(2) * 1024 * 1024 * 1024;

    // Reads the header from the first bytes of a file; Format::NotJet when they are not a Jet header.
    static JetHeader parse(const QByteArray& firstBytes);
    // Reads the header of the file at path (Format::NotJet when it cannot be read, is too short, or is not an
    // ordinary file of at most LargestFile: a pipe or a device is never opened, nor waited on).
    static JetHeader read(const QString& path);

    // XORs the masked part of a header with the fixed keystream: unmasks a file's header, and masks one again.
    static void applyMask(QByteArray& header);
};

// Whether a file that has password may be opened by one who expects expected. A file without a password
// opens with any, as it did for the program that kept it; otherwise the two must be the same, case included.
bool passwordAccepted(const QString& password, const QString& expected);

} // namespace legacy
