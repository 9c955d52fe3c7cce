// Running whole projects to PDF and to the printer without the options window: what reaches the file,
// and that every fault stops the run before anything is written.

#include "tests/report/PdfTools.h"

#include "report/DefinitionReader.h"
#include "report/MemoryDataset.h"
#include "report/PagePainter.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportOutput.h"
#include "report/ReportProject.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A list of rows, ten to an A5 page: each row prints its name and number.
QByteArray listDefinition(const QByteArray& extraItems = {}) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<project active=\"List\">\n"
           "<connection name=\"Rows\"/>\n"
           "<report name=\"List\">\n"
           "<page size=\"custom\" width=\"148\" height=\"210\" margin=\"10\"/>\n"
           "<pageheader height=\"20\"><text x=\"0\" y=\"0\" width=\"128\" height=\"10\" size=\"14\">Κατάλογος</text>"
           "</pageheader>\n"
           "<detail height=\"16\" connection=\"Rows\">"
           "<field x=\"0\" y=\"0\" width=\"90\" height=\"8\" column=\"name\"/>"
           "<field x=\"90\" y=\"0\" width=\"38\" height=\"8\" column=\"number\" align=\"right\"/>" +
           extraItems +
           "</detail>\n"
           "<pagefooter height=\"10\"><pagenumber x=\"0\" y=\"0\" width=\"128\" height=\"10\">page {page} of "
           "{pages}</pagenumber></pagefooter>\n"
           "</report>\n"
           "</project>\n";
}

MemoryDataset numberedRows(int count) {
    MemoryDataset rows({QStringLiteral("name"), QStringLiteral("number")});
    for (int i = 1; i <= count; ++i)
        rows.appendRow({QStringLiteral("Row-%1").arg(i, 3, 10, QLatin1Char('0')), i});
    return rows;
}

OutputOptions toFile(const QString& path, int copies = 1, int from = 0, int to = 0) {
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.filePath = path;
    options.copies = copies;
    options.fromPage = from;
    options.toPage = to;
    return options;
}

// Row names in the order they appear in a text.
QStringList rowNames(const QString& text) {
    QStringList names;
    const QRegularExpression name(QStringLiteral("Row-(\\d{3})"));
    for (auto it = name.globalMatch(text); it.hasNext();)
        names.append(it.next().captured(0));
    return names;
}

// A dataset whose reading fails, as a database read can.
class FailingDataset : public Dataset {
public:
    QStringList columnNames() const override { return {QStringLiteral("name"), QStringLiteral("number")}; }
    int rowCount() const override { return 3; }
    QVariant value(int row, int) const override {
        if (row == 2)
            throw std::runtime_error("the record cannot be read");
        return row;
    }
};

} // namespace

class ReportOutputTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingProjectFile_data();
    void missingProjectFile();
    void windowsSeparatorsAreFound();
    void unreadableDefinitionWritesNothing_data();
    void unreadableDefinitionWritesNothing();
    void detailBreaksAcrossPagesInOrder();
    void paperSizeAndOrientation_data();
    void paperSizeAndOrientation();
    void copiesAndRange_data();
    void copiesAndRange();
    void faultsBeforeOutputWriteNothing_data();
    void faultsBeforeOutputWriteNothing();
    void printerPathWithoutPrinters();
    void wrapAndElideInTheBox();
    void painterDrawsShapesAndPictures();

private:
    QTemporaryDir m_dir;
    QString m_definition;
    QString m_pdf;
};

void ReportOutputTest::init() {
    QVERIFY(m_dir.isValid());
    m_definition = m_dir.filePath(QStringLiteral("list.rav"));
    m_pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    QFile::remove(m_pdf);
    writeFile(m_definition, listDefinition());
}

void ReportOutputTest::missingProjectFile_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("absolute") << QStringLiteral("/nowhere/data/RANTEBOU.rav");
    QTest::newRow("Windows separator") << QStringLiteral("/home/u/data\\RANTEBOU.rav");
    QTest::newRow("Greek folder") << QStringLiteral("/tmp/Ραντεβού/RANTEBOU.rav");
    QTest::newRow("no path at all") << QString();
}

// The exact text, the path exactly as given, and no output.
void ReportOutputTest::missingProjectFile() {
    QFETCH(QString, path);
    const MemoryDataset rows = numberedRows(1);
    ReportProject project;
    project.setProjectFile(path);
    project.setDataset(QStringLiteral("Rows"), &rows);
    try {
        project.execute(toFile(m_pdf));
        QFAIL("a missing project ran");
    } catch (const ReportError& error) {
        QCOMPARE(error.text(),
                 QStringLiteral("The following reporting project does not exist:\n\"") + path + QLatin1Char('"'));
        QCOMPARE(QString::fromUtf8(error.what()), error.text());
    }
    QVERIFY(!QFile::exists(m_pdf));
    try {
        project.pageCount();
        QFAIL("a missing project was counted");
    } catch (const ReportError&) {
    }
}

