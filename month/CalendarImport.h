#pragma once

#include <QString>

class QWidget;

// The month window's import of another calendar's .ics file: reads it, shows what it will book and skip, asks,
// then books the free half hours in one transaction. Failures go to the error report; the window stays usable.
namespace calendarimport {

// Asks for a file with a file chooser over parent and imports it; true when anything was booked.
bool chooseAndImport(QWidget* parent, const QString& connectionText);

// Imports the calendar at path into the book of connectionText, asking first (the question's objectName is
// "CalendarImportQuestion", the closing notice's "CalendarImportDone"); true when anything was booked.
bool importFile(QWidget* parent, const QString& connectionText, const QString& path);

} // namespace calendarimport
