// Laying reports out: bands flowing down pages and breaking between rows, page numbers, what data fields
// print, the data checks made before any output, and which pages an output holds.

#include "report/DefinitionReader.h"
#include "report/MemoryDataset.h"
#include "report/PageSelection.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ValueFormat.h"

#include <QDate>
#include <QDateTime>
#include <QTest>

using namespace report;

namespace {

const QString Label = QStringLiteral("/reports/list.rav");

// A 100 x 100 mm page with 10 mm margins: 80 mm of printable height, of which header and footer take
// 10 mm each when present.
QByteArray listDefinition(double titleHeight, double detailHeight, bool header, bool footer) {
    QByteArray xml = "<project>\n<connection name=\"Rows\"/>\n<connection name=\"Head\"/>\n<report name=\"List\">\n"
                     "<page size=\"custom\" width=\"100\" height=\"100\" margin=\"10\"/>\n";
    if (header)
        xml +=
            "<pageheader height=\"10\"><text x=\"0\" y=\"0\" width=\"80\" height=\"10\">HEADER</text></pageheader>\n";
    if (titleHeight > 0)
        xml += "<title height=\"" + QByteArray::number(titleHeight) +
               "\"><field x=\"0\" y=\"0\" width=\"80\" height=\"5\" connection=\"Head\" column=\"caption\"/></title>\n";
    const QByteArray fieldHeight = QByteArray::number(std::min(5.0, detailHeight));
    xml += "<detail height=\"" + QByteArray::number(detailHeight) +
           "\" connection=\"Rows\">"
           "<field x=\"0\" y=\"0\" width=\"40\" height=\"" +
           fieldHeight +
           "\" column=\"name\"/>"
           "<field x=\"40\" y=\"0\" width=\"40\" height=\"" +
           fieldHeight + "\" connection=\"Head\" column=\"caption\"/></detail>\n";
    if (footer)
        xml += "<pagefooter height=\"10\"><pagenumber x=\"0\" y=\"0\" width=\"80\" height=\"10\">p{page}/{pages} "
               "({page})</pagenumber></pagefooter>\n";
    return xml + "</report>\n</project>\n";
}

// The texts of the items on a page placed by the given band's first field, i.e. those at x == 10 mm
// and of kind Field, in order.
QStringList detailTexts(const LaidOutPage& page) {
    QStringList texts;
    for (const PlacedItem& placed : page.items)
        if (placed.item.kind == ItemKind::Field && placed.item.column == u"name")
            texts.append(placed.text);
    return texts;
}

MemoryDataset rows(int count) {
    MemoryDataset data({QStringLiteral("id"), QStringLiteral("name")});
    for (int i = 1; i <= count; ++i)
        data.appendRow({i, QStringLiteral("row %1").arg(i)});
    return data;
}

} // namespace

class ReportLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void pagesBreakBetweenRows_data();
    void pagesBreakBetweenRows();
    void bandPositions();
    void fieldsOutsideTheirRows();
    void dataChecks_data();
    void dataChecks();
    void formatValue_data();
    void formatValue();
    void pageSelection_data();
    void pageSelection();
    void pageSelectionRefuses_data();
    void pageSelectionRefuses();
};

void ReportLayoutTest::pagesBreakBetweenRows_data() {
    QTest::addColumn<double>("title");
    QTest::addColumn<double>("detail");
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("footer");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("rowsPerPage");

    // With header and footer the body is 60 mm; a 15 mm title leaves 45 mm (4 rows of 10) on page 1.
    QTest::newRow("no rows: one page") << 15.0 << 10.0 << true << true << 0 << QList<int>{0};
    QTest::newRow("rows fill page 1") << 15.0 << 10.0 << true << true << 4 << QList<int>{4};
    QTest::newRow("one row over") << 15.0 << 10.0 << true << true << 5 << QList<int>{4, 1};
    QTest::newRow("three pages exactly") << 15.0 << 10.0 << true << true << 16 << QList<int>{4, 6, 6};
    QTest::newRow("fourth page for one row") << 15.0 << 10.0 << true << true << 17 << QList<int>{4, 6, 6, 1};
    // 7.5 mm rows fill 60 mm exactly: the eighth row fits, the ninth does not.
    QTest::newRow("exact fit in decimals") << 0.0 << 7.5 << true << true << 8 << QList<int>{8};
    QTest::newRow("exact fit plus one") << 0.0 << 7.5 << true << true << 9 << QList<int>{8, 1};
    // 50 rows of 1.2 mm add up to a hair over 60 mm in binary fractions; they still fill exactly one page.
    QTest::newRow("exact fit despite rounding") << 0.0 << 1.2 << true << true << 50 << QList<int>{50};
    QTest::newRow("exact fit despite rounding, plus one") << 0.0 << 1.2 << true << true << 51 << QList<int>{50, 1};
    // No header or footer: 80 mm of body.
    QTest::newRow("no header or footer") << 0.0 << 20.0 << false << false << 9 << QList<int>{4, 4, 1};
    QTest::newRow("title fills page 1") << 80.0 << 20.0 << false << false << 2 << QList<int>{0, 2};
    QTest::newRow("many rows") << 0.0 << 0.5 << false << false << 1000 << QList<int>{160, 160, 160, 160, 160, 160, 40};
}

