// The program speaks Greek: each window and message of its own, as a person sees it, holds no English text
// but the names kept as they are (the engine's window titles, the program's name, file names and commands).
// With ORVELLA_PICTURE_DIR set, a picture of each is kept there for a person to look at.
#include "tests/base/ShownTexts.h"
#include "tests/month/BookSlots.h"

#include "app/MissingBookNotice.h"
#include "app/OldBookOffer.h"
#include "base/ErrorReport.h"
#include "base/OrvellaApplication.h"
#include "day/DayWindow.h"
#include "day/RepeatDialog.h"
#include "month/MonthWindow.h"
#include "day/WeekPrint.h"
#include "month/DayRangeDialog.h"
#ifdef ORVELLA_ICS_IMPORT
#include "month/CalendarImport.h"
#endif
#include "month/WeekWindow.h"
#include "report/MemoryDataset.h"
#include "report/OutputOptionsDialog.h"
#include "report/ReportProject.h"
#include "report/ReportStatusWindow.h"
#include "store/Connection.h"
#include "store/DayKey.h"
#include "store/DayRecord.h"
#include "store/cipher/DatabaseFile.h"
#include "store/engine/ConflictMessage.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineSession.h"
#include "store/engine/TableLayout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// The names every window may show as they are.
const QStringList Kept = {QStringLiteral("Orvella by Quenmark"), QStringLiteral("Output Options"),
                          QStringLiteral("Report Status"), QStringLiteral("Report Preview"),
                          QStringLiteral("The following reporting project does not exist:"), QStringLiteral("Orvella")};

using Build = std::function<std::unique_ptr<QWidget>(const QString& folder)>;
// Opens something modal; the test looks at each window it shows by title, the last one named is closed.
using Open = std::function<void(const QString& folder)>;

using booktest::keyOf;

} // namespace

Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Open)

class GreekWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_savedCurrent;

    QString book() const { return m_dir.filePath(QStringLiteral("data.mdb")); }

    // Everything English the window shows; its picture kept when asked for.
    QStringList look(QWidget* window, const QString& name) {
        const QByteArray pictures = qgetenv("ORVELLA_PICTURE_DIR");
        if (!pictures.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(pictures));
            window->grab().save(QDir(QString::fromLocal8Bit(pictures)).filePath(name + QStringLiteral(".png")));
        }
        return showntexts::english(showntexts::of(window), Kept);
    }

