#pragma once

#include <QString>

namespace store {

class SqliteDatabase;
struct FailureContext;
struct FileIdentity;

// Damage is caught before anything is written: the first time this process opens a book (a file, told apart
// by its identity, so a restored book is checked again), its pages are checked with PRAGMA quick_check. A
// damaged book throws EngineError (kind Damaged) saying what was found; the connection adds the newest good
// backup and the command that restores it. It is checked again at every open until it is sound. A book that is
// locked by another program throws the lock's error and is checked at a later open.
void checkOnFirstOpen(SqliteDatabase& database, const QString& path, const FileIdentity& identity,
                      const FailureContext& context);

// Throws the damaged book's EngineError: what was found and that nothing was written.
[[noreturn]] void throwDamagedBook(const QString& path, const QString& damage);

// Records that the book at path, as it is now, was found sound by a check that read all of it (the day's backup
// verifies its copy page by page), so that its first open in this process need not check it again.
void noteSoundBook(const QString& path);

// A check that reads the whole book at path is starting elsewhere (the day's backup, on its own thread): the
// first open waits for its end (a minute at most) instead of checking the same file beside it, so that one start
// reads the book once. noteCheckOver ends it, noting the book sound when it was.
void noteCheckUnderWay(const QString& path);
void noteCheckOver(const QString& path, bool sound);

// How many whole-book checks first opens ran in this process (the start-up's cost, for tests and benchmarks).
qint64 firstOpenChecks();

} // namespace store
