// The report-definition reader: which report runs, what a definition means, and that every fault in a
// file is refused with its file, line and column before anything is drawn.

#include "report/DefinitionReader.h"
#include "report/ReportError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

const QString Label = QStringLiteral("/data/RANTEBOU.rav");

// A whole definition whose single title band (line 5) holds body on line 6.
QByteArray withItems(const QByteArray& body, const QByteArray& projectExtras = {}) {
    return "<project>\n"
           "<connection name=\"C\"/>" +
           projectExtras +
           "\n"
           "<report name=\"R\">\n"
           "<page size=\"A4\" margin=\"10\"/>\n"
           "<title height=\"20\">\n" +
           body +
           "\n"
           "</title>\n"
           "</report>\n"
           "</project>\n";
}

ProjectDefinition read(const QByteArray& xml, const QString& baseDir = QDir::tempPath()) {
    return DefinitionReader::readBytes(xml, Label, baseDir);
}

} // namespace

class DefinitionReaderTest : public QObject {
    Q_OBJECT
private slots:
    void activeReport_data();
    void activeReport();
    void refusesFaults_data();
    void refusesFaults();
    void pageSizes_data();
    void pageSizes();
    void stylesAndDefaults();
    void fieldConnectionDefaults();
    void imagesEmbeddedAndLinked();
    void readFileNamesUnreadableFile();
    void hostileDefinitionsAreRefused_data();
    void hostileDefinitionsAreRefused();
    void capsHoldAtTheirEdge();
    void fuzzCorpusIsValid_data();
    void fuzzCorpusIsValid();
};

void DefinitionReaderTest::activeReport_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("active");

    const QByteArray reports = "<report name=\"First\"/><report name=\"Second\"/><report name=\"Third\"/>";
    QTest::newRow("named") << "<project active=\"Second\">" + reports + "</project>"
                           << "Second";
    QTest::newRow("named last") << "<project active=\"Third\">" + reports + "</project>"
                                << "Third";
    QTest::newRow("none named: the first") << "<project>" + reports + "</project>"
                                           << "First";
    QTest::newRow("empty name: the first") << "<project active=\" \">" + reports + "</project>"
                                           << "First";
    QTest::newRow("only one") << QByteArray("<project><report name=\"Only\"/></project>") << "Only";
}

void DefinitionReaderTest::activeReport() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, active);
    QCOMPARE(read(xml).activeReport().name, active);
}

