#include "day/LiveAnswerWait.h"

#include "day/AnswerWaitGate.h"
#include "day/WaitingNote.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>

bool LiveAnswerWait::waitFor(const Awaited& awaited, int milliseconds, qint64 waitedSoFar, const QString& waiting) {
    if (awaited.readyWithin(0))
        return true;
    // Only the windows' thread has windows to keep alive.
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return awaited.readyWithin(milliseconds);
    const int held = static_cast<int>(std::clamp<qint64>(HeldMilliseconds - waitedSoFar, 0, milliseconds));
    if (held > 0) {
        if (awaited.readyWithin(held))
            return true;
        milliseconds -= held;
        waitedSoFar += held;
        if (milliseconds <= 0)
            return false;
    }

    QEventLoop loop;
    bool ready = false;
    auto arrived = [&] {
        ready = true;
        loop.quit();
    };
    // A socket tells when it turns; an answer on another thread (a name's lookup) is looked at in short slices.
    std::unique_ptr<QSocketNotifier> notifier;
    QTimer looked;
    if (awaited.answered) {
        looked.setInterval(AnswerLookedAtMilliseconds);
        QObject::connect(&looked, &QTimer::timeout, &loop, [&] {
            if (awaited.readyWithin(0))
                arrived();
        });
    } else {
        notifier = std::make_unique<QSocketNotifier>(
            awaited.socket,
            awaited.direction == platform::SocketWait::Readable ? QSocketNotifier::Read : QSocketNotifier::Write);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, &loop, arrived);
    }
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
        gate.letThrough(&looked);
        QObject::connect(&gate, &AnswerWaitGate::refused, &loop, [&] {
            QApplication::beep();
            show();
        });
        limit.start(milliseconds);
        if (awaited.answered)
            looked.start();
        shown.start(static_cast<int>(std::max<qint64>(0, ShownAfterMilliseconds - waitedSoFar)));
        loop.exec();
        delete note.data();
        if (busyCursor)
            QApplication::restoreOverrideCursor();
    }
    return ready || awaited.readyWithin(0);
}
