#include "bench/BenchDataFolder.h"

#include "store/cipher/DatabaseFile.h"
#include "store/cipher/FileFormat.h"
#include "store/cipher/SqliteDatabase.h"
#include "store/cipher/SqliteStatement.h"
#include "store/engine/ConnectionText.h"
#include "store/engine/EngineError.h"
#include "store/engine/TableLayout.h"

#include <QDir>
#include <QFile>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

const QDate FirstDay(2008, 1, 1);
const QDate LastDay(2035, 12, 31);

// What a receptionist types into a slot: names, a reason, a phone number now and then.
constexpr std::array<const char16_t*, 12> SlotTexts = {
    u"Παπαδοπούλου Ελένη - έλεγχος",
    u"Γεωργίου Νίκος 6944 123456",
    u"Smith J. follow-up",
    u"Καραγιάννης Δ. - πρώτη επίσκεψη",
    u"Αντωνίου Μαρία",
    u"Müller, Anna (interpreter)",
    u"Βασιλείου Κ. - αποτελέσματα εξετάσεων",
    u"Ιωάννου Π.",
    u"Δημητρίου Σοφία - εμβόλιο",
    u"Nikolaidis A. 210 5550123",
    u"Οικονόμου Γ. - αλλαγή ώρας;",
    u"ΚΛΕΙΣΤΟ",
};

// The days that get a record, in date order: the shown months' days first, then days drawn at random.
std::vector<QDate> recordDays(int dayRecords) {
    if (dayRecords == BenchDataFolder::EveryDayFull) {
        std::vector<QDate> every;
        for (QDate date = FirstDay; date <= LastDay; date = date.addDays(1))
            every.push_back(date);
        return every;
    }
    std::vector<QDate> shown;
    for (int month : {BenchDataFolder::FirstShownMonth, BenchDataFolder::SecondShownMonth}) {
        const QDate first(BenchDataFolder::ShownYear, month, 1);
        for (int day = 1; day <= first.daysInMonth(); ++day) {
            if (BenchDataFolder::shownMonthHasRecord(day)) {
                shown.emplace_back(BenchDataFolder::ShownYear, month, day);
            }
        }
    }
    // The shown months have no other records: their 7th, 14th, 21st and 28th stay without one.
    const auto inShownMonth = [](QDate date) {
        return date.year() == BenchDataFolder::ShownYear &&
               (date.month() == BenchDataFolder::FirstShownMonth || date.month() == BenchDataFolder::SecondShownMonth);
    };

    std::vector<QDate> days(shown.begin(), shown.begin() + std::min<std::ptrdiff_t>(dayRecords, std::ssize(shown)));
    const auto others = static_cast<std::size_t>(dayRecords) - days.size();
    if (others > 0) {
        std::vector<QDate> rest;
        for (QDate date = FirstDay; date <= LastDay; date = date.addDays(1)) {
            if (!inShownMonth(date)) {
                rest.push_back(date);
            }
        }
        if (others > rest.size()) {
            throw std::invalid_argument("more day records asked for than there are days from 2008 to 2035");
        }
        std::mt19937 generator(20080101u);
        std::shuffle(rest.begin(), rest.end(), generator);
        days.insert(days.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(others));
    }
    std::sort(days.begin(), days.end());
    return days;
}

} // namespace

BenchDataFolder::BenchDataFolder(int dayRecords)
    : m_temporary(std::make_unique<QTemporaryDir>()), m_path(m_temporary->path()), m_dayRecords(dayRecords) {
    if (!m_temporary->isValid()) {
        throw std::runtime_error("no temporary folder for the data file: " + m_temporary->errorString().toStdString());
    }
    make();
}

BenchDataFolder::BenchDataFolder(const QString& folder, int dayRecords)
    : m_path(QDir(folder).absolutePath()), m_dayRecords(dayRecords) {
    make();
}

BenchDataFolder::~BenchDataFolder() = default;

BenchDataFolder& BenchDataFolder::shared(int dayRecords) {
    static std::map<int, std::unique_ptr<BenchDataFolder>> folders;
    std::unique_ptr<BenchDataFolder>& folder = folders[dayRecords];
    if (!folder)
        folder = std::make_unique<BenchDataFolder>(dayRecords);
    return *folder;
}

void BenchDataFolder::make() {
    const QDir folder(m_path);
    const QString file = folder.filePath(QLatin1String(store::DatabaseFileName));
    const QString sheet = folder.filePath(QStringLiteral("RANTEBOU.rav"));
    if (QFile::exists(sheet)) {
        throw std::runtime_error(("\"" + sheet + "\" exists already").toStdString());
    }
    const QString password = QLatin1String(store::FixedDatabasePassword);
    store::createDatabaseFile(file, password);
    // A copy out of the resources is read-only, as they are; the data-folder tool writes an ordinary file.
    if (!QFile::copy(QStringLiteral(":/orvella/RANTEBOU.rav"), sheet) ||
        !QFile::setPermissions(sheet, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)) {
        throw std::runtime_error(("the default day sheet could not be written to \"" + sheet + "\"").toStdString());
    }
    const QString weekSheet = folder.filePath(QStringLiteral("EBDOMADA.rav"));
    if (!QFile::copy(QStringLiteral(":/orvella/EBDOMADA.rav"), weekSheet) ||
        !QFile::setPermissions(weekSheet, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)) {
        throw std::runtime_error(("the default week sheet could not be written to \"" + weekSheet + "\"").toStdString());
    }

    // One handle of our own and one transaction: the store's post path would sync the file once per record.
    const store::FailureContext context{file, QStringLiteral("filling the data file for the benchmarks"), 0};
    store::SqliteDatabase database(file, store::SqliteDatabase::OpenMode::ReadWrite, context);
    store::keyBook(database, password, context);
    database.execute(QStringLiteral("BEGIN"), context);

    const QStringList& columns = store::slotColumnNames();
    QString statement = QStringLiteral("INSERT INTO %1(%2")
                            .arg(QLatin1String(store::AppointmentTableName), QLatin1String(store::DayColumnName));
    QString parameters = QStringLiteral("?");
    for (const QString& column : columns) {
        statement += QStringLiteral(", \"%1\"").arg(column);
        parameters += QStringLiteral(", ?");
    }
    statement += QStringLiteral(") VALUES(") + parameters + QLatin1Char(')');

    // About a third of the slots of a day are taken; now and then a slot holds only blanks, as after an
    // appointment was rubbed out.
    std::mt19937 generator(28u);
    std::bernoulli_distribution taken(1.0 / 3.0);
    std::bernoulli_distribution rubbedOut(0.02);
    std::uniform_int_distribution<std::size_t> text(0, SlotTexts.size() - 1);
    for (const QDate& day : recordDays(m_dayRecords)) {
        // The statement wrapper has no reset; a prepare per record costs microseconds.
        store::SqliteStatement row(database, statement, context);
        row.bind(1, day.toString(Qt::ISODate));
        for (int slot = 0; slot < columns.size(); ++slot) {
            QVariant value;
            if (m_dayRecords == EveryDayFull || taken(generator)) {
                value = QString::fromUtf16(SlotTexts.at(text(generator)));
                ++m_filledSlots;
            } else if (rubbedOut(generator)) {
                value = QStringLiteral("  ");
            }
            row.bind(slot + 2, value);
        }
        if (row.step()) {
            throw std::logic_error("an INSERT returned a row");
        }
    }
    database.execute(QStringLiteral("COMMIT"), context);
}
