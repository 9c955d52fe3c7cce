#pragma once

#include <QString>
#include <QStringList>

namespace report::output {

// Why a report must not be written to path, or an empty text when it may be. Refused are:
// - any of protectedFiles (the files the program works from), by file identity, so that another name for
//   one of them, a hard link or a symbolic link to it is caught as well as its own name;
// - a folder;
// - a symbolic link in a shared folder (sticky and writable by everyone) owned neither by this user nor
//   by the folder's owner: someone else put it there, and it may lead anywhere (the rule the kernel
//   applies to following such links).
QString whyNotWritable(const QString& path, const QStringList& protectedFiles);

// True when something (a file, a link, even a dangling one) already stands at path.
bool somethingAt(const QString& path);

// The Yes/No question put before a report replaces a file that is already there.
QString replaceQuestion(const QString& path);

} // namespace report::output
