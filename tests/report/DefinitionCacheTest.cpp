// The kept report definitions: one that is unchanged is handed out again; every way its file or a picture it
// shows can change (even rewritten to the same size with the modification time put back) makes the next run
// read it afresh, with exactly the outcome a first read has. Real files, links and FIFOs in a temporary folder.

#include "report/DefinitionCache.h"
#include "report/DefinitionReader.h"
#include "report/LaidOutReport.h"
#include "report/PagePainter.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace report;

namespace {

// Long enough for any file system's clock to have moved on; the test's files are made older than this.
constexpr qint64 SettleMs = 200;

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Stored uncompressed, so that pictures of any colour have the same size.
QByteArray png(Qt::GlobalColor colour) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 100);
    return buffer.data();
}

// A definition whose title text is `title` (keep to five letters, so that rewrites keep the size), showing
// seal.png.
QByteArray definition(const QByteArray& title) {
    return "<project><report name=\"Sheet\"><title height=\"50\">"
           "<text x=\"0\" y=\"20\" width=\"80\" height=\"10\">" +
           title +
           "</text><image x=\"0\" y=\"0\" width=\"10\" height=\"10\" src=\"seal.png\"/>"
           "</title></report></project>";
}

// Writes bytes over the start of the file without truncating it, then puts its access and modification
// times back as they were: same inode, same size, same modification time.
bool rewriteInPlaceKeepingTimes(const QString& path, const QByteArray& bytes) {
    struct stat before {};
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &before) != 0)
        return false;
    const int fd = ::open(name.constData(), O_WRONLY);
    if (fd < 0)
        return false;
    const bool written = ::pwrite(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0) == bytes.size();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    const bool timed = ::futimens(fd, times) == 0;
    ::close(fd);
    struct stat after {};
    return written && timed && ::stat(name.constData(), &after) == 0 && after.st_size == before.st_size &&
           after.st_ino == before.st_ino && after.st_mtim.tv_nsec == before.st_mtim.tv_nsec &&
           after.st_mtim.tv_sec == before.st_mtim.tv_sec;
}

// What a read gives: the title text of a definition, or the message it failed with.
QString outcome(const std::function<const ProjectDefinition&()>& read) {
    try {
        return QStringLiteral("text: ") + read().activeReport().bands.first().items.first().text;
    } catch (const ReportError& error) {
        return QStringLiteral("refused: ") + error.text();
    }
}

} // namespace

class DefinitionCacheTest : public QObject {
    Q_OBJECT
private slots:
    void keptOnlyWhileUnchanged_data();
    void keptOnlyWhileUnchanged();
    void someDefinitionsAreNeverKept_data();
    void someDefinitionsAreNeverKept();
    void keptPicturesAreDecodedOnceAndStillBudgeted();
};

void DefinitionCacheTest::keptOnlyWhileUnchanged_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("reused");
    QTest::addColumn<QString>("expected");

    const QString shown = QStringLiteral("text: Hello");
    QTest::newRow("unchanged") << "none" << true << shown;
    QTest::newRow("rewritten in place, same size, times put back") << "same size" << false << "text: Hallo";
    QTest::newRow("hostile rewrite, same size, times put back") << "hostile same size" << false << "";
    QTest::newRow("touched") << "touch" << false << shown;
    QTest::newRow("replaced by rename") << "rename" << false << "text: World";
    QTest::newRow("replaced through a link") << "relink" << false << "text: World";
    QTest::newRow("removed") << "remove" << false << "";
    QTest::newRow("turned into a FIFO") << "fifo" << false << "";
    QTest::newRow("grown past the size cap") << "grow" << false << "";
    QTest::newRow("picture rewritten, same size, times put back") << "picture same size" << false << shown;
    QTest::newRow("picture removed") << "picture remove" << false << "";
    QTest::newRow("picture replaced by a folder") << "picture folder" << false << "";
}

