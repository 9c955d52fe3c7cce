#pragma once

#include <QWidget>

// The hidden host window: the application's main window, whose creation runs the whole start-up sequence
// (notice, splash, month window) and asks the application to end when the month window closes.
class TForm5 : public QWidget {
public:
    // Whether the book's key and the splash's picture are prepared on workers while the notice is read, and the
    // month window's fonts while the splash is up. The program always does; the start-up benchmark also times
    // the start without it, to compare.
    enum class Preparation { Ahead, OnDemand };

    explicit TForm5(QWidget* parent = nullptr, Preparation preparation = Preparation::Ahead);

private:
    void FormCreate();

    Preparation m_preparation;
};
