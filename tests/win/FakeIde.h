// FakeIde: the IDE's objects as late-bound COM objects, served from tables, for driving the add-in
// through COM without a VB6 IDE. It serves what a connection and disconnection use: the add-in's
// AddInInst (ProgId, Description), VBE.CommandBars(1).FindControl(Id:=30038).Controls.Add, a
// control's Caption/Enabled/PasteFace/Delete, VBE.Events.CommandBarEvents with a connection point
// for the click events, and VBE.VBProjects.Count (none open). It logs every call it receives.
#pragma once

#include "platform/win/com/DispatchServer.h"

#include <memory>
#include <string>
#include <vector>

namespace wintest {

class FakeIde {
public:
    FakeIde();

    IDispatch* vbe() const { return vbe_; }
    IDispatch* addIn() const { return addIn_; }
    // Every call, as "Object.Member", in order.
    const std::vector<std::string>& log() const;
    int count(const std::string& call) const;

    struct MenuEntry {
        std::string caption;
        bool enabled = true;
        bool deleted = false;
    };
    // The controls added to the Add-Ins menu, in order.
    std::vector<MenuEntry> addInsMenu() const;
    // Clicks the last control added, as the IDE does: Click on the sink advised for its events,
    // handled and CancelDefault by reference. S_FALSE when no sink is advised.
    HRESULT clickLastEntry();
    int advised() const;
    int unadvised() const;
    // From now on the click events keep a sink they are told to drop, as a careless IDE might,
    // until releaseKeptSinks.
    void keepSinksAfterUnadvise();
    void releaseKeptSinks();
    // The IDE's objects that something other than the IDE holds, with the number of references
    // ("VBE 1, control 2"); empty when there is none.
    std::string referencesHeldByOthers() const;

    struct State;

private:
    std::shared_ptr<State> state_;
    // Held, like every object of the IDE, by the state.
    IDispatch* vbe_ = nullptr;
    IDispatch* addIn_ = nullptr;
};

} // namespace wintest
