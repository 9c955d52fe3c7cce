#pragma once

#include <QWidget>

// A rectangle with a white fill and a 1-pixel black outline, the piece the month grid is drawn from.
// Neighbouring shapes overlap by one pixel so that they share their outlines; a shape one pixel wide
// or high is all outline, a plain black line.
class RectangleShape : public QWidget {
    Q_OBJECT

public:
    explicit RectangleShape(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
