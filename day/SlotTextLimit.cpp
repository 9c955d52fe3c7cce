#include "day/SlotTextLimit.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QToolTip>

namespace {

// Steps back from position over whole user-perceived characters (grapheme clusters: a letter with its
// accents, an emoji with its skin tone or its joined parts) until at least `excess` code points lie between
// the new position and the old one, or the start is reached; returns the new position and lowers excess.
qsizetype stepBack(const QString& text, qsizetype position, qsizetype& excess) {
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    clusters.setPosition(position);
    while (excess > 0 && position > 0) {
        const qsizetype previous = clusters.toPreviousBoundary();
        if (previous < 0)
            break;
        excess -= SlotTextLimit::characterCount(QStringView(text).mid(previous, position - previous));
        position = previous;
    }
    return position;
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
    const qsizetype end = std::clamp<qsizetype>(cursor, 0, text.size());
    const qsizetype start = stepBack(text, end, excess);
    text.remove(start, end - start);
    cursor = static_cast<int>(start);
    // The cursor stood too early to take it all from there: the end goes.
    if (excess > 0)
        text.truncate(stepBack(text, text.size(), excess));
    if (auto* box = qobject_cast<QLineEdit*>(parent()); box && box->isVisible())
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())),
                           tr("A slot holds at most %1 characters; the rest was left out.").arg(m_limit), box);
    return Acceptable;
}
