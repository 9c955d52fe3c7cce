#include "day/SlotTextLimit.h"

#include <QLineEdit>
#include <QToolTip>

namespace {

// The start of the character that ends just before position.
qsizetype characterStartBefore(const QString& text, qsizetype position) {
    if (position >= 2 && text.at(position - 1).isLowSurrogate() && text.at(position - 2).isHighSurrogate())
        return position - 2;
    return position - 1;
}

} // namespace

SlotTextLimit::SlotTextLimit(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

qsizetype SlotTextLimit::characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return count;
}

QValidator::State SlotTextLimit::validate(QString& text, int& cursor) const {
    qsizetype excess = characterCount(text) - m_limit;
    if (excess <= 0)
        return Acceptable;
    // What was just typed or pasted stands before the cursor: drop from there, as a length limit would.
    qsizetype start = std::clamp<qsizetype>(cursor, 0, text.size());
    const qsizetype end = start;
    for (; excess > 0 && start > 0; --excess)
        start = characterStartBefore(text, start);
    text.remove(start, end - start);
    cursor = static_cast<int>(start);
    // The cursor stood too early to take it all from there: the end goes.
    for (qsizetype size = text.size(); excess > 0; --excess)
        text.truncate(size = characterStartBefore(text, size));
    if (auto* box = qobject_cast<QLineEdit*>(parent()); box && box->isVisible())
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())),
                           tr("A slot holds at most %1 characters; the rest was left out.").arg(m_limit), box);
    return Acceptable;
}
