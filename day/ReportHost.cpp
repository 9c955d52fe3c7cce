#include "day/ReportHost.h"

#include "day/QueryDataset.h"
#include "report/ReportProject.h"
#include "store/Connection.h"
#include "store/DayRecord.h"
#include "store/Query.h"
#include "store/engine/ConnectionText.h"

#include "platform/Files.h"
#include "report/ReportError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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

QString TForm6::defaultCopyOf(const QString& fileName) {
    // Where the program keeps a copy of the default sheets: beside it on Windows, in the shared data folder of
    // the installed package elsewhere. A build run from its folder has neither.
    for (const QString& candidate : {QDir(QCoreApplication::applicationDirPath()).filePath(fileName),
                                     QStringLiteral(ORVELLA_SHARED_DATA_DIR "/") + fileName})
        if (QFileInfo(candidate).isFile())
            return QDir::toNativeSeparators(candidate);
    return {};
}

QString TForm6::missingSheetMessage(const QString& sheet) {
    const QString copy = defaultCopyOf(QLatin1String(ReportFileName));
    QString advice = QCoreApplication::translate(
        "TForm6", "The day is printed with this file, the day sheet, which belongs beside data.mdb. Starting "
                  "Orvella from its menu entry or shortcut puts the default one back when it is missing.");
    if (!copy.isEmpty())
        advice += QLatin1Char(' ') + QCoreApplication::translate("TForm6", "Or copy the default one there from \"%1\".").arg(copy);
    return QStringLiteral("The following reporting project does not exist:\n\"%1\"\n\n%2")
        .arg(QDir::toNativeSeparators(QFileInfo(sheet).absoluteFilePath()), advice);
}

void TForm6::PrintDayReport() {
    m_connection->reopen(m_connectionText);

    // Its own query reads the file, so the sheet shows the day as last saved, not edits still in the window.
    store::openQuery(*m_query, m_dayQuery);

    m_project->setProjectFile(m_reportFile);
    // A PDF named like the book (or a link to it) must never replace it; the engine keeps the definition and
    // its pictures itself.
    m_project->setProtectedFiles({store::parseConnectionText(m_connectionText).dataSource});
    try {
        m_project->execute();
    } catch (const report::ReportError&) {
        // The engine names the file as it was given, with the backslash the data folder's path ends in; the
        // person at the desk needs the path this system has and what to do about it.
        QString sheet = m_reportFile;
        sheet.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!platform::somethingAt(sheet) && !platform::somethingAt(m_reportFile))
            throw report::ReportError(missingSheetMessage(sheet));
        throw;
    }

    m_query->close();
    m_query->clearStatement();
    m_connection->close();
}
