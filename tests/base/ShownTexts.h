#pragma once

// What a window says to the person in front of it, and which of it is English: the check that the program
// speaks Greek. A text counts as English when it holds two Latin-letter words in a row; names that stay as
// they are (the program's, the engine's window titles, file names) are passed as kept.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>

namespace showntexts {

// The window's title and the texts of its visible labels, buttons, group boxes, list items, placeholders and
// tool tips; a message box's text, informative text and buttons.
inline QStringList of(const QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        texts << widget->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            texts << group->title();
        else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
            texts << edit->placeholderText();
        else if (const auto* list = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
    }
    if (const auto* box = qobject_cast<const QMessageBox*>(window))
        texts << box->text() << box->informativeText();
    texts.removeAll(QString());
    return texts;
}

// The texts that read as English, once the kept names are taken out of them.
inline QStringList english(const QStringList& texts, const QStringList& kept) {
    static const QRegularExpression twoWords(QStringLiteral("[A-Za-z]{2,}[,.;:!?'’]*\\s+[A-Za-z]{2,}"));
    QStringList found;
    for (QString text : texts) {
        text.remove(QLatin1Char('&'));
        for (const QString& name : kept)
            text.remove(name);
        // Paths and commands are named as they are written.
        text.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"|«[^»]*»|\\S*[/\\\\]\\S*|orvella-\\S+|--\\S+")));
        if (twoWords.match(text).hasMatch())
            found << text;
    }
    return found;
}

} // namespace showntexts
