// The engine's own windows driven for real: "Output Options" choosing where the report goes, "Report
// Status" while it is produced, "Report Preview" paging, zooming, saving and printing.

#include "tests/report/PdfTools.h"
#include "tests/report/WindowDriver.h"

#include "report/MemoryDataset.h"
#include "report/PreviewPageView.h"
#include "report/ReportError.h"
#include "report/ReportProject.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace report;
using WindowDriver::click;
using WindowDriver::whenMessageBoxShown;
using WindowDriver::whenShown;

namespace {

const QString Options = QStringLiteral("Output Options");
const QString Status = QStringLiteral("Report Status");
const QString Preview = QStringLiteral("Report Preview");

// Ten rows to an A5 page.
const QByteArray ListDefinition =
    "<project><connection name=\"Rows\"/><report name=\"List\">"
    "<page size=\"custom\" width=\"148\" height=\"210\" margin=\"10\"/>"
    "<pageheader height=\"20\"><text x=\"0\" y=\"0\" width=\"128\" height=\"10\">List</text></pageheader>"
    "<detail height=\"16\" connection=\"Rows\"><field x=\"0\" y=\"0\" width=\"90\" height=\"8\" column=\"name\"/>"
    "</detail>"
    "<pagefooter height=\"10\"><pagenumber x=\"0\" y=\"0\" width=\"128\" height=\"10\"/></pagefooter>"
    "</report></project>";

template <typename T> T* child(QWidget* window, const char* name) {
    return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
}

// Watches the windows while a run goes on: every status line the "Report Status" window showed.
class StatusWatch {
public:
    StatusWatch() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* status = WindowDriver::visibleWindow(Status))
                if (auto* label = child<QLabel>(status, "StatusLabel"); label && !m_lines.contains(label->text()))
                    m_lines.append(label->text());
        });
        m_timer.start();
    }
    QStringList lines() const { return m_lines; }

private:
    QTimer m_timer;
    QStringList m_lines;
};

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cancelProducesNothing();
    void fileOutputThroughTheDialog_data();
    void fileOutputThroughTheDialog();
    void dialogRefusesWhatCannotBeDone_data();
    void dialogRefusesWhatCannotBeDone();
    void browseChoosesTheFile();
    void previewPagesAndZooms();
    void previewShowsTheChosenRange();
    void previewSavesAndSaysThereIsNoPrinter();
    void daySheetPreviewPicture();
    void statusShowsWhileALargeDefinitionIsRead_data();
    void statusShowsWhileALargeDefinitionIsRead();

private:
    QTemporaryDir m_dir;
    QString m_definition;
    MemoryDataset m_rows{{QStringLiteral("name")}};
    std::unique_ptr<ReportProject> m_project;
};

void ReportWindowsTest::init() {
    m_definition = m_dir.filePath(QStringLiteral("list.rav"));
    QFile file(m_definition);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ListDefinition);
    file.close();
    for (const QString& name : QDir(m_dir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files))
        QFile::remove(m_dir.filePath(name));
    m_rows = MemoryDataset({QStringLiteral("name")});
    for (int i = 1; i <= 25; ++i)
        m_rows.appendRow({QStringLiteral("Row %1").arg(i)});
    m_project = std::make_unique<ReportProject>();
    m_project->setProjectFile(m_definition);
    m_project->setDataset(QStringLiteral("Rows"), &m_rows);
}

// The dialog opens with the preview chosen; Cancel returns at once with no file, no status, no preview.
void ReportWindowsTest::cancelProducesNothing() {
    bool previewChosen = false;
    bool cancelled = false;
    whenShown(Options, [&](QWidget* dialog) {
        auto* preview = child<QRadioButton>(dialog, "PreviewRadio");
        previewChosen = preview && preview->isChecked();
        if (const QString keep = qEnvironmentVariable("ORVELLA_REPORT_ARTIFACTS"); !keep.isEmpty())
            dialog->grab().save(keep + QStringLiteral("/output-options.png"));
        cancelled = click(dialog, QStringLiteral("CancelButton"));
    });
    StatusWatch watch;
    QVERIFY(!m_project->execute());
    QVERIFY(previewChosen);
    QVERIFY(cancelled);
    QVERIFY(watch.lines().isEmpty());
    QVERIFY(!WindowDriver::visibleWindow(Preview));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.rav")});
}

