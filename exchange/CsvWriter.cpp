#include "exchange/CsvWriter.h"

#include "store/engine/TableLayout.h"

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
    QList<QPair<QString, QString>> times;
    for (int slot = 0; slot < static_cast<int>(store::slotColumnNames().size()); ++slot) {
        times.append({store::slotStart(slot).toString(QStringLiteral("HH:mm")),
                      store::slotEnd(slot).toString(QStringLiteral("HH:mm"))});
    }
    QDate lastDate;
    QString lastDateText;
    const auto dateText = [&](QDate date) {
        if (date != lastDate) {
            lastDate = date;
            lastDateText = date.toString(Qt::ISODate);
        }
        return lastDateText;
    };
    for (const store::FilledSlot& slot : filled) {
        // Every row's date and times come from a few values: formatting each once per book, not per row.
        table += row({dateText(slot.date), times.at(slot.slot).first, times.at(slot.slot).second, slot.text});
    }
    return table;
}

} // namespace exchange
