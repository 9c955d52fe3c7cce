#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace store {

// Turns the statement text the windows write into the one the database runs: each date literal
// #month/day/year# outside quotes becomes the stored form 'yyyy-mm-dd'. Throws EngineError for a literal
// that is not a calendar date and for the day key "ERROR" standing where a date belongs.
QString translateStatement(const QString& statement);

// A statement with its date literals taken out: each became a "?" parameter, and dates holds their stored
// forms in order, so that one compiled statement serves every day.
struct BoundStatement {
    QString sql;
    QStringList dates;
};

// As translateStatement, with the dates as parameters instead of quoted text; throws as translateStatement does.
BoundStatement bindDateLiterals(const QString& statement);

// A statement for an engine that takes its values apart from the text: each date literal #month/day/year#
// outside quotes becomes the next parameter $1, $2, ... and its stored form 'yyyy-mm-dd' the parameter's value,
// so that no value is ever part of the text the server reads. Throws as translateStatement does.
struct ParameterizedStatement {
    QString text;
    std::vector<QString> dates;
};
ParameterizedStatement parameterizeStatement(const QString& statement);

// The stored form of a date, 'yyyy-mm-dd' without the quotes; empty for an invalid date.
QString storedDate(int year, int month, int day);

// The year, month and day of a stored 'yyyy-mm-dd' read by hand (every record a scan reads passes here), true
// when text has exactly that form; whether they make a calendar date is left to the caller. Any other text is
// for QDate::fromString(text, Qt::ISODate) to read.
bool storedDateParts(const QString& text, int& year, int& month, int& day);

// The statement that reads one day record, as the windows write it, up to its date: "SELECT * FROM RANTEBOU WHERE
// HMEROMHNIA=", followed by the day key.
const QString& dayReadPrefix();

// The stored form of the date of a statement that is exactly dayReadPrefix() and one date literal #month/day/year#
// that is a calendar date: what bindDateLiterals and parameterizeStatement take out of it, without reading it the
// long way. None for any other text, which they read with all their checks.
std::optional<QString> dayReadDate(const QString& statement);

} // namespace store
