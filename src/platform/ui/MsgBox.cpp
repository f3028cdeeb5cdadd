#include "platform/ui/MsgBox.h"

#include "platform/ui/User.h"

namespace ui {

int32_t MsgBox(const std::string& prompt, int32_t style, const std::string& title) {
    auto user = User::current();  // held: the answer may install another user
    return user->msgBox(prompt, style, title);
}

} // namespace ui