private slots:
    void initTestCase() {
        OrvellaApplication::setUpIdentity();
        ErrorReport::setObserver([](const QString& text) { QFAIL(qPrintable(text)); });
        QVERIFY(m_dir.isValid());
        store::createDatabaseFile(book(), QLatin1String(store::FixedDatabasePassword));
        QVERIFY(QFile::copy(QStringLiteral(":/orvella/RANTEBOU.rav"), m_dir.filePath(QStringLiteral("RANTEBOU.rav"))));
        QVERIFY(QFile::copy(QStringLiteral(":/orvella/EBDOMADA.rav"), m_dir.filePath(QStringLiteral("EBDOMADA.rav"))));
        m_savedCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanupTestCase() {
        QDir::setCurrent(m_savedCurrent);
        ErrorReport::setObserver({});
    }

    void aWindowShowsNoEnglish_data() {
        QTest::addColumn<Build>("build");
        QTest::newRow("month") << Build(
            [](const QString&) { return std::make_unique<TForm1>(nullptr, QDate(2026, 12, 10)); });
        QTest::newRow("day") << Build([](const QString& folder) {
            const QString connection = store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword));
            {
                store::Connection made;
                made.reopen(connection);
                store::ensureDayRecord(made, keyOf(QDate(2026, 12, 10)));
            }
            auto day = std::make_unique<TForm2>();
            day->openDay(QStringLiteral("10/12/2026"), connection,
                         store::selectDayStatement(keyOf(QDate(2026, 12, 10))),
                         QDir(folder).filePath(QStringLiteral("RANTEBOU.rav")));
            return std::unique_ptr<QWidget>(std::move(day));
        });
        QTest::newRow("week") << Build([](const QString&) {
            // The week stands over a month window of its own, which goes once the week has gone.
            auto* month = new TForm1(nullptr, QDate(2026, 12, 10));
            auto week = std::make_unique<WeekWindow>(*month, QDate(2026, 12, 10));
            QObject::connect(week.get(), &QObject::destroyed, month, &QObject::deleteLater);
            return std::unique_ptr<QWidget>(std::move(week));
        });
        QTest::newRow("repeat") << Build([](const QString& folder) {
            // The connection the dialog reads through goes with it.
            auto* connection = new store::Connection;
            connection->reopen(store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword)));
            store::bookFreeSlots(*connection, {{QDate(2026, 12, 24), 4, QStringLiteral("Κωνσταντίνου")}});
            auto dialog = std::make_unique<RepeatDialog>(*connection, QDate(2026, 12, 10), 4,
                                                         QStringLiteral("Παπαδοπούλου Ελένη, 6971234567"));
            QObject::connect(dialog.get(), &QObject::destroyed, [connection] { delete connection; });
            return std::unique_ptr<QWidget>(std::move(dialog));
        });
        QTest::newRow("days to print") << Build([](const QString&) {
            return std::make_unique<DayRangeDialog>(QDate(2026, 12, 7), QDate(2026, 12, 13));
        });
        QTest::newRow("missing week sheet") << Build([](const QString& folder) {
            auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QString::fromUtf8(ErrorReport::ApplicationTitle),
                                                     WeekPrint::missingWeekSheetMessage(folder + QStringLiteral("/EBDOMADA.rav")),
                                                     QMessageBox::Ok);
            return std::unique_ptr<QWidget>(std::move(box));
        });
        QTest::newRow("Output Options") << Build([](const QString&) {
            return std::make_unique<report::OutputOptionsDialog>(nullptr,
                                                                 report::OutputOptionsDialog::Mode::AnyDestination, 2);
        });
        QTest::newRow("Output Options, printer only") << Build([](const QString&) {
            return std::make_unique<report::OutputOptionsDialog>(nullptr,
                                                                 report::OutputOptionsDialog::Mode::PrinterOnly, 1);
        });
        QTest::newRow("Report Status") << Build([](const QString&) {
            auto status = std::make_unique<report::ReportStatusWindow>(QStringLiteral("DaySheet"));
            status->showPage(QCoreApplication::translate("ReportPreviewWindow", "Printing"), 1, 2);
            return std::unique_ptr<QWidget>(std::move(status));
        });
        QTest::newRow("older book offer")
            << Build([](const QString&) { return std::unique_ptr<QWidget>(OldBookOffer::createQuestion()); });
        QTest::newRow("missing book") << Build([](const QString& folder) {
            return std::unique_ptr<QWidget>(MissingBookNotice::createBox(folder + QStringLiteral("/elsewhere")));
        });
        QTest::newRow("a refused save") << Build([](const QString&) {
            store::RowUpdate update;
            update.changes.push_back({store::slotColumnNames().at(2), QVariant(), QStringLiteral("ours")});
            auto box = std::make_unique<QMessageBox>(
                QMessageBox::Critical, QString::fromUtf8(ErrorReport::ApplicationTitle),
                store::conflictMessage(update, std::vector<QVariant>{QStringLiteral("theirs")}), QMessageBox::Ok);
            return std::unique_ptr<QWidget>(std::move(box));
        });
    }

    void aWindowShowsNoEnglish() {
        QFETCH(Build, build);
        std::unique_ptr<QWidget> window = build(m_dir.path());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QStringList english = look(window.get(), QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("\n"))));
        window->close();
    }

    void aModalWindowShowsNoEnglish_data() {
        QTest::addColumn<Open>("open");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("closing with text not saved")
            << Open([](const QString&) { TForm2::askAboutUnsaved(nullptr, TForm2::Next::Close); })
            << QStringList{QStringLiteral("Orvella by Quenmark")};
        QTest::newRow("printing with text not saved")
            << Open([](const QString&) { TForm2::askAboutUnsaved(nullptr, TForm2::Next::Print); })
            << QStringList{QStringLiteral("Orvella by Quenmark")};
        QTest::newRow("week with text not saved")
            << Open([](const QString&) { TForm2::askAboutUnsaved(nullptr, TForm2::Next::Week); })
            << QStringList{QStringLiteral("Orvella by Quenmark")};
        QTest::newRow("the week's preview") << Open([](const QString& folder) {
            WeekPrint::printWeek(nullptr, store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword)),
                                 QDate(2026, 12, 10), WeekPrint::weekSheetOf(folder));
        }) << QStringList{QStringLiteral("Output Options"), QStringLiteral("Report Preview")};
