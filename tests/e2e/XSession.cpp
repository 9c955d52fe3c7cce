#include "tests/e2e/XSession.h"

#include "tests/e2e/KeyboardMap.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

void stop(QProcess* process) {
    if (!process || process->state() == QProcess::NotRunning) {
        return;
    }
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

// The process id written in a display's lock file, 0 when there is none.
qint64 lockHolder(int display) {
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(display));
    if (!lock.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return lock.readAll().trimmed().toLongLong();
}

} // namespace

XSession::XSession(const QSize& screen) : m_screen(screen) {}

XSession::~XSession() {
    for (auto program = m_programs.rbegin(); program != m_programs.rend(); ++program) {
        stop(program->get());
    }
    // The keyboard map's connection closes before its server goes.
    m_keyboard.reset();
    stop(m_server.get());
}

bool XSession::start() {
    // The server picks a free display itself and writes its number to its standard output: with sessions of
    // several tests starting at once, a number chosen here could be taken by another between the choice and the
    // server's start.
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("%1x%2x24").arg(m_screen.width()).arg(m_screen.height()),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                     // Without it the server resets whenever its last client leaves (the readiness check's
                     // xdotool, say), and a program connecting during the reset is turned away.
                     QStringLiteral("-noreset")});
    if (!m_server->waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb could not be started: ") + m_server->errorString();
        return false;
    }
    QDeadlineTimer deadline(15000);
    QByteArray number;
    while (!number.endsWith('\n') && !deadline.hasExpired() && m_server->state() == QProcess::Running) {
        m_server->waitForReadyRead(100);
        number += m_server->readAllStandardOutput();
    }
    bool valid = false;
    const int display = number.trimmed().toInt(&valid);
    if (!valid) {
        m_error = QStringLiteral("Xvfb named no display it listens on");
        stop(m_server.get());
        return false;
    }
    m_display = QStringLiteral(":%1").arg(display);
    while (!deadline.hasExpired() && m_server->state() == QProcess::Running) {
        // The number came from this server itself; a lock file naming another process would mean another
        // server answers there. Debian 12's Xvfb writes no lock file when it picks the display itself.
        const qint64 holder = lockHolder(display);
        if ((holder == 0 || holder == m_server->processId()) &&
            !run(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")}).isEmpty())
            return true;
        QThread::msleep(50);
    }
    m_error = QStringLiteral("Xvfb on %1 did not answer").arg(m_display);
    stop(m_server.get());
    return false;
}

QProcess& XSession::startProgram(const QString& programPath, const QString& workingDirectory,
                                 const QString& extraPath) {
    QProcess& program = *m_programs.emplace_back(std::make_unique<QProcess>());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!extraPath.isEmpty()) {
        environment.insert(QStringLiteral("PATH"), extraPath + QLatin1Char(':') + environment.value("PATH"));
    }
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workingDirectory);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(programPath, {});
    program.waitForStarted(5000);
    return program;
}

int XSession::waitForProgramExit(int milliseconds) {
    return m_programs.empty() ? -1 : waitForExit(*m_programs.back(), milliseconds);
}

int XSession::waitForExit(QProcess& program, int milliseconds) {
    if (program.state() != QProcess::NotRunning && !program.waitForFinished(milliseconds)) {
        return -1;
    }
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

QString XSession::run(const QString& command, const QStringList& arguments, int milliseconds) {
    return QString::fromUtf8(runForBytes(command, arguments, milliseconds)).trimmed();
}

QByteArray XSession::runForBytes(const QString& command, const QStringList& arguments, int milliseconds) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(environment);
    process.start(command, arguments);
    if (!process.waitForFinished(milliseconds)) {
        stop(&process);
        return {};
    }
    return process.readAllStandardOutput();
}

QStringList XSession::findWindows(const QString& titlePattern) {
    const QString out = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                        QStringLiteral("--name"), titlePattern});
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XSession::waitForWindow(const QString& titlePattern, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        const QStringList windows = findWindows(titlePattern);
        if (!windows.isEmpty()) {
            return windows.last();
        }
        QThread::msleep(50);
    }
    return {};
}

