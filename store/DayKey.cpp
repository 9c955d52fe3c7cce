#include "store/DayKey.h"

#include <QDate>
#include <QStringList>

namespace store {

namespace {

// A whole number written in plain decimal, no fraction, exponent or leading zeros.
QString plainNumber(float value) {
    return QString::number(static_cast<qlonglong>(value));
}

} // namespace

QString dateText(float day, float month, float year) {
    return plainNumber(day) + QLatin1Char('/') + plainNumber(month) + QLatin1Char('/') + plainNumber(year);
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
    text = QLatin1Char('#') + QString::number(month) + QLatin1Char('/') + QString::number(day) + QLatin1Char('/') +
           QString::number(year) + QLatin1Char('#');
}

QString insertDayStatement(const QString& dayKey) {
    return QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(") + dayKey + QLatin1Char(')');
}

QString selectDayStatement(const QString& dayKey) {
    return QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") + dayKey;
}

} // namespace store
