#include "platform/vbide/CommandBarControl.h"

#include "platform/ui/Clipboard.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adaptDispatch.h"
#include "platform/win/vbide/adapters.h"
#include "platform/win/vbide/systemClipboard.h"

namespace vbide::win {

namespace {

class ComCommandBarControl final : public CommandBarControl, public com::Remote {
public:
    using Remote::Remote;

    int32_t Type() override { return object().get("Type").toLong(); }
    int32_t Id() override { return object().get("Id").toLong(); }
    int32_t Index() override { return object().get("Index").toLong(); }
    std::string Caption() override { return object().get("Caption").toString(); }
    void setCaption(const std::string& caption) override { object().put("Caption", caption); }
    std::string TooltipText() override { return object().get("TooltipText").toString(); }
    void setTooltipText(const std::string& text) override { object().put("TooltipText", text); }
    std::string OnAction() override { return object().get("OnAction").toString(); }
    void setOnAction(const std::string& action) override { object().put("OnAction", action); }
    std::string Tag() override { return object().get("Tag").toString(); }
    void setTag(const std::string& tag) override { object().put("Tag", tag); }
    vb::Variant Parameter() override {
        auto value = object().get("Parameter");
        return value.isObject() ? vb::Variant(adaptDispatch(value.toObject().get())) : value.toScalar();
    }
    void setParameter(const vb::Variant& parameter) override { object().put("Parameter", parameter); }
    bool BeginGroup() override { return object().get("BeginGroup").toBool(); }
    void setBeginGroup(bool beginGroup) override { object().put("BeginGroup", beginGroup); }
    bool Enabled() override { return object().get("Enabled").toBool(); }
    void setEnabled(bool enabled) override { object().put("Enabled", enabled); }
    bool Visible() override { return object().get("Visible").toBool(); }
    void setVisible(bool visible) override { object().put("Visible", visible); }
    // The add-in puts the face on the runtime's clipboard; the IDE takes it from the system's.
    void PasteFace() override {
        if (auto picture = ui::Clipboard::GetData()) putOnSystemClipboard(*picture);
        object().call("PasteFace");
    }
    ui::PicturePtr Face() override {
        object().call("CopyFace");
        return pictureOnSystemClipboard();
    }
    std::shared_ptr<CommandBarControls> Controls() override {
        return adaptCommandBarControls(object().get("Controls").toObject());
    }
    void Execute() override { object().call("Execute"); }
    void Delete(std::optional<bool> temporary) override {
        object().call("Delete", {temporary ? com::Arg(*temporary) : com::Arg::missing()});
    }
};

} // namespace

std::shared_ptr<CommandBarControl> adaptCommandBarControl(const com::Dispatch& object) {
    return com::adapt<ComCommandBarControl, CommandBarControl>(object);
}

} // namespace vbide::win