void DefinitionReaderTest::refusesFaults_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("what");

    // Syntax, as the XML reader finds it.
    QTest::newRow("tag left open") << QByteArray("<project>\n<report name=\"R\">\n</project>") << 3 << 10
                                   << "Opening and ending tag mismatch";
    QTest::newRow("not XML at all") << QByteArray("RANTEBOU") << 1 << 1 << "Start tag expected";
    QTest::newRow("empty file") << QByteArray() << 1 << 0 << "Premature end of document";
    QTest::newRow("attribute without quotes")
        << withItems("<text x=1 y=\"0\" width=\"5\" height=\"5\">a</text>") << 6 << 9 << "";
    QTest::newRow("undeclared entity") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\">&nbsp;</text>") << 6
                                       << 45 << "nbsp";

    // Elements and attributes.
    QTest::newRow("wrong root") << QByteArray("<?xml version=\"1.0\"?>\n<reports/>") << 2 << 10
                                << "the root element must be <project>, not <reports>";
    QTest::newRow("unknown element in project")
        << withItems("", "<font/>") << 2 << 29 << "unknown element <font> inside <project>";
    QTest::newRow("unknown element in band")
        << withItems("<circle x=\"1\"/>") << 6 << 15 << "unknown element <circle> inside <title>";
    QTest::newRow("unknown band") << QByteArray("<project>\n<report name=\"R\">\n<body height=\"5\"/>") << 3 << 18
                                  << "unknown element <body> inside <report>";
    QTest::newRow("element inside text") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\"><b/></text>") << 6
                                         << 43 << "Expected character data";
    QTest::newRow("text between bands") << withItems("  stray words") << 6 << 3 << "unexpected text inside <title>";
    QTest::newRow("unknown attribute") << withItems("<text x=\"0\" y=\"0\" widht=\"5\" height=\"5\">a</text>") << 6
                                       << 39 << "unknown attribute \"widht\" on <text>";
    QTest::newRow("missing attribute") << withItems("<field x=\"0\" y=\"0\" width=\"5\" height=\"5\"/>") << 6 << 41
                                       << "<field> lacks the attribute \"column\"";
    QTest::newRow("empty attribute") << withItems("<field x=\"0\" y=\"0\" width=\"5\" height=\"5\" column=\" \"/>") << 6
                                     << 52 << "the attribute \"column\" of <field> is empty";
    QTest::newRow("line without x2") << withItems("<line x1=\"0\" y1=\"0\" y2=\"5\"/>") << 6 << 28
                                     << "<line> lacks the attribute \"x2\"";
    QTest::newRow("version 2") << QByteArray("<project version=\"2\"><report name=\"R\"/></project>") << 1 << 21
                               << "reads version 1 of the format, not \"2\"";
    QTest::newRow("page after a band")
        << QByteArray("<project>\n<report name=\"R\">\n<title height=\"5\"/>\n<page size=\"A4\"/>") << 4 << 17
        << "<page> must come before the bands";
    QTest::newRow("second page footer")
        << QByteArray("<project>\n<report name=\"R\">\n<pagefooter height=\"5\"/>\n<pagefooter height=\"5\"/>") << 4
        << 24 << "the report \"R\" has a second <pagefooter>";

    // Numbers, colours, choices.
    QTest::newRow("decimal comma") << withItems("<text x=\"1,5\" y=\"0\" width=\"5\" height=\"5\">a</text>") << 6 << 41
                                   << "the attribute \"x\" of <text> holds \"1,5\", which is not a number";
    QTest::newRow("word for a number") << withItems("<rect x=\"0\" y=\"0\" width=\"wide\" height=\"5\"/>") << 6 << 43
                                       << "holds \"wide\", which is not a number";
    QTest::newRow("infinite number") << withItems("<rect x=\"0\" y=\"0\" width=\"inf\" height=\"5\"/>") << 6 << 42
                                     << "holds \"inf\", which is not a number";
    QTest::newRow("negative position") << withItems("<rect x=\"-1\" y=\"0\" width=\"5\" height=\"5\"/>") << 6 << 41
                                       << "the attribute \"x\" of <rect> is -1; it must lie between 0 and 10000";
    QTest::newRow("zero font size") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\" size=\"0\">a</text>")
                                    << 6 << 48 << "the attribute \"size\" of <text> is 0";
    QTest::newRow("colour name") << withItems("<rect x=\"0\" y=\"0\" width=\"5\" height=\"5\" fill=\"blue\"/>") << 6
                                 << 52 << "holds \"blue\", which is not a colour";
    QTest::newRow("colour of 5 digits") << withItems("<line x1=\"0\" y1=\"0\" x2=\"5\" y2=\"5\" color=\"#12345\"/>")
                                        << 6 << 50 << "which is not a colour";
    QTest::newRow("bad boolean") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\" bold=\"maybe\">a</text>")
                                 << 6 << 52 << "holds \"maybe\"; write true or false";
    QTest::newRow("bad alignment") << withItems(
                                          "<text x=\"0\" y=\"0\" width=\"5\" height=\"5\" align=\"middle\">a</text>")
                                   << 6 << 54 << "write one of: left, center, right";
    QTest::newRow("custom page without width")
        << QByteArray("<project>\n<report name=\"R\">\n<page size=\"custom\" height=\"100\"/>") << 3 << 34
        << "<page> lacks the attribute \"width\"";
    QTest::newRow("width with A4") << QByteArray("<project>\n<report name=\"R\">\n<page size=\"A4\" width=\"100\"/>")
                                   << 3 << 29 << "width and height are given only with size=\"custom\"";
    QTest::newRow("margins leave no room")
        << QByteArray("<project>\n<report name=\"R\">\n<page size=\"A4\" margin-left=\"105\" margin-right=\"105\"/>")
        << 3 << 54 << "the margins leave no room on a 210 x 297 mm page";

    // Geometry.
    QTest::newRow("band taller than the page")
        << QByteArray("<project>\n<report name=\"R\">\n<page size=\"A4\" margin=\"10\"/>\n<title height=\"278\"/>") << 4
        << 21 << "the band is 278 mm high but a page has 277 mm for it";
    QTest::newRow("footer leaves a band no room")
        << QByteArray("<project>\n<report name=\"R\">\n<page size=\"A4\" margin=\"10\"/>\n<detail height=\"270\" "
                      "connection=\"C\"/>\n<pagefooter height=\"10\"/>")
        << 5 << 25 << "with this <pagefooter> the 270 mm band at line 4 no longer fits on a page";
    QTest::newRow("header and footer fill the page")
        << QByteArray(
               "<project>\n<report name=\"R\">\n<page size=\"A4\" margin=\"10\"/>\n<pageheader height=\"200\"/>\n"
               "<pagefooter height=\"77\"/>")
        << 5 << 25 << "a 77 mm <pagefooter> leaves no room for the body of a page 277 mm high";
    QTest::newRow("item below its band") << withItems("<rect x=\"0\" y=\"15\" width=\"5\" height=\"6\"/>") << 6 << 41
                                         << "the item reaches 21 mm down, below its 20 mm band";
    QTest::newRow("line below its band") << withItems("<line x1=\"0\" y1=\"0\" x2=\"5\" y2=\"20.5\"/>") << 6 << 38
                                         << "the item reaches 20.5 mm down, below its 20 mm band";
    QTest::newRow("item past the page's edge") << withItems("<rect x=\"190\" y=\"0\" width=\"10.5\" height=\"6\"/>")
                                               << 6 << 45 << "past the page's edge at 200 mm";

    // Names.
    QTest::newRow("active report missing")
        << QByteArray("<project active=\"Week\">\n<report name=\"Day\"/>\n</project>") << 1 << 23
        << "the project names \"Week\" as its active report, but holds no report of that name";
    QTest::newRow("no report") << QByteArray("<project>\n<connection name=\"C\"/>\n</project>") << 1 << 9
                               << "the project holds no <report>";
    QTest::newRow("report twice") << QByteArray("<project>\n<report name=\"R\"/>\n<report name=\"R\"/>") << 3 << 18
                                  << "the report \"R\" is declared twice";
    QTest::newRow("unknown style") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\" style=\"big\">a</text>")
                                   << 6 << 51 << "unknown style \"big\"";
    QTest::newRow("field on an unknown connection")
        << withItems("<field x=\"0\" y=\"0\" width=\"5\" height=\"5\" connection=\"Other\" column=\"A\"/>") << 6 << 71
        << "the data connection \"Other\" is not declared by the project (declared: C)";
    QTest::newRow("detail on an unknown connection")
        << QByteArray("<project>\n<report name=\"R\">\n<detail height=\"5\" connection=\"RvDataSetConnection1\"/>\n"
                      "</report></project>")
        << 3 << 54 << "the data connection \"RvDataSetConnection1\" is not declared by the project (declared: none)";
    QTest::newRow("field needs a connection among two")
        << withItems("<field x=\"0\" y=\"0\" width=\"5\" height=\"5\" column=\"A\"/>", "<connection name=\"D\"/>") << 6
        << 52 << "the <field> must name its data connection, since the project declares more than one";

    // Pictures.
    QTest::newRow("image with neither picture nor file")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\"/>") << 6 << 41
        << "either a src attribute or base64 text";
    QTest::newRow("image with both")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\" src=\"a.png\">iVBORw0KGgo=</image>") << 6 << 52
        << "either a src attribute or base64 text";
    QTest::newRow("image text not base64")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\">not*base64</image>") << 6 << 40
        << "the text of the <image> is not base64";
    QTest::newRow("image file missing")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\" src=\"no/such/logo.png\"/>") << 6 << 64
        << "logo.png\" does not exist";
}

