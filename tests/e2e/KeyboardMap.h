#pragma once

#include <QString>

#include <map>
#include <memory>

// The keyboard map of one X display, kept open for a test session. xdotool types a character that no key
// produces by binding it to a spare keycode for that one keystroke and unbinding it right after; a program that
// reads its keyboard map a moment late then sees the next character or none. Here each such character gets a
// keycode of its own for the rest of the session instead, so that every keystroke finds its key in place.
class KeyboardMap {
public:
    // The map of `display`; null when it cannot be opened (or this build has no Xlib).
    static std::unique_ptr<KeyboardMap> open(const QString& display);
    ~KeyboardMap();
    KeyboardMap(const KeyboardMap&) = delete;
    KeyboardMap& operator=(const KeyboardMap&) = delete;

    // Whether some key of the map produces `character` as it is.
    bool produces(char32_t character) const;
    // The keysym name that xdotool's key command takes for `character` ("U03B1" for α), bound to a keycode of
    // its own first when no key produces it; empty when no spare keycode is left.
    QString keyFor(char32_t character);

private:
    struct Connection;
    explicit KeyboardMap(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> m_connection;
    std::map<char32_t, QString> m_bound;
};