void ReportWindowsTest::fileOutputThroughTheDialog_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("pages");

    QTest::newRow("all pages") << 1 << 0 << 0 << 3;
    QTest::newRow("two copies") << 2 << 0 << 0 << 6;
    QTest::newRow("page 2 only") << 1 << 2 << 2 << 1;
    QTest::newRow("pages 2 to 3, four copies") << 4 << 2 << 3 << 8;
}

// File, copies and range chosen in the dialog reach the PDF; "Report Status" shows each page and goes.
void ReportWindowsTest::fileOutputThroughTheDialog() {
    QFETCH(int, copies);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, pages);
    const QString pdf = m_dir.filePath(QStringLiteral("Ημέρα.pdf"));
    bool filled = false;
    whenShown(Options, [&](QWidget* dialog) {
        auto* file = child<QRadioButton>(dialog, "FileRadio");
        auto* path = child<QLineEdit>(dialog, "FileEdit");
        auto* copiesSpin = child<QSpinBox>(dialog, "CopiesSpin");
        auto* range = child<QRadioButton>(dialog, "RangeRadio");
        auto* fromSpin = child<QSpinBox>(dialog, "FromSpin");
        auto* toSpin = child<QSpinBox>(dialog, "ToSpin");
        if (!file || !path || !copiesSpin || !range || !fromSpin || !toSpin) {
            click(dialog, QStringLiteral("CancelButton"));
            return;
        }
        file->setChecked(true);
        path->setText(pdf);
        copiesSpin->setValue(copies);
        if (from > 0) {
            range->setChecked(true);
            fromSpin->setValue(from);
            toSpin->setValue(to);
        }
        filled = true;
        click(dialog, QStringLiteral("OkButton"));
    });
    StatusWatch watch;
    QVERIFY(m_project->execute());
    QVERIFY(filled);
    QVERIFY(QFile::exists(pdf));
    QVERIFY2(watch.lines().contains(QStringLiteral("Writing page %1 of %1").arg(pages)),
             qPrintable(watch.lines().join('|')));
    QVERIFY(!WindowDriver::visibleWindow(Status));
    if (!PdfTools::available())
        QSKIP("pdfinfo is not installed in /usr/bin (package poppler-utils)");
    QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(pages));
}

void ReportWindowsTest::dialogRefusesWhatCannotBeDone_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("message");

    QTest::newRow("printer with none installed") << "PrinterRadio"
                                                 << "No printer is installed on this computer.";
    QTest::newRow("file with no name") << "FileRadio"
                                       << "Type or choose the PDF file to write the report to.";
    QTest::newRow("file that is a folder") << "FileRadio folder"
                                           << "is a folder; name a file in it.";
    QTest::newRow("reversed range") << "RangeRadio"
                                    << "The first page of the range comes after its last page.";
}

