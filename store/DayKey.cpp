#include "store/DayKey.h"

#include "store/engine/DateLiterals.h"

#include <QDate>
#include <QStringList>

namespace store {

namespace {

// Whole numbers written in plain decimal, as QString::number writes them, into one text made at the end: the
// month's scan writes 31 date texts and keys a rebuild, and the locale's number formatting is no part of them.
class DecimalText {
public:
    void append(char16_t c) { m_text[m_size++] = c; }
    void append(qlonglong value) {
        char16_t digits[20];
        int count = 0;
        // Taken as unsigned so that the smallest number has its magnitude too.
        unsigned long long magnitude =
            value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        do {
            digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            append(u'-');
        while (count > 0)
            append(digits[--count]);
    }
    QString text() const { return QString(reinterpret_cast<const QChar*>(m_text), m_size); }

private:
    // Three numbers of at most 20 characters with their signs, and four separators.
    char16_t m_text[3 * 21 + 4] = {};
    qsizetype m_size = 0;
};

} // namespace

QString dateText(float day, float month, float year) {
    DecimalText text;
    // Plain decimal: no fraction, exponent or leading zeros.
    text.append(static_cast<qlonglong>(day));
    text.append(u'/');
    text.append(static_cast<qlonglong>(month));
    text.append(u'/');
    text.append(static_cast<qlonglong>(year));
    return text.text();
}

void MakeDayKey(QString& text) {
    // The program writes the date text day first with "/", so it is read back in that form and never
    // through the locale: a month-first locale would otherwise open another day's record. Read by hand, in
    // place: the month's scan makes 31 keys a rebuild.
    int parts[3] = {};
    int part = 0;
    int digits = 0;
    bool readable = true;
    for (const QChar c : std::as_const(text)) {
        if (c == QLatin1Char('/') && digits > 0 && part < 2) {
            ++part;
            digits = 0;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits < 4) {
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
            ++digits;
        } else {
            readable = false;
            break;
        }
    }
    const int day = parts[0];
    const int month = parts[1];
    const int year = parts[2];
    if (!readable || part != 2 || digits == 0 || !QDate::isValid(year, month, day) || year < 1) {
        text = QStringLiteral("ERROR");
        return;
    }
    DecimalText key;
    key.append(u'#');
    key.append(qlonglong{month});
    key.append(u'/');
    key.append(qlonglong{day});
    key.append(u'/');
    key.append(qlonglong{year});
    key.append(u'#');
    text = key.text();
}

QString dayKeyOf(float day, float month, float year) {
    const auto d = static_cast<qlonglong>(day);
    const auto m = static_cast<qlonglong>(month);
    const auto y = static_cast<qlonglong>(year);
    // MakeDayKey reads each part of the text as at most four digits, without a sign.
    const auto readable = [](qlonglong part) { return part >= 0 && part <= 9999; };
    if (!readable(d) || !readable(m) || !readable(y) || y < 1 ||
        !QDate::isValid(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)))
        return QStringLiteral("ERROR");
    DecimalText key;
    key.append(u'#');
    key.append(m);
    key.append(u'/');
    key.append(d);
    key.append(u'/');
    key.append(y);
    key.append(u'#');
    return key.text();
}

QString insertDayStatement(const QString& dayKey) {
    return QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(") + dayKey + QLatin1Char(')');
}

QString selectDayStatement(const QString& dayKey) {
    return dayReadPrefix() + dayKey;
}

} // namespace store
