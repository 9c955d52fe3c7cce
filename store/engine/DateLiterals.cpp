#include "store/engine/DateLiterals.h"

#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringList>

namespace store {

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// m/d/yyyy with plain digits; gives the stored form, or an empty text. Read in place: the month's scan turns
// 31 of these a rebuild.
QString literalToStored(QStringView literal) {
    int numbers[3] = {};
    int part = 0;
    int digits = 0;
    for (const QChar c : literal) {
        if (c == QLatin1Char('/')) {
            if (digits == 0 || ++part > 2)
                return {};
            digits = 0;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits < 4) {
            numbers[part] = numbers[part] * 10 + (c.unicode() - u'0');
            ++digits;
        } else {
            return {};
        }
    }
    if (part != 2 || digits == 0)
        return {};
    return storedDate(numbers[2], numbers[0], numbers[1]);
}

} // namespace

QString storedDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return {};
    // yyyy-mm-dd, as the ISO form of the date is.
    const char16_t text[10] = {char16_t(u'0' + year / 1000),
                               char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10),
                               u'-',
                               char16_t(u'0' + month / 10),
                               char16_t(u'0' + month % 10),
                               u'-',
                               char16_t(u'0' + day / 10),
                               char16_t(u'0' + day % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 10);
}

bool storedDateParts(const QString& text, int& year, int& month, int& day) {
    const auto digit = [&](qsizetype i) { return text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); };
    const auto number = [&](qsizetype from, qsizetype count) {
        int n = 0;
        for (qsizetype i = from; i < from + count; ++i)
            n = n * 10 + (text[i].unicode() - u'0');
        return n;
    };
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-') || !digit(0) || !digit(1) ||
        !digit(2) || !digit(3) || !digit(5) || !digit(6) || !digit(8) || !digit(9))
        return false;
    year = number(0, 4);
    month = number(5, 2);
    day = number(8, 2);
    return true;
}

namespace {

// The one reading of a statement's text: quotes and bracketed names pass untouched, every date literal outside
// them is checked and handed to place, whose text stands in its stead.
template <typename Place> QString replaceDates(const QString& statement, Place place) {
    QString result;
    result.reserve(statement.size() + 8);
    // The text is copied in runs, from plain up to where a date literal starts: the month's scan passes 31
    // statements a rebuild through here.
    qsizetype plain = 0;
    QChar quote;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement[i];
        if (!quote.isNull()) {
            // Inside quotes nothing is translated; a doubled quote stays inside.
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            // A bracketed name, which the database reads as it is.
            quote = QLatin1Char(']');
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = statement.indexOf(QLatin1Char('#'), i + 1);
            // The messages are made only when they are needed: every statement of the month's scan passes here.
            if (end < 0)
                throw EngineError(EngineError::GeneralError,
                                  QCoreApplication::translate("store", "The statement has a date that does not end (a \"#\" without its "
                                                 "closing \"#\"): %1")
                                      .arg(statement));
            const QStringView literal = QStringView(statement).mid(i + 1, end - i - 1);
            const QString stored = literalToStored(literal.trimmed());
            if (stored.isEmpty())
                throw EngineError(EngineError::NotADate,
                                  QCoreApplication::translate("store", "The date #%1# is not a calendar date (month/day/year), so no day "
                                                 "record can be found or made for it.")
                                      .arg(literal.toString()));
            result += QStringView(statement).mid(plain, i - plain);
            result += place(stored);
            i = end;
            plain = end + 1;
            continue;
        }
        if (c == QLatin1Char('E') && QStringView(statement).mid(i, 5) == QLatin1String("ERROR") &&
            (i == 0 || !isWordCharacter(statement[i - 1])) &&
            (i + 5 >= statement.size() || !isWordCharacter(statement[i + 5]))) {
            // The day key's failure text stands where the date belongs.
            throw EngineError(
                EngineError::NotADate,
                QCoreApplication::translate("store", "The day could not be read as a date (its key is \"ERROR\"), so its record can be "
                               "neither read nor made."));
        }
    }
    result += QStringView(statement).mid(plain);
    return result;
}

} // namespace

const QString& dayReadPrefix() {
    static const QString prefix = QStringLiteral("SELECT * FROM %1 WHERE %2=")
                                      .arg(QLatin1String(AppointmentTableName), QLatin1String(DayColumnName));
    return prefix;
}

std::optional<QString> dayReadDate(const QString& statement) {
    const QString& prefix = dayReadPrefix();
    const qsizetype open = prefix.size();
    const qsizetype close = statement.size() - 1;
    // The one literal runs to the end; replaceDates would find the same, and nothing around it to translate.
    if (close <= open || statement[open] != QLatin1Char('#') || statement[close] != QLatin1Char('#') ||
        !statement.startsWith(prefix) || QStringView(statement).sliced(open + 1, close - open - 1).contains(u'#'))
        return std::nullopt;
    QString stored = literalToStored(QStringView(statement).sliced(open + 1, close - open - 1).trimmed());
    if (stored.isEmpty())
        return std::nullopt;
    return stored;
}

QString translateStatement(const QString& statement) {
    return replaceDates(statement,
                        [](const QString& stored) { return QLatin1Char('\'') + stored + QLatin1Char('\''); });
}

BoundStatement bindDateLiterals(const QString& statement) {
    BoundStatement bound;
    // A day read as the windows write it, 31 of them a month's scan, shares one text.
    if (std::optional<QString> date = dayReadDate(statement)) {
        static const QString sql = dayReadPrefix() + QLatin1Char('?');
        bound.sql = sql;
        bound.dates << std::move(*date);
        return bound;
    }
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
        return QLatin1Char('$') + QString::number(result.dates.size());
    });
    return result;
}

} // namespace store
