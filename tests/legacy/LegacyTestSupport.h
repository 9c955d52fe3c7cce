#pragma once

#include "store/wholebook/DayRow.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

class QTemporaryDir;

// What the tests of older-book imports share: the developer test books, their expected contents, and
// changes made to copies of them (a new password, a damaged page, a changed value) to meet cases no
// test book holds.
namespace legacytest {

// The path of a test book (or its expected JSON) as kept in the source tree.
QString fixture(const QString& name);

// A writable copy of the test book name in dir (unpacked when it is kept gzipped); returns its path.
QString copyOfFixture(const QTemporaryDir& dir, const QString& name, const QString& as = QString());

// Bytes written over a copy of a test book: at offset, bytes instead of what was there.
struct BytePatch {
    qint64 offset = 0;
    QByteArray bytes;
};
using BytePatches = QList<BytePatch>;
// A copy of the test book name in dir (as as) with patches applied: a damaged book made from a whole one.
QString patchedCopy(const QTemporaryDir& dir, const QString& name, const BytePatches& patches,
                    const QString& as = QString());

// The days of a test book as its expected JSON lists them, in the file's order.
struct ExpectedBook {
    QString password;
    QList<store::DayRow> days;
    int filledSlots = 0; // slots holding more than blanks
};
ExpectedBook expectedBook(const QString& fixtureName);

// Writes password as the database password into the header of the Jet 4 file at path.
void writeJetPassword(const QString& path, const QString& password);

// Replaces the only occurrence of from in the file at path with to (of the same length); false when from
// occurs other than once.
bool replaceOnce(const QString& path, const QByteArray& from, const QByteArray& to);

// The bytes a Jet date (days since 30 December 1899) is stored as.
QByteArray jetDateBytes(double value);
// The bytes a text is stored as in a Jet 4 record without compression (UTF-16LE).
QByteArray utf16Bytes(const QString& text);

// Fills every data page of the Jet 4 file at path with zeros, as an unreadable disk area would leave it.
void zeroDataPages(const QString& path);

} // namespace legacytest

Q_DECLARE_METATYPE(legacytest::BytePatch)
