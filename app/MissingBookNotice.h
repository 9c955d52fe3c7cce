#pragma once

#include <QString>

class QMessageBox;

// The window the desktop launcher shows instead of the program when the data folder is there but its book
// data.mdb is not (deleted, moved, or on a disk that is not connected): it says so, names the newest backup
// and how to restore it, and creates nothing. `orvella --missing-book FOLDER` shows it.
namespace MissingBookNotice {

// The text for the data folder: what is missing, why nothing was made, and what to do.
QString text(const QString& dataFolder);

// The box itself, captioned with the application title; the caller owns it.
QMessageBox* createBox(const QString& dataFolder);

// Shows the box until the user closes it; returns the program's exit code.
int show(const QString& dataFolder);

} // namespace MissingBookNotice
