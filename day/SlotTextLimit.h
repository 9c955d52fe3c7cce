#pragma once

#include <QValidator>

// The length limit of a slot box, counted in characters as the store counts them (Unicode code points),
// where the box's own maximum length counts UTF-16 units and would both stop an emoji-only text at half the
// limit and cut a character in two. Text past the limit is dropped whole user-perceived characters at a time
// (a letter with its accents, an emoji with its skin tone: never half of one), those just typed or pasted
// (before the cursor) first, so that the box always holds what the slot can store; when something was
// dropped the box says so in a tool tip.
class SlotTextLimit : public QValidator {
    Q_OBJECT
public:
    explicit SlotTextLimit(int limit, QObject* parent = nullptr);

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }

    // The number of characters (code points) in text; a surrogate pair counts once.
    static qsizetype characterCount(QStringView text);

    State validate(QString& text, int& cursor) const override;

private:
    int m_limit;
};
