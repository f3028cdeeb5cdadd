// EventSource: a served event object of the IDE (what Events.CommandBarEvents and its siblings
// return). It is a connection-point container and its one connection point, for its event
// dispinterface; sinks advised there hear the simulated IDE's events as IDispatch::Invoke calls
// with the interface's DISPIDs, by-reference arguments written back.
#pragma once

#include "platform/sim/com/SimServer.h"

#include <ocidl.h>

#include <memory>
#include <vector>

namespace simcom {

class EventSource : public SimServerOf<IConnectionPointContainer, IConnectionPoint> {
public:
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    // Sinks advised and not yet unadvised, in this process.
    static long advisedSinks();

protected:
    EventSource(std::shared_ptr<vb::Object> events, const IID& events_iid);
    ~EventSource() override;

    // Calls event id on every sink advised when the call began; args in DISPPARAMS order (the
    // last argument first). An error a sink reports is raised here as the VBError it stands for.
    void fire(DISPID id, VARIANT* args, UINT count);

    // Set to null when the source dies: the simulated IDE's handlers hold it, not the source.
    std::shared_ptr<EventSource*> alive() const { return alive_; }

private:
    struct Sink {
        DWORD cookie;
        com::ComPtr<IDispatch> sink;
    };

    IID iid_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
    std::shared_ptr<EventSource*> alive_;
};

} // namespace simcom
