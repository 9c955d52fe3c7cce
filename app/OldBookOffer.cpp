#include "app/OldBookOffer.h"

#include "base/ErrorReport.h"
#include "day/ReportHost.h"
#include "platform/Files.h"
#include "day/WeekPrint.h"
#include "resources/DaySheetFile.h"
#include "store/backup/DailyBackup.h"
#include "legacy/BookImport.h"
#include "legacy/ConversionRefusal.h"
#include "legacy/ImportError.h"
#include "legacy/JetHeader.h"
#include "store/engine/ConnectionText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include <memory>
#include <optional>

namespace OldBookOffer {

bool isOlderBook(const QString& path) {
    return legacy::JetHeader::read(path).format != legacy::JetHeader::Format::NotJet;
}

QMessageBox* createQuestion() {
    auto* box = new QMessageBox(QMessageBox::Question, QString::fromUtf8(ErrorReport::ApplicationTitle), QString(),
                                QMessageBox::Yes | QMessageBox::No);
    box->setObjectName(QStringLiteral("OldBookOffer"));
    box->setTextFormat(Qt::PlainText);
    box->setText(QCoreApplication::translate(
        "OldBookOffer", "The file data.mdb in this folder is an appointment book of the older format.\n\nConvert it "
                        "to the new format now? Every appointment is brought over. The old file does not change: it "
                        "stays beside the new one, named data-jet-<date>.mdb.\n\nWith No nothing changes."));
    box->button(QMessageBox::Yes)->setText(QCoreApplication::translate("OldBookOffer", "Yes, convert"));
    box->button(QMessageBox::No)->setText(QCoreApplication::translate("OldBookOffer", "No"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

namespace {

void showSummary(const legacy::ImportSummary& summary) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, QString::fromUtf8(ErrorReport::ApplicationTitle),
                                             QString(), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("OldBookSummary"));
    box->setTextFormat(Qt::PlainText);
    box->setText(QCoreApplication::translate("OldBookOffer", "The book was converted.") + QStringLiteral("\n\n") +
                 summary.headline());
    // The full lists can run long; they stay one click away.
    if (summary.text() != summary.headline())
        box->setDetailedText(summary.text());
    box->exec();
}

} // namespace

void completeConvertedFolder(const QString& folder) {
    // A whole data folder, as the tool's import makes one: the day and week sheets where the folder has none (an
    // older book came without them), and the day's backup of the new book at once rather than at the next start.
    const QString sheet = QDir(folder).filePath(QLatin1String(TForm6::ReportFileName));
    if (!platform::somethingAt(sheet))
        ErrorReport::guard([&] { writeDefaultDaySheet(sheet); });
    const QString weekSheet = QDir(folder).filePath(QLatin1String(WeekPrint::WeekSheetFileName));
    if (!platform::somethingAt(weekSheet))
        ErrorReport::guard([&] { writeDefaultWeekSheet(weekSheet); });
    store::DailyBackup::instance().startIfDue(QDir(folder).filePath(QLatin1String(store::DatabaseFileName)),
                                              QLatin1String(store::FixedDatabasePassword), QDate::currentDate());
}

void offer(const QString& folder) {
    const QString data = QDir(folder).filePath(QLatin1String(store::DatabaseFileName));
    if (!isOlderBook(data))
        return;
    // A file refused before is not offered again as if nothing had happened: the refusal is shown once more.
    if (const QString refused = legacy::ConversionRefusal::recalled(data); !refused.isEmpty()) {
        ErrorReport::show(refused + QStringLiteral("\n\n") +
                          QCoreApplication::translate("OldBookOffer", "The conversion is not offered again for this "
                                                                      "file; put a repaired copy in its place to be "
                                                                      "asked again."));
        return;
    }
    std::unique_ptr<QMessageBox> question(createQuestion());
    if (question->exec() != QMessageBox::Yes)
        return;
    ErrorReport::guard([&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::optional<legacy::ImportSummary> summary;
        try {
            summary = legacy::BookImport::convertDataFolder(folder, QLatin1String(legacy::OlderBookPassword),
                                                            QDate::currentDate());
        } catch (const legacy::OlderBookRefused& refusal) {
            QApplication::restoreOverrideCursor();
            legacy::ConversionRefusal::remember(data, refusal.text());
            throw;
        } catch (...) {
            QApplication::restoreOverrideCursor();
            throw;
        }
        QApplication::restoreOverrideCursor();
        completeConvertedFolder(folder);
        showSummary(*summary);
    });
}

} // namespace OldBookOffer
