// orvella_fault_poster: a second program on a data folder for the fault tests. It reaches the data file
// through the store exactly as the windows do (the month window's connection and INSERT, then the day
// window's own connection and query, setValue and post) and says on standard output, one flushed line at a
// time, what it has done, so that a test that kills it knows which saves had returned.
//
//   orvella_fault_poster loop <folder> <tag> [--posts N] [--day D/M/YYYY] [--slots A,B,...] [--reopen]
//                                            [--pause ms]
//       Posts slot edits until killed (or N posts). Every post is announced before and reported after:
//           posting <day> <slot> <value> <original> [<slot> <value> <original>]...
//           posted  <day> <slot> <value> <original> [...]
//           refused <day> <slot> <value> <original> [...] : <message>     (then the edits are cancelled)
//       <original> is the slot's value as read before the edit, "-" for none. Values never hold blanks and
//       carry the tag and the post's number, so each value is posted at most once. Without --day the
//       poster moves over four days, reopening the day as the windows do every few posts; with --reopen
//       it reads the day afresh before every post; --pause waits between typing and saving, as a person does.
//   orvella_fault_poster serve <folder>
//       Runs one command per line of standard input and answers each with one line:
//           open <D/M/YYYY> | set <slot> <value> | post | value <slot> | state | close | quit
//       Answers are "ok", "value <text>" ("-" for none), "state Browse|Edit|Closed" or
//       "error <code> <message>".
//   orvella_fault_poster hold <folder> immediate|exclusive <ms>
//       Another program in the middle of a save: begins a transaction of that kind on a handle of its own,
//       writes "uncommitted" into the last slot of 6/3/2010, says "locked", keeps the lock for ms, rolls
//       back and says "released".
//   orvella_fault_poster open <folder>
//       Opens the data file and reads every record, as a whole and day by day the way the month scan does;
//       prints "opened <records>" and ends with 0, or "error <step> <code> <message>" and ends with 3.

#include "store/Command.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QStringList>
#include <QThread>

#include <sqlcipher/sqlite3.h>

#include <iostream>
#include <random>
#include <string>

#include <unistd.h>

namespace {

// Every run of the loop draws its slots from this generator, moved on by the run's tag.
constexpr std::uint32_t RandomStart = 20100305u;

void say(const QString& line) {
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    // One write per line, so that a line is in the pipe whole or not at all when the program is killed.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(STDOUT_FILENO, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (written <= 0)
            return;
        done += written;
    }
}

QString shown(const QVariant& value) {
    return value.isNull() ? QStringLiteral("-") : value.toString();
}

// The day window's connection and query over one day, opened the way OpenDay and the day window do it.
class DayEditor {
public:
    explicit DayEditor(const QString& folder)
        : m_text(store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword))),
          m_query(m_connection) {}

    void openDay(const QString& dateText) {
        m_day = dateText;
        QString key = dateText;
        store::MakeDayKey(key);
        {
            // The month window's own connection makes sure the record exists; any failure is ignored.
            store::Connection month;
            reopen(month);
            store::ensureDayRecord(month, key);
            month.close();
        }
        m_query.close();
        reopen(m_connection);
        store::openQuery(m_query, store::selectDayStatement(key));
    }

    // Reads the open day again, dropping edits not posted.
    void reread() {
        m_query.close();
        m_query.open();
    }

    void close() {
        m_query.close();
        m_connection.close();
    }

    store::Query& query() { return m_query; }
    const QString& day() const { return m_day; }

private:
    void reopen(store::Connection& connection) const {
        connection.close();
        connection.setConnectionText(m_text);
        connection.setCommandTimeout(0);
        connection.setConnectionTimeout(0);
        connection.open();
    }

    QString m_text;
    QString m_day;
    store::Connection m_connection;
    store::Query m_query;
};

QString failureText(const std::exception& failure) {
    if (const auto* engine = dynamic_cast<const store::EngineError*>(&failure))
        return QStringLiteral("%1 %2").arg(int(engine->kind())).arg(engine->text());
    return QStringLiteral("0 ") + QString::fromUtf8(failure.what());
}

