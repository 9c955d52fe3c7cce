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

    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // Prints the open day (DayQuery) from the file as last saved: opens the connection and the query, runs
    // the report project from DataFolder + "\RANTEBOU.rav" through the report engine's own windows, then
    // closes the query and the connection. The data file and the definition are named to the engine as
    // files the print must never write over. Nothing is caught: a failure ends the print at its step.
    void PrintDayReport();

    store::Connection& ADOConnection1() const { return *m_connection; }
    store::Query& ADOQuery1() const { return *m_query; }
    report::ReportProject& RvProject1() const { return *m_project; }

private:
    // Declared in this order so that the data connection and the query go before the connection.
    std::unique_ptr<store::Connection> m_connection;
    std::unique_ptr<store::Query> m_query;
    std::unique_ptr<QueryDataset> m_dataConnection;
    std::unique_ptr<report::ReportProject> m_project;
};