void ReportOutputTest::windowsSeparatorsAreFound() {
    const MemoryDataset rows = numberedRows(3);
    ReportProject project;
    project.setProjectFile(m_dir.path() + QStringLiteral("\\list.rav"));
    project.setDataset(QStringLiteral("Rows"), &rows);
    QVERIFY(project.execute(toFile(m_pdf)));
    QVERIFY(QFile::exists(m_pdf));
}

void ReportOutputTest::unreadableDefinitionWritesNothing_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("where");

    QByteArray broken = listDefinition();
    broken.replace("</detail>", "</details>");
    QTest::newRow("bad XML") << broken << "line 7, column 177: Opening and ending tag mismatch.";
    QByteArray unknown = listDefinition();
    unknown.replace("<pagefooter", "<pagefoot");
    QTest::newRow("unknown element") << unknown << "line 8, column 22: unknown element <pagefoot> inside <report>.";
    QTest::newRow("bad number") << listDefinition("<line x1=\"0\" y1=\"15\" x2=\"12O\" y2=\"15\"/>")
                                << "line 7, column 206: the attribute \"x2\" of <line> holds \"12O\", which is not a "
                                   "number";
}

void ReportOutputTest::unreadableDefinitionWritesNothing() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, where);
    writeFile(m_definition, xml);
    const MemoryDataset rows = numberedRows(3);
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), &rows);
    try {
        project.execute(toFile(m_pdf));
        QFAIL("a broken definition ran");
    } catch (const ReportError& error) {
        const QString expected =
            QStringLiteral("Cannot read the report definition \"%1\": %2").arg(m_definition, where);
        QVERIFY2(error.text().startsWith(expected), qPrintable(error.text() + QStringLiteral("\n") + expected));
    }
    QVERIFY(!QFile::exists(m_pdf));
}

// 25 rows at 10 to a page: three pages, the rows in order, each page numbered.
void ReportOutputTest::detailBreaksAcrossPagesInOrder() {
    if (!PdfTools::available())
        QSKIP("pdftotext/pdfinfo are not installed in /usr/bin (package poppler-utils)");
    const MemoryDataset rows = numberedRows(25);
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), &rows);
    QCOMPARE(project.pageCount(), 3);
    QVERIFY(project.execute(toFile(m_pdf)));
    QCOMPARE(PdfTools::pageCount(m_pdf), std::optional<int>(3));

    QStringList all;
    for (int page = 1; page <= 3; ++page) {
        const QString text = PdfTools::pageText(m_pdf, page).value_or(QString());
        const QStringList names = rowNames(text);
        QCOMPARE(names.size(), page < 3 ? 10 : 5);
        all += names;
        QVERIFY2(text.contains(QStringLiteral("page %1 of 3").arg(page)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Κατάλογος")));
    }
    QCOMPARE(all, rowNames(PdfTools::text(m_pdf).value_or(QString())));
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(all[i], QStringLiteral("Row-%1").arg(i + 1, 3, 10, QLatin1Char('0')));
}

void ReportOutputTest::paperSizeAndOrientation_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QSizeF>("points");

    QTest::newRow("A4") << QByteArray("size=\"A4\"") << QSizeF(595.276, 841.89);
    QTest::newRow("A4 landscape") << QByteArray("size=\"A4\" orientation=\"landscape\"") << QSizeF(841.89, 595.276);
    QTest::newRow("Letter") << QByteArray("size=\"Letter\"") << QSizeF(612, 792);
    // Close to A5 (148 x 210) but not it: the paper must keep the size written.
    QTest::newRow("custom") << QByteArray("size=\"custom\" width=\"150\" height=\"212\"") << QSizeF(425.197, 600.945);
    QTest::newRow("custom landscape") << QByteArray(
                                             "size=\"custom\" width=\"100\" height=\"150\" orientation=\"landscape\"")
                                      << QSizeF(425.197, 283.465);
}

// The PDF's paper is the definition's, turned as it says.
void ReportOutputTest::paperSizeAndOrientation() {
    if (!PdfTools::available())
        QSKIP("pdfinfo is not installed in /usr/bin (package poppler-utils)");
    QFETCH(QByteArray, page);
    QFETCH(QSizeF, points);
    writeFile(m_definition, "<project><report name=\"R\"><page " + page +
                                " margin=\"5\"/><title height=\"10\"><text x=\"0\" y=\"0\" width=\"50\" "
                                "height=\"10\">paper</text></title></report></project>");
    ReportProject project;
    project.setProjectFile(m_definition);
    QVERIFY(project.execute(toFile(m_pdf)));
    const std::optional<QSizeF> size = PdfTools::pageSize(m_pdf);
    QVERIFY(size);
    QVERIFY2(qAbs(size->width() - points.width()) < 0.6 && qAbs(size->height() - points.height()) < 0.6,
             qPrintable(QStringLiteral("%1 x %2").arg(size->width()).arg(size->height())));
}