// OK with a choice that cannot be carried out says why in a message box and keeps the dialog open; the
// user then cancels, and nothing is produced.
void ReportWindowsTest::dialogRefusesWhatCannotBeDone() {
    QFETCH(QString, choice);
    QFETCH(QString, message);
    if (choice == u"PrinterRadio" && !QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this computer has printers");
    QString said;
    bool stillOpen = false;
    bool noteShown = false;
    whenShown(Options, [&](QWidget* dialog) {
        if (choice.startsWith(u"FileRadio")) {
            child<QRadioButton>(dialog, "FileRadio")->setChecked(true);
            child<QLineEdit>(dialog, "FileEdit")->setText(choice.endsWith(u"folder") ? m_dir.path() : QString());
        } else if (choice == u"RangeRadio") {
            child<QSpinBox>(dialog, "FromSpin")->setValue(3);
            child<QSpinBox>(dialog, "ToSpin")->setValue(2);
        } else {
            child<QRadioButton>(dialog, choice.toLatin1().constData())->setChecked(true);
            noteShown = child<QLabel>(dialog, "NoPrinterLabel")->isVisible();
        }
        whenMessageBoxShown([&](QMessageBox* box) {
            if (box) {
                said = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        click(dialog, QStringLiteral("OkButton"));
        stillOpen = dialog->isVisible();
        click(dialog, QStringLiteral("CancelButton"));
    });
    QVERIFY(!m_project->execute());
    QVERIFY2(said.endsWith(message), qPrintable(said));
    QVERIFY(stillOpen);
    if (choice == u"PrinterRadio")
        QVERIFY(noteShown);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.rav")});
}

// Browse opens a save dialog; the file chosen there is written.
void ReportWindowsTest::browseChoosesTheFile() {
    const QString pdf = m_dir.filePath(QStringLiteral("chosen.pdf"));
    QString edited;
    whenShown(Options, [&](QWidget* dialog) {
        WindowDriver::chooseFile(QStringLiteral("Save the report as PDF"), pdf);
        click(dialog, QStringLiteral("BrowseButton"));
        edited = child<QLineEdit>(dialog, "FileEdit")->text();
        click(dialog, QStringLiteral("OkButton"));
    });
    QVERIFY(m_project->execute());
    QCOMPARE(edited, pdf);
    QVERIFY(QFile::exists(pdf));
}

// Paging moves through the pages and stops at the ends; each zoom gives the page its size.
void ReportWindowsTest::previewPagesAndZooms() {
    QStringList labels;
    QList<bool> previousEnabled;
    QList<bool> nextEnabled;
    QList<int> viewWidths;
    int width100 = 0;
    int viewportWidth = 0;
    QSize fitPage;
    QSize viewport;
    whenShown(Preview, [&](QWidget* preview) {
        if (!preview)
            return;
        auto* label = child<QLabel>(preview, "PageLabel");
        auto record = [&] {
            labels.append(label->text());
            previousEnabled.append(child<QPushButton>(preview, "PreviousButton")->isEnabled());
            nextEnabled.append(child<QPushButton>(preview, "NextButton")->isEnabled());
        };
        record();
        for (const char* button :
             {"NextButton", "NextButton", "NextButton", "PreviousButton", "FirstButton", "LastButton"}) {
            click(preview, QLatin1String(button));
            record();
        }
        auto* zoom = child<QComboBox>(preview, "ZoomCombo");
        auto* view = child<PreviewPageView>(preview, "PageView");
        auto* scroll = child<QScrollArea>(preview, "PageScroll");
        fitPage = view->size();
        viewport = scroll->maximumViewportSize();
        for (const QString& choice :
             {QStringLiteral("50%"), QStringLiteral("100%"), QStringLiteral("200%"), QStringLiteral("400%")}) {
            zoom->setCurrentIndex(zoom->findText(choice));
            viewWidths.append(view->width());
        }
        width100 = qRound(148.0 * preview->logicalDpiX() / 25.4) + 2 * PreviewPageView::Margin;
        zoom->setCurrentIndex(zoom->findText(QStringLiteral("Fit width")));
        viewportWidth = scroll->viewport()->width();
        viewWidths.append(view->width());
        click(preview, QStringLiteral("CloseButton"));
    });
    OutputOptions options;
    QVERIFY(m_project->execute(options));
    QCOMPARE(labels, (QStringList{"Page 1 of 3", "Page 2 of 3", "Page 3 of 3", "Page 3 of 3", "Page 2 of 3",
                                  "Page 1 of 3", "Page 3 of 3"}));
    QCOMPARE(previousEnabled, (QList<bool>{false, true, true, true, true, false, true}));
    QCOMPARE(nextEnabled, (QList<bool>{true, true, false, false, true, true, false}));

    // Fit page: the whole page inside the visible area, touching it on one side.
    QVERIFY(fitPage.width() <= viewport.width() && fitPage.height() <= viewport.height());
    QVERIFY(viewport.width() - fitPage.width() <= 2 || viewport.height() - fitPage.height() <= 2);
    // Percent zooms scale the paper from its real size on screen.
    const int paper100 = width100 - 2 * PreviewPageView::Margin;
    QVERIFY(qAbs(viewWidths[0] - (paper100 / 2 + 2 * PreviewPageView::Margin)) <= 1);
    QVERIFY(qAbs(viewWidths[1] - width100) <= 1);
    QVERIFY(qAbs(viewWidths[2] - (paper100 * 2 + 2 * PreviewPageView::Margin)) <= 1);
    QVERIFY(qAbs(viewWidths[3] - (paper100 * 4 + 2 * PreviewPageView::Margin)) <= 2);
    // Fit width: as wide as the visible area, with no sideways scrolling.
    QVERIFY2(viewWidths[4] <= viewportWidth && viewWidths[4] >= viewportWidth - 24,
             qPrintable(QStringLiteral("%1 in %2").arg(viewWidths[4]).arg(viewportWidth)));
}

// A range chosen for the preview shows those pages only, numbered among themselves.
void ReportWindowsTest::previewShowsTheChosenRange() {
    QStringList labels;
    QList<int> pageIndexes;
    whenShown(Preview, [&](QWidget* preview) {
        if (!preview)
            return;
        auto* view = child<PreviewPageView>(preview, "PageView");
        for (int step = 0; step < 3; ++step) {
            labels.append(child<QLabel>(preview, "PageLabel")->text());
            pageIndexes.append(view->pageIndex());
            click(preview, QStringLiteral("NextButton"));
        }
        click(preview, QStringLiteral("CloseButton"));
    });
    OutputOptions options;
    options.fromPage = 2;
    options.toPage = 3;
    options.copies = 5;
    QVERIFY(m_project->execute(options));
    QCOMPARE(labels, (QStringList{"Page 1 of 2", "Page 2 of 2", "Page 2 of 2"}));
    QCOMPARE(pageIndexes, (QList<int>{1, 2, 2}));
}

// Save as PDF writes the pages shown; Print with no printer says so and leaves the preview open.
void ReportWindowsTest::previewSavesAndSaysThereIsNoPrinter() {
    const QString pdf = m_dir.filePath(QStringLiteral("saved.pdf"));
    QString printMessage;
    bool openAfterPrint = false;
    whenShown(Preview, [&](QWidget* preview) {
        if (!preview)
            return;
        WindowDriver::chooseFile(QStringLiteral("Save the report as PDF"), pdf);
        click(preview, QStringLiteral("SaveButton"));
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            whenMessageBoxShown([&](QMessageBox* box) {
                if (box) {
                    printMessage = box->text();
                    box->button(QMessageBox::Ok)->click();
                }
            });
            click(preview, QStringLiteral("PrintButton"));
            openAfterPrint = preview->isVisible();
        }
        click(preview, QStringLiteral("CloseButton"));
    });
    OutputOptions options;
    options.fromPage = 1;
    options.toPage = 2;
    QVERIFY(m_project->execute(options));
    QVERIFY(QFile::exists(pdf));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        QCOMPARE(printMessage, QStringLiteral("No printer is installed on this computer."));
        QVERIFY(openAfterPrint);
    }
    if (PdfTools::available())
        QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(2));
}

// The default day sheet in the preview: the page is drawn (its dark blue rules and heads are there), and
// ORVELLA_REPORT_ARTIFACTS keeps the window's picture for a person to look at.
void ReportWindowsTest::daySheetPreviewPicture() {
    MemoryDataset record(QStringList{QStringLiteral("HMEROMHNIA")});
    QVariantList row{QDate(2010, 3, 5)};
    QStringList columns{QStringLiteral("HMEROMHNIA")};
    const QStringList texts{QStringLiteral("Γεωργίου Μαρία, έλεγχος"),         QString(), QStringLiteral("Smith J."),
                            QStringLiteral("Παπαδόπουλος Νίκος, 6944 123456"), QString(), QString()};
    for (int start = 8 * 60, i = 0; start < 22 * 60; start += 30, ++i) {
        columns.append(QStringLiteral("%1%2-%3%4")
                           .arg(start / 60, 2, 10, QLatin1Char('0'))
                           .arg(start % 60, 2, 10, QLatin1Char('0'))
                           .arg((start + 30) / 60, 2, 10, QLatin1Char('0'))
                           .arg((start + 30) % 60, 2, 10, QLatin1Char('0')));
        const QString text = texts[i % texts.size()];
        row.append(text.isEmpty() ? QVariant() : QVariant(text));
    }
    MemoryDataset data(columns);
    data.appendRow(row);
    ReportProject project;
    project.setProjectFile(QStringLiteral(ORVELLA_DEFAULT_SHEET));
    project.setDataset(QStringLiteral("RvDataSetConnection1"), &data);

    QImage picture;
    QImage page;
    whenShown(Preview, [&](QWidget* preview) {
        if (!preview)
            return;
        preview->resize(760, 1000);
        QApplication::processEvents();
        picture = preview->grab().toImage();
        page = child<PreviewPageView>(preview, "PageView")->grab().toImage();
        click(preview, QStringLiteral("CloseButton"));
    });
    QVERIFY(project.execute(OutputOptions{}));
    QVERIFY(!picture.isNull());
    if (const QString keep = qEnvironmentVariable("ORVELLA_REPORT_ARTIFACTS"); !keep.isEmpty()) {
        picture.save(keep + QStringLiteral("/day-sheet-preview.png"));
        OutputOptions file;
        file.destination = OutputOptions::Destination::File;
        file.filePath = keep + QStringLiteral("/day-sheet.pdf");
        file.replaceExisting = true;
        QVERIFY(project.execute(file));
    }

    int blue = 0;
    int white = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += qAbs(c.red() - 0x1f) < 12 && qAbs(c.green() - 0x3a) < 12 && qAbs(c.blue() - 0x68) < 12 ? 1 : 0;
            white += c == Qt::white ? 1 : 0;
        }
    const int area = page.width() * page.height();
    QVERIFY2(blue > area / 200, qPrintable(QString::number(blue)));
    QVERIFY2(white > area / 2, qPrintable(QString::number(white)));
}

