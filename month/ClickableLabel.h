#pragma once

#include <QLabel>

// A label that reports a click: a left-button press and release both inside it, as a button would, or
// Enter, Return or Space while it has the keyboard focus, which it shows with a plain frame.
// The month grid's day numbers are such labels; a click on one opens that day.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};
