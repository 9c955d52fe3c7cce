#include "day/LiveAnswerWait.h"

#include "day/AnswerWaitGate.h"
#include "day/WaitingNote.h"
#include "platform/Sockets.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>

bool LiveAnswerWait::waitReadable(int socket, int milliseconds, qint64 waitedSoFar, const QString& waiting) {
    if (platform::socketReady(socket, platform::SocketWait::Readable, 0))
        return true;
    // Only the windows' thread has windows to keep alive.
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return platform::socketReady(socket, platform::SocketWait::Readable, milliseconds);
    const int held = static_cast<int>(std::clamp<qint64>(HeldMilliseconds - waitedSoFar, 0, milliseconds));
    if (held > 0) {
        if (platform::socketReady(socket, platform::SocketWait::Readable, held))
            return true;
        milliseconds -= held;
        waitedSoFar += held;
        if (milliseconds <= 0)
            return false;
    }

    QEventLoop loop;
    bool ready = false;
    QSocketNotifier answer(socket, QSocketNotifier::Read);
    QObject::connect(&answer, &QSocketNotifier::activated, &loop, [&] {
        ready = true;
        loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer shown;
    shown.setSingleShot(true);

    QPointer<WaitingNote> note;
    bool busyCursor = false;
    auto show = [&] {
        if (note)
            return;
        QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                          : QApplication::activeWindow();
        note = new WaitingNote(waiting, over);
        note->showOver();
        if (!busyCursor) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
            busyCursor = true;
        }
    };
    QObject::connect(&shown, &QTimer::timeout, &loop, show);
    {
        AnswerWaitGate gate;
        gate.letThrough(&limit);
        gate.letThrough(&shown);
        QObject::connect(&gate, &AnswerWaitGate::refused, &loop, [&] {
            QApplication::beep();
            show();
        });
        limit.start(milliseconds);
        shown.start(static_cast<int>(std::max<qint64>(0, ShownAfterMilliseconds - waitedSoFar)));
        loop.exec();
        delete note.data();
        if (busyCursor)
            QApplication::restoreOverrideCursor();
    }
    return ready || platform::socketReady(socket, platform::SocketWait::Readable, 0);
}
