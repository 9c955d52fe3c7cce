// A program killed (SIGKILL) at random moments while it saves days: afterwards the file is sound, holds
// every save that had returned, and each slot holds either what it held or the whole of the save under way.

#include "tests/faults/DataFileState.h"
#include "tests/faults/PostReport.h"
#include "tests/faults/PosterProcess.h"
#include "tests/store/StoreTestSupport.h"

#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/Query.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

// The kill moments are drawn from this generator, so that a failing run can be repeated as it was.
constexpr std::uint32_t RandomStart = 5032010u;
constexpr int Kills = 50;

const QStringList& loopDays() {
    static const QStringList days{QStringLiteral("1/3/2010"), QStringLiteral("2/3/2010"), QStringLiteral("3/3/2010"),
                                  QStringLiteral("4/3/2010")};
    return days;
}

// The slots that hold a value, as the store itself reads them: one query per day, as the day window opens it.
SlotValues readThroughStore(const QString& folder) {
    store::Connection connection;
    connection.setConnectionText(storetest::connectionTextFor(folder));
    connection.open();
    store::Query query(connection);
    SlotValues values;
    for (const QString& day : loopDays()) {
        QString key = day;
        store::MakeDayKey(key);
        query.close();
        query.clearStatement();
        query.addStatement(store::selectDayStatement(key));
        query.open();
        for (const QString& slot : store::slotColumnNames()) {
            const QVariant value = query.value(slot);
            if (!value.isNull())
                values[day + QLatin1Char(' ') + slot] = value.toString();
        }
    }
    query.close();
    connection.close();
    return values;
}

} // namespace

class KillDuringPostTest : public QObject {
    Q_OBJECT

private slots:
    void killedWhilePosting();
};

void KillDuringPostTest::killedWhilePosting() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = storetest::makeDataFile(dir.path());
    std::mt19937 random(RandomStart);

    SlotValues expected; // every slot as the returned saves left it
    int returned = 0;
    int underWayKept = 0;
    int underWayDropped = 0;
    int journalsLeft = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int round = 0; round < Kills; ++round) {
        PosterProcess poster({QStringLiteral("loop"), dir.path(), QStringLiteral("k%1").arg(round)});
        QVERIFY(poster.started());
        // Most kills come while saves follow one another; every fifth may come at any moment, opening too.
        const bool anyMoment = random() % 5 == 0;
        const int delay = static_cast<int>(random() % (anyMoment ? 400u : 250u));
        QStringList lines;
        if (!anyMoment) {
            const QString first = poster.nextLine(20000);
            QVERIFY2(first.startsWith(QLatin1String("posting")), qPrintable(first + poster.errorOutput()));
            lines << first;
            const QString second = poster.nextLine(20000);
            QVERIFY2(second.startsWith(QLatin1String("posted")), qPrintable(second + poster.errorOutput()));
            lines << second;
        }
        QTest::qWait(delay);
        poster.kill();
        QVERIFY2(poster.crashed(), qPrintable(QStringLiteral("the poster ended by itself (code %1): %2")
                                                  .arg(poster.exitCode())
                                                  .arg(poster.errorOutput())));
        lines += poster.takeLines();

        // What the poster says it did, checked against what it read: it must have read what the file holds.
        std::optional<PostReport> underWay;
        for (const QString& line : lines) {
            const PostReport report = PostReport::parse(line);
            QVERIFY2(!report.kind.isEmpty() && report.kind != QLatin1String("refused"), qPrintable(line));
            if (report.kind == QLatin1String("posting")) {
                for (const PostReport::Edit& edit : report.edits) {
                    const QString key = report.day + QLatin1Char(' ') + edit.slot;
                    QCOMPARE(edit.original, expected.value(key, QStringLiteral("-")));
                }
                underWay = report;
            } else {
                QVERIFY2(underWay && underWay->day == report.day && underWay->edits.size() == report.edits.size(),
                         qPrintable(line));
                expected = report.appliedTo(expected);
                underWay.reset();
                ++returned;
            }
        }

        if (QFile::exists(file + QStringLiteral("-journal")))
            ++journalsLeft;
        // The store opens the file first, so that it is the store that deals with what the kill left.
        const SlotValues seen = readThroughStore(dir.path());
        QCOMPARE(faults::integrityCheck(file), QStringLiteral("ok"));
        const SlotValues stored = faults::storedSlots(file);
        QVERIFY2(seen == stored, qPrintable(faults::describeDifference(stored, seen)));

        if (stored == expected) {
            underWayDropped += underWay ? 1 : 0;
        } else {
            // Only the save under way may have landed, and then whole.
            QVERIFY2(underWay, qPrintable(QStringLiteral("round %1:\n").arg(round) +
                                          faults::describeDifference(expected, stored)));
            const SlotValues withIt = underWay->appliedTo(expected);
            QVERIFY2(stored == withIt, qPrintable(QStringLiteral("round %1, neither before nor after the save under "
                                                                 "way:\n")
                                                      .arg(round) +
                                                  faults::describeDifference(withIt, stored)));
            expected = withIt;
            ++underWayKept;
        }
    }
    qInfo("%d kills in %lld ms: %d saves had returned; of the saves under way %d landed whole, %d not at all; "
          "%d kills left a journal behind",
          Kills, elapsed.elapsed(), returned, underWayKept, underWayDropped, journalsLeft);
    // The kills must really have met saves, not only starting programs.
    QVERIFY(returned >= Kills);
    QVERIFY(underWayKept + underWayDropped > 0);
}

QTEST_GUILESS_MAIN(KillDuringPostTest)
#include "KillDuringPostTest.moc"
