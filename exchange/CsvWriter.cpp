#include "exchange/CsvWriter.h"

#include "store/engine/TableLayout.h"

#include <array>
#include <vector>

namespace exchange {

namespace {

bool isControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f;
}

bool isLeadingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// "HH:mm" of a time, five bytes.
std::array<char, 5> clockText(QTime time) {
    return {static_cast<char>('0' + time.hour() / 10), static_cast<char>('0' + time.hour() % 10), ':',
            static_cast<char>('0' + time.minute() / 10), static_cast<char>('0' + time.minute() % 10)};
}

} // namespace

void appendCsvField(QByteArray& line, QByteArrayView utf8) {
    // Works on the bytes: every character the rules look at is a single byte in UTF-8, and no other character's
    // bytes can be taken for one.
    const qsizetype size = utf8.size();
    // A control character (NUL among them) is never written as it is: readers stop at it or act on it. It
    // becomes a blank, as in the calendar export.
    const auto byteAt = [&](qsizetype i) {
        const char c = utf8[i];
        return isControl(static_cast<unsigned char>(c)) ? ' ' : c;
    };
    // A text a spreadsheet would run as a formula (=, +, -, @ first, blanks before them included, since a
    // spreadsheet trims those, or a tab or CR first) is written as text: with the usual leading apostrophe.
    qsizetype first = 0;
    while (first < size && isLeadingBlank(byteAt(first)))
        ++first;
    const char front = size > 0 ? byteAt(0) : '\0';
    const bool formula = (first < size && QByteArrayView("=+-@").contains(byteAt(first))) ||
                         (size > 0 && (front == '\t' || front == '\r'));
    bool quoted = false;
    for (qsizetype i = 0; i < size && !quoted; ++i) {
        const char c = utf8[i];
        quoted = c == '"' || c == ',' || c == '\r' || c == '\n';
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const char last = size > 0 ? byteAt(size - 1) : '\0';
    quoted = quoted || (formula ? size > 0 && blank(last) : size > 0 && (blank(front) || blank(last)));
    if (quoted)
        line += '"';
    if (formula)
        line += '\'';
    qsizetype plain = 0; // the start of the bytes not yet written
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        const bool control = isControl(static_cast<unsigned char>(c));
        if (!control && !(quoted && c == '"'))
            continue;
        line.append(utf8.sliced(plain, i - plain));
        line += control ? QByteArrayView(" ") : QByteArrayView("\"\"");
        plain = i + 1;
    }
    line.append(utf8.sliced(plain));
    if (quoted)
        line += '"';
}

QByteArray csvField(const QString& value) {
    QByteArray field;
    appendCsvField(field, value.toUtf8());
    return field;
}

QByteArray csvTable(const store::FilledSlotTexts& filled) {
    QByteArray table;
    table.reserve(static_cast<qsizetype>(filled.size()) * 64 + 64);
    const QString heads[] = {QStringLiteral("Ημερομηνία"), QStringLiteral("Έναρξη"), QStringLiteral("Λήξη"),
                             QStringLiteral("Ραντεβού")};
    for (const QString& head : heads) {
        if (!table.isEmpty())
            table += ',';
        appendCsvField(table, head.toUtf8());
    }
    table += "\r\n";
    // Every row's date and times come from a few values: each written once per book, not per row.
    // ",08:00,08:30," for each slot.
    std::vector<std::array<char, 13>> times(static_cast<std::size_t>(store::slotColumnNames().size()));
    for (int slot = 0; slot < static_cast<int>(times.size()); ++slot) {
        const std::array<char, 5> start = clockText(store::slotStart(slot));
        const std::array<char, 5> end = clockText(store::slotEnd(slot));
        auto& text = times[static_cast<std::size_t>(slot)];
        std::copy(start.begin(), start.end(), text.begin() + 1);
        std::copy(end.begin(), end.end(), text.begin() + 7);
        text[0] = text[6] = text[12] = ',';
    }
    QDate lastDate;
    QByteArray dateText;
    for (const store::FilledSlotTexts::Slot& slot : filled.entries()) {
        if (slot.date != lastDate) {
            lastDate = slot.date;
            dateText = slot.date.toString(Qt::ISODate).toUtf8();
        }
        table += dateText;
        table.append(times[static_cast<std::size_t>(slot.slot)].data(), 13);
        appendCsvField(table, filled.text(slot));
        table += "\r\n";
    }
    return table;
}

QByteArray csvTable(const std::vector<store::FilledSlot>& filled) {
    return csvTable(store::FilledSlotTexts::of(filled));
}

} // namespace exchange