int runLoop(const QStringList& arguments) {
    if (arguments.size() < 4)
        return 2;
    const QString folder = arguments[2];
    const QString tag = arguments[3];
    qint64 posts = -1;
    QString onlyDay;
    QStringList slotNames = store::slotColumnNames();
    bool rereadEachPost = false;
    unsigned long pause = 0;
    for (int i = 4; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--posts") && i + 1 < arguments.size())
            posts = arguments[++i].toLongLong();
        else if (arguments[i] == QLatin1String("--day") && i + 1 < arguments.size())
            onlyDay = arguments[++i];
        else if (arguments[i] == QLatin1String("--slots") && i + 1 < arguments.size())
            slotNames = arguments[++i].split(QLatin1Char(','));
        else if (arguments[i] == QLatin1String("--reopen"))
            rereadEachPost = true;
        else if (arguments[i] == QLatin1String("--pause") && i + 1 < arguments.size())
            pause = arguments[++i].toULong();
        else
            return 2;
    }
    const QStringList days = onlyDay.isEmpty() ? QStringList{QStringLiteral("1/3/2010"), QStringLiteral("2/3/2010"),
                                                             QStringLiteral("3/3/2010"), QStringLiteral("4/3/2010")}
                                               : QStringList{onlyDay};
    std::mt19937 random(RandomStart + static_cast<std::uint32_t>(qHash(tag)));

    DayEditor editor(folder);
    for (qint64 n = 0; posts < 0 || n < posts; ++n) {
        if (n % 5 == 0)
            editor.openDay(days[static_cast<int>(random() % static_cast<std::uint32_t>(days.size()))]);
        else if (rereadEachPost)
            editor.reread();
        store::Query& query = editor.query();

        // One to three different slots, each with a value no other post uses; a few are long, some Greek.
        QStringList chosen;
        const int count = 1 + static_cast<int>(random() % 3);
        for (int attempt = 0; attempt < 8 && chosen.size() < count; ++attempt) {
            const QString slot = slotNames[static_cast<int>(random() % static_cast<std::uint32_t>(slotNames.size()))];
            if (!chosen.contains(slot))
                chosen << slot;
        }
        QString edits;
        for (const QString& slot : chosen) {
            QString value = QStringLiteral("%1.%2.%3").arg(tag).arg(n).arg(slot);
            if (random() % 4 == 0)
                value += QStringLiteral(".Ραντεβού");
            if (random() % 8 == 0)
                value = value.leftJustified(store::SlotTextSize, QLatin1Char('x'));
            edits += QStringLiteral(" %1 %2 %3").arg(slot, value, shown(query.value(slot)));
            query.setValue(slot, value);
        }
        say(QStringLiteral("posting ") + editor.day() + edits);
        if (pause > 0)
            QThread::msleep(pause);
        try {
            query.post();
            say(QStringLiteral("posted ") + editor.day() + edits);
        } catch (const std::exception& failure) {
            query.cancel();
            say(QStringLiteral("refused ") + editor.day() + edits + QStringLiteral(" : ") + failureText(failure));
        }
    }
    editor.close();
    say(QStringLiteral("done"));
    return 0;
}

