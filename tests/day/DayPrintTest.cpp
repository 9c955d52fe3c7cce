// Printing the open day through the report host and the report engine's real windows: the sheet shows the
// day as last saved, a second print works the same, Cancel prints nothing, and a missing or broken
// definition file is reported with its exact text while the day window stays usable.
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "base/SharedState.h"
#include "day/DayWindow.h"
#include "day/ReportHost.h"
#include "platform/Files.h"
#include "report/UserMessages.h"
#include "store/Connection.h"
#include "tests/day/DayTestFile.h"
#include "tests/day/DayWindowClosing.h"
#include "tests/report/PdfTools.h"
#include "tests/report/WindowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {

const QString Day = QStringLiteral("5/3/2010");

// The statement of the day's record, as the month window hands it to the day window.
QString dayQuery() {
    return QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") + DayTestFile::keyOf(Day);
}

void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Once "Output Options" shows, sends the sheet to a PDF file (with copies and a page range when asked) or
// cancels; `seen` tells whether the dialog came at all.
void answerOutputOptions(const QString& pdf, bool* seen, int copies = 1, bool cancel = false) {
    WindowDriver::whenShown(QStringLiteral("Output Options"), [=](QWidget* dialog) {
        *seen = dialog != nullptr;
        if (!dialog) {
            return;
        }
        if (cancel) {
            WindowDriver::click(dialog, QStringLiteral("CancelButton"));
            return;
        }
        dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(pdf);
        dialog->findChild<QSpinBox*>(QStringLiteral("CopiesSpin"))->setValue(copies);
        WindowDriver::click(dialog, QStringLiteral("OkButton"));
    });
}

} // namespace

class DayPrintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DayTestFile> m_file;
    std::unique_ptr<TForm2> m_window;
    QStringList m_reports;

    QString folder() const { return QFileInfo(m_file->path()).absolutePath(); }
    QString definitionPath() const { return QDir(folder()).filePath(QStringLiteral("RANTEBOU.rav")); }

    void print() { m_window->findChild<QPushButton*>(QStringLiteral("Button1"))->click(); }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([this](const QString& text) { m_reports << text; });
    }

    void init() {
        m_reports.clear();
        m_file = std::make_unique<DayTestFile>();
        QVERIFY(m_file->isValid());
        QVERIFY(QFile::copy(QStringLiteral(":/orvella/RANTEBOU.rav"), definitionPath()));
        // A copy of a resource is read-only, which on Windows also keeps it from being removed.
        QVERIFY(QFile::setPermissions(definitionPath(), QFile::ReadOwner | QFile::WriteOwner));
        // What the month window has set by the time a day window shows.
        SharedState& shared = sharedState();
        shared.DataFolder = folder();
        shared.ConnectionText = m_file->connectionText();
        m_file->ensureDay(Day);
        m_file->storeSlots(Day, {{QStringLiteral("0800-0830"), QStringLiteral("Παπαδοπούλου Ελένη")},
                                 {QStringLiteral("1500-1530"), QStringLiteral("Smith & Sons")}});
        m_window = std::make_unique<TForm2>();
        m_file->openIn(*m_window, Day);
        m_window->show();
    }

    void cleanup() {
        WindowDriver::cancelPending();
        m_window.reset();
        m_file.reset();
    }

    void printingWithUnsavedTextAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes: saved, then printed with it") << int(QMessageBox::Save);
        QTest::newRow("No: printed as last saved, the text kept") << int(QMessageBox::Discard);
        QTest::newRow("Cancel: nothing printed") << int(QMessageBox::Cancel);
    }

    // The sheet reads the file through its own connection, so text still being typed is asked about first:
    // saved and printed, left out of the sheet but kept in the window, or nothing printed. A second print
    // gives the same sheet.
    void printingWithUnsavedTextAsksFirst() {
        if (!PdfTools::available()) {
            QSKIP("pdftotext/pdfinfo (poppler-utils) are not installed");
        }
        QFETCH(int, answer);
        typeInto(m_window->findChild<QLineEdit*>(QStringLiteral("DBEdit2")), QStringLiteral("Νέο ραντεβού"));
        m_window->findChild<QAbstractButton*>(QStringLiteral("DBNavigator1Post"))->click();
        typeInto(m_window->findChild<QLineEdit*>(QStringLiteral("DBEdit3")), QStringLiteral("unsaved words"));

        for (int round = 1; round <= 2; ++round) {
            const QString pdf = QDir(folder()).filePath(QStringLiteral("sheet%1.pdf").arg(round));
            bool seen = false;
            bool asked = false;
            QString informative;
            dayclosing::answerWhenAsked(m_window.get(), QMessageBox::StandardButton(answer), &asked, &informative);
            answerOutputOptions(pdf, &seen);
            print();
            // After Yes the text is saved, so the second print asks nothing.
            QCOMPARE(asked, round == 1 || answer != QMessageBox::Save);
            // The question says what each answer does to the print, in Greek.
            if (asked)
                QVERIFY2(informative.contains(QStringLiteral("τυπώνεται")), qPrintable(informative));
            QVERIFY2(m_reports.isEmpty(), qPrintable(m_reports.join('\n')));
            if (answer == QMessageBox::Cancel) {
                QVERIFY(!seen);
                if (QWidget* stray = WindowDriver::visibleWindow(QStringLiteral("Output Options")))
                    stray->close();
                WindowDriver::cancelPending();
                QVERIFY(!QFile::exists(pdf));
                continue;
            }
            QVERIFY(seen);
            const auto text = PdfTools::text(pdf);
            QVERIFY(text.has_value());
            QVERIFY(text->contains(Day));
            QVERIFY(text->contains(QStringLiteral("Παπαδοπούλου Ελένη")));
            QVERIFY(text->contains(QStringLiteral("Νέο ραντεβού")));
            QVERIFY(text->contains(QStringLiteral("Smith & Sons")));
            QVERIFY(text->contains(QStringLiteral("08:00 - 08:30")));
            QCOMPARE(text->contains(QStringLiteral("unsaved words")), answer == QMessageBox::Save);
            QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(1));
        }
        // No and Cancel leave the unsaved text in the window, still to be saved.
        QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("DBEdit3"))->text(), QStringLiteral("unsaved words"));
        QCOMPARE(m_window->findChild<QAbstractButton*>(QStringLiteral("DBNavigator1Post"))->isEnabled(),
                 answer != QMessageBox::Save);
        QCOMPARE(m_file->storedSlot(Day, QStringLiteral("0900-0930")).toString(),
                 answer == QMessageBox::Save ? QStringLiteral("unsaved words") : QString());
    }

    // The longest slot a day can hold loses no word on paper: the sheet's row takes a smaller face instead.
    void aFullSlotPrintsEveryWord() {
        if (!PdfTools::available()) {
            QSKIP("pdftotext/pdfinfo (poppler-utils) are not installed");
        }
        QStringList words;
        for (int i = 1; words.join(QLatin1Char(' ')).size() < 240; ++i)
            words << QStringLiteral("Λέξη%1").arg(i);
        QString full = words.join(QLatin1Char(' '));
        full = full.left(254).trimmed();
        full += QString(255 - full.size(), QChar(0x3a4));
        QCOMPARE(full.size(), 255);
        m_file->storeSlots(Day, {{QStringLiteral("1030-1100"), full},
                                 {QStringLiteral("2130-2200"), full.toUpper()}});
        m_window = std::make_unique<TForm2>();
        m_file->openIn(*m_window, Day);
        m_window->show();
        const QString pdf = QDir(folder()).filePath(QStringLiteral("full.pdf"));
        bool seen = false;
        answerOutputOptions(pdf, &seen);
        print();
        QVERIFY(seen);
        const auto text = PdfTools::text(pdf);
        QVERIFY(text.has_value());
        QString flat = *text;
        flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QStringList printed = flat.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& word : full.split(QLatin1Char(' ')))
            QVERIFY2(printed.contains(word) && printed.contains(word.toUpper()), qPrintable(word));
        QVERIFY(!text->contains(QStringLiteral("…")));
        QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(1));
        // Kept for a person to look at when asked for.
        if (const QByteArray keep = qgetenv("ORVELLA_PICTURE_DIR"); !keep.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(keep));
            QFile::copy(pdf, QDir(QString::fromLocal8Bit(keep)).filePath(QStringLiteral("full-slot.pdf")));
        }
    }

    void copiesReachTheFile() {
        if (!PdfTools::available()) {
            QSKIP("pdftotext/pdfinfo (poppler-utils) are not installed");
        }
        const QString pdf = QDir(folder()).filePath(QStringLiteral("copies.pdf"));
        bool seen = false;
        answerOutputOptions(pdf, &seen, 3);
        print();
        QVERIFY(seen);
        QCOMPARE(PdfTools::pageCount(pdf), std::optional<int>(3));
    }

    void cancelPrintsNothing() {
        const QString pdf = QDir(folder()).filePath(QStringLiteral("cancelled.pdf"));
        bool seen = false;
        answerOutputOptions(pdf, &seen, 1, true);
        print();
        QVERIFY(seen);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(m_reports.isEmpty());
        QVERIFY(m_window->isVisible());
    }

    void missingDefinitionIsReportedWithItsFullPath() {
        QVERIFY(QFile::remove(definitionPath()));
        bool seen = false;
        answerOutputOptions(QDir(folder()).filePath(QStringLiteral("never.pdf")), &seen);
        print();
        QVERIFY(!seen);
        // Leave no driver waiting for a window that never comes.
        if (QWidget* stray = WindowDriver::visibleWindow(QStringLiteral("Output Options"))) {
            stray->close();
        }
        QCOMPARE(m_reports.size(), 1);
        // The engine's words, the path as this system has it, then what to do, in Greek.
        const QString expected = QStringLiteral("The following reporting project does not exist:\n\"") +
                                 QDir::toNativeSeparators(definitionPath()) + QStringLiteral("\"\n\n");
        QVERIFY2(m_reports.first().startsWith(expected), qPrintable(m_reports.first()));
        QVERIFY2(m_reports.first().contains(QStringLiteral("φύλλο")), qPrintable(m_reports.first()));
        QVERIFY(!QFile::exists(QDir(folder()).filePath(QStringLiteral("never.pdf"))));
        QVERIFY(m_window->isVisible());
        // The window goes on working: a post still saves.
        typeInto(m_window->findChild<QLineEdit*>(QStringLiteral("DBEdit28")), QStringLiteral("later"));
        m_window->findChild<QAbstractButton*>(QStringLiteral("DBNavigator1Post"))->click();
        QCOMPARE(m_file->storedSlot(Day, QStringLiteral("2130-2200")).toString(), QStringLiteral("later"));
    }

    void brokenDefinitionNamesTheLineAndColumn() {
        QFile definition(definitionPath());
        QVERIFY(definition.open(QIODevice::WriteOnly | QIODevice::Truncate));
        definition.write("<?xml version=\"1.0\"?>\n<project>\n  <report name=\"x\">\n  </projekt>\n");
        definition.close();
        print();
        QCOMPARE(m_reports.size(), 1);
        QVERIFY2(m_reports.first().contains(QStringLiteral("RANTEBOU.rav")), qPrintable(m_reports.first()));
        QVERIFY2(m_reports.first().contains(QStringLiteral("γραμμή 4")), qPrintable(m_reports.first()));
        QVERIFY2(m_reports.first().contains(QStringLiteral("στήλη 12")), qPrintable(m_reports.first()));
        QVERIFY(m_window->isVisible());
    }

    void theBooksFilesAreNeverPrintedOver_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("message");
        const QString own = QStringLiteral("το πρόγραμμα δουλεύει με αυτό το αρχείο");
        QTest::newRow("data.mdb, the folder current") << "data.mdb"
                                                      << "" << own;
        QTest::newRow("the book's full path") << "@data.mdb"
                                              << "" << own;
        QTest::newRow("RANTEBOU.rav") << "RANTEBOU.rav"
                                      << "" << own;
        QTest::newRow("a link to the book") << "day.pdf"
                                            << "data.mdb"
                                            << "με άλλο όνομα ή μέσω συνδέσμου";
    }

    // A careless name in "Output Options" never replaces the book or the day sheet: the window says why
    // and stays for another name, whatever a question would have been answered.
    void theBooksFilesAreNeverPrintedOver() {
        QFETCH(QString, typed);
        QFETCH(QString, link);
        QFETCH(QString, message);
        const QString book = m_file->path();
        QCOMPARE(QFileInfo(book).fileName(), QStringLiteral("data.mdb"));
        const QString previous = QDir::currentPath();
        // Orvella runs in its data folder, where a bare name lands.
        QVERIFY(QDir::setCurrent(folder()));
        const QString target = typed.startsWith(QLatin1Char('@')) ? QDir(folder()).filePath(typed.mid(1)) : typed;
        if (!link.isEmpty()) {
#ifdef Q_OS_WIN
            // Windows' QFile::link makes a shortcut, a file of its own; a second name (hard link) is the book.
            QCOMPARE(platform::addSecondName(QDir(folder()).filePath(link), QDir(folder()).filePath(typed)),
                     QString());
#else
            QVERIFY(QFile::link(QDir(folder()).filePath(link), QDir(folder()).filePath(typed)));
#endif
        }
        const auto bytesOf = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray bookBefore = bytesOf(book);
        const QByteArray sheetBefore = bytesOf(definitionPath());
        QStringList said;
        report::UserMessages::setObserver([&said](report::UserMessages::Kind, const QString& text) {
            said << text;
            return true;
        });
        bool stayed = false;
        WindowDriver::whenShown(QStringLiteral("Output Options"), [&](QWidget* dialog) {
            if (!dialog) {
                return;
            }
            dialog->findChild<QRadioButton*>(QStringLiteral("FileRadio"))->setChecked(true);
            dialog->findChild<QLineEdit*>(QStringLiteral("FileEdit"))->setText(target);
            WindowDriver::click(dialog, QStringLiteral("OkButton"));
            stayed = dialog->isVisible();
            WindowDriver::click(dialog, QStringLiteral("CancelButton"));
        });
        print();
        report::UserMessages::setObserver({});
        QDir::setCurrent(previous);
        QVERIFY(stayed);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(message), qPrintable(said.first()));
        QVERIFY(m_reports.isEmpty());
        QCOMPARE(bytesOf(book), bookBefore);
        QCOMPARE(bytesOf(definitionPath()), sheetBefore);
        // The book is whole: the day still reads and saves.
        QCOMPARE(m_file->storedSlot(Day, QStringLiteral("0800-0830")).toString(), QStringLiteral("Παπαδοπούλου Ελένη"));
        QVERIFY(m_window->isVisible());
    }

    // The report host's own parts, under the names the definition file and the engine rely on.
    void reportHostHoldsItsParts() {
        TForm6 host(m_file->connectionText(), dayQuery(), definitionPath());
        QVERIFY(!host.isVisible());
        QCOMPARE(QString::fromLatin1(TForm6::DataConnectionName), QStringLiteral("RvDataSetConnection1"));
        QVERIFY(!host.ADOConnection1().isOpen());
    }
};

QTEST_MAIN(DayPrintTest)
#include "DayPrintTest.moc"
