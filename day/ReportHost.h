#pragma once

#include <QWidget>

#include <memory>

class QueryDataset;

namespace report {
class ReportProject;
}

namespace store {
class Connection;
class Query;
} // namespace store

// The report host: a window that is never shown and only holds what feeds the day sheet: its own database
// connection and query on the open day's record, the report project and the report data connection
// "RvDataSetConnection1" bound to that query. One is made for each print and released right after.
class TForm6 : public QWidget {
public:
    // The name under which the day sheet's definition reaches the record.
    static constexpr const char* DataConnectionName = "RvDataSetConnection1";
    // The day sheet's definition file, in the data folder beside data.mdb.
    static constexpr const char* ReportFileName = "RANTEBOU.rav";

    // A host for printing the day that dayQuery reads from the book of connectionText, on the day sheet
    // definition reportFile (the data folder's RANTEBOU.rav, see reportFileOf).
    TForm6(const QString& connectionText, const QString& dayQuery, const QString& reportFile,
           QWidget* parent = nullptr);
    ~TForm6() override;

    // The day sheet's definition in a data folder: the folder, a backslash, RANTEBOU.rav.
    static QString reportFileOf(const QString& dataFolder);

    // Prints the open day from the file as last saved: opens the connection and the query, runs the report
    // project from the definition file through the report engine's own windows, then closes the query and
    // the connection. The data file is named to the engine as a file the print must never write over
    // (the engine keeps the definition and its pictures itself). Nothing is caught: a failure ends the print at its
    // step.
    void PrintDayReport();

    // What a print says when the day sheet is missing: the engine's text with the sheet's path as this system
    // writes it, then what to do (in the user's language).
    static QString missingSheetMessage(const QString& sheet);
    // The program's own copy of a default sheet (fileName: RANTEBOU.rav, EBDOMADA.rav) in this system's
    // writing, or nothing when it has none.
    static QString defaultCopyOf(const QString& fileName);

    store::Connection& ADOConnection1() const { return *m_connection; }
    store::Query& ADOQuery1() const { return *m_query; }
    report::ReportProject& RvProject1() const { return *m_project; }

private:
    QString m_connectionText;
    QString m_dayQuery;
    QString m_reportFile;
    // Declared in this order so that the data connection and the query go before the connection.
    std::unique_ptr<store::Connection> m_connection;
    std::unique_ptr<store::Query> m_query;
    std::unique_ptr<QueryDataset> m_dataConnection;
    std::unique_ptr<report::ReportProject> m_project;
};
