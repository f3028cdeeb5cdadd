#include "tests/win/EventSource.h"

#include "platform/win/vbide/eventInterfaces.h"

#include <olectl.h>

namespace wintest {

EventSource::EventSource(const IID& events) : DispatchServer({}), events_(events) {}

HRESULT EventSource::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != events_) return CONNECT_E_NOCONNECTION;
    *point = this;
    AddRef();
    return S_OK;
}

HRESULT EventSource::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT EventSource::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = this;
    AddRef();
    return S_OK;
}

HRESULT EventSource::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    com::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_.push_back({*cookie, events});
    ++advised_;
    return S_OK;
}

HRESULT EventSource::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie != cookie) continue;
        if (keepDropped_) kept_.push_back(it->events);
        sinks_.erase(it);
        ++unadvised_;
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventSource::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSource::fireClick(IDispatch* control) {
    if (sinks_.empty()) return S_FALSE;
    HRESULT outcome = S_OK;
    // A handler may unadvise (the add-in deletes what it clicked): fire a copy.
    const auto sinks = sinks_;
    for (const auto& sink : sinks) {
        VARIANT_BOOL handled = VARIANT_FALSE;
        VARIANT_BOOL cancelDefault = VARIANT_FALSE;
        VARIANT args[3];  // DISPPARAMS hold the last argument first
        args[2].vt = VT_DISPATCH;
        args[2].pdispVal = control;
        args[1].vt = VT_BYREF | VT_BOOL;
        args[1].pboolVal = &handled;
        args[0].vt = VT_BYREF | VT_BOOL;
        args[0].pboolVal = &cancelDefault;
        DISPPARAMS params{args, nullptr, 3, 0};
        const HRESULT hr = sink.events->Invoke(vbide::win::dispidClick, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                                               nullptr, nullptr);
        if (FAILED(hr) && outcome == S_OK) outcome = hr;
    }
    return outcome;
}

} // namespace wintest
