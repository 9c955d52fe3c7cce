// The offer to convert an older book found as data.mdb at start-up, answered as a user answers it: yes
// converts it and keeps the older file beside, no changes nothing, and a conversion that fails is reported
// and changes nothing either.

#include "tests/legacy/LegacyTestSupport.h"

#include "app/OldBookOffer.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "legacy/ConversionRefusal.h"
#include "store/backup/DailyBackup.h"
#include "store/cipher/DataFileProbe.h"
#include "store/cipher/DatabaseFile.h"
#include "store/wholebook/WholeBookReader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class OldBookOfferTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { OrvellaApplication::setUpIdentity(); }
    void cleanup() { ErrorReport::setObserver({}); }
    void recognisesOlderBooksByTheirFirstBytes_data();
    void recognisesOlderBooksByTheirFirstBytes();
    void answered_data();
    void answered();
    void refusedBookIsNotOfferedAgain_data();
    void refusedBookIsNotOfferedAgain();

private:
    // Answers each box offer() shows, in order, with the given button, and records what the boxes said.
    void answerBoxes(const QList<QMessageBox::StandardButton>& answers);
    QStringList m_seen;
};

void OldBookOfferTest::recognisesOlderBooksByTheirFirstBytes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("older");
    QTest::newRow("jet 4") << "rantebou-small.mdb" << true;
    QTest::newRow("jet 4, encoded") << "rantebou-small-encoded.mdb" << true;
    QTest::newRow("jet 3") << "jet3-sample.mdb" << true;
    QTest::newRow("text") << "README.md" << false;
}

void OldBookOfferTest::recognisesOlderBooksByTheirFirstBytes() {
    QFETCH(QString, file);
    QFETCH(bool, older);
    QCOMPARE(OldBookOffer::isOlderBook(legacytest::fixture(file)), older);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("data.mdb"));
    store::createDatabaseFile(book, QStringLiteral("Kw73Tp"));
    QVERIFY(!OldBookOffer::isOlderBook(book));
}

void OldBookOfferTest::answerBoxes(const QList<QMessageBox::StandardButton>& answers) {
    m_seen.clear();
    for (int i = 0; i < answers.size(); ++i) {
        // Each box is answered once it is up; the next waits for its own.
        auto answer = std::make_shared<std::function<void()>>();
        const QMessageBox::StandardButton button = answers[i];
        const int index = i;
        *answer = [this, answer, button, index] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || m_seen.size() != index) {
                QTimer::singleShot(20, this, *answer);
                return;
            }
            m_seen << box->objectName() + QLatin1Char(':') + box->text();
            box->button(button)->click();
        };
        QTimer::singleShot(0, this, *answer);
    }
}

void OldBookOfferTest::answered_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("converted");
    QTest::addColumn<bool>("ownSheet");
    QTest::newRow("yes") << "rantebou-small-password.mdb" << true << true << false;
    QTest::newRow("yes, the folder has its own day sheet") << "rantebou-small-password.mdb" << true << true << true;
    QTest::newRow("no") << "rantebou-small-password.mdb" << false << false << false;
    QTest::newRow("yes, but another password") << "rantebou-other-password.mdb" << true << false << false;
}

