#include "exchange/CsvWriter.h"

namespace exchange {

namespace {

QByteArray row(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += csvField(fields[i]);
    }
    return line + "\r\n";
}

} // namespace

QByteArray csvField(const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    const bool quoted = utf8.contains('"') || utf8.contains(',') || utf8.contains('\r') || utf8.contains('\n') ||
                        (!utf8.isEmpty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quoted) {
        return utf8;
    }
    QByteArray field = utf8;
    field.replace('"', "\"\"");
    return '"' + field + '"';
}

QByteArray csvTable(const std::vector<store::FilledSlot>& filled) {
    QByteArray table = row(
        {QStringLiteral("Ημερομηνία"), QStringLiteral("Έναρξη"), QStringLiteral("Λήξη"), QStringLiteral("Ραντεβού")});
    table.reserve(static_cast<qsizetype>(filled.size()) * 64 + table.size());
    for (const store::FilledSlot& slot : filled) {
        table += row({slot.date.toString(Qt::ISODate), store::slotStart(slot.slot).toString(QStringLiteral("HH:mm")),
                      store::slotEnd(slot.slot).toString(QStringLiteral("HH:mm")), slot.text});
    }
    return table;
}

} // namespace exchange
