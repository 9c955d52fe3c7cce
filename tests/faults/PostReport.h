#pragma once

#include <QList>
#include <QMap>
#include <QString>

// The slots of a data file that hold a value, keyed "<date text> <slot>" (for example "5/3/2010 0800-0830").
using SlotValues = QMap<QString, QString>;

// One line of the fault poster's loop: a post announced ("posting"), returned ("posted") or refused.
struct PostReport {
    // One slot of the post: its new value and the value it held when the record was read ("-" for none).
    struct Edit {
        QString slot;
        QString value;
        QString original;
    };

    QString kind;
    QString day;
    QList<Edit> edits;
    QString message; // why a post was refused

    // Reads one line; kind is empty for a line that is not a post report.
    static PostReport parse(const QString& line);

    // values with this post's edits applied.
    SlotValues appliedTo(SlotValues values) const;
};
