#pragma once

#include <QSet>
#include <QString>

namespace store {
class WholeBookReader;
}

namespace legacy {

class OlderBookRecords;

// Reads a newly built book back, independently of how it was written, and compares every day and slot with
// the older book's records as the reading helper sent them, before the new book is put in place. Days written
// from one record must be equal slot for slot; merged days must still hold every text of every record that went
// into them.
class ImportVerifier {
public:
    struct Expectation {
        const OlderBookRecords* older = nullptr; // the records the import wrote
        QString existingBook;                    // the book the days were added to; empty for a new book
        QSet<QString> mergedDates;
        qint64 mergeCount = 0; // records that met a day already written
    };

    explicit ImportVerifier(Expectation expectation);
    // Reads the new book at newBook through book; throws ImportError naming the first day and slot that differ.
    void verify(store::WholeBookReader& book, const QString& newBook) const;

private:
    Expectation m_expected;
};

} // namespace legacy
