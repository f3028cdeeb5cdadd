// EventSink: the IDispatch an event source calls back through its connection point, and the
// subscription that advises it. The subscription lives as long as the port's events object: its
// end unadvises and cuts the sink off from the handler, so a source that keeps calling a sink it
// was told to drop reaches nothing.
#pragma once

#include "platform/win/com/ComPtr.h"
#include "platform/win/com/Dispatch.h"

#include <ocidl.h>

#include <functional>
#include <memory>
#include <string>

namespace com {

// Receives one event: its DISPID and its arguments as the source passed them.
using EventHandler = std::function<void(DISPID event, DISPPARAMS& params)>;

class EventSubscription {
public:
    // Advises a sink on source's connection point for events (the IID of the dispinterface). A
    // source with no such point but exactly one other is advised there: the sink answers the IID
    // the point asks for. A source with no connection point raises 430.
    EventSubscription(const Dispatch& source, const IID& events, EventHandler handler);
    ~EventSubscription();
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

private:
    class Sink;
    ComPtr<IConnectionPoint> point_;
    Sink* sink_ = nullptr;
    DWORD cookie_ = 0;
};

// Sinks whose subscription has ended but which a source still holds (past Unadvise). The code
// such a source may still call must stay loaded, so the module's DllCanUnloadNow counts them. A
// sink whose subscription lives is the module's own: it is unadvised when the module ends it.
long orphanedSinks();

// The event's argument at position index (0 = first as declared), read through a by-reference
// Variant; missing arguments raise 450.
VARIANT& eventArg(DISPPARAMS& params, UINT index);
Dispatch objectArg(DISPPARAMS& params, UINT index);
std::string stringArg(DISPPARAMS& params, UINT index);
int32_t longArg(DISPPARAMS& params, UINT index);
bool boolArg(DISPPARAMS& params, UINT index);
// Writes back a Boolean passed by reference; one passed by value is left alone.
void setBoolArg(DISPPARAMS& params, UINT index, bool value);

} // namespace com
