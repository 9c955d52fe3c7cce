#pragma once

#include <QString>

class QWidget;

namespace report {

// Asks the user where to save the report as PDF (a save dialog for *.pdf that adds the suffix), starting in
// `folder`; it does not ask about replacing an existing file, which is the caller's question. The dialog carries
// `objectName` so that callers and tests can find it. Returns the chosen path, or an empty text when the user
// cancelled.
QString choosePdfFile(QWidget* parent, const QString& objectName, const QString& folder);

} // namespace report
