#include "platform/ui/User.h"

#include "platform/ui/ScriptedUser.h"

namespace ui {

namespace {
struct Slot {
    std::shared_ptr<User> user;
    bool installed = false;  // false while the stand-in (or nobody) answers
};
Slot& slot() {
    static Slot s;
    return s;
}
} // namespace

void User::install(std::shared_ptr<User> user) {
    slot().installed = user != nullptr;
    slot().user = std::move(user);
}

std::shared_ptr<User> User::current() {
    auto& user = slot().user;
    if (!user) user = std::make_shared<ScriptedUser>();
    return user;
}

bool User::installed() { return slot().installed; }

bool offersResult(int32_t style, int32_t result) {
    switch (style & 7) {
    case 0: return result == 1;                               // OK
    case 1: return result == 1 || result == 2;                // OK, Cancel
    case 2: return result >= 3 && result <= 5;                // Abort, Retry, Ignore
    case 3: return result == 6 || result == 7 || result == 2; // Yes, No, Cancel
    case 4: return result == 6 || result == 7;                // Yes, No
    case 5: return result == 4 || result == 2;                // Retry, Cancel
    default: return false;
    }
}

int32_t safestResult(int32_t style) {
    for (int32_t result : {2, 7, 3})  // Cancel, No, Abort
        if (offersResult(style, result)) return result;
    return 1;
}

} // namespace ui