void DefinitionReaderTest::refusesFaults() {
    QFETCH(QByteArray, xml);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, what);
    try {
        read(xml);
        QFAIL("the definition was taken");
    } catch (const ReportError& error) {
        const QString expected = QStringLiteral("Cannot read the report definition \"%1\": line %2, column %3: ")
                                     .arg(Label)
                                     .arg(line)
                                     .arg(column);
        QVERIFY2(error.text().startsWith(expected), qPrintable(error.text()));
        QVERIFY2(error.text().contains(what), qPrintable(error.text()));
        QCOMPARE(QString::fromUtf8(error.what()), error.text());
    }
}

void DefinitionReaderTest::pageSizes_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("printableWidth");

    QTest::newRow("default") << QByteArray("") << 210.0 << 297.0 << 190.0;
    QTest::newRow("A4 portrait") << QByteArray("<page size=\"a4\" margin=\"15\"/>") << 210.0 << 297.0 << 180.0;
    QTest::newRow("A4 landscape") << QByteArray("<page size=\"A4\" orientation=\"landscape\" margin=\"0\"/>") << 297.0
                                  << 210.0 << 297.0;
    QTest::newRow("Letter") << QByteArray("<page size=\"Letter\" margin-left=\"20\" margin-right=\"5.9\"/>") << 215.9
                            << 279.4 << 190.0;
    QTest::newRow("custom landscape")
        << QByteArray("<page size=\"custom\" width=\"100\" height=\"150\" orientation=\"landscape\" margin=\"5\"/>")
        << 150.0 << 100.0 << 140.0;
}

