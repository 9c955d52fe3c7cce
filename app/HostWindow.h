#pragma once

#include <QWidget>

// The hidden host window: the application's main window, whose creation runs the whole start-up sequence
// (notice, splash, month window) and asks the application to end when the month window closes.
class TForm5 : public QWidget {
public:
    explicit TForm5(QWidget* parent = nullptr);

private:
    void FormCreate();
};
