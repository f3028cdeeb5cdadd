#include "platform/ui/Form.h"

#include "platform/ui/CommandButton.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"
#include "platform/ui/User.h"

#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/ui/UIErrors.h"

namespace ui {

Form::Form(std::string name) : Control(std::move(name)) { setVisible(false); }

Form::~Form() = default;

void Form::setClientSize(int32_t scaleWidth, int32_t scaleHeight) {
    if (scaleWidth < 0 || scaleHeight < 0) throw vb::VBError(vb::err::InvalidPropertyValue, "Invalid property value");
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
    notify(Aspect::Geometry);
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Forms::noteLoaded(shared_from_this());
    for (const auto& control : allControls())
        if (auto timer = std::dynamic_pointer_cast<Timer>(control)) timer->restart();
    Form_Load();
}

void Form::Show(int32_t style) {
    if (style == vbModal && loaded_ && Visible())
        throw vb::VBError(err::FormAlreadyDisplayed, "Form already displayed; can't show modally");
    auto keepAlive = shared_from_this();
    Load();
    setVisible(true);
    if (style != vbModal) return;
    modal_ = true;
    User::current()->showModal(*this);
    modal_ = false;
    // The person is done with the form; whatever a port left behind, the modal display is over.
    if (loaded_) setVisible(false);
}

void Form::Hide() {
    Load();
    setVisible(false);
}

bool Form::Unload() { return unloadFor(vbFormCode, false); }

bool Form::closeBox() { return unloadFor(vbFormControlMenu, false); }

void Form::unloadAtEnd() { unloadFor(vbFormCode, true); }

bool Form::unloadFor(int32_t unloadMode, bool overrule) {
    if (!loaded_) return true;
    auto keepAlive = shared_from_this();
    // At the end of the program a failing or cancelling hook cannot keep the form.
    auto runHook = [overrule](auto&& hook) {
        if (overrule) vb::silently(hook);
        else hook();
    };
    bool cancel = false;
    runHook([&] { Form_QueryUnload(cancel, unloadMode); });
    if (cancel && !overrule) return false;
    cancel = false;
    runHook([&] { Form_Unload(cancel); });
    if (cancel && !overrule) return false;
    loaded_ = false;
    setVisible(false);
    Forms::noteUnloaded(*this);
    return true;
}

namespace {
bool pressButton(Form& form, bool (CommandButton::*role)() const) {
    for (const auto& control : form.allControls()) {
        auto button = std::dynamic_pointer_cast<CommandButton>(control);
        if (button && ((*button).*role)() && button->reachable()) {
            button->click();
            return true;
        }
    }
    return false;
}
} // namespace

bool Form::pressEnter() { return pressButton(*this, &CommandButton::Default); }

bool Form::pressEscape() { return pressButton(*this, &CommandButton::Cancel); }

} // namespace ui
