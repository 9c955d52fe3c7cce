#include "tests/faults/PostReport.h"

#include <QStringList>

PostReport PostReport::parse(const QString& line) {
    PostReport report;
    const qsizetype because = line.indexOf(QStringLiteral(" : "));
    const QStringList words = line.left(because).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 5 || (words.size() - 2) % 3 != 0)
        return report;
    report.kind = words[0];
    report.day = words[1];
    for (qsizetype i = 2; i + 2 < words.size(); i += 3)
        report.edits.append(Edit{words[i], words[i + 1], words[i + 2]});
    if (because >= 0)
        report.message = line.mid(because + 3);
    return report;
}

SlotValues PostReport::appliedTo(SlotValues values) const {
    for (const Edit& edit : edits)
        values[day + QLatin1Char(' ') + edit.slot] = edit.value;
    return values;
}