// Rows never split, keep their order, and each page's numbers say where it stands.
void ReportLayoutTest::pagesBreakBetweenRows() {
    QFETCH(double, title);
    QFETCH(double, detail);
    QFETCH(bool, header);
    QFETCH(bool, footer);
    QFETCH(int, rowCount);
    QFETCH(QList<int>, rowsPerPage);

    const ProjectDefinition project =
        DefinitionReader::readBytes(listDefinition(title, detail, header, footer), Label, {});
    const MemoryDataset data = rows(rowCount);
    MemoryDataset head({QStringLiteral("caption")});
    head.appendRow({QStringLiteral("Heading")});
    QList<int> started;
    const LaidOutReport out =
        ReportLayouter::layOut(project, {{QStringLiteral("Rows"), &data}, {QStringLiteral("Head"), &head}},
                               [&started](int page) { started.append(page); });

    QCOMPARE(out.pages.size(), rowsPerPage.size());
    QCOMPARE(started.size(), rowsPerPage.size());
    QCOMPARE(started.last(), static_cast<int>(rowsPerPage.size()));
    int next = 1;
    for (int p = 0; p < out.pages.size(); ++p) {
        const QStringList texts = detailTexts(out.pages[p]);
        QCOMPARE(texts.size(), rowsPerPage[p]);
        for (const QString& text : texts)
            QCOMPARE(text, QStringLiteral("row %1").arg(next++));
        int headers = 0;
        QString number;
        for (const PlacedItem& placed : out.pages[p].items) {
            headers += placed.text == u"HEADER" ? 1 : 0;
            if (placed.item.kind == ItemKind::PageNumber)
                number = placed.text;
            // Nothing is drawn between the body and the footer, nor below the bottom margin.
            if (placed.item.kind == ItemKind::Field)
                QVERIFY(placed.item.bottom() <= 90.0 - (footer ? 10.0 : 0.0) + 1e-9);
        }
        QCOMPARE(headers, header ? 1 : 0);
        QCOMPARE(number, footer ? QStringLiteral("p%1/%2 (%1)").arg(p + 1).arg(out.pages.size()) : QString());
    }
    QCOMPARE(next, rowCount + 1);
}

// Bands are placed from the top margin down, items moved by the left margin; the footer sits on the
// bottom margin on every page.
void ReportLayoutTest::bandPositions() {
    const ProjectDefinition project = DefinitionReader::readBytes(listDefinition(15.0, 10.0, true, true), Label, {});
    const MemoryDataset data = rows(6);
    MemoryDataset head({QStringLiteral("caption")});
    const LaidOutReport out =
        ReportLayouter::layOut(project, {{QStringLiteral("Rows"), &data}, {QStringLiteral("Head"), &head}});
    QCOMPARE(out.pages.size(), 2);
    QList<double> tops;
    for (const PlacedItem& placed : out.pages[0].items)
        tops.append(placed.item.y);
    // header 10, title 20, rows 35 45 55 65 (two fields each), footer 80
    QCOMPARE(tops, (QList<double>{10, 20, 35, 35, 45, 45, 55, 55, 65, 65, 80}));
    QCOMPARE(out.pages[0].items[2].item.x, 10.0);
    QCOMPARE(out.pages[0].items[3].item.x, 50.0);
    QCOMPARE(out.pages[1].items[1].item.y, 20.0);
    QCOMPARE(out.pages[1].items.last().item.y, 80.0);
}

