#pragma once

#include <QString>

#include <functional>

// Opens a web or mail address ("https://…", "mailto:…") with the user's browser or mail program, through the
// desktop shell. It returns as soon as the shell has been started and looks at no result: a launch that
// fails shows nothing.
void OpenAddress(const QString& address);

namespace AddressOpener {

// Tests install an observer to see each address instead of a real launch; pass an empty function to launch
// for real again.
using Observer = std::function<void(const QString&)>;
void setObserver(Observer observer);

} // namespace AddressOpener