#ifdef ORVELLA_ICS_IMPORT
        // Calendars of Greek appointments, so that only the window's own words are looked at: the question with
        // its summary (answered No), and the notice of a calendar with nothing to book.
        const auto importOf = [](const QByteArray& events) {
            return Open([events](const QString& folder) {
                const QString path = QDir(folder).filePath(QStringLiteral("ημερολόγιο.ics"));
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n" + events + "END:VCALENDAR\r\n");
                file.close();
                calendarimport::importFile(
                    nullptr, store::buildConnectionText(folder, QLatin1String(store::FixedDatabasePassword)), path);
            });
        };
        const QByteArray holiday =
            "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:Αργία\r\nDTSTART;VALUE=DATE:20260306\r\nEND:VEVENT\r\n";
        QTest::newRow("importing a calendar")
            << importOf("BEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Ραντεβού\r\nDTSTART:20260302T073000\r\n"
                        "DTEND:20260302T090000\r\nEND:VEVENT\r\n" +
                        holiday)
            << QStringList{QStringLiteral("Orvella by Quenmark")};
        QTest::newRow("a calendar with nothing to book")
            << importOf(holiday) << QStringList{QStringLiteral("Orvella by Quenmark")};
#endif
        QTest::newRow("Report Preview") << Open([](const QString& folder) {
            QStringList columns{QStringLiteral("HMEROMHNIA")};
            columns << store::slotColumnNames();
            report::MemoryDataset day(columns);
            QVariantList values{QDate(2026, 12, 10)};
            for (int slot = 0; slot < 28; ++slot)
                values << (slot == 0 ? QVariant(QStringLiteral("Παπαδοπούλου Ελένη")) : QVariant());
            day.appendRow(values);
            report::ReportProject project;
            project.setProjectFile(QDir(folder).filePath(QStringLiteral("RANTEBOU.rav")));
            project.setDataset(QStringLiteral("RvDataSetConnection1"), &day);
            project.execute();
        }) << QStringList{QStringLiteral("Output Options"), QStringLiteral("Report Preview")};
    }

    // Each window the modal step shows, in turn: looked at, then sent on (its default button) or, the last,
    // closed.
    void aModalWindowShowsNoEnglish() {
        QFETCH(Open, open);
        QFETCH(QStringList, titles);
        QStringList english;
        QStringList seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window || seen.size() == titles.size() || window->windowTitle() != titles.at(seen.size()) ||
                !window->isVisible())
                return;
            const QString name =
                QString::fromLatin1(QTest::currentDataTag()) + QLatin1Char('-') + QString::number(seen.size());
            english << look(window, name);
            seen << window->windowTitle();
            if (seen.size() == titles.size())
                QTest::keyClick(window, Qt::Key_Escape);
            else
                QTest::keyClick(window, Qt::Key_Return);
        });
        poll.start(50);
        open(m_dir.path());
        poll.stop();
        QCOMPARE(seen, titles);
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(GreekWindowsTest)
#include "GreekWindowsTest.moc"
