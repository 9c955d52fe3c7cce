// What the user waits for with a book on a server: a month change with its scan, opening a day and a post,
// on the real windows (offscreen) over a 10,000-day book, first on the loopback socket and then with 2 ms added
// to every round trip. Medians and 90th percentiles of many repetitions; fails instead of reporting a figure
// when the error report fires or a scan shows no counts.

#include "bench/BenchDataFolder.h"
#include "bench/DelayRelay.h"
#include "bench/PlatformNotices.h"
#include "tests/store/TestServer.h"

#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "month/MonthWindow.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/TableLayout.h"
#include "store/server/ServerBook.h"
#include "store/wholebook/ServerCopy.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Repetitions = 61;

struct Figure {
    double median = 0;
    double p90 = 0;
};

Figure measure(const std::function<void()>& step) {
    for (int i = 0; i < 3; ++i)
        step(); // warm: statements prepared, caches filled, as after the first minute of use
    std::vector<double> times;
    for (int i = 0; i < Repetitions; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

QStringList& reports() {
    static QStringList list;
    return list;
}

[[noreturn]] void stop(const QString& why) {
    std::fprintf(stderr, "orvella_bench_server: %s\n", qPrintable(why));
    std::exit(1);
}

QString keyOf(int day) {
    return QStringLiteral("#%1/%2/%3#").arg(BenchDataFolder::FirstShownMonth).arg(day).arg(BenchDataFolder::ShownYear);
}

struct Row {
    QString name;
    Figure figure;
    double target;
};

// The three figures on the data folder: the real month window switching between the two shown months, the
// month window's way of opening a day, and a post of one slot in an open day window.
std::vector<Row> measureFolder(const QString& folder, const QString& where, double monthTarget, bool targets) {
    QDir::setCurrent(folder);
    sharedState() = SharedState{};
    std::vector<Row> rows;
    {
        TForm1 month(nullptr, QDate(BenchDataFolder::ShownYear, BenchDataFolder::FirstShownMonth, 20));
        auto* chooser = month.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        bool second = false;
        const Figure change = measure([&] {
            second = !second;
            chooser->setCurrentIndex((second ? BenchDataFolder::SecondShownMonth : BenchDataFolder::FirstShownMonth) -
                                     1);
        });
        int marked = 0;
        for (int cell = 1; cell <= 37; ++cell)
            marked += month.findChild<QLabel*>(QStringLiteral("LabelR%1").arg(cell))->text().isEmpty() ? 0 : 1;
        if (marked == 0)
            stop(QStringLiteral("the month shows no counts on %1").arg(where));
        rows.push_back({QStringLiteral("month change, %1").arg(where), change, monthTarget});
    }
    const QString text = sharedState().ConnectionText;
    const QString sheet = QDir(folder).filePath(QStringLiteral("RANTEBOU.rav"));
    rows.push_back({QStringLiteral("opening a day, %1").arg(where), measure([&] {
                        // As the month window's OpenDay: the record made sure of, then the day window opened.
                        store::Connection connection;
                        connection.reopen(text);
                        store::ensureDayRecord(connection, keyOf(15));
                        connection.close();
                        TForm2 day;
                        day.openDay(QStringLiteral("15/1/2020"), text, store::selectDayStatement(keyOf(15)), sheet);
                        if (day.ADOQuery1().isEmpty())
                            stop(QStringLiteral("the day opened empty"));
                    }),
                    targets ? 20.0 : 0.0});
    TForm2 day;
    day.openDay(QStringLiteral("16/1/2020"), text, store::selectDayStatement(keyOf(16)), sheet);
    int n = 0;
    rows.push_back({QStringLiteral("one post, %1").arg(where), measure([&] {
                        ++n;
                        day.ADOQuery1().setValue(store::slotColumnNames().at(n % 28),
                                                 QStringLiteral("Ραντεβού %1").arg(n));
                        day.ADOQuery1().post();
                    }),
                    targets ? 5.0 : 0.0});
    if (!reports().isEmpty())
        stop(QStringLiteral("the error report fired: ") + reports().join(QStringLiteral(" | ")));
    return rows;
}

QString makeServerFolder(QTemporaryDir& root, const QString& name, const QString& connection) {
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    store::writeServerBook(QDir(folder).filePath(QLatin1String(store::ServerBookFileName)), connection);
    QFile::copy(QStringLiteral(":/orvella/RANTEBOU.rav"), QDir(folder).filePath(QStringLiteral("RANTEBOU.rav")));
    return folder;
}

// Whether the kernel can add delay to a network interface here (network namespaces and the netem discipline).
QString netemProbe() {
    QProcess probe;
    probe.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("ip netns add orvella_probe && ip netns exec orvella_probe "
                                                      "tc qdisc add dev lo root netem delay 1ms; r=$?; "
                                                      "ip netns del orvella_probe 2>/dev/null; exit $r")});
    probe.waitForFinished(5000);
    return probe.exitCode() == 0 ? QString() : QString::fromUtf8(probe.readAllStandardError()).simplified();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    silencePlatformNotices();
    QApplication application(argc, argv);
    OrvellaApplication::setUpIdentity();
    ErrorReport::setObserver([](const QString& text) { reports() << text; });

    TestServer server;
    if (!server.isRunning())
        stop(QStringLiteral("no database server: ") + server.failure());
    BenchDataFolder file(10000);
    const QString database = server.makeDatabase(QStringLiteral("bench"));
    store::copyBookUp(QDir(file.path()).filePath(QStringLiteral("data.mdb")),
                      QLatin1String(store::FixedDatabasePassword), server.connectionFor(database), false);

    QTemporaryDir root;
    std::vector<Row> rows =
        measureFolder(makeServerFolder(root, QStringLiteral("loopback"), server.connectionFor(database)),
                      QStringLiteral("loopback"), 5, true);

    const QString netem = netemProbe();
    if (!netem.isEmpty())
        std::printf("netem cannot add delay here (%s); the 2 ms round trip comes from a delaying relay instead\n",
                    qPrintable(netem));
    DelayRelay relay(server.socketPath(), 1000);
    if (!relay.isListening())
        stop(QStringLiteral("the delaying relay could not listen"));
    const QString relayed = QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=postgres sslmode=disable")
                                .arg(relay.port())
                                .arg(database);
    for (const Row& row : measureFolder(makeServerFolder(root, QStringLiteral("relayed"), relayed),
                                        QStringLiteral("2 ms round trip"), 20, false))
        rows.push_back(row);

    std::printf("%-36s %10s %10s %10s\n", "measure (10,000-day book)", "median ms", "p90 ms", "target ms");
    for (const Row& row : rows) {
        const QString target = row.target > 0 ? QString::number(row.target) : QStringLiteral("-");
        std::printf("%-36s %10.2f %10.2f %10s %s\n", qPrintable(row.name), row.figure.median, row.figure.p90,
                    qPrintable(target), row.target <= 0 || row.figure.median <= row.target ? "" : "OVER");
    }
    return 0;
}
