#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Texts the search holds for the whole run, in about one byte per character for Greek as for Latin. Each UTF-16
// unit is written as UTF-8 writes a character of its value (one to three bytes), after a fixed exchange of the 31
// control characters that texts hardly hold for the 31 most frequent Greek small letters: those letters then take
// one byte, the control characters two. The line break and U+0000 are not exchanged.
//
// The form is self-synchronising, as UTF-8 is: a unit's first byte is never one of another unit's later bytes. So
// the packed key occurs in the packed texts exactly where the key occurs in the texts, and searches compare bytes.
namespace packedtext {

// Appends the packed form of text to bytes.
void append(QByteArray& bytes, QStringView text);
QByteArray packed(QStringView text);
// The text whose packed form bytes is (bytes from append, whole).
QString unpacked(QByteArrayView bytes);

} // namespace packedtext
