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
    QString text = value;
    // A control character (NUL among them) is never written as it is: readers stop at it or act on it. It
    // becomes a blank, as in the calendar export.
    for (QChar& character : text) {
        const char16_t code = character.unicode();
        if ((code < 0x20 && code != u'\t' && code != u'\n' && code != u'\r') || code == 0x7f)
            character = QLatin1Char(' ');
    }
    // A text a spreadsheet would run as a formula (=, +, -, @ first, blanks before them included, since a
    // spreadsheet trims those, or a tab or CR first) is written as text: with the usual leading apostrophe.
    qsizetype first = 0;
    while (first < text.size() && (text[first] == u' ' || text[first] == u'\t' || text[first] == u'\r' ||
                                   text[first] == u'\n'))
        ++first;
    const bool formula = (first < text.size() && QStringView(u"=+-@").contains(text[first])) ||
                         (!text.isEmpty() && (text.front() == u'\t' || text.front() == u'\r'));
    if (formula)
        text.prepend(QLatin1Char('\''));
    const QByteArray utf8 = text.toUtf8();
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = utf8.contains('"') || utf8.contains(',') || utf8.contains('\r') || utf8.contains('\n') ||
                        (!utf8.isEmpty() && (blank(utf8.front()) || blank(utf8.back())));
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
