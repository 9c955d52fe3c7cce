#pragma once

#include <QDialog>
#include <QSize>

class QLabel;
class QTimer;

// The splash window: the title picture in a thin frame, shown for 2.5 s at start-up.
class TForm4 : public QDialog {
public:
    // How long the splash stays, counted from the window's creation.
    static constexpr int DisplayMilliseconds = 2500;
    // The title picture's place in the window, in pixels of the window.
    static constexpr QSize PictureSize{960, 720};

    // The picture's size in the screen's own pixels: what the title picture is stretched to, ahead of the
    // window while the notice is up, and when the window is made.
    static QSize pictureDeviceSize();

    explicit TForm4(QWidget* parent = nullptr);

    // Stops the timer so that it fires once only, and closes the window.
    void Timer1Timer();

    // The splash handles no input of its own: Esc does not close it, only its timer does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_image1;
    QTimer* m_timer1;
    bool m_closing = false;
};
