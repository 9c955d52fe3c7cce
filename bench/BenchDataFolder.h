#pragma once

#include <QDate>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A data folder for measurements: data.mdb holding a given number of day records and the default day sheet
// RANTEBOU.rav and EBDOMADA.rav, as a user's folder would hold them after years of use.
//
// The records are spread over every day from 1 January 2008 to 31 December 2035. The two months the
// benchmarks show, January and March 2020 (31 days each), get records on most of their days first (all
// but every seventh day), the rest fall on days drawn at random from the other months. Each record has about
// a third of its 28 slots filled, with Greek and Latin texts of ordinary length. The same count always
// gives the same file.
class BenchDataFolder {
public:
    // The months the benchmarks switch between.
    static constexpr int ShownYear = 2020;
    static constexpr int FirstShownMonth = 1;
    static constexpr int SecondShownMonth = 3;

    // The heaviest book there can be: every day of 2008 to 2035 has a record with all 28 slots filled.
    static constexpr int EveryDayFull = -1;

    // Makes the folder in a new temporary folder, removed again with this object. dayRecords may be
    // EveryDayFull.
    explicit BenchDataFolder(int dayRecords);
    // Makes the files in `folder`, which must exist and hold neither file; the folder is kept.
    BenchDataFolder(const QString& folder, int dayRecords);
    ~BenchDataFolder();

    BenchDataFolder(const BenchDataFolder&) = delete;
    BenchDataFolder& operator=(const BenchDataFolder&) = delete;

    QString path() const { return m_path; }
    int dayRecords() const { return m_dayRecords; }
    // The number of filled slots over all records, to show that the file holds what it claims.
    long long filledSlots() const { return m_filledSlots; }

    // One folder of each size for the whole run of a benchmark program, made on first use.
    static BenchDataFolder& shared(int dayRecords);

    // Whether `day` of a shown month has a record in a file of at least 54 records: every day but the 7th,
    // 14th, 21st and 28th.
    static constexpr bool shownMonthHasRecord(int day) { return day % 7 != 0; }

private:
    void make();

    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_path;
    int m_dayRecords = 0;
    long long m_filledSlots = 0;
};
