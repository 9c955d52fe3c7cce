#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QVariant>

namespace store {

// Whether a value of a day record holds something: anything left once the characters from U+0000 to U+0020
// (blanks, tabs, line breaks, other controls) are stripped from its ends. Other white space, such as the
// no-break space, holds something.
bool holdsText(QStringView text);
// The same of a value's stored UTF-8 bytes, without making a Qt string of them: those characters are single
// bytes that no other character's bytes contain, and every other byte (a bad sequence too, which a Qt string
// shows as a replacement character) holds something. A byte order mark they start with is no part of the text,
// as a Qt string made of them leaves it out.
bool holdsText(QByteArrayView utf8);
// The same of the bytes up to the first NUL, read without measuring them first.
bool holdsNulEndedText(const char* text);
// The same of a value as an engine stores it: none holds nothing, a text as above, a number its digits (always
// something), anything else the text the value gives.
bool holdsText(const QVariant& stored);

} // namespace store
