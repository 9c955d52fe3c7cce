#include "store/DateLiterals.h"

#include "store/Check.h"

#include <QDate>
#include <QStringList>

#include <sqlcipher/sqlite3.h>

namespace store {

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// m/d/yyyy with plain digits; gives the stored form, or an empty text.
QString literalToStored(const QString& literal) {
    const QStringList parts = literal.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > 4)
            return {};
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
        }
        numbers[i] = part.toInt();
    }
    return storedDate(numbers[2], numbers[0], numbers[1]);
}

} // namespace

QString storedDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return {};
    return QDate(year, month, day).toString(Qt::ISODate);
}

namespace {

// The one reading of a statement's text: quotes and bracketed names pass untouched, every date literal outside
// them is checked and handed to place, whose text stands in its stead.
template <typename Place> QString replaceDates(const QString& statement, Place place) {
    QString result;
    result.reserve(statement.size() + 8);
    QChar quote;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement[i];
        if (!quote.isNull()) {
            // Inside quotes nothing is translated; a doubled quote stays inside.
            result += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            result += c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            // A bracketed name, which the database reads as it is.
            quote = QLatin1Char(']');
            result += c;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = statement.indexOf(QLatin1Char('#'), i + 1);
            check(end > i, SQLITE_ERROR,
                  QStringLiteral("The statement has a date that does not end (a \"#\" without its closing \"#\"): %1")
                      .arg(statement));
            const QString literal = statement.mid(i + 1, end - i - 1);
            const QString stored = literalToStored(literal.trimmed());
            check(!stored.isEmpty(), SQLITE_MISMATCH,
                  QStringLiteral("The date #%1# is not a calendar date (month/day/year), so no day record can be found "
                                 "or made for it.")
                      .arg(literal));
            result += place(stored);
            i = end;
            continue;
        }
        if (c == QLatin1Char('E') && QStringView(statement).mid(i, 5) == QLatin1String("ERROR") &&
            (i == 0 || !isWordCharacter(statement[i - 1])) &&
            (i + 5 >= statement.size() || !isWordCharacter(statement[i + 5]))) {
            // The day key's failure text stands where the date belongs.
            check(false, SQLITE_MISMATCH,
                  QStringLiteral("The day could not be read as a date (its key is \"ERROR\"), so its record can be "
                                 "neither read nor made."));
        }
        result += c;
    }
    return result;
}

} // namespace

QString translateStatement(const QString& statement) {
    return replaceDates(statement,
                        [](const QString& stored) { return QLatin1Char('\'') + stored + QLatin1Char('\''); });
}

BoundStatement bindDateLiterals(const QString& statement) {
    BoundStatement bound;
    bound.sql = replaceDates(statement, [&bound](const QString& stored) {
        bound.dates << stored;
        return QStringLiteral("?");
    });
    return bound;
}

ParameterizedStatement parameterizeStatement(const QString& statement) {
    ParameterizedStatement result;
    result.text = replaceDates(statement, [&result](const QString& stored) {
        result.dates.push_back(stored);
        return QStringLiteral("$%1").arg(result.dates.size());
    });
    return result;
}

} // namespace store
