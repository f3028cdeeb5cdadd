// FakeIde: the IDE's objects as late-bound COM objects, served from tables, for driving the add-in
// through COM without a VB6 IDE. It serves the members a connection and disconnection use
// (VBE.CommandBars(1).FindControl(Id:=30038).Controls.Add, control Caption/PasteFace/Delete,
// VBE.Events.CommandBarEvents, VBE.VBProjects.Count) and logs every call it receives.
#pragma once

#include "platform/win/com/DispatchServer.h"

#include <memory>
#include <string>
#include <vector>

namespace wintest {

class FakeIde {
public:
    FakeIde();

    IDispatch* vbe() const { return vbe_.Get(); }
    IDispatch* addIn() const { return addIn_.Get(); }
    // Every call, as "Object.Member", in order.
    const std::vector<std::string>& log() const { return *log_; }
    int count(const std::string& call) const;

private:
    std::shared_ptr<std::vector<std::string>> log_ = std::make_shared<std::vector<std::string>>();
    com::ComPtr<IDispatch> projects_, controls_, addInsMenu_, menuBar_, commandBars_, events_, vbe_, addIn_;
};

} // namespace wintest