// A field of another connection, or outside a detail band, shows its connection's first row; with no
// rows it shows nothing.
void ReportLayoutTest::fieldsOutsideTheirRows() {
    const ProjectDefinition project = DefinitionReader::readBytes(listDefinition(15.0, 10.0, false, false), Label, {});
    const MemoryDataset data = rows(3);
    MemoryDataset head({QStringLiteral("CAPTION")});
    head.appendRow({QStringLiteral("first")});
    head.appendRow({QStringLiteral("second")});
    const LaidOutReport out =
        ReportLayouter::layOut(project, {{QStringLiteral("Rows"), &data}, {QStringLiteral("Head"), &head}});
    QStringList captions;
    for (const PlacedItem& placed : out.pages[0].items)
        if (placed.item.connection == u"Head")
            captions.append(placed.text);
    QCOMPARE(captions, (QStringList{QStringLiteral("first"), QStringLiteral("first"), QStringLiteral("first"),
                                    QStringLiteral("first")}));

    const MemoryDataset noHead({QStringLiteral("caption")});
    const LaidOutReport empty =
        ReportLayouter::layOut(project, {{QStringLiteral("Rows"), &data}, {QStringLiteral("Head"), &noHead}});
    for (const PlacedItem& placed : empty.pages[0].items)
        if (placed.item.connection == u"Head")
            QCOMPARE(placed.text, QString());
}

void ReportLayoutTest::dataChecks_data() {
    QTest::addColumn<bool>("bindRows");
    QTest::addColumn<bool>("bindHead");
    QTest::addColumn<QStringList>("rowColumns");
    QTest::addColumn<QString>("error");

    const QStringList good{QStringLiteral("id"), QStringLiteral("name")};
    QTest::newRow("all bound") << true << true << good << QString();
    QTest::newRow("column differing in case")
        << true << true << QStringList{QStringLiteral("ID"), QStringLiteral("Name")} << QString();
    QTest::newRow("detail's connection unbound")
        << false << true << good << "line 7, column 38: no data is bound to the data connection \"Rows\"";
    QTest::newRow("title's connection unbound")
        << true << false << good << "line 6, column 96: no data is bound to the data connection \"Head\"";
    QTest::newRow("column missing") << true << true << QStringList{QStringLiteral("id"), QStringLiteral("title")}
                                    << "line 7, column 94: the data connection \"Rows\" has no column \"name\"";
}

// Data that does not fit the definition is refused before layout, naming the report, the file, where the
// item stands and what is missing.
void ReportLayoutTest::dataChecks() {
    QFETCH(bool, bindRows);
    QFETCH(bool, bindHead);
    QFETCH(QStringList, rowColumns);
    QFETCH(QString, error);

    const ProjectDefinition project = DefinitionReader::readBytes(listDefinition(15.0, 10.0, false, false), Label, {});
    MemoryDataset data(rowColumns);
    data.appendRow({1, QStringLiteral("one")});
    MemoryDataset head({QStringLiteral("caption")});
    DataConnections bound;
    if (bindRows)
        bound.insert(QStringLiteral("Rows"), &data);
    if (bindHead)
        bound.insert(QStringLiteral("Head"), &head);
    // Binding a connection the project does not declare changes nothing.
    bound.insert(QStringLiteral("Elsewhere"), &data);
    try {
        const LaidOutReport out = ReportLayouter::layOut(project, bound);
        QVERIFY2(error.isEmpty(), "the data was taken");
        QCOMPARE(detailTexts(out.pages[0]), QStringList{QStringLiteral("one")});
    } catch (const ReportError& e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.text()));
        QCOMPARE(e.text(), QStringLiteral("Cannot run the report \"List\" of \"%1\": %2.").arg(Label, error));
    }
}

