#include "resources/Catalogue.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cstring>

namespace catalogue {

bool useGreek() {
    // One translator for the run; installing it again is a no-op for Qt.
    static QTranslator* greek = nullptr;
    if (!greek) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QStringLiteral(":/i18n/orvella_el.qm"))) {
            delete translator;
            return false;
        }
        greek = translator;
    }
    QCoreApplication::installTranslator(greek);
    return true;
}

bool isGreekLocaleName(const char* name) {
    return name && std::strncmp(name, "el", 2) == 0 && (name[2] == '\0' || name[2] == '_' || name[2] == '.');
}

bool useTerminalLanguage() {
    // The first of the three that is set and not empty decides, as for the C library's messages.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return isGreekLocaleName(value.constData()) && useGreek();
    }
    return false;
}

} // namespace catalogue