void ReportOutputTest::copiesAndRange_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("firstRowOfEachPage");

    // Four pages: rows 1, 11, 21, 31 open them.
    QTest::newRow("all once") << 1 << 0 << 0 << QStringList{"Row-001", "Row-011", "Row-021", "Row-031"};
    QTest::newRow("all twice") << 2 << 0 << 0 << QStringList{"Row-001", "Row-011", "Row-021", "Row-031",
                                                             "Row-001", "Row-011", "Row-021", "Row-031"};
    QTest::newRow("pages 2 to 3") << 1 << 2 << 3 << QStringList{"Row-011", "Row-021"};
    QTest::newRow("pages 2 to 3, three copies")
        << 3 << 2 << 3 << QStringList{"Row-011", "Row-021", "Row-011", "Row-021", "Row-011", "Row-021"};
    QTest::newRow("last page to far beyond") << 1 << 4 << 99 << QStringList{"Row-031"};
}

void ReportOutputTest::copiesAndRange() {
    if (!PdfTools::available())
        QSKIP("pdftotext/pdfinfo are not installed in /usr/bin (package poppler-utils)");
    QFETCH(int, copies);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, firstRowOfEachPage);
    const MemoryDataset rows = numberedRows(35);
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), &rows);
    QVERIFY(project.execute(toFile(m_pdf, copies, from, to)));
    QCOMPARE(PdfTools::pageCount(m_pdf), std::optional<int>(static_cast<int>(firstRowOfEachPage.size())));
    for (int page = 1; page <= firstRowOfEachPage.size(); ++page)
        QCOMPARE(rowNames(PdfTools::pageText(m_pdf, page).value_or(QString())).value(0), firstRowOfEachPage[page - 1]);
}

void ReportOutputTest::faultsBeforeOutputWriteNothing_data() {
    QTest::addColumn<QByteArray>("extraItems");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<bool>("failingData");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("error");

    QTest::newRow("column the data lacks")
        << QByteArray("<field x=\"0\" y=\"8\" width=\"50\" height=\"8\" column=\"phone\"/>") << 3 << false << 0
        << "out.pdf"
        << "has no column \"phone\"";
    QTest::newRow("picture that is no picture") << QByteArray("<image x=\"100\" y=\"8\" width=\"8\" height=\"8\">") +
                                                       QByteArray("not a picture").toBase64() + "</image>"
                                                << 3 << false << 0 << "out.pdf"
                                                << "is neither a PNG nor a JPEG picture";
    QTest::newRow("range past the last page") << QByteArray() << 3 << false << 2 << "out.pdf"
                                              << "The report has 1 page(s); the range starting at page 2 holds none";
    QTest::newRow("data that fails to read") << QByteArray() << 0 << true << 0 << "out.pdf"
                                             << "the record cannot be read";
    QTest::newRow("folder that does not exist") << QByteArray() << 3 << false << 0 << "no/such/folder/out.pdf"
                                                << "Cannot write the report to";
}

// Each fault is found before the first byte is written: no file, not even an empty one.
void ReportOutputTest::faultsBeforeOutputWriteNothing() {
    QFETCH(QByteArray, extraItems);
    QFETCH(int, rowCount);
    QFETCH(bool, failingData);
    QFETCH(int, from);
    QFETCH(QString, target);
    QFETCH(QString, error);
    writeFile(m_definition, listDefinition(extraItems));
    const MemoryDataset rows = numberedRows(rowCount);
    const FailingDataset failing;
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), failingData ? static_cast<const Dataset*>(&failing) : &rows);
    const QString path = m_dir.filePath(target);
    try {
        project.execute(toFile(path, 1, from, from));
        QFAIL("the run went through");
    } catch (const std::exception& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(error), e.what());
    }
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.rav")});
}

// No printer: the run says so in words and sends nothing; the file output is untouched.
void ReportOutputTest::printerPathWithoutPrinters() {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this computer has printers; the path without any cannot be taken here");
    const MemoryDataset rows = numberedRows(3);
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), &rows);
    OutputOptions options;
    options.destination = OutputOptions::Destination::Printer;
    for (const QString& printer : {QString(), QStringLiteral("Office")}) {
        options.printerName = printer;
        try {
            project.execute(options);
            QFAIL("printing without a printer went through");
        } catch (const ReportError& error) {
            QCOMPARE(error.text(), QStringLiteral("No printer is installed on this computer."));
        }
    }
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.rav")});
}

