#pragma once

// A book of 10,000 days for the export tests, the same at every run: every kind of text the exports treat
// apart (blanks at the ends, line breaks, quotes, commas, semicolons, backslashes, formulas, control
// characters, characters beyond the basic plane, texts long enough to be folded, free slots of blanks only)
// among ordinary Greek and Latin appointments, its records written out of date order, and a few values that
// are not UTF-8 at all, as another program could have stored them.

#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/engine/TableLayout.h"
#include "store/wholebook/WholeBookWriter.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace exportbook {

inline constexpr int Days = 10000;

// The texts slots are filled from.
inline QStringList texts() {
    QString longGreek;
    while (longGreek.size() < 200)
        longGreek += QStringLiteral("Παπαδοπούλου Ελένη ");
    return {
        QStringLiteral("Παπαδοπούλου Ελένη, 6944 123456; έλεγχος"),
        QStringLiteral("Müller, A."),
        QStringLiteral("C:\\path\\to \"quoted\""),
        QStringLiteral("πρώτη γραμμή\nδεύτερη\r\nτρίτη\rτέταρτη"),
        QStringLiteral("  %_'*\\ 100% \t"),
        QStringLiteral("=SUM(A1:A9)"),
        QStringLiteral("  +30 210 1234567"),
        QStringLiteral("-αρνητικό"),
        QStringLiteral("@όνομα"),
        QStringLiteral("\tμε στηλοθέτη"),
        QString(QChar(1)) + QStringLiteral("έλεγχος") + QChar(0x1b) + QChar(0x7f) + QStringLiteral(" τέλος"),
        QStringLiteral("emoji 😀 and 𝄞 beyond the plane"),
        longGreek,
        QStringLiteral("a;b,c\\d"),
        QStringLiteral("\"\""),
        QStringLiteral("   "),
        QStringLiteral("\r\n\t"),
        QStringLiteral("Κωνσταντίνου Γ."),
        QStringLiteral("Dr. Smith"),
        QStringLiteral("x"),
        QString(QChar(0xa0)) + QStringLiteral("no-break space first"),
    };
}

// Writes the book at path, keyed with password; 10,000 days from 2008 on, each with about a third of its
// slots filled.
inline void write(const QString& path, const QString& password) {
    const QStringList pool = texts();
    quint32 state = 20100305;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    std::vector<int> order(Days);
    for (int day = 0; day < Days; ++day)
        order[static_cast<std::size_t>(day)] = day;
    // Out of date order, as a book filled over years is.
    for (int i = Days - 1; i > 0; --i)
        std::swap(order[static_cast<std::size_t>(i)], order[next() % static_cast<quint32>(i + 1)]);
    store::SlotSizes sizes;
    sizes.fill(store::SlotTextSize);
    {
        store::WholeBookWriter writer(path, password, sizes);
        for (const int day : order) {
            store::DayRow row;
            row.date = QDate(2008, 1, 1).addDays(day).toString(Qt::ISODate);
            for (auto& slot : row.slotTexts) {
                const quint32 pick = next() % 100;
                if (pick < 33)
                    slot = pool[static_cast<qsizetype>(next() % static_cast<quint32>(pool.size()))];
                else if (pick < 36)
                    slot = QString();
            }
            writer.insert(row);
        }
        writer.commit();
    }
    // Bytes that are not UTF-8: a lone continuation byte, a sequence cut short, one at the very end.
    const store::FailureContext context{path, QStringLiteral("writing the test book"), 0};
    store::SqliteDatabase database(path, store::SqliteDatabase::OpenMode::ReadWrite, context);
    store::keyBook(database, password, context);
    database.execute(QStringLiteral("UPDATE RANTEBOU SET \"0800-0830\" = CAST(X'80416C6661' AS TEXT), \"0830-0900\" "
                                    "= CAST(X'20CE20' AS TEXT), \"2130-2200\" = CAST(X'CEB1CE' AS TEXT) WHERE "
                                    "HMEROMHNIA IN ('2010-03-05', '2020-01-15', '2030-06-30')"),
                     context);
}

} // namespace exportbook