void DefinitionCacheTest::keptOnlyWhileUnchanged() {
    QFETCH(QString, change);
    QFETCH(bool, reused);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sheet = dir.filePath(QStringLiteral("Sheet.rav"));
    const QString real = dir.filePath(QStringLiteral("real.rav"));
    const QString seal = dir.filePath(QStringLiteral("seal.png"));
    QVERIFY(writeFile(real, definition("Hello")));
    QVERIFY(QFile::link(real, sheet));
    QVERIFY(writeFile(seal, png(Qt::red)));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("other.rav")), definition("World")));
    QTest::qSleep(SettleMs + 100);

    DefinitionCache cache(DefinitionCache::DefaultCapacity, SettleMs);
    const QString label = QStringLiteral("C:\\Data\\Sheet.rav");
    const auto first = cache.read(sheet, label);
    QCOMPARE(first->project.activeReport().bands.first().items.first().text, QStringLiteral("Hello"));

    const QByteArray sheetName = QFile::encodeName(real);
    if (change == u"same size") {
        QVERIFY(rewriteInPlaceKeepingTimes(real, definition("Hallo")));
    } else if (change == u"hostile same size") {
        // Same length, now an element the format does not know.
        QByteArray hostile = definition("Hello");
        hostile.replace("<text ", "<evil ");
        QVERIFY(rewriteInPlaceKeepingTimes(real, hostile));
    } else if (change == u"touch") {
        QVERIFY(::utimensat(AT_FDCWD, sheetName.constData(), nullptr, 0) == 0);
    } else if (change == u"rename") {
        QVERIFY(::rename(QFile::encodeName(dir.filePath(QStringLiteral("other.rav"))).constData(),
                         sheetName.constData()) == 0);
    } else if (change == u"relink") {
        QVERIFY(QFile::remove(sheet));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("other.rav")), sheet));
    } else if (change == u"remove") {
        QVERIFY(QFile::remove(real));
    } else if (change == u"fifo") {
        QVERIFY(QFile::remove(real));
        QVERIFY(::mkfifo(sheetName.constData(), 0600) == 0);
    } else if (change == u"grow") {
        QVERIFY(::truncate(sheetName.constData(), DefinitionReader::MaxDefinitionBytes + 1) == 0);
    } else if (change == u"picture same size") {
        const QByteArray green = png(Qt::green);
        QVERIFY(green.size() == QFileInfo(seal).size());
        QVERIFY(rewriteInPlaceKeepingTimes(seal, green));
    } else if (change == u"picture remove") {
        QVERIFY(QFile::remove(seal));
    } else if (change == u"picture folder") {
        QVERIFY(QFile::remove(seal));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("seal.png")));
    }

    // What a first read of the files as they are now gives, the oracle for the kept copy.
    ProjectDefinition fresh;
    const QString firstRead = outcome([&]() -> const ProjectDefinition& {
        fresh = DefinitionReader::readFile(sheet, label);
        return fresh;
    });
    if (!expected.isEmpty())
        QCOMPARE(firstRead, expected);
    else
        QVERIFY2(firstRead.startsWith(u"refused: "), qPrintable(firstRead));

    std::shared_ptr<const DefinitionCache::Entry> again;
    const QString keptRead = outcome([&]() -> const ProjectDefinition& {
        again = cache.read(sheet, label);
        return again->project;
    });
    QCOMPARE(keptRead, firstRead);
    QCOMPARE(again == first, reused);
    if (again && !reused && change.startsWith(u"picture"))
        QCOMPARE(again->project.activeReport().bands.first().items.at(1).imageData, png(Qt::green));
}

void DefinitionCacheTest::someDefinitionsAreNeverKept_data() {
    QTest::addColumn<qint64>("settleMs");
    QTest::addColumn<qint64>("padding");

    // A minute is far more than writing the files took: they count as changed just now.
    QTest::newRow("changed just now") << qint64(60'000) << qint64(0);
    QTest::newRow("too large to hold between runs") << SettleMs << DefinitionCache::MaxKeptFileBytes;
}

void DefinitionCacheTest::someDefinitionsAreNeverKept() {
    QFETCH(qint64, settleMs);
    QFETCH(qint64, padding);

    QTemporaryDir dir;
    const QString sheet = dir.filePath(QStringLiteral("Sheet.rav"));
    QVERIFY(writeFile(sheet, definition("Hello") + "<!--" + QByteArray(padding, ' ') + "-->"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("seal.png")), png(Qt::red)));
    if (settleMs == SettleMs)
        QTest::qSleep(SettleMs + 100);
    DefinitionCache cache(DefinitionCache::DefaultCapacity, settleMs);
    const auto first = cache.read(sheet, sheet);
    const auto second = cache.read(sheet, sheet);
    QVERIFY(first != second);
    QCOMPARE(second->project.activeReport().name, QStringLiteral("Sheet"));
}

void DefinitionCacheTest::keptPicturesAreDecodedOnceAndStillBudgeted() {
    QTemporaryDir dir;
    const QString sheet = dir.filePath(QStringLiteral("Sheet.rav"));
    QVERIFY(writeFile(sheet, definition("Hello")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("seal.png")), png(Qt::red)));
    QTest::qSleep(SettleMs + 100);
    DefinitionCache cache(DefinitionCache::DefaultCapacity, SettleMs);

    const auto entry = cache.read(sheet, sheet);
    const LaidOutReport laidOut = ReportLayouter::layOut(entry->project, {});
    const char* key = entry->project.activeReport().bands.first().items.at(1).imageData.constData();
    QVERIFY(!entry->pictures.find(key));
    { const PagePainter painter(laidOut, &entry->pictures); }
    const auto decoded = entry->pictures.find(key);
    QVERIFY(decoded);
    QCOMPARE(decoded->declaredSize, QSize(4, 4));
    QCOMPARE(decoded->image.pixelColor(1, 1), QColor(Qt::red));

    // The same entry serves the next run, and its painter takes the picture decoded before.
    const auto again = cache.read(sheet, sheet);
    QCOMPARE(again, entry);
    const LaidOutReport next = ReportLayouter::layOut(again->project, {});
    { const PagePainter painter(next, &again->pictures); }
    QCOMPARE(again->pictures.find(key)->image.cacheKey(), decoded->image.cacheKey());

    // A kept picture still counts against the pixel budget at every run.
    DecodedPictures oversized;
    oversized.insert(key, {decoded->image, QSize(10'000, 5'000)});
    QVERIFY_THROWS_EXCEPTION(ReportError, PagePainter(next, &oversized));
}

QTEST_MAIN(DefinitionCacheTest)
#include "DefinitionCacheTest.moc"