void DefinitionReaderTest::pageSizes() {
    QFETCH(QByteArray, page);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, printableWidth);
    const ProjectDefinition project = read("<project><report name=\"R\">" + page + "</report></project>");
    const PageSetup& setup = project.activeReport().page;
    QCOMPARE(setup.pageWidth(), width);
    QCOMPARE(setup.pageHeight(), height);
    QVERIFY(qAbs(setup.printableWidth() - printableWidth) < 1e-9);
}

// An item starts from the defaults, takes its style's attributes and then its own.
void DefinitionReaderTest::stylesAndDefaults() {
    const ProjectDefinition project =
        read(withItems("<text x=\"0\" y=\"0\" width=\"50\" height=\"5\" style=\"big\" italic=\"yes\" color=\"#00f\">  "
                       "Ραντεβού\n</text>\n"
                       "<text x=\"0\" y=\"5\" width=\"50\" height=\"5\">plain</text>\n"
                       "<pagenumber x=\"0\" y=\"10\" width=\"50\" height=\"5\"/>",
                       "<style name=\"big\" font=\"DejaVu Sans\" size=\"18.5\" bold=\"true\" color=\"#80102030\" "
                       "align=\"right\" wrap=\"true\" background=\"#eeeeee\"/>"));
    const QList<ReportItem>& items = project.activeReport().bands.first().items;
    QCOMPARE(items.size(), 3);

    const TextStyle& styled = items[0].style;
    QCOMPARE(items[0].text, QStringLiteral("Ραντεβού"));
    QCOMPARE(styled.fontFamily, QStringLiteral("DejaVu Sans"));
    QCOMPARE(styled.pointSize, 18.5);
    QVERIFY(styled.bold);
    QVERIFY(styled.italic);
    QCOMPARE(styled.color, 0xff0000ffu);
    QCOMPARE(styled.background, std::optional<quint32>(0xffeeeeeeu));
    QCOMPARE(styled.align, HorizontalAlign::Right);
    QVERIFY(styled.wrap);

    const TextStyle& plain = items[1].style;
    QCOMPARE(plain.fontFamily, QStringLiteral("Liberation Sans"));
    QCOMPARE(plain.pointSize, 10.0);
    QVERIFY(!plain.bold);
    QCOMPARE(plain.color, 0xff000000u);
    QVERIFY(!plain.background);

    QCOMPARE(items[2].kind, ItemKind::PageNumber);
    QCOMPARE(items[2].text, QStringLiteral("{page} / {pages}"));
}