void ReportWindowsTest::statusShowsWhileALargeDefinitionIsRead_data() {
    QTest::addColumn<int>("padding");
    QTest::addColumn<bool>("reading");
    QTest::newRow("the usual size: straight to the output") << 0 << false;
    QTest::newRow("600 KB: Report Status while it is read") << 600 * 1024 << true;
}

// A definition that takes a while to read has "Report Status" up meanwhile, counting what it has read;
// one of ordinary size shows nothing new.
void ReportWindowsTest::statusShowsWhileALargeDefinitionIsRead() {
    QFETCH(int, padding);
    QFETCH(bool, reading);
    QByteArray large = ListDefinition;
    // Elements enough for the count to move, and a comment for the bulk.
    QByteArray styles;
    for (int i = 0; i < 5000; ++i)
        styles += "<style name=\"s" + QByteArray::number(i) + "\"/>";
    if (padding > 0)
        large.replace("<project>",
                      "<project>" + styles + "<!--" + QByteArray(padding, '-').replace("--", "- ") + "-->");
    QFile file(m_definition);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(large);
    file.close();

    StatusWatch watch;
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.filePath = m_dir.filePath(QStringLiteral("large.pdf"));
    QVERIFY(m_project->execute(options));
    const QStringList lines = watch.lines();
    QCOMPARE(lines.contains(QStringLiteral("Reading the report definition")), reading);
    QCOMPARE(lines.contains(QStringLiteral("Reading the report definition: 4096 elements")), reading);
    QVERIFY2(lines.contains(QStringLiteral("Writing page 3 of 3")), qPrintable(lines.join('|')));
}

QTEST_MAIN(ReportWindowsTest)
#include "ReportWindowsTest.moc"
