#include "app/SplashWindow.h"

#include "base/ErrorReport.h"
#include "base/TitlePicture.h"
#include "base/WindowLook.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_image1(new QLabel(this)),
      m_timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("TForm4"));
    setFixedSize(977, 735);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    // Centred on the screen. Left to itself, a dialog allows for a title bar and border that this window
    // doesn't have and stands 10 pixels left of and 40 above the centre.
    look::centreOnScreen(this);

    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(QRect(QPoint(8, 8), PictureSize));
    // The picture arrives stretched to the label's size (made while the notice was up): a label left to
    // stretch it would keep a stretched copy of its own beside the whole picture, 2.8 MB more while the splash
    // is up, which is the start's highest point.
    ErrorReport::guard([this] {
        const QSize size = pictureDeviceSize();
        QPixmap picture = QPixmap::fromImage(TitlePicture::takeStretched(size));
        picture.setDevicePixelRatio(static_cast<qreal>(size.width()) / PictureSize.width());
        m_image1->setPixmap(picture);
    });

    // The 2.5 s count from the window's creation, that is from after the start-up notice was dismissed.
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(DisplayMilliseconds);
    m_timer1->setSingleShot(false);
    // A coarse timer may fire up to 5% early; the splash stays its full 2.5 s.
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, &TForm4::Timer1Timer);
    m_timer1->start();
}

QSize TForm4::pictureDeviceSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    return (QSizeF(PictureSize) * ratio).toSize();
}

void TForm4::Timer1Timer() {
    m_timer1->stop();
    m_closing = true;
    accept();
}

void TForm4::reject() {
    if (m_closing) {
        QDialog::reject();
    }
}

void TForm4::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