void OldBookOfferTest::answered() {
    QFETCH(QString, file);
    QFETCH(bool, yes);
    QFETCH(bool, converted);
    QFETCH(bool, ownSheet);
    QTemporaryDir dir;
    const QString data = legacytest::copyOfFixture(dir, file, QStringLiteral("data.mdb"));
    const QString sheet = dir.filePath(QStringLiteral("RANTEBOU.rav"));
    if (ownSheet) {
        QFile own(sheet);
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("<project/>");
    }
    const QByteArray older = bytesOf(data);
    // A converted book of today already stands in the folder: it is never overwritten.
    const QString stem = QStringLiteral("data-jet-") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QFile taken(dir.filePath(stem + QStringLiteral(".mdb")));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.write("an earlier one");
    taken.close();

    QStringList reported;
    ErrorReport::setObserver([&reported](const QString& text) { reported << text; });
    QList<QMessageBox::StandardButton> answers{yes ? QMessageBox::Yes : QMessageBox::No};
    if (converted)
        answers << QMessageBox::Ok;
    answerBoxes(answers);
    OldBookOffer::offer(dir.path());

    QVERIFY(!m_seen.isEmpty());
    QVERIFY2(m_seen[0].startsWith(QLatin1String("OldBookOffer:")) &&
                 m_seen[0].contains(QStringLiteral("παλαιότερης μορφής")),
             qPrintable(m_seen[0]));
    QCOMPARE(bytesOf(dir.filePath(stem + QStringLiteral(".mdb"))), QByteArray("an earlier one"));
    if (converted) {
        QCOMPARE(m_seen.size(), 2);
        QVERIFY2(m_seen[1].startsWith(QLatin1String("OldBookSummary:")) &&
                     m_seen[1].contains(QStringLiteral("Διαβάστηκαν 60 εγγραφές")),
                 qPrintable(m_seen[1]));
        QVERIFY(reported.isEmpty());
        QCOMPARE(store::WholeBookReader(data, QStringLiteral("Kw73Tp")).dayCount(), 60);
        QCOMPARE(bytesOf(dir.filePath(stem + QStringLiteral("-2.mdb"))), older);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
        QVERIFY(!OldBookOffer::isOlderBook(data));
        // A whole data folder: the day sheet (its own kept as it was) and today's backup of the new book.
        QCOMPARE(bytesOf(sheet), ownSheet ? QByteArray("<project/>") : bytesOf(QStringLiteral(":/orvella/RANTEBOU.rav")));
        // A book gets one backup a day in a process: here the conversion's, for the new book.
        const auto backup = store::DailyBackup::instance().finish();
        QVERIFY(backup.has_value());
        QCOMPARE(int(backup->result), int(store::BackupOutcome::Result::Made));
        QVERIFY(backup->path.startsWith(dir.path()));
        QCOMPARE(store::WholeBookReader(backup->path, QStringLiteral("Kw73Tp")).dayCount(), 60);
        return;
    }
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(reported.size(), yes ? 1 : 0);
    if (yes)
        QVERIFY2(reported[0].contains(QLatin1String("password")), qPrintable(reported[0]));
    QCOMPARE(bytesOf(data), older);
    // A refused book leaves only the note that remembers the refusal.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), yes ? 3 : 2);
    // The book left as it was is named for what it is when the month window cannot read it.
    QVERIFY2(store::describeForeignFile(data).contains(QStringLiteral("παλαιότερης μορφής")),
             qPrintable(store::describeForeignFile(data)));
}

void OldBookOfferTest::refusedBookIsNotOfferedAgain_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<legacytest::BytePatches>("patches");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("another password") << "rantebou-other-password.mdb" << legacytest::BytePatches{} << "password";
    // The table's page-usage reference damaged: the reading library crashes on it (the later libmdb built for
    // Windows refuses it itself, as no appointment book).
#ifdef Q_OS_WIN
    const QString damaged = QStringLiteral("data.mdb");
#else
    const QString damaged = QStringLiteral("είναι χαλασμένο εκεί όπου φυλάγονται");
#endif
    QTest::newRow("damaged where the library crashes")
        << "rantebou-small-password.mdb" << legacytest::BytePatches{{98358, QByteArray::fromHex("0080")}} << damaged;
}

void OldBookOfferTest::refusedBookIsNotOfferedAgain() {
    QFETCH(QString, file);
    QFETCH(legacytest::BytePatches, patches);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString data = legacytest::patchedCopy(dir, file, patches, QStringLiteral("data.mdb"));
    const QByteArray older = bytesOf(data);
    QStringList reported;
    ErrorReport::setObserver([&reported](const QString& text) { reported << text; });

    answerBoxes({QMessageBox::Yes});
    OldBookOffer::offer(dir.path());
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported[0].contains(refusal), qPrintable(reported[0]));
    QVERIFY(!reported[0].contains(QLatin1String("mdb_")));
    // Nothing half-made is left: no passing book, no journal; only the note of the refusal.
    QCOMPARE(bytesOf(data), older);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QLatin1String(legacy::ConversionRefusal::FileName), QStringLiteral("data.mdb")}));

    // The next start does not ask again as if nothing had happened: it says why once more.
    bool asked = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = true;
            box->reject();
        }
    });
    watch.start(20);
    OldBookOffer::offer(dir.path());
    watch.stop();
    QVERIFY(!asked);
    QCOMPARE(reported.size(), 2);
    QVERIFY2(reported[1].startsWith(reported[0]) && reported[1].contains(QStringLiteral("δεν προτείνεται ξανά")),
             qPrintable(reported[1]));

    // A file put in its place (here: the same one written again) is offered again.
    QFile rewritten(data);
    QVERIFY(rewritten.open(QIODevice::ReadWrite));
    rewritten.write(older.left(1));
    rewritten.close();
    answerBoxes({QMessageBox::No});
    OldBookOffer::offer(dir.path());
    QCOMPARE(m_seen.size(), 1);
    QVERIFY(m_seen[0].startsWith(QLatin1String("OldBookOffer:")));
    QCOMPARE(reported.size(), 2);
}

QTEST_MAIN(OldBookOfferTest)
#include "OldBookOfferTest.moc"
