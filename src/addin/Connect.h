// Connect: the add-in's connection object, created by the IDE when it loads the add-in. Connecting
// only prepares the user-interface font, creates the integration manager and adds one entry to the
// Add-Ins menu; choosing that entry starts the add-in (engine connection and user interface).
#pragma once

#include "addin/ControlInspection.h"
#include "platform/vbide/AddinInstance.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {
class AddIn;
class CommandBarControl;
class CommandBarEvents;
class VBE;
} // namespace vbide

namespace nimb {

class IMgrVB;

inline constexpr char connectProgId[] = "nimbvbadd.Connect";

class Connect : public vbide::AddinInstance, public ControlInspection {
public:
    // Errors end it in a message box "number:description".
    void OnConnection(std::shared_ptr<vb::Object> application, int32_t connectMode,
                      std::shared_ptr<vb::Object> addInInst, std::vector<vb::Variant>& custom) override;
    // Every step is attempted, whether or not the add-in was ever started.
    void OnDisconnection(int32_t removeMode, std::vector<vb::Variant>& custom) override;

    // The entry in the IDE's Add-Ins menu, or Nothing when the IDE has no such menu.
    std::shared_ptr<vbide::CommandBarControl> AddToAddInCommandBar(const std::string& sCaption);

    // "addInMenuItem", or a command-bar field of the integration manager (IMgrVB::controlNamed).
    std::shared_ptr<vbide::CommandBarControl> controlNamed(const std::string& field) const override;

private:
    void MenuHandler_Click(vb::Object& control, bool& handled, bool& cancelDefault);
    void startIM();

    std::shared_ptr<vbide::VBE> ideRoot;
    std::shared_ptr<vbide::AddIn> addInObject;
    std::shared_ptr<IMgrVB> imgr;
    std::shared_ptr<vbide::CommandBarControl> addInMenuItem;
    std::shared_ptr<vbide::CommandBarEvents> MenuHandler;
};

} // namespace nimb
