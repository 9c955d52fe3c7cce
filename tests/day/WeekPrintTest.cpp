// Printing a week on the week sheet and a run of days on the day sheet, to PDF files read back with poppler:
// every slot's text of the week on its one landscape page and long texts inside their cells, one day sheet per
// day in one file, and a folder without the week sheet told what to do while its days still print.
#include "day/WeekPrint.h"
#include "base/OrvellaApplication.h"
#include "day/ReportHost.h"
#include "report/OutputOptions.h"
#include "report/ReportError.h"
#include "store/FilledSlots.h"
#include "store/engine/TableLayout.h"
#include "tests/day/DayTestFile.h"
#include "tests/report/PdfTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

const QDate Monday(2010, 3, 1);

QString dateText(QDate day) {
    return day.toString(QStringLiteral("d/M/yyyy"));
}

// A text of its own for every slot of every day: the weekday's and the slot's numbers, readable in any column.
QString tokenOf(QDate day, int slot) {
    return QStringLiteral("d%1s%2m%3").arg(day.day()).arg(slot, 2, 10, QLatin1Char('0')).arg(day.month());
}

// The week sheet's cell of a weekday (1 Monday … 7 Sunday) and slot, in points, as EBDOMADA.rav places it
// (page margin 10 mm, time column 18 mm, day columns 37 mm, rows of 5.6 mm from 26 mm).
QRectF cellOf(int weekday, int slot) {
    constexpr double point = 72.0 / 25.4;
    return QRectF((10 + 18 + (weekday - 1) * 37) * point, (10 + 26 + slot * 5.6) * point, 37 * point, 5.6 * point);
}

QStringList wordsOf(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

} // namespace

class WeekPrintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DayTestFile> m_file;
    QString m_pdf;

    QString folder() const { return QFileInfo(m_file->path()).absolutePath(); }
    QString weekSheet() const { return WeekPrint::weekSheetOf(folder()); }
    QString daySheet() const { return TForm6::reportFileOf(folder()); }

    report::OutputOptions toPdf() const {
        report::OutputOptions options;
        options.destination = report::OutputOptions::Destination::File;
        options.filePath = m_pdf;
        options.replaceExisting = true;
        return options;
    }

    void fill(QDate first, QDate last) {
        const QStringList& columns = store::slotColumnNames();
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            m_file->ensureDay(dateText(day));
            QList<QPair<QString, QVariant>> values;
            for (int slot = 0; slot < columns.size(); ++slot)
                values.append({columns.at(slot), tokenOf(day, slot)});
            m_file->storeSlots(dateText(day), values);
        }
    }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        if (!PdfTools::available())
            QSKIP("poppler's pdftotext and pdfinfo are not installed");
    }

    void init() {
        m_file = std::make_unique<DayTestFile>();
        QVERIFY(m_file->isValid());
        for (const char* sheet : {TForm6::ReportFileName, WeekPrint::WeekSheetFileName}) {
            const QString at = QDir(folder()).filePath(QLatin1String(sheet));
            QVERIFY(QFile::copy(QStringLiteral(":/orvella/") + QLatin1String(sheet), at));
            QVERIFY(QFile::setPermissions(at, QFile::ReadOwner | QFile::WriteOwner));
        }
        m_pdf = QDir(folder()).filePath(QStringLiteral("out.pdf"));
    }

    void cleanup() { m_file.reset(); }

    // The seven days' 196 texts, each in its day's column and its half hour's row of one landscape A4 page, under
    // the heads with each day's name and date.
    void aWeekPrintsEverySlotInItsCell() {
        fill(Monday, Monday.addDays(6));
        const report::OutputOptions options = toPdf();
        // Any day of the week prints the whole week.
        QVERIFY(WeekPrint::printWeek(nullptr, m_file->connectionText(), Monday.addDays(3), weekSheet(), &options));
        QCOMPARE(PdfTools::pageCount(m_pdf), std::optional<int>(1));
        const QSizeF size = PdfTools::pageSize(m_pdf).value_or(QSizeF());
        QVERIFY2(qAbs(size.width() - 841.9) < 1 && qAbs(size.height() - 595.3) < 1,
                 qPrintable(QString::number(size.width())));
        const QString page = PdfTools::text(m_pdf).value_or(QString());
        for (const char* name : {"Δευτέρα", "Τρίτη", "Τετάρτη", "Πέμπτη", "Παρασκευή", "Σάββατο", "Κυριακή"})
            QVERIFY2(page.contains(QString::fromUtf8(name)), name);
        for (int weekday = 1; weekday <= 7; ++weekday) {
            const QDate day = Monday.addDays(weekday - 1);
            QVERIFY2(page.contains(dateText(day)), qPrintable(dateText(day)));
            for (int slot = 0; slot < 28; ++slot) {
                const QString inCell = PdfTools::areaText(m_pdf, 1, cellOf(weekday, slot)).value_or(QString());
                QCOMPARE(inCell.trimmed(), tokenOf(day, slot));
            }
        }
    }

    // A slot's longest text (255 characters) shrinks and wraps inside its cell and is cut there: no word of it
    // shows outside the cell, and its first words show inside.
    void aLongTextStaysInItsCell() {
        QString longText;
        for (int word = 0; longText.size() + 8 <= 255; ++word)
            longText += QStringLiteral("Λέξη%1 ").arg(word, 2, 10, QLatin1Char('0'));
        longText = longText.trimmed();
        const QDate wednesday = Monday.addDays(2);
        m_file->ensureDay(dateText(wednesday));
        m_file->storeSlots(dateText(wednesday), {{QStringLiteral("1200-1230"), longText}});
        const report::OutputOptions options = toPdf();
        QVERIFY(WeekPrint::printWeek(nullptr, m_file->connectionText(), Monday, weekSheet(), &options));

        constexpr int slot = 8;
        const QStringList inCell =
            wordsOf(PdfTools::areaText(m_pdf, 1, cellOf(3, slot).adjusted(-1, -1, 1, 1)).value_or(QString()));
        const QStringList onPage = wordsOf(PdfTools::text(m_pdf).value_or(QString()));
        QVERIFY2(inCell.size() >= 6, qPrintable(inCell.join(QLatin1Char(' '))));
        QVERIFY(inCell.first().startsWith(QStringLiteral("Λέξη00")));
        for (const QString& word : onPage)
            if (word.startsWith(QStringLiteral("Λέξη")))
                QVERIFY2(inCell.contains(word), qPrintable(word + QStringLiteral(" shows outside its cell")));
    }

    void aRunOfDaysPrintsOneSheetEach_data() {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::newRow("one day") << QDate(2010, 3, 5) << QDate(2010, 3, 5);
        QTest::newRow("a week") << Monday << Monday.addDays(6);
        QTest::newRow("across a month's end, a day without a record among them")
            << QDate(2010, 2, 26) << QDate(2010, 3, 2);
    }

    // One page per day in one file, in order: each with its own date, its own texts and no other day's, and
    // numbered on its own as a day printed alone is.
    void aRunOfDaysPrintsOneSheetEach() {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        // A day inside the run may have no record at all: 27/2/2010 is left out of the book.
        const QDate empty(2010, 2, 27);
        for (QDate day = first; day <= last; day = day.addDays(1))
            if (day != empty)
                fill(day, day);
        const report::OutputOptions options = toPdf();
        QVERIFY(WeekPrint::printDays(nullptr, m_file->connectionText(), first, last, daySheet(), &options));
        const int days = static_cast<int>(first.daysTo(last)) + 1;
        QCOMPARE(PdfTools::pageCount(m_pdf), std::optional<int>(days));
        for (int page = 1; page <= days; ++page) {
            const QDate day = first.addDays(page - 1);
            const QString text = PdfTools::pageText(m_pdf, page).value_or(QString());
            QVERIFY2(text.contains(dateText(day)), qPrintable(dateText(day)));
            QVERIFY(text.contains(QStringLiteral("Σελίδα 1 από 1")));
            for (int slot = 0; slot < 28; ++slot)
                QVERIFY2(text.contains(tokenOf(day, slot)) == (day != empty), qPrintable(tokenOf(day, slot)));
            const QDate other = page > 1 ? first : last;
            if (other != day)
                QVERIFY(!text.contains(tokenOf(other, 0)));
        }
    }

    // A data folder from before the week sheet: the week's print names the missing file and says what to do; the
    // days print as ever.
    void aFolderWithoutTheWeekSheetStillPrintsDays() {
        QVERIFY(QFile::remove(QDir(folder()).filePath(QLatin1String(WeekPrint::WeekSheetFileName))));
        fill(Monday, Monday);
        const report::OutputOptions options = toPdf();
        try {
            WeekPrint::printWeek(nullptr, m_file->connectionText(), Monday, weekSheet(), &options);
            QFAIL("the week printed without its sheet");
        } catch (const report::ReportError& error) {
            const QString message = error.text();
            QVERIFY2(
                message.startsWith(QStringLiteral("The following reporting project does not exist:\n\"") +
                                   QDir::toNativeSeparators(QDir(folder()).filePath(QStringLiteral("EBDOMADA.rav")))),
                qPrintable(message));
            QVERIFY2(message.contains(QStringLiteral("RANTEBOU.rav")), qPrintable(message));
        }
        QVERIFY(!QFileInfo::exists(m_pdf));
        QVERIFY(WeekPrint::printDays(nullptr, m_file->connectionText(), Monday, Monday, daySheet(), &options));
        QVERIFY(PdfTools::text(m_pdf).value_or(QString()).contains(tokenOf(Monday, 27)));
    }

    void aRangeThatIsNoneIsRefused_data() {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::newRow("backwards") << QDate(2010, 3, 5) << QDate(2010, 3, 4);
        QTest::newRow("more than a year and a day") << QDate(2010, 1, 1) << QDate(2011, 1, 2);
    }

    // Refused before the book is read or anything is written.
    void aRangeThatIsNoneIsRefused() {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        const report::OutputOptions options = toPdf();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, WeekPrint::printDays(nullptr, m_file->connectionText(), first,
                                                                          last, daySheet(), &options));
        QVERIFY(!QFileInfo::exists(m_pdf));
    }
};

QTEST_MAIN(WeekPrintTest)
#include "WeekPrintTest.moc"
