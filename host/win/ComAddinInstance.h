// ComAddinInstance: an add-in's connection object created through COM, as the IDE holds it. The
// simulated IDE connects and disconnects it as any add-in; each call goes to the object's
// IDTExtensibility2 members (DISPIDs 1 to 5) with the IDE's objects served over COM. The host
// finds the add-in's command-bar controls through it as it does without COM.
#pragma once

#include "addin/ControlInspection.h"
#include "platform/vbide/AddinInstance.h"
#include "platform/win/com/ComPtr.h"

#include <oaidl.h>

#include <memory>
#include <string>

namespace host {

class ComAddinInstance final : public vbide::AddinInstance, public nimb::ControlInspection {
public:
    // A new object of the class registered under progId; its failure is raised as the VBError VB
    // would raise (429 for a class nobody registered).
    static std::shared_ptr<vb::Object> create(const std::string& progId);

    explicit ComAddinInstance(com::ComPtr<IDispatch> object) : object_(std::move(object)) {}

    void OnConnection(std::shared_ptr<vb::Object> application, int32_t connectMode, std::shared_ptr<vb::Object> addInInst,
                      std::vector<vb::Variant>& custom) override;
    void OnDisconnection(int32_t removeMode, std::vector<vb::Variant>& custom) override;
    void OnAddInsUpdate(std::vector<vb::Variant>& custom) override;
    void OnStartupComplete(std::vector<vb::Variant>& custom) override;
    void OnBeginShutdown(std::vector<vb::Variant>& custom) override;

    // The simulated IDE's control behind the add-in's own port object for that field.
    std::shared_ptr<vbide::CommandBarControl> controlNamed(const std::string& field) const override;

private:
    // Calls member id with args (in DISPPARAMS order, the last first) and then the host's custom
    // array, which stays the host's.
    void call(DISPID id, std::vector<VARIANT> args);

    com::ComPtr<IDispatch> object_;
};

} // namespace host
