#include "base/AboutWindow.h"

#include "base/AddressOpener.h"
#include "base/ErrorReport.h"
#include "base/TitlePicture.h"
#include "base/WindowLook.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

const QString WebAddress = QStringLiteral("https://www.quenmark.example/");
const QString MailAddress = QStringLiteral("info@quenmark.example");
const QString DepositPage = QStringLiteral("https://deposit.example/verify/orvella-1.0");
const char* const SealResource = ":/orvella/seal.bmp";

constexpr int ClientWidth = 658;
constexpr int ClientHeight = 322;

using look::tahoma;

} // namespace

TForm62::TForm62(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm62"));
    setWindowTitle(QStringLiteral("About Orvella"));
    look::setFixedFrame(this, QSize(ClientWidth, ClientHeight));

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(8, 20, 264, 246);
    // Creation goes on without the picture if it can't be decoded; the report says why.
    ErrorReport::guard([this] {
        m_image1->setPixmap(QPixmap::fromImage(
            TitlePicture::image().scaled(m_image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    });

    QLabel* label5 = addLabel("Label5", 278, 20, QStringLiteral("Orvella"));
    label5->setFont(tahoma(27, true));
    label5->adjustSize();
    addLabel("Label6", 448, 36, QStringLiteral("Version 1.0.0"));
    addLabel("Label2", 278, 59, QStringLiteral("Κατασκευή: Quenmark"));
    addLabel("Label12", 278, 78, QStringLiteral("Website: "));
    m_label3 = addLabel("Label3", 330, 78, WebAddress);
    addLabel("Label13", 278, 97, QStringLiteral("E-mail: "));
    m_label4 = addLabel("Label4", 320, 97, MailAddress);
    for (QLabel* link : {m_label3, m_label4}) {
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(blue);
        link->setCursor(Qt::PointingHandCursor);
        link->adjustSize();
    }
    addLabel("Label9", 278, 116, QStringLiteral("Διεύθυνση: Οδός Ερμού 100"));
    addLabel("Label10", 343, 135, QStringLiteral("105 63 Αθήνα, Ελλάδα"));
    addLabel("Label7", 278, 154, QStringLiteral("Τηλ: +30 210 0000000 (Ελλάδα)"));
    addLabel("Label14", 278, 173, QStringLiteral("Mob: +30 690 0000000 (Ελλάδα)"));
    addLabel("Label8", 278, 192, QStringLiteral("Mob: +30 690 0000001 (Ελλάδα)"));
    addLabel("Label11", 279, 211, QStringLiteral("© 2008 Quenmark. Με την επιφύλαξη παντός δικαιώματος."));

    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    const QPixmap seal(QString::fromLatin1(SealResource));
    m_image2->setPixmap(seal);
    m_image2->setGeometry(393, 230, seal.isNull() ? 147 : seal.width(), seal.isNull() ? 37 : seal.height());
    m_image2->setCursor(Qt::PointingHandCursor);

    m_button1 = new QPushButton(QStringLiteral("OK"), this);
    m_button1->setObjectName(QStringLiteral("Button1"));
    m_button1->setGeometry(306, 282, 75, 25);
    m_button1->setFont(tahoma(11, true));
    m_button1->setDefault(true);
    connect(m_button1, &QPushButton::clicked, this, &TForm62::Button1Click);

    // The window's context menu has no items: it exists for its "about to show" moment, which opens the web
    // site. It is attached to the window and to Image1, and every other control passes right-clicks on.
    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(m_popupMenu1, &QMenu::aboutToShow, this, &TForm62::PopupMenu1Popup);

    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_popupMenu1) {
            if (child != m_button1) {
                child->setFocusPolicy(Qt::NoFocus);
            }
            child->installEventFilter(this);
        }
    }
    m_button1->setFocus();

    // Centred on the screen, whoever the parent is.
    look::centreOnScreen(this);
}

QLabel* TForm62::addLabel(const char* name, int left, int top, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(tahoma(11, true));
    label->move(left, top);
    label->adjustSize(); // labels size themselves to their text
    return label;
}

void TForm62::Label3Click() {
    OpenAddress(WebAddress);
}

void TForm62::Label4Click() {
    OpenAddress(QStringLiteral("mailto:") + MailAddress);
}

void TForm62::Image2Click() {
    OpenAddress(DepositPage);
}

void TForm62::PopupMenu1Popup() {
    OpenAddress(WebAddress);
}

void TForm62::Button1Click() {
    close();
}

void TForm62::showPopupMenu1(const QPoint& globalPosition) {
    if (m_popupMenu1->actions().isEmpty()) {
        // Nothing to pick from: the menu's opening runs, but no empty frame is put on the screen.
        emit m_popupMenu1->aboutToShow();
    } else {
        m_popupMenu1->popup(globalPosition); // emits aboutToShow itself
    }
}

void TForm62::clickControl(QObject* control) {
    if (control == m_label3) {
        Label3Click();
    } else if (control == m_label4) {
        Label4Click();
    } else if (control == m_image2) {
        Image2Click();
    }
}

bool TForm62::eventFilter(QObject* watched, QEvent* event) {
    const bool clickable = watched == m_label3 || watched == m_label4 || watched == m_image2;
    switch (event->type()) {
    case QEvent::ContextMenu:
        showPopupMenu1(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonPress:
        if (clickable && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_pressed = watched;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (clickable && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool over =
                static_cast<QWidget*>(watched)->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
            const bool click = m_pressed == watched && over;
            m_pressed = nullptr;
            if (click) {
                clickControl(watched);
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm62::contextMenuEvent(QContextMenuEvent* event) {
    showPopupMenu1(event->globalPos());
    event->accept();
}