// A field names its connection, or takes its detail band's, or the project's only one.
void DefinitionReaderTest::fieldConnectionDefaults() {
    const QByteArray xml = "<project>\n<connection name=\"Rows\"/><connection name=\"Head\"/>\n"
                           "<report name=\"R\">\n"
                           "<title height=\"10\"><field x=\"0\" y=\"0\" width=\"5\" height=\"5\" connection=\"Head\" "
                           "column=\"A\"/></title>\n"
                           "<detail height=\"10\" connection=\"Rows\"><field x=\"0\" y=\"0\" width=\"5\" height=\"5\" "
                           "column=\"B\"/></detail>\n"
                           "</report></project>";
    const ProjectDefinition two = read(xml);
    QCOMPARE(two.activeReport().bands[0].items[0].connection, QStringLiteral("Head"));
    QCOMPARE(two.activeReport().bands[1].items[0].connection, QStringLiteral("Rows"));

    const ProjectDefinition one = read(withItems("<field x=\"0\" y=\"0\" width=\"5\" height=\"5\" column=\"A\"/>"));
    QCOMPARE(one.activeReport().bands[0].items[0].connection, QStringLiteral("C"));
}

// Embedded pictures are decoded from base64 (line breaks allowed); linked ones are read relative to the
// definition's folder when it loads.
void DefinitionReaderTest::imagesEmbeddedAndLinked() {
    const QByteArray bytes("\x89PNG\r\n\x1a\n-picture-bytes-", 23);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("pictures")));
    QFile file(dir.filePath(QStringLiteral("pictures/seal.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    QByteArray base64 = bytes.toBase64();
    base64.insert(8, "\n   ");
    const ProjectDefinition project =
        read(withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\" fit=\"stretch\">" + base64 +
                       "</image>\n<image x=\"5\" y=\"0\" width=\"5\" height=\"5\" src=\"pictures/seal.png\"/>"),
             dir.path());
    const QList<ReportItem>& items = project.activeReport().bands.first().items;
    QCOMPARE(items[0].imageData, bytes);
    QCOMPARE(items[0].fit, ImageFit::Stretch);
    QCOMPARE(items[1].imageData, bytes);
    QCOMPARE(items[1].fit, ImageFit::KeepAspect);
}

void DefinitionReaderTest::readFileNamesUnreadableFile() {
    QTemporaryDir dir;
    try {
        DefinitionReader::readFile(dir.path());
        QFAIL("a folder was read as a definition");
    } catch (const ReportError& error) {
        QCOMPARE(error.text(),
                 QStringLiteral("Cannot read the report definition \"%1\": it is a folder, not an ordinary file.")
                     .arg(dir.path()));
    }
}

void DefinitionReaderTest::hostileDefinitionsAreRefused_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("what");

    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE project [\n<!ENTITY l0 \"ha\">\n";
    for (int i = 1; i <= 9; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    laughs += "]>\n";
    QTest::newRow("billion laughs") << laughs + withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\">&l9;</text>")
                                    << "than the entity expansion limit.";
    QTest::newRow("external entity")
        << "<?xml version=\"1.0\"?>\n<!DOCTYPE project [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n" +
               withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\">&x;</text>")
        << "";
    QTest::newRow("10,000 deep") << QByteArray("<project>") + QByteArray("<report name=\"R\">").repeated(10'000)
                                 << "unknown element <report> inside <report>";
    QTest::newRow("10,000 deep, not ours")
        << QByteArray("<a>").repeated(10'000) << "the root element must be <project>, not <a>";
    QTest::newRow("number past a double") << withItems("<rect x=\"1e999\" y=\"0\" width=\"5\" height=\"5\"/>")
                                          << "holds \"1e999\", which is not a number";
    QTest::newRow("huge number") << withItems("<rect x=\"1e308\" y=\"0\" width=\"5\" height=\"5\"/>")
                                 << "it must lie between 0 and 10000";
    QTest::newRow("tiny font") << withItems("<text x=\"0\" y=\"0\" width=\"5\" height=\"5\" size=\"1e-320\">a</text>")
                               << "it must lie between 1 and 500";
#ifdef Q_OS_WIN
    // Windows' device names stand in every folder, whatever the extension.
    QTest::newRow("picture named as a device")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\" src=\"con.png\"/>")
        << "is a device, not an ordinary file";
#else
    QTest::newRow("picture up and out to a device")
        << withItems("<image x=\"0\" y=\"0\" width=\"5\" height=\"5\" "
                     "src=\"../../../../../../../../../../../../dev/zero\"/>")
        << "is a device, not an ordinary file";
#endif
}

// What an entity, a depth, a number or a path can do to the reader: at most a refusal with its reason.
// Entities are never expanded into a sheet (an empty "what" expects a refusal of any kind, since what
// matters is that neither the laughs nor the file reach the text).
void DefinitionReaderTest::hostileDefinitionsAreRefused() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, what);
    try {
        const ProjectDefinition project = read(xml, QDir::tempPath());
        const QString text = project.activeReport().bands.first().items.first().text;
        QVERIFY2(text.size() < 100 && !text.contains(QStringLiteral("root:")), qPrintable(text.left(200)));
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(what), qPrintable(error.text()));
    }
}

