#include "day/WaitingNote.h"

#include "base/WindowLook.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
constexpr int NoteWidth = 420;
constexpr int BelowTheTop = 60;
} // namespace

WaitingNote::WaitingNote(const QString& waiting, QWidget* over)
    : QLabel(over, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("AnswerWaitNote"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(10);
    setWordWrap(true);
    setFont(look::tahoma(13));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 225));
    colours.setColor(QPalette::WindowText, QColor(0, 0, 0));
    setPalette(colours);
    setAutoFillBackground(true);
    setText(waiting + QLatin1Char('\n') +
            tr("Saving, closing, printing and opening days wait until it answers; what you type meanwhile is kept."));
    setFixedWidth(NoteWidth);
    adjustSize();
}

void WaitingNote::showOver() {
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = over ? over->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                : QRect(0, 0, NoteWidth, height()));
    move(area.left() + (area.width() - width()) / 2, area.top() + BelowTheTop);
    show();
}
