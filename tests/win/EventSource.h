// EventSource: what an IDE's event objects hand out (Events.CommandBarEvents, FileControlEvents,
// VBProjectsEvents): a connection-point container whose one point takes any number of sinks of its
// events interface, and fires them as the IDE does. Any other interface is refused, as a real IDE
// refuses an interface it does not source.
#pragma once

#include "platform/win/com/DispatchServer.h"

#include <ocidl.h>

#include <vector>

namespace wintest {

class EventSource final : public com::DispatchServer<IDispatch, IConnectionPointContainer, IConnectionPoint> {
public:
    explicit EventSource(const IID& events);

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    // Click(CommandBarControl, handled, CancelDefault) to every sink, the Booleans by reference;
    // S_FALSE when no sink is advised, else the first failure or S_OK.
    HRESULT fireClick(IDispatch* control);

    // From now on a sink told to go is kept, as a careless IDE might keep it, until released.
    void keepSinksAfterUnadvise() { keepDropped_ = true; }
    void releaseKeptSinks() { kept_.clear(); }

    int advised() const { return advised_; }
    int unadvised() const { return unadvised_; }
    size_t sinks() const { return sinks_.size(); }

private:
    struct Sink {
        DWORD cookie;
        com::ComPtr<IDispatch> events;
    };
    IID events_;
    std::vector<Sink> sinks_;
    std::vector<com::ComPtr<IDispatch>> kept_;
    bool keepDropped_ = false;
    DWORD nextCookie_ = 1;
    int advised_ = 0;
    int unadvised_ = 0;
};

} // namespace wintest