// Text too long for its box: wrapped onto the lines that fit, the last one cut with "…"; eliding alone
// keeps one line. Nothing past the box reaches the page.
void ReportOutputTest::wrapAndElideInTheBox() {
    if (!PdfTools::available())
        QSKIP("pdftotext/pdfinfo are not installed in /usr/bin (package poppler-utils)");
    writeFile(m_definition,
              "<project><connection name=\"Rows\"/><report name=\"R\"><page size=\"A4\" margin=\"10\"/>"
              "<title height=\"100\">"
              "<text x=\"0\" y=\"0\" width=\"60\" height=\"10\" size=\"10\" wrap=\"true\" elide=\"true\" "
              "valign=\"top\">alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho "
              "sigma tau upsilon phi chi psi omega</text>"
              "<text x=\"0\" y=\"40\" width=\"40\" height=\"8\" elide=\"true\">Πρώτη δεύτερη τρίτη τέταρτη πέμπτη "
              "έκτη έβδομη όγδοη</text>"
              "<text x=\"0\" y=\"60\" width=\"120\" height=\"20\" wrap=\"true\" valign=\"top\">one\ntwo</text>"
              "</title></report></project>");
    const MemoryDataset rows = numberedRows(0);
    ReportProject project;
    project.setProjectFile(m_definition);
    project.setDataset(QStringLiteral("Rows"), &rows);
    QVERIFY(project.execute(toFile(m_pdf)));
    const QString text = PdfTools::text(m_pdf).value_or(QString());
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());

    // 10 pt lines are about 4.1 mm apart: two fit in 10 mm.
    QVERIFY2(lines.size() >= 4, qPrintable(text));
    QVERIFY2(lines[0].startsWith(QStringLiteral("alpha beta")), qPrintable(text));
    QVERIFY2(lines[1].endsWith(QChar(0x2026)), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("omega")));
    QVERIFY2(lines[2].startsWith(QStringLiteral("Πρώτη")) && lines[2].endsWith(QChar(0x2026)), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("όγδοη")));
    QCOMPARE(lines[3], QStringLiteral("one"));
    QCOMPARE(lines[4], QStringLiteral("two"));
}

// Drawing on an image: fills, outlines, lines and pictures land where the definition puts them.
void ReportOutputTest::painterDrawsShapesAndPictures() {
    QImage red(4, 2, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");

    const ProjectDefinition definition = DefinitionReader::readBytes(
        "<project><report name=\"R\"><page size=\"custom\" width=\"100\" height=\"100\" margin=\"0\"/>"
        "<title height=\"100\">"
        "<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\" fill=\"#00ff00\" stroke=\"2\" color=\"#0000ff\"/>"
        "<line x1=\"0\" y1=\"50\" x2=\"100\" y2=\"50\" stroke=\"1\" color=\"#ff00ff\"/>"
        "<image x=\"60\" y=\"60\" width=\"40\" height=\"40\">" +
            png.toBase64() +
            "</image>"
            "<image x=\"0\" y=\"60\" width=\"40\" height=\"40\" fit=\"stretch\">" +
            png.toBase64() + "</image></title></report></project>",
        QStringLiteral("shapes.rav"), {});
    const LaidOutReport laidOut = ReportLayouter::layOut(definition, {});
    const PagePainter painter(laidOut);
    QImage page(200, 200, QImage::Format_RGB32); // 2 pixels per millimetre
    page.fill(Qt::white);
    {
        QPainter target(&page);
        painter.paint(target, 0, 2.0);
    }
    auto at = [&page](double xMm, double yMm) {
        return page.pixelColor(qRound(xMm * 2), qRound(yMm * 2)).rgb() & 0xffffff;
    };
    QCOMPARE(at(20, 20), 0x00ff00u); // inside the fill
    QCOMPARE(at(10, 20), 0x0000ffu); // on the outline
    QCOMPARE(at(5, 20), 0xffffffu);  // outside
    QCOMPARE(at(50, 50), 0xff00ffu); // on the line
    QCOMPARE(at(50, 52), 0xffffffu); // beside it
    QCOMPARE(at(80, 80), 0xff0000u); // the picture, kept 2:1 and centred: 40 x 20 mm from y 70
    QCOMPARE(at(80, 65), 0xffffffu); // above it, left free by keeping the aspect
    QCOMPARE(at(20, 65), 0xff0000u); // the stretched picture fills its box
}

QTEST_MAIN(ReportOutputTest)
#include "ReportOutputTest.moc"
