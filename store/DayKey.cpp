#include "store/DayKey.h"

#include <QDate>
#include <QStringList>

namespace store {

namespace {

// A whole number written in plain decimal, no fraction, exponent or leading zeros.
QString plainNumber(float value) {
    return QString::number(static_cast<qlonglong>(value));
}

// One part of a date text: plain decimal digits only, no sign or blanks.
bool readPart(const QString& part, int& value) {
    if (part.isEmpty() || part.size() > 4)
        return false;
    for (QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    value = part.toInt();
    return true;
}

} // namespace

QString dateText(float day, float month, float year) {
    return plainNumber(day) + QLatin1Char('/') + plainNumber(month) + QLatin1Char('/') + plainNumber(year);
}

void MakeDayKey(QString& text) {
    // The program writes the date text day first with "/", so it is read back in that form and never
    // through the locale: a month-first locale would otherwise open another day's record.
    const QStringList parts = text.split(QLatin1Char('/'));
    int day = 0;
    int month = 0;
    int year = 0;
    if (parts.size() != 3 || !readPart(parts[0], day) || !readPart(parts[1], month) || !readPart(parts[2], year) ||
        !QDate::isValid(year, month, day) || year < 1) {
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