QString XSession::waitForNewWindow(const QString& titlePattern, const QStringList& known, int milliseconds) {
    QString found;
    waitUntil(
        [&] {
            for (const QString& window : findWindows(titlePattern)) {
                if (!known.contains(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

bool XSession::waitForWindowGone(const QString& titlePattern, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (findWindows(titlePattern).isEmpty()) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

QRect XSession::geometry(const QString& window) {
    const QString out = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), window});
    static const QRegularExpression position(QStringLiteral("Position: (-?\\d+),(-?\\d+)"));
    static const QRegularExpression size(QStringLiteral("Geometry: (\\d+)x(\\d+)"));
    const auto p = position.match(out);
    const auto s = size.match(out);
    if (!p.hasMatch() || !s.hasMatch()) {
        return {};
    }
    return QRect(p.captured(1).toInt(), p.captured(2).toInt(), s.captured(1).toInt(), s.captured(2).toInt());
}

bool XSession::move(const QString& window, const QPoint& topLeft) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowmove"), window, QString::number(topLeft.x()), QString::number(topLeft.y())});
    return waitUntil([&] { return geometry(window).topLeft() == topLeft; }, 5000);
}

QStringList XSession::programWindows() {
    const QString out = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                        QStringLiteral("--class"), QStringLiteral("orvella")});
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XSession::waitForProgramWindowOfSize(const QSize& size, const QStringList& known, int milliseconds) {
    QString found;
    waitUntil(
        [&] {
            for (const QString& window : programWindows()) {
                if (!known.contains(window) && geometry(window).size() == size) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds, 20);
    return found;
}

QString XSession::windowProperty(const QString& window, const QString& property) {
    const QString out = run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, property});
    // "NAME(TYPE) = value" when set, "NAME:  not found." when not.
    const qsizetype equals = out.indexOf(QStringLiteral(" = "));
    return equals < 0 ? QString() : out.mid(equals + 3);
}

void XSession::focus(const QString& window) {
    run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
}

void XSession::key(const QString& keys) {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), keys});
}

void XSession::type(const QString& text) {
    type(text, 30);
}

void XSession::bindKeysFor(const QString& text) {
    if (!m_keyboard) {
        m_keyboard = KeyboardMap::open(m_display);
    }
    if (!m_keyboard) {
        return;
    }
    for (const uint character : text.toUcs4()) {
        if (character >= 0x80) {
            m_keyboard->keyFor(character);
        }
    }
}

void XSession::type(const QString& text, int delayMilliseconds) {
    const QString delay = QString::number(delayMilliseconds);
    if (!m_keyboard) {
        m_keyboard = KeyboardMap::open(m_display);
    }
    if (!m_keyboard) {
        run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), delay, text}, 60000);
        return;
    }
    // Runs of plain ASCII go through xdotool's type; every other character is pressed as the key that the
    // keyboard map now holds for it.
    QString ascii;
    QStringList keys;
    const auto flush = [&] {
        if (!ascii.isEmpty()) {
            run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), delay, ascii}, 60000);
            ascii.clear();
        }
        if (!keys.isEmpty()) {
            run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"), delay} + keys,
                60000);
            keys.clear();
        }
    };
    for (const uint character : text.toUcs4()) {
        if (character < 0x80) {
            if (!keys.isEmpty()) {
                flush();
            }
            ascii.append(QChar(static_cast<char16_t>(character)));
        } else {
            if (!ascii.isEmpty()) {
                flush();
            }
            const QString key = m_keyboard->keyFor(character);
            if (key.isEmpty()) {
                // No key left to give it: xdotool binds one for the keystroke.
                flush();
                const char32_t alone = character;
                ascii = QString::fromUcs4(&alone, 1);
                flush();
            } else {
                keys.append(key);
            }
        }
    }
    flush();
}

void XSession::click(const QPoint& screenPoint, int button) {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y())});
    QThread::msleep(50);
    run(QStringLiteral("xdotool"), {QStringLiteral("click"), QString::number(button)});
}

bool XSession::screenshot(const QString& path) {
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}, 20000);
    return QFile::exists(path);
}

QImage XSession::grab() {
    // ImageMagick writes the PNG to its standard output; no file to clean up.
    const QByteArray png = runForBytes(
        QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")}, 20000);
    return QImage::fromData(png, "PNG");
}

QString XSession::clipboardText() {
    return QString::fromUtf8(
        runForBytes(QStringLiteral("xclip"),
                    {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")}, 3000));
}

bool XSession::hasCommand(const QString& command) {
    return !QStandardPaths::findExecutable(command).isEmpty();
}

bool XSession::waitUntil(const std::function<bool()>& condition, int milliseconds, int stepMilliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (true) {
        if (condition()) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(static_cast<unsigned long>(stepMilliseconds));
    }
}
