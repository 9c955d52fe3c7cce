#include "day/ReportHost.h"

#include "base/SharedState.h"
#include "day/QueryDataset.h"
#include "report/ReportProject.h"
#include "store/Connection.h"
#include "store/ConnectionText.h"
#include "store/Query.h"

#include <QApplication>

TForm6::TForm6(QWidget* parent)
    : QWidget(parent), m_connection(std::make_unique<store::Connection>()),
      m_query(std::make_unique<store::Query>(*m_connection)),
      m_dataConnection(std::make_unique<QueryDataset>(*m_query)),
      // The engine's windows open over the window the user is working in: the day window.
      m_project(std::make_unique<report::ReportProject>(QApplication::activeWindow())) {
    setObjectName(QStringLiteral("TForm6"));
    m_project->setDataset(QLatin1String(DataConnectionName), m_dataConnection.get());
}

TForm6::~TForm6() = default;

void TForm6::PrintDayReport() {
    const SharedState& shared = sharedState();

    m_connection->reopen(shared.ConnectionText);

    // Its own query reads the file, so the sheet shows the day as last saved, not edits still in the window.
    m_query->close();
    m_query->clearStatement();
    m_query->addStatement(shared.DayQuery);
    m_query->open();

    const QString definition = shared.DataFolder + QStringLiteral("\\") + QLatin1String(ReportFileName);
    m_project->setProjectFile(definition);
    // A PDF named like the book or the day sheet (or a link to them) must never replace them. The definition
    // is named here as well as by the engine, so that it is kept even when its path is written with "\".
    QString slashed = definition;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    m_project->setProtectedFiles({store::parseConnectionText(shared.ConnectionText).dataSource, slashed});
    m_project->execute();

    m_query->close();
    m_query->clearStatement();
    m_connection->close();
}
