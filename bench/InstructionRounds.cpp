// orvella_bench_rounds FIGURE ROUNDS: one figure of the month, ROUNDS times in a row inside measuredRounds(),
// after three rounds that warm it (statements prepared, the book's key derived, caches filled), so that
// Callgrind counts those rounds alone:
//
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*measuredRounds*' orvella_bench_rounds …
//
// and the instructions of one round are the total over ROUNDS (bench/month-instructions.sh does this). Without
// Callgrind it prints the wall time of one round, the median of the rounds.
//
//   month-change         the month window on the 10,000-day file, switching between January and March 2020
//   floor-lookups        the same 31 days looked up in one read straight through the database library
//   floor-range          the same month in one range read
//   server-month-change  the month window on the same book kept on a server (a throwaway one, on loopback)
//   server-floor-range   the month in one range query straight through libpq

#include "bench/BenchDataFolder.h"
#include "bench/FloorBook.h"
#include "bench/PlatformNotices.h"
#include "tests/store/TestServer.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "month/MonthWindow.h"
#include "store/engine/ConnectionText.h"
#include "store/server/ServerBook.h"
#include "store/wholebook/ServerCopy.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Records = 10000;

[[noreturn]] void stop(const char* why) {
    std::fprintf(stderr, "orvella_bench_rounds: %s\n", why);
    std::exit(1);
}

// Kept out of line and under its own name: Callgrind's collection is switched on and off at its entry and exit.
__attribute__((noinline)) void measuredRounds(const std::function<void()>& round, int rounds,
                                              std::vector<double>& times) {
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        round();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e3);
    }
}

// The month window in folder, switching between the two shown months; fails when a scan shows no counts.
std::function<void()> monthChange(const QString& folder, std::unique_ptr<TForm1>& window) {
    QDir::setCurrent(folder);
    sharedState() = SharedState{};
    window = std::make_unique<TForm1>(nullptr, QDate(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 20));
    auto* chooser = window->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    if (!chooser)
        stop("the month window has no month chooser");
    return [chooser, second = false]() mutable {
        second = !second;
        chooser->setCurrentIndex((second ? BenchDataFolder::SecondShownMonth : BenchDataFolder::FirstShownMonth) - 1);
    };
}

int markedDays(const TForm1& window) {
    int marked = 0;
    for (int cell = 1; cell <= 37; ++cell) {
        const auto* label = window.findChild<QLabel*>(QStringLiteral("LabelR%1").arg(cell));
        marked += label && !label->text().isEmpty() ? 1 : 0;
    }
    return marked;
}

// The month in one range query through libpq on its own connection: every value of every row looked at.
class ServerFloor {
public:
    explicit ServerFloor(const QString& connection) : m_connection(PQconnectdb(connection.toUtf8().constData())) {
        if (PQstatus(m_connection) != CONNECTION_OK)
            stop("the floor could not connect to the server");
        PGresult* prepared = PQprepare(m_connection, "month",
                                       "SELECT * FROM rantebou WHERE hmeromhnia >= $1 AND hmeromhnia < $2", 2, nullptr);
        if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
            stop("the floor's range query could not be prepared");
        PQclear(prepared);
    }
    ~ServerFloor() { PQfinish(m_connection); }
    ServerFloor(const ServerFloor&) = delete;
    ServerFloor& operator=(const ServerFloor&) = delete;

    int readMonth(int month) {
        char first[11];
        char next[11];
        std::snprintf(first, sizeof first, "%04d-%02d-01", BenchDataFolder::ShownYear, month);
        std::snprintf(next, sizeof next, "%04d-%02d-01", BenchDataFolder::ShownYear, month + 1);
        const char* values[] = {first, next};
        PGresult* result = PQexecPrepared(m_connection, "month", 2, values, nullptr, nullptr, 0);
        int filled = 0;
        for (int row = 0; row < PQntuples(result); ++row) {
            for (int column = 1; column < PQnfields(result); ++column) {
                const char* text = PQgetvalue(result, row, column);
                for (int i = 0; !PQgetisnull(result, row, column) && text[i] != '\0'; ++i) {
                    if (text[i] != ' ') {
                        ++filled;
                        break;
                    }
                }
            }
        }
        PQclear(result);
        return filled;
    }

private:
    PGconn* m_connection;
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    silencePlatformNotices();
    QApplication application(argc, argv);
    OrvellaApplication::setUpIdentity();
    QStringList reports;
    ErrorReport::setObserver([&reports](const QString& text) { reports << text; });
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = arguments.size() == 3 ? arguments[2].toInt() : 0;
    if (rounds <= 0)
        stop("usage: orvella_bench_rounds month-change|floor-lookups|floor-range|server-month-change|"
             "server-floor-range ROUNDS");
    const QString figure = arguments[1];

    BenchDataFolder& file = BenchDataFolder::shared(Records);
    std::unique_ptr<TForm1> window;
    std::unique_ptr<FloorBook> book;
    std::unique_ptr<TestServer> server;
    std::unique_ptr<ServerFloor> serverFloor;
    QTemporaryDir serverFolder;
    std::function<void()> round;
    long long month = 0;
    int found = 0;
    if (figure == QLatin1String("month-change")) {
        round = monthChange(file.path(), window);
    } else if (figure.startsWith(QLatin1String("floor-"))) {
        book = std::make_unique<FloorBook>(Records);
        if (!book->ok())
            stop("the floor could not open the book");
        const bool range = figure == QLatin1String("floor-range");
        round = [&, range] {
            const int shown = month++ % 2 == 0 ? BenchDataFolder::FirstShownMonth : BenchDataFolder::SecondShownMonth;
            int filled = 0;
            if (range) {
                found = book->readMonth(BenchDataFolder::ShownYear, shown, filled);
                return;
            }
            book->execute("BEGIN");
            found = 0;
            for (int day = 1; day <= 31; ++day)
                found += book->filledSlotsOf(BenchDataFolder::ShownYear, shown, day) >= 0 ? 1 : 0;
            book->execute("COMMIT");
        };
    } else if (figure.startsWith(QLatin1String("server-"))) {
        server = std::make_unique<TestServer>();
        if (!server->isRunning())
            stop("no database server could be started");
        const QString database = server->makeDatabase(QStringLiteral("rounds"));
        store::copyBookUp(QDir(file.path()).filePath(QLatin1String(store::DatabaseFileName)),
                          QLatin1String(store::FixedDatabasePassword), server->connectionFor(database), false);
        if (figure == QLatin1String("server-month-change")) {
            store::writeServerBook(serverFolder.filePath(QLatin1String(store::ServerBookFileName)),
                                   server->connectionFor(database));
            round = monthChange(serverFolder.path(), window);
        } else {
            serverFloor = std::make_unique<ServerFloor>(server->connectionFor(database));
            round = [&] {
                found = serverFloor->readMonth(month++ % 2 == 0 ? BenchDataFolder::FirstShownMonth
                                                                : BenchDataFolder::SecondShownMonth);
            };
        }
    } else {
        stop("no such figure");
    }

    std::vector<double> times;
    for (int i = 0; i < 3; ++i)
        round();
    times.clear();
    measuredRounds(round, rounds, times);
    if (!reports.isEmpty())
        stop(qPrintable(QStringLiteral("the error report fired: ") + reports.join(QStringLiteral(" | "))));
    if (window ? markedDays(*window) == 0 : found == 0)
        stop("the month showed nothing of the book");
    std::sort(times.begin(), times.end());
    std::printf("%s: %d rounds, median %.1f us a round\n", qPrintable(figure), rounds, times[times.size() / 2]);
    return 0;
}
