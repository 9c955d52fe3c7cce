// Huge and hostile definitions and pictures, each run in its own process under a memory cap and a
// deadline (ReportBoundsProbe), so that a run that takes the memory or the time it used to take fails
// here instead of freezing the test: what must be refused is refused early, what may run runs within
// its bounds.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes text in pieces, so that a file of many megabytes is never one string in the test.
class DefinitionWriter {
public:
    explicit DefinitionWriter(const QString& path) : m_file(path) { m_ok = m_file.open(QIODevice::WriteOnly); }
    bool ok() const { return m_ok; }
    DefinitionWriter& operator<<(const QByteArray& text) {
        m_ok = m_ok && m_file.write(text) == text.size();
        return *this;
    }

private:
    QFile m_file;
    bool m_ok = false;
};

const QByteArray Head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project>\n";
const QByteArray Tail = "</project>\n";

void manyReports(const QString& path, int reports) {
    DefinitionWriter out(path);
    out << Head;
    for (int i = 0; i < reports; ++i)
        out << "<report name=\"R" + QByteArray::number(i) + "\"/>\n";
    out << Tail;
    QVERIFY(out.ok());
}

void manyBands(const QString& path, int bands) {
    DefinitionWriter out(path);
    out << Head << "<report name=\"R\"><page size=\"custom\" width=\"100\" height=\"10000\"/>\n";
    for (int i = 0; i < bands; ++i)
        out << "<title height=\"0.1\"/>\n";
    out << "</report>\n" << Tail;
    QVERIFY(out.ok());
}

void manyItems(const QString& path, int items) {
    DefinitionWriter out(path);
    out << Head << "<report name=\"R\"><title height=\"50\">\n";
    for (int i = 0; i < items; ++i)
        out << "<line x1=\"0\" y1=\"0\" x2=\"10\" y2=\"10\"/>\n";
    out << "</title></report>\n" << Tail;
    QVERIFY(out.ok());
}

// A file of `megabytes` that is one long comment: nothing but size.
void hugeFile(const QString& path, int megabytes) {
    DefinitionWriter out(path);
    out << Head << "<!--";
    const QByteArray block(1024 * 1024, 'x');
    for (int i = 0; i < megabytes; ++i)
        out << block;
    out << "-->\n<report name=\"R\"/>\n" << Tail;
    QVERIFY(out.ok());
}

// `count` image items all showing one 5000 x 5000 picture (a PNG of about 100 KB).
void onePictureManyTimes(const QString& path, int count) {
    QImage picture(5000, 5000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setPen(QPen(Qt::darkBlue, 40));
        painter.drawEllipse(500, 500, 4000, 4000);
    }
    const QString png = QFileInfo(path).absoluteDir().filePath(QStringLiteral("large.png"));
    QVERIFY(picture.save(png, "PNG"));
    DefinitionWriter out(path);
    out << Head << "<report name=\"R\"><title height=\"200\">\n";
    for (int i = 0; i < count; ++i)
        out << "<image x=\"" + QByteArray::number(i % 10 * 15) + "\" y=\"" + QByteArray::number(i / 10 * 40) +
                   "\" width=\"15\" height=\"15\" src=\"large.png\"/>\n";
    out << "</title></report>\n" << Tail;
    QVERIFY(out.ok());
}

using Maker = void (*)(const QString&);

} // namespace

Q_DECLARE_METATYPE(Maker)

class ReportBoundsTest : public QObject {
    Q_OBJECT
private slots:
    void staysWithinBounds_data();
    void staysWithinBounds();
};

void ReportBoundsTest::staysWithinBounds_data() {
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("memoryMb");
    QTest::addColumn<int>("peakMb");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("outcome");

    // Decoded once: one 100 MB image, not thirty (which took 3 GB).
    QTest::newRow("30 items showing one 5000 x 5000 picture")
        << Maker([](const QString& p) { onePictureManyTimes(p, 30); }) << "pdf" << 2048 << 400 << 60 << "made";
    // Just under the element cap: reading is linear (100,000 reports took 33 s when it was quadratic).
    QTest::newRow("99,000 reports") << Maker([](const QString& p) { manyReports(p, 99'000); }) << "read" << 2048 << 500
                                    << 20 << "made reports=99000";
    QTest::newRow("99,000 bands in one report")
        << Maker([](const QString& p) { manyBands(p, 99'000); }) << "read" << 2048 << 300 << 20 << "made reports=1";
    QTest::newRow("100,000 reports") << Maker([](const QString& p) { manyReports(p, 100'000); }) << "read" << 2048
                                     << 500 << 20 << "holds more than 100000 elements";
    QTest::newRow("150,000 items") << Maker([](const QString& p) { manyItems(p, 150'000); }) << "read" << 2048 << 500
                                   << 20 << "holds more than 100000 elements";
    // 1e6 items took 13 s and 866 MB.
    QTest::newRow("1,000,000 items") << Maker([](const QString& p) { manyItems(p, 1'000'000); }) << "read" << 2048
                                     << 100 << 10 << "is larger than the 16 MB it may be";
    QTest::newRow("a 100 MB file") << Maker([](const QString& p) { hugeFile(p, 100); }) << "read" << 2048 << 100 << 10
                                   << "is larger than the 16 MB it may be";
}

void ReportBoundsTest::staysWithinBounds() {
    QFETCH(Maker, make);
    QFETCH(QString, mode);
    QFETCH(int, memoryMb);
    QFETCH(int, peakMb);
    QFETCH(int, seconds);
    QFETCH(QString, outcome);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString definition = dir.filePath(QStringLiteral("big.rav"));
    make(definition);
    if (QTest::currentTestFailed())
        return;

    QProcess probe;
    probe.start(QStringLiteral(ORVELLA_REPORT_PROBE),
                {mode, definition, dir.filePath(QStringLiteral("out.pdf")), QString::number(memoryMb)});
    QVERIFY(probe.waitForStarted());
    if (!probe.waitForFinished(seconds * 1000)) {
        probe.kill();
        probe.waitForFinished();
        QFAIL(qPrintable(QStringLiteral("the run took more than %1 s").arg(seconds)));
    }
    const QString report = QString::fromUtf8(probe.readAllStandardOutput());
    QVERIFY2(probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0,
             qPrintable(report + QString::fromUtf8(probe.readAllStandardError())));
    QVERIFY2(report.section(QLatin1Char('\n'), 0, 0).contains(outcome), qPrintable(report));
    const auto peak = QRegularExpression(QStringLiteral("peak_kb=(\\d+)")).match(report);
    QVERIFY(peak.hasMatch());
    QVERIFY2(peak.captured(1).toLongLong() < qint64(peakMb) * 1024, qPrintable(report));
    if (outcome == u"made" && mode == u"pdf")
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("out.pdf"))).size() > 0);
    qInfo("%s", qPrintable(report.simplified()));
}

QTEST_GUILESS_MAIN(ReportBoundsTest)
#include "ReportBoundsTest.moc"
