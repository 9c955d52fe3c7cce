#pragma once

#include "tests/store/TestServer.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// Appointment books on either engine for tests that hold on both: a data folder with data.mdb ("file"), or a
// data folder whose server file names a fresh database on the program's throwaway server ("server").
class BookFixture {
public:
    BookFixture();
    ~BookFixture();

    // The program's one throwaway server, started at first use.
    TestServer& server();

    // A new data folder holding an empty book on engine ("file" or "server"); the folder lives as long as the
    // fixture. For the server, database names the database made (empty when the table is not to be made yet).
    QString makeBook(const QString& engine, QString* database = nullptr, bool withTable = true);

    // Another data folder for the same book, as a second seat has it: for the server a connection of its own
    // (another link of this program, as another computer would have); for the file the same folder.
    QString secondSeat(const QString& folder);

    // A data folder whose server file holds connection as it is.
    QString serverFolder(const QString& connection);

    // The connection text the windows build for folder.
    static QString connectionText(const QString& folder);

private:
    QString newFolder();

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<TestServer> m_server;
    int m_folders = 0;
    int m_databases = 0;
};
