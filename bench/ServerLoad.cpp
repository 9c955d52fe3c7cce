// Eight seats at once on one book on a server: each seat is a process of its own that opens one of a few days,
// writes a new text into a random slot and posts, again and again for a while. Afterwards the book must be
// exactly what the acknowledged posts make of it: every slot the end of one unbroken chain of acknowledged
// posts, each starting from the value the previous one left (no post lost, none overwriting another unseen),
// and every refused post reported as refused. Prints the post latencies' median and 99th percentile.
//
//   orvella_bench_server_load [--seconds N] [--seats N]     (the whole run, on a throwaway server)

#include "tests/store/TestServer.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QStringList Days = {QStringLiteral("#2/3/2020#"), QStringLiteral("#2/4/2020#"), QStringLiteral("#2/5/2020#")};
const QString NullMark = QStringLiteral("<null>");

// One seat: posts until the time is up; one line per post on standard output.
int runSeat(const QString& folder, int seat, int seconds) {
    QTextStream out(stdout);
    store::Connection connection;
    connection.reopen(store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword)));
    QRandomGenerator random(quint32(seat) * 7919u + 17u);
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; clock.elapsed() < seconds * 1000; ++n) {
        const int day = int(random.bounded(Days.size()));
        const int slot = int(random.bounded(28));
        const QString column = store::slotColumnNames().at(slot);
        store::ensureDayRecord(connection, Days[day]);
        store::Query query(connection);
        store::openQuery(query, store::selectDayStatement(Days[day]));
        const QVariant original = query.value(column);
        const QString text = QStringLiteral("s%1-%2").arg(seat).arg(n);
        query.setValue(column, text);
        QElapsedTimer post;
        post.start();
        try {
            query.post();
            out << "ACK " << day << ' ' << slot << ' ' << (original.isNull() ? NullMark : original.toString()) << ' '
                << text << ' ' << post.nsecsElapsed() / 1000 << '\n';
        } catch (const store::EngineError& error) {
            out << (error.kind() == store::EngineError::Conflict ? "REFUSED " : "ERROR ") << day << ' ' << slot << ' '
                << text << ' ' << QString(error.text()).replace(QLatin1Char('\n'), QLatin1Char(' ')) << '\n';
        }
    }
    out.flush();
    return 0;
}

struct Post {
    QString original;
    QString text;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 5 && arguments[1] == QLatin1String("--seat"))
        return runSeat(arguments[2], arguments[3].toInt(), arguments[4].toInt());
    int seconds = 15;
    int seats = 8;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--seconds"))
            seconds = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--seats"))
            seats = arguments[i + 1].toInt();
    }

    TestServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "no database server: %s\n", qPrintable(server.failure()));
        return 1;
    }
    const QString database = server.makeDatabase(QStringLiteral("load"));
    QTemporaryDir root;
    const QString folder = root.path();
    store::writeServerBook(QDir(folder).filePath(QLatin1String(store::ServerBookFileName)),
                           server.connectionFor(database));

    std::vector<std::unique_ptr<QProcess>> processes;
    for (int seat = 1; seat <= seats; ++seat) {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--seat"), folder, QString::number(seat), QString::number(seconds)});
        processes.push_back(std::move(process));
    }
    std::map<std::pair<int, int>, std::vector<Post>> acknowledged;
    std::vector<double> latencies;
    int refused = 0;
    int errors = 0;
    int failedSeats = 0;
    for (auto& process : processes) {
        if (!process->waitForFinished((seconds + 60) * 1000) || process->exitCode() != 0) {
            ++failedSeats;
            std::fprintf(stderr, "a seat failed: %s\n", process->readAllStandardError().constData());
        }
        for (const QByteArray& raw : process->readAllStandardOutput().split('\n')) {
            const QStringList parts = QString::fromUtf8(raw).split(QLatin1Char(' '));
            if (parts.front() == QLatin1String("ACK") && parts.size() == 6) {
                acknowledged[{parts[1].toInt(), parts[2].toInt()}].push_back({parts[3], parts[4]});
                latencies.push_back(parts[5].toDouble() / 1000.0);
            } else if (parts.front() == QLatin1String("REFUSED")) {
                ++refused;
            } else if (parts.front() == QLatin1String("ERROR")) {
                ++errors;
                std::fprintf(stderr, "%s\n", raw.constData());
            }
        }
    }

    // Replay: each slot's acknowledged posts must chain from an empty slot, one after another, to what is stored.
    int lost = 0;
    int mismatched = 0;
    for (int day = 0; day < Days.size(); ++day) {
        const QString date = QStringLiteral("2020-02-%1").arg(day + 3, 2, 10, QLatin1Char('0'));
        for (int slot = 0; slot < 28; ++slot) {
            std::vector<Post> posts = acknowledged[{day, slot}];
            QString current = NullMark;
            for (;;) {
                const auto next = std::find_if(posts.begin(), posts.end(),
                                               [&](const Post& post) { return post.original == current; });
                if (next == posts.end())
                    break;
                current = next->text;
                posts.erase(next);
            }
            lost += int(posts.size());
            QString stored = server.run(database, QStringLiteral("SELECT \"%1\" FROM rantebou WHERE hmeromhnia = '%2'")
                                                      .arg(store::slotColumnNames().at(slot), date));
            if (stored.isNull())
                stored = NullMark;
            if (stored != current)
                ++mismatched;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&](double p) {
        return latencies.empty() ? 0.0 : latencies[std::min(latencies.size() - 1, std::size_t(p * latencies.size()))];
    };
    std::printf("%d seats for %d s on %lld days: %zu acknowledged posts, %d refused as conflicts, %d other errors\n",
                seats, seconds, static_cast<long long>(Days.size()), latencies.size(), refused, errors);
    std::printf("post latency: p50 %.2f ms, p99 %.2f ms\n", percentile(0.5), percentile(0.99));
    std::printf("acknowledged posts lost or overwritten unseen: %d; slots differing from the replay: %d\n", lost,
                mismatched);
    const bool sound = lost == 0 && mismatched == 0 && errors == 0 && failedSeats == 0 && !latencies.empty();
    std::printf("%s\n", sound ? "the book equals the replay of the acknowledged posts" : "FAILED");
    return sound ? 0 : 1;
}