void ReportLayoutTest::formatValue_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");

    QTest::newRow("date, d/M/yyyy") << QVariant(QDate(2010, 3, 5)) << "d/M/yyyy"
                                    << "5/3/2010";
    QTest::newRow("date, dd.MM.yy") << QVariant(QDate(2035, 12, 31)) << "dd.MM.yy"
                                    << "31.12.35";
    QTest::newRow("date, no format") << QVariant(QDate(2008, 1, 9)) << ""
                                     << "2008-01-09";
    QTest::newRow("invalid date") << QVariant(QDate()) << "d/M/yyyy"
                                  << "";
    QTest::newRow("date-time") << QVariant(QDateTime(QDate(2010, 3, 5), QTime(8, 30))) << "d/M/yyyy HH:mm"
                               << "5/3/2010 08:30";
    QTest::newRow("time") << QVariant(QTime(21, 30)) << "H:mm"
                          << "21:30";
    QTest::newRow("ISO date as text") << QVariant(QStringLiteral("2012-02-29")) << "d/M/yyyy"
                                      << "29/2/2012";
    QTest::newRow("ISO date-time as text") << QVariant(QStringLiteral("2012-02-29T10:15:00")) << "d/M/yyyy"
                                           << "29/2/2012";
    QTest::newRow("text that is no date") << QVariant(QStringLiteral("2012-02-30")) << "d/M/yyyy"
                                          << "2012-02-30";
    QTest::newRow("Greek text") << QVariant(QStringLiteral("Παπαδόπουλος  ")) << ""
                                << "Παπαδόπουλος  ";
    QTest::newRow("null text") << QVariant(QMetaType(QMetaType::QString)) << ""
                               << "";
    QTest::newRow("no value") << QVariant() << "d/M/yyyy"
                              << "";
    QTest::newRow("number") << QVariant(28) << ""
                            << "28";
    QTest::newRow("decimal") << QVariant(2.5) << "d/M/yyyy"
                             << "2.5";
}

void ReportLayoutTest::formatValue() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(report::formatValue(value, format), text);
}

void ReportLayoutTest::pageSelection_data() {
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<QList<int>>("previewed");

    QTest::newRow("all, once") << 3 << 1 << 0 << 0 << QList<int>{0, 1, 2} << QList<int>{0, 1, 2};
    QTest::newRow("all, twice, collated") << 2 << 2 << 0 << 0 << QList<int>{0, 1, 0, 1} << QList<int>{0, 1};
    QTest::newRow("range") << 5 << 1 << 2 << 4 << QList<int>{1, 2, 3} << QList<int>{1, 2, 3};
    QTest::newRow("one page, three copies") << 5 << 3 << 5 << 5 << QList<int>{4, 4, 4} << QList<int>{4};
    QTest::newRow("range past the end stops at it") << 3 << 1 << 2 << 9999 << QList<int>{1, 2} << QList<int>{1, 2};
    QTest::newRow("only a last page") << 4 << 1 << 0 << 2 << QList<int>{0, 1} << QList<int>{0, 1};
    QTest::newRow("ninety-nine copies") << 1 << 99 << 0 << 0 << QList<int>(99, 0) << QList<int>{0};
}

void ReportLayoutTest::pageSelection() {
    QFETCH(int, pageCount);
    QFETCH(int, copies);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, pages);
    QFETCH(QList<int>, previewed);
    OutputOptions options;
    options.copies = copies;
    options.fromPage = from;
    options.toPage = to;
    QCOMPARE(selectPages(pageCount, options), pages);
    QCOMPARE(selectPagesOnce(pageCount, options), previewed);
}

void ReportLayoutTest::pageSelectionRefuses_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("error");

    QTest::newRow("no copies") << 0 << 0 << 0 << "The number of copies must lie between 1 and 99, not 0.";
    QTest::newRow("a hundred copies") << 100 << 0 << 0 << "The number of copies must lie between 1 and 99, not 100.";
    QTest::newRow("reversed range") << 1 << 3 << 2 << "The page range 3 to 2 is not a range of pages.";
    QTest::newRow("negative page") << 1 << -1 << 2 << "The page range -1 to 2 is not a range of pages.";
    QTest::newRow("range past the end") << 1 << 4 << 6
                                        << "The report has 3 page(s); the range starting at page 4 holds none of them.";
}

// Choices that would give an empty or wrong output are refused rather than produce nothing quietly.
void ReportLayoutTest::pageSelectionRefuses() {
    QFETCH(int, copies);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, error);
    OutputOptions options;
    options.copies = copies;
    options.fromPage = from;
    options.toPage = to;
    try {
        selectPages(3, options);
        QFAIL("the choice was taken");
    } catch (const ReportError& e) {
        QCOMPARE(e.text(), error);
    }
}

QTEST_GUILESS_MAIN(ReportLayoutTest)
#include "ReportLayoutTest.moc"