// The caps hold at their edge, and a duplicate among many names is still found (by a set of the names
// seen, not by rescanning them: the time this takes is bounded in tst_report_bounds).
void DefinitionReaderTest::capsHoldAtTheirEdge() {
    QByteArray reports = "<project>";
    for (int i = 0; i < DefinitionReader::MaxElements - 1; ++i)
        reports += "<report name=\"R" + QByteArray::number(i) + "\"/>";
    QCOMPARE(read(reports + "</project>").reports.size(), DefinitionReader::MaxElements - 1);
    try {
        read(reports + "<report name=\"one too many\"/></project>");
        QFAIL("the elements past the cap were read");
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(QStringLiteral("holds more than 100000 elements")), qPrintable(error.text()));
    }
    try {
        read(QByteArray(DefinitionReader::MaxDefinitionBytes + 1, ' '));
        QFAIL("a definition past the size cap was read");
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(QStringLiteral("is larger than the 16 MB it may be")), qPrintable(error.text()));
    }
    QByteArray duplicate = "<project>";
    for (int i = 0; i < 50'000; ++i)
        duplicate += "<connection name=\"C" + QByteArray::number(i) + "\"/>";
    duplicate += "<connection name=\"C17\"/><report name=\"R\"/></project>";
    try {
        read(duplicate);
        QFAIL("a connection declared twice was taken");
    } catch (const ReportError& error) {
        QVERIFY2(error.text().contains(QStringLiteral("line 1, column ")) &&
                     error.text().contains(QStringLiteral("the data connection \"C17\" is declared twice")),
                 qPrintable(error.text()));
    }
}

void DefinitionReaderTest::fuzzCorpusIsValid_data() {
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(ORVELLA_FUZZ_CORPUS));
    for (const QString& name : corpus.entryList({QStringLiteral("*.rav")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    QVERIFY(corpus.entryList({QStringLiteral("*.rav")}, QDir::Files).size() >= 3);
}

// The fuzzer starts from valid definitions; one that rotted would start it from a refusal.
void DefinitionReaderTest::fuzzCorpusIsValid() {
    QFETCH(QString, path);
    const ProjectDefinition project = DefinitionReader::readFile(path);
    QVERIFY(!project.reports.isEmpty());
}

QTEST_GUILESS_MAIN(DefinitionReaderTest)
#include "DefinitionReaderTest.moc"
