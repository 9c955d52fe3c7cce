#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// A private X server for one end-to-end test: a free display number, the real program started on it (once, or
// several times side by side), and the xdotool and ImageMagick commands that act like a person at the screen.
// Every process it starts is stopped by its PID when the session ends, also when a test fails half-way.
class KeyboardMap;

class XSession {
public:
    // The screen is 1280 x 1024 unless a test needs room for more windows side by side.
    explicit XSession(const QSize& screen = QSize(1280, 1024));
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts Xvfb on the first free display from :90 upwards; false (with the reason in error()) when none
    // could be started.
    bool start();
    QString error() const { return m_error; }
    QString display() const { return m_display; }

    // Starts program in workingDirectory on this display; extraPath goes first on PATH. Programs started
    // earlier keep running beside it.
    QProcess& startProgram(const QString& program, const QString& workingDirectory, const QString& extraPath = {});
    // The program started last.
    QProcess& program() { return *m_programs.back(); }
    // Waits for the program started last to end; its exit code, or -1 when it did not end in time or crashed.
    int waitForProgramExit(int milliseconds);
    // The same for one given program.
    static int waitForExit(QProcess& program, int milliseconds);

    // Runs a command on this display and returns its standard output (trimmed); empty on failure.
    QString run(const QString& command, const QStringList& arguments, int milliseconds = 10000);

    // Visible windows whose title matches the regular expression, newest last.
    QStringList findWindows(const QString& titlePattern);
    // Waits until a visible window with that title exists; its id, or empty on time-out.
    QString waitForWindow(const QString& titlePattern, int milliseconds = 10000);
    // Waits until a visible window with that title exists that is not in `known`; its id, or empty on time-out.
    QString waitForNewWindow(const QString& titlePattern, const QStringList& known, int milliseconds = 10000);
    // Waits until no visible window with that title exists.
    bool waitForWindowGone(const QString& titlePattern, int milliseconds = 10000);
    // The window's position and size on the screen (client area; there is no window manager).
    QRect geometry(const QString& window);
    // Moves the window's top-left corner to the screen point and waits until it is there.
    bool move(const QString& window, const QPoint& topLeft);

    // Visible windows of the program's window class ("orvella"), titled or not, such as the splash and the
    // open list of a chooser; newest last.
    QStringList programWindows();
    // Waits for a visible program window of exactly that size that is not in `known`; its id or empty.
    QString waitForProgramWindowOfSize(const QSize& size, const QStringList& known, int milliseconds = 10000);
    // The raw text of one X property of a window as xprop prints it ("" when it is not set).
    QString windowProperty(const QString& window, const QString& property);

    void focus(const QString& window);
    void key(const QString& keys);  // e.g. "Return", "Escape", "alt+x"
    void type(const QString& text); // Unicode text through xdotool's keysym mapping
    void type(const QString& text, int delayMilliseconds);
    // Gives every character of `text` that no key produces a key of its own now, before a program starts: one
    // that reads the keyboard map only at its start (Wine) then has them all.
    void bindKeysFor(const QString& text);
    void click(const QPoint& screenPoint, int button = 1);

    // A PNG of the whole screen.
    bool screenshot(const QString& path);
    // The whole screen as an image (null when it could not be taken).
    QImage grab();

    // The text of the CLIPBOARD selection as the program that owns it hands it over (xclip); empty when
    // there is none.
    QString clipboardText();

    // Whether a command is found on PATH.
    static bool hasCommand(const QString& command);

    // Polls `condition` every `stepMilliseconds` until it holds or the time is up; whether it held.
    static bool waitUntil(const std::function<bool()>& condition, int milliseconds, int stepMilliseconds = 50);

private:
    QByteArray runForBytes(const QString& command, const QStringList& arguments, int milliseconds);

    QSize m_screen;
    QString m_display;
    QString m_error;
    std::unique_ptr<QProcess> m_server;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    std::unique_ptr<KeyboardMap> m_keyboard;
};
