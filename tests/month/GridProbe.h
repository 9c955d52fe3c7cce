#pragma once

// Finding the month window's controls by their names, the way a user sees them: what a day cell shows.
#include "MonthWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTest>

template <typename T> T* control(const TForm1& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

inline QLabel* dayLabel(const TForm1& window, int cell) {
    return control<QLabel>(window, QStringLiteral("LabelD%1").arg(cell));
}

inline QLabel* countLabel(const TForm1& window, int cell) {
    return control<QLabel>(window, QStringLiteral("LabelR%1").arg(cell));
}

inline QComboBox* monthChooser(const TForm1& window) {
    return control<QComboBox>(window, QStringLiteral("ComboBox1"));
}

inline QComboBox* yearChooser(const TForm1& window) {
    return control<QComboBox>(window, QStringLiteral("ComboBox2"));
}

inline QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}
