#include "base/SharedState.h"

SharedState& sharedState() {
    static SharedState state;
    return state;
}
