// CommandBarControl: a button or popup on a command bar. Any use of a deleted control raises
// -2147467259 ("Method '<member>' of object 'CommandBarControl' failed"), as Office does.
#pragma once

#include "platform/ui/Picture.h"
#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vbide {

class CommandBarControls;

class CommandBarControl : public vb::Object {
public:
    virtual int32_t Type() = 0;  // msoControlButton or msoControlPopup
    virtual int32_t Id() = 0;
    virtual int32_t Index() = 0;  // 1-based position among its siblings
    virtual std::string Caption() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string TooltipText() = 0;
    virtual void setTooltipText(const std::string& text) = 0;
    virtual std::string OnAction() = 0;
    virtual void setOnAction(const std::string& action) = 0;
    virtual std::string Tag() = 0;
    virtual void setTag(const std::string& tag) = 0;
    virtual vb::Variant Parameter() = 0;
    virtual void setParameter(const vb::Variant& parameter) = 0;
    virtual bool BeginGroup() = 0;
    virtual void setBeginGroup(bool beginGroup) = 0;
    virtual bool Enabled() = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool Visible() = 0;
    virtual void setVisible(bool visible) = 0;
    // Takes the picture on ui::Clipboard as the button's face. An empty clipboard raises
    // -2147467259; a popup (which has no face) raises 438.
    virtual void PasteFace() = 0;
    virtual ui::PicturePtr Face() = 0;  // empty when the control has none
    // The drop-down of a popup; a button raises 438.
    virtual std::shared_ptr<CommandBarControls> Controls() = 0;
    // Runs the control as a click does: its CommandBarEvents handlers are raised. A disabled
    // control raises -2147467259.
    virtual void Execute() = 0;
    // Removes the control (a popup with its drop-down). Temporary True removes a control the IDE
    // keeps between sessions for the current session only: it is back in the next one.
    virtual void Delete(std::optional<bool> temporary = std::nullopt) = 0;
};

} // namespace vbide
