#include "platform/sim/com/EventSource.h"

#include "platform/win/com/ComError.h"

#include <olectl.h>

namespace simcom {

namespace {

long advised = 0;

} // namespace

long EventSource::advisedSinks() { return advised; }

EventSource::EventSource(std::shared_ptr<vb::Object> events, const IID& events_iid)
    : SimServerOf({}, std::move(events)), iid_(events_iid), alive_(std::make_shared<EventSource*>(this)) {}

EventSource::~EventSource() {
    *alive_ = nullptr;
    advised -= static_cast<long>(sinks_.size());
}

HRESULT EventSource::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != iid_) return CONNECT_E_NOCONNECTION;
    *out = this;
    AddRef();
    return S_OK;
}

void EventSource::fire(DISPID id, VARIANT* args, UINT count) {
    // A sink may let go of this source while it handles the event.
    com::ComPtr<IDispatch> self(this);
    std::vector<Sink> sinks = sinks_;
    for (const Sink& s : sinks) {
        DISPPARAMS params{args, nullptr, count, 0};
        EXCEPINFO info{};
        HRESULT hr = s.sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info, nullptr);
        if (FAILED(hr)) throw com::errorFrom(hr, &info);
    }
}

HRESULT EventSource::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT EventSource::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = this;
    AddRef();
    return S_OK;
}

// The sink is asked for the event interface first and IDispatch after: a sink that implements
// the dispinterface only through IDispatch still hears the events.
HRESULT EventSource::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    com::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.push_back({*cookie, dispatch});
    ++advised;
    return S_OK;
}

HRESULT EventSource::Unadvise(DWORD cookie) {
    auto& sinks = sinks_;
    for (auto it = sinks.begin(); it != sinks.end(); ++it) {
        if (it->cookie != cookie) continue;
        // Released after the list no longer names it: the sink's release may reach back here.
        com::ComPtr<IDispatch> leaving = std::move(it->sink);
        sinks.erase(it);
        --advised;
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventSource::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

} // namespace simcom
