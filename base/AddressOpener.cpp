#include "base/AddressOpener.h"

#include "platform/Desktop.h"

namespace {
AddressOpener::Observer& observer() {
    static AddressOpener::Observer current;
    return current;
}
} // namespace

void OpenAddress(const QString& address) {
    if (observer()) {
        observer()(address);
        return;
    }
    platform::openAddress(address);
}

namespace AddressOpener {

void setObserver(Observer newObserver) {
    observer() = std::move(newObserver);
}

} // namespace AddressOpener
