// This file holds only Win32 code.
#include "win/AddinPlatform.h"

#include "engine/wkapis.h"
#include "platform/errorhandling.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/win/com/Dispatch.h"
#include "platform/win/ui/RealTimeDriver.h"
#include "platform/win/ui/Win32User.h"
#include "platform/win/ui/WindowRenderer.h"

namespace nimb::win {

namespace {
// The notification poll runs every 100 ms; a clock of half that keeps its ticks within 50 ms.
constexpr uint32_t kClockPeriodMs = 50;

// The renderer whose forms the key hook serves; one platform is connected at a time.
std::shared_ptr<winui::WindowRenderer> hookedRenderer;
} // namespace

std::shared_ptr<winui::WindowRenderer> sharedRenderer() {
    static std::weak_ptr<winui::WindowRenderer> current;
    auto renderer = current.lock();
    if (!renderer) {
        renderer = std::make_shared<winui::WindowRenderer>();
        current = renderer;
    }
    return renderer;
}

HWND ideMainWindow(IDispatch* application) {
    HWND window = nullptr;
    vb::silently([&] {
        const auto handle = com::Dispatch(application).get("MainWindow").toObject().get("hWnd").toLong();
        window = reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
    });
    return IsWindow(window) ? window : nullptr;
}

AddinPlatform::AddinPlatform(HWND ideWindow) : ideWindow_(ideWindow), renderer_(sharedRenderer()) {
    for (const auto& form : ui::Forms::loaded()) realize(*form);
    ui::Forms::watchLoads([this](ui::Form& form) { realize(form); });
    if (!ui::User::installed()) {
        // A message box without a title shows the program's name, as VB's MsgBox does.
        user_ = std::make_shared<winui::Win32User>(*renderer_, ideWindow_, wkapis::errorSource);
        ui::User::install(user_);
    }
    if (!ui::EventLoop::driven()) clock_ = std::make_unique<winui::RealTimeDriver>(kClockPeriodMs);
    // The IDE's loop translates and dispatches its own way, so a modeless form's default and cancel
    // buttons are pressed from a hook that sees each message as the loop takes it off the queue.
    hookedRenderer = renderer_;
    keys_ = SetWindowsHookExW(WH_GETMESSAGE, keyHook, nullptr, GetCurrentThreadId());
}

AddinPlatform::~AddinPlatform() {
    if (keys_ != nullptr) UnhookWindowsHookEx(keys_);
    hookedRenderer.reset();
    ui::Forms::watchLoads(nullptr);
    clock_.reset();
    if (user_ && ui::User::installed() && ui::User::current() == user_) ui::User::install(nullptr);
    user_.reset();
    renderer_.reset();  // the last holder destroys the forms' windows
}

// A form that cannot become a window still works: it is only not seen.
void AddinPlatform::realize(ui::Form& form) {
    vb::silently([&] { renderer_->realize(form, ideWindow_); });
}

// A key the form used is taken out of the loop's hands: it must not also reach the focused control.
LRESULT CALLBACK AddinPlatform::keyHook(int code, WPARAM removed, LPARAM message) {
    auto* msg = reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && removed == PM_REMOVE && hookedRenderer && hookedRenderer->preTranslate(*msg))
        msg->message = WM_NULL;
    return CallNextHookEx(nullptr, code, removed, message);
}

} // namespace nimb::win
