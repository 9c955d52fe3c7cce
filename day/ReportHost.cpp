#include "day/ReportHost.h"

#include "day/QueryDataset.h"
#include "report/ReportProject.h"
#include "store/Connection.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"

#include <QApplication>

TForm6::TForm6(const QString& connectionText, const QString& dayQuery, const QString& reportFile, QWidget* parent)
    : QWidget(parent), m_connectionText(connectionText), m_dayQuery(dayQuery), m_reportFile(reportFile),
      m_connection(std::make_unique<store::Connection>()), m_query(std::make_unique<store::Query>(*m_connection)),
      m_dataConnection(std::make_unique<QueryDataset>(*m_query)),
      // The engine's windows open over the window the user is working in: the day window.
      m_project(std::make_unique<report::ReportProject>(QApplication::activeWindow())) {
    setObjectName(QStringLiteral("TForm6"));
    m_project->setDataset(QLatin1String(DataConnectionName), m_dataConnection.get());
}

TForm6::~TForm6() = default;

QString TForm6::reportFileOf(const QString& dataFolder) {
    return dataFolder + QStringLiteral("\\") + QLatin1String(ReportFileName);
}

void TForm6::PrintDayReport() {
    m_connection->reopen(m_connectionText);

    // Its own query reads the file, so the sheet shows the day as last saved, not edits still in the window.
    store::openQuery(*m_query, m_dayQuery);

    m_project->setProjectFile(m_reportFile);
    // A PDF named like the book (or a link to it) must never replace it; the engine keeps the definition and
    // its pictures itself.
    m_project->setProtectedFiles({store::parseConnectionText(m_connectionText).dataSource});
    m_project->execute();

    m_query->close();
    m_query->clearStatement();
    m_connection->close();
}
