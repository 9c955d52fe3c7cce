#pragma once

#include <QDialog>

class QContextMenuEvent;
class QLabel;
class QMenu;
class QPushButton;

// The About window: the product's name and version, its maker and how to reach the maker. Clicking the web
// address, the e-mail address or the deposit seal opens it through the desktop shell, and so does any
// right-click or the context-menu key anywhere in the window. Opened modally from the month window, a new
// one each time:
//     auto* about = new TForm62(nullptr);
//     about->setAttribute(Qt::WA_DeleteOnClose);
//     about->exec();
class TForm62 : public QDialog {
    Q_OBJECT

public:
    explicit TForm62(QWidget* parent = nullptr);

    // Opens the maker's web site.
    void Label3Click();
    // Opens a mail to the maker.
    void Label4Click();
    // Opens the deposit service's page that confirms this work's deposit.
    void Image2Click();
    // Runs each time PopupMenu1 is about to open: opens the maker's web site.
    void PopupMenu1Popup();
    // Closes the window, ending its modal run.
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QLabel* addLabel(const char* name, int left, int top, const QString& text);
    void showPopupMenu1(const QPoint& globalPosition);
    void clickControl(QObject* control);

    QLabel* m_image1 = nullptr;
    QLabel* m_image2 = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QPushButton* m_button1 = nullptr;
    QMenu* m_popupMenu1 = nullptr;
    // The control the left button went down on; a click is the button coming up over the same control.
    QObject* m_pressed = nullptr;
};