int runServe(const QStringList& arguments) {
    if (arguments.size() < 3)
        return 2;
    const QString folder = arguments[2];
    DayEditor editor(folder);
    std::string input;
    while (std::getline(std::cin, input)) {
        const QString line = QString::fromStdString(input).trimmed();
        const QString command = line.section(QLatin1Char(' '), 0, 0);
        const QString first = line.section(QLatin1Char(' '), 1, 1);
        const QString rest = line.section(QLatin1Char(' '), 2);
        try {
            if (command == QLatin1String("quit")) {
                say(QStringLiteral("ok"));
                break;
            } else if (command == QLatin1String("open")) {
                editor.openDay(first);
                say(QStringLiteral("ok"));
            } else if (command == QLatin1String("set")) {
                editor.query().setValue(first, rest);
                say(QStringLiteral("ok"));
            } else if (command == QLatin1String("post")) {
                editor.query().post();
                say(QStringLiteral("ok"));
            } else if (command == QLatin1String("value")) {
                say(QStringLiteral("value ") + shown(editor.query().value(first)));
            } else if (command == QLatin1String("state")) {
                const store::Query::State state = editor.query().state();
                say(QStringLiteral("state ") + (state == store::Query::State::Edit     ? QStringLiteral("Edit")
                                                : state == store::Query::State::Browse ? QStringLiteral("Browse")
                                                                                       : QStringLiteral("Closed")));
            } else if (command == QLatin1String("close")) {
                editor.close();
                say(QStringLiteral("ok"));
            } else {
                say(QStringLiteral("error 0 unknown command: ") + line);
            }
        } catch (const std::exception& failure) {
            say(QStringLiteral("error ") + failureText(failure));
        }
    }
    return 0;
}

int runHold(const QStringList& arguments) {
    if (arguments.size() < 5)
        return 2;
    const QByteArray path = QFile::encodeName(QDir(arguments[2]).filePath(QLatin1String(store::DatabaseFileName)));
    sqlite3* db = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA key = '%1'; BEGIN %2; UPDATE RANTEBOU SET \"2130-2200\" = "
                                          "'uncommitted' WHERE HMEROMHNIA = '2010-03-06';")
                               .arg(QLatin1String(store::FixedDatabasePassword), arguments[3].toUpper())
                               .toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        say(QStringLiteral("error 0 ") + QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close_v2(db);
        return 3;
    }
    say(QStringLiteral("locked"));
    QThread::msleep(arguments[4].toULong());
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    say(QStringLiteral("released"));
    return 0;
}

int runOpen(const QStringList& arguments) {
    if (arguments.size() < 3)
        return 2;
    QString step = QStringLiteral("connection");
    try {
        store::Connection connection;
        connection.setConnectionText(
            store::buildConnectionText(arguments[2], QLatin1String(store::FixedDatabasePassword)));
        connection.setCommandTimeout(0);
        connection.setConnectionTimeout(0);
        connection.open();

        // The whole table, once in stored order and once along the key, so that every page is read.
        step = QStringLiteral("all-records");
        store::Query query(connection);
        query.addStatement(QStringLiteral("SELECT * FROM RANTEBOU"));
        query.open();
        query.close();
        query.clearStatement();
        query.addStatement(QStringLiteral("SELECT * FROM RANTEBOU ORDER BY HMEROMHNIA"));
        query.open();
        // The month scan path: every day of every month from the first record's month, one SELECT each.
        step = QStringLiteral("month-scan");
        const QDate first = query.value(0).toDate();
        const QDate start = first.isValid() ? QDate(first.year(), first.month(), 1) : QDate(2010, 3, 1);
        int records = 0;
        for (QDate day = start; day < start.addMonths(3); day = day.addDays(1)) {
            QString key = store::dateText(static_cast<float>(day.day()), static_cast<float>(day.month()),
                                          static_cast<float>(day.year()));
            store::MakeDayKey(key);
            query.close();
            query.clearStatement();
            query.addStatement(store::selectDayStatement(key));
            query.open();
            if (!query.isEmpty())
                ++records;
            for (int position = 0; position < query.fieldCount(); ++position)
                query.value(position);
        }
        query.close();
        connection.close();
        say(QStringLiteral("opened %1").arg(records));
        return 0;
    } catch (const std::exception& failure) {
        say(QStringLiteral("error %1 %2").arg(step, failureText(failure)));
        return 3;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    try {
        if (mode == QLatin1String("loop"))
            return runLoop(arguments);
        if (mode == QLatin1String("serve"))
            return runServe(arguments);
        if (mode == QLatin1String("hold"))
            return runHold(arguments);
        if (mode == QLatin1String("open"))
            return runOpen(arguments);
    } catch (const std::exception& failure) {
        say(QStringLiteral("error ") + failureText(failure));
        return 3;
    }
    return 2;
}
