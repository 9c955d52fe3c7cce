// The default day sheet (resources/RANTEBOU.rav) rendered by the engine on its own, read back from the PDF.

#include "tests/report/PdfTools.h"

#include "report/DefinitionReader.h"
#include "report/MemoryDataset.h"
#include "report/ReportError.h"
#include "report/ReportLayouter.h"
#include "report/ReportProject.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

const QString SheetPath = QStringLiteral(ORVELLA_DEFAULT_SHEET);
const QString Connection = QStringLiteral("RvDataSetConnection1");

// "0800-0830" … "2130-2200"
QStringList slotColumns() {
    QStringList columns;
    for (int start = 8 * 60; start < 22 * 60; start += 30) {
        const int end = start + 30;
        columns.append(QStringLiteral("%1%2-%3%4")
                           .arg(start / 60, 2, 10, QLatin1Char('0'))
                           .arg(start % 60, 2, 10, QLatin1Char('0'))
                           .arg(end / 60, 2, 10, QLatin1Char('0'))
                           .arg(end % 60, 2, 10, QLatin1Char('0')));
    }
    return columns;
}

// "08:00 - 08:30" for "0800-0830"
QString timeCaption(const QString& column) {
    return column.left(2) + QLatin1Char(':') + column.mid(2, 2) + QStringLiteral(" - ") + column.mid(5, 2) +
           QLatin1Char(':') + column.mid(7, 2);
}

MemoryDataset emptyRecordSet() {
    return MemoryDataset(QStringList{QStringLiteral("HMEROMHNIA")} + slotColumns());
}

} // namespace

class DaySheetTest : public QObject {
    Q_OBJECT
private slots:
    void definesTheRecordColumnsExactly();
    void printsDateTimesAndEveryText_data();
    void printsDateTimesAndEveryText();
    void sheetWithoutRecordStillPrints();
};

// The sheet reads the record through RvDataSetConnection1 and uses exactly its 29 columns: a dataset lacking
// any of them is refused by name.
void DaySheetTest::definesTheRecordColumnsExactly() {
    const ProjectDefinition project = DefinitionReader::readFile(SheetPath);
    QCOMPARE(project.connections, QStringList{Connection});
    QStringList used;
    for (const ReportBand& band : project.activeReport().bands)
        for (const ReportItem& item : band.items)
            if (item.kind == ItemKind::Field) {
                QCOMPARE(item.connection, Connection);
                used.append(item.column);
            }
    QCOMPARE(used, QStringList{QStringLiteral("HMEROMHNIA")} + slotColumns());

    for (const QString& missing : {QStringLiteral("HMEROMHNIA"), QStringLiteral("1300-1330")}) {
        QStringList columns = QStringList{QStringLiteral("HMEROMHNIA")} + slotColumns();
        columns.removeOne(missing);
        const MemoryDataset lacking(columns);
        try {
            ReportLayouter::checkData(project, {{Connection, &lacking}});
            QFAIL("a dataset without a column of the sheet was taken");
        } catch (const ReportError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("has no column \"%1\"").arg(missing)),
                     qPrintable(error.text()));
        }
    }
}

void DaySheetTest::printsDateTimesAndEveryText_data() {
    QTest::addColumn<QVariant>("date");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<int>("filledEvery");

    QTest::newRow("5 March 2010, every slot") << QVariant(QDate(2010, 3, 5)) << QStringLiteral("5/3/2010") << 1;
    QTest::newRow("31 December 2035, every third slot")
        << QVariant(QDate(2035, 12, 31)) << QStringLiteral("31/12/2035") << 3;
    QTest::newRow("date as ISO text") << QVariant(QStringLiteral("2012-02-29")) << QStringLiteral("29/2/2012") << 2;
}

// Every slot's text (Greek and Latin) and every time caption reach the PDF in order, on one A4 page; the
// null slots still print their rows.
void DaySheetTest::printsDateTimesAndEveryText() {
    if (!PdfTools::available())
        QSKIP("pdftotext/pdfinfo are not installed in /usr/bin (package poppler-utils)");
    QFETCH(QVariant, date);
    QFETCH(QString, dateText);
    QFETCH(int, filledEvery);

    const QStringList columns = slotColumns();
    MemoryDataset data = emptyRecordSet();
    QVariantList row{date};
    QStringList texts;
    for (int i = 0; i < columns.size(); ++i) {
        const QString text = i % 2 == 0 ? QStringLiteral("Παπαδόπουλος %1 ραντεβού").arg(i + 1)
                                        : QStringLiteral("Smith %1 check-up").arg(i + 1);
        row.append(i % filledEvery == 0 ? QVariant(text) : QVariant());
        texts.append(i % filledEvery == 0 ? text : QString());
    }
    data.appendRow(row);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ReportProject project;
    project.setProjectFile(SheetPath);
    project.setDataset(Connection, &data);
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.filePath = pdf;
    QVERIFY(project.execute(options));

    // ORVELLA_REPORT_ARTIFACTS names a folder that keeps the sheets for a person to look at.
    if (const QString keep = qEnvironmentVariable("ORVELLA_REPORT_ARTIFACTS"); !keep.isEmpty())
        QFile::copy(pdf, keep + QStringLiteral("/day-sheet-%1.pdf")
                                    .arg(QTest::currentDataTag())
                                    .replace(QLatin1Char(' '), QLatin1Char('_')));

    QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(1));
    const QString text = PdfTools::text(pdf).value_or(QString());
    QVERIFY2(text.contains(dateText), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Αναλυτική κατάσταση των ραντεβού")));
    QVERIFY(text.contains(QStringLiteral("Σελίδα 1 από 1")));

    // Each row is one line of the text: its time caption, then its text or nothing.
    const QStringList lines = text.split(QLatin1Char('\n'));
    qsizetype previous = -1;
    for (int i = 0; i < columns.size(); ++i) {
        const QString caption = timeCaption(columns[i]);
        qsizetype at = -1;
        for (qsizetype l = previous + 1; l < lines.size() && at < 0; ++l)
            if (lines[l].contains(caption))
                at = l;
        QVERIFY2(at > previous, qPrintable(QStringLiteral("%1 is missing or out of order").arg(caption)));
        const QString rest = lines[at].mid(lines[at].indexOf(caption) + caption.size()).trimmed();
        QCOMPARE(rest, texts[i]);
        previous = at;
    }
}

// No record: one page with the heading, the 28 time rows, no date and no slot text.
void DaySheetTest::sheetWithoutRecordStillPrints() {
    if (!PdfTools::available())
        QSKIP("pdftotext/pdfinfo are not installed in /usr/bin (package poppler-utils)");
    const MemoryDataset data = emptyRecordSet();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    ReportProject project;
    project.setProjectFile(SheetPath);
    project.setDataset(Connection, &data);
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.filePath = pdf;
    QVERIFY(project.execute(options));

    QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(1));
    const QString text = PdfTools::text(pdf).value_or(QString());
    for (const QString& column : slotColumns()) {
        const QString caption = timeCaption(column);
        const auto line = text.split(QLatin1Char('\n')).filter(caption);
        QCOMPARE(line.size(), 1);
        QCOMPARE(line.first().trimmed(), caption);
    }
    QVERIFY(!text.contains(QLatin1Char('/')));
}

QTEST_MAIN(DaySheetTest)
#include "DaySheetTest.moc"
