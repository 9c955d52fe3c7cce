#include "tests/e2e/KeyboardMap.h"

#ifdef ORVELLA_E2E_XLIB
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

#include <vector>

#ifdef ORVELLA_E2E_XLIB

namespace {

// Latin-1 characters have keysyms of their own value; every other Unicode character 0x01000000 plus its code.
unsigned long keysymOf(char32_t character) {
    return character < 0x100 ? character : 0x01000000UL + character;
}

} // namespace

// The display connection, closed once.
struct KeyboardMap::Connection {
    Display* display = nullptr;
    ~Connection() {
        if (display) {
            XCloseDisplay(display);
        }
    }
};

std::unique_ptr<KeyboardMap> KeyboardMap::open(const QString& display) {
    auto connection = std::make_unique<Connection>();
    connection->display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!connection->display) {
        return nullptr;
    }
    return std::unique_ptr<KeyboardMap>(new KeyboardMap(std::move(connection)));
}

bool KeyboardMap::produces(char32_t character) const {
    return XKeysymToKeycode(m_connection->display, keysymOf(character)) != 0;
}

QString KeyboardMap::keyFor(char32_t character) {
    const auto known = m_bound.find(character);
    if (known != m_bound.end()) {
        return known->second;
    }
    const QString name = QStringLiteral("U%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
    if (produces(character)) {
        m_bound.emplace(character, name);
        return name;
    }
    Display* display = m_connection->display;
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKeycode);
    if (!map) {
        return {};
    }
    // A keycode that produces nothing, or else only vendor keys (media, browser and power keys) that no test
    // presses; the default map of a virtual server has few of the first kind.
    const auto isSpare = [&](int code, bool vendorKeysToo) {
        for (int level = 0; level < perKeycode; ++level) {
            const KeySym symbol = map[(code - first) * perKeycode + level];
            const bool vendor = symbol >= 0x10080000UL && symbol <= 0x1008FFFFUL;
            if (symbol != NoSymbol && !(vendorKeysToo && vendor)) {
                return false;
            }
        }
        return true;
    };
    int spare = 0;
    for (const bool vendorKeysToo : {false, true}) {
        for (int code = first; code <= last && spare == 0; ++code) {
            if (isSpare(code, vendorKeysToo)) {
                spare = code;
            }
        }
    }
    XFree(map);
    if (spare == 0) {
        return {};
    }
    // The same keysym on both levels, so that the key types the character with or without Shift.
    std::vector<KeySym> symbols(static_cast<std::size_t>(2), keysymOf(character));
    XChangeKeyboardMapping(display, spare, 2, symbols.data(), 1);
    XSync(display, False);
    m_bound.emplace(character, name);
    return name;
}

#else

struct KeyboardMap::Connection {};

std::unique_ptr<KeyboardMap> KeyboardMap::open(const QString&) {
    return nullptr;
}

bool KeyboardMap::produces(char32_t) const {
    return false;
}

QString KeyboardMap::keyFor(char32_t) {
    return {};
}

#endif

KeyboardMap::KeyboardMap(std::unique_ptr<Connection> connection) : m_connection(std::move(connection)) {}

KeyboardMap::~KeyboardMap() = default;
