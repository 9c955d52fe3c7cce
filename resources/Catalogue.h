#pragma once

// The program's texts are written in English in the code and shown in Greek through Qt's translation system:
// the Greek catalogue is compiled into the program (":/i18n/orvella_el.qm").
namespace catalogue {

// Installs the Greek catalogue for the whole application, whatever the desktop's language: the windows speak
// Greek to their users. Safe to call more than once. False when the compiled-in catalogue could not be loaded.
bool useGreek();

// The data-folder tool speaks the terminal's language: Greek when the messages' locale (LC_ALL, LC_MESSAGES,
// LANG, in that order, as the C library reads them) is Greek, English otherwise. True when Greek was chosen.
bool useTerminalLanguage();

// Whether the locale name (e.g. "el_GR.UTF-8", "C", "en_US") asks for Greek.
bool isGreekLocaleName(const char* name);

} // namespace catalogue
