#include "platform/vbide/Window.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComWindow final : public Window, public com::Remote {
public:
    using Remote::Remote;

    std::string Caption() override { return object().get("Caption").toString(); }
    bool Visible() override { return object().get("Visible").toBool(); }
    void setVisible(bool visible) override { object().put("Visible", visible); }
    void SetFocus() override { object().call("SetFocus"); }
    int32_t WindowState() override { return object().get("WindowState").toLong(); }
    void setWindowState(int32_t state) override { object().put("WindowState", state); }
    int32_t Width() override { return object().get("Width").toLong(); }
    void setWidth(int32_t width) override { object().put("Width", width); }
    int32_t Height() override { return object().get("Height").toLong(); }
    void setHeight(int32_t height) override { object().put("Height", height); }
};

} // namespace

std::shared_ptr<Window> adaptWindow(const com::Dispatch& object) {
    return com::adapt<ComWindow, Window>(object);
}

} // namespace vbide::win
