#include "win/DocumentControl.h"

#include "platform/win/com/ComError.h"
#include "win/InPlaceDocument.h"
#include "win/ServerModule.h"
#include "win/classIds.h"

#include <olectl.h>

namespace nimb::win {

namespace {

// The document fires no events: an enumeration of connection points that is over at once.
class NoPoints final : public com::ComObject<IEnumConnectionPoints> {
public:
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (count > 0 && !points) return E_POINTER;
        return count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
        if (!copy) return E_POINTER;
        *copy = new NoPoints;
        return S_OK;
    }

private:
    ModuleObject counted_;
};

} // namespace

// Persistence

HRESULT DocumentControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_serverViewDoc;
    return S_OK;
}

HRESULT DocumentControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

// A document starts new or from what was stored (nothing) once, by whichever interface.
HRESULT DocumentControl::initialise() {
    if (initialised_) return CO_E_ALREADYINITIALIZED;
    initialised_ = true;
    return S_OK;
}

// View

HRESULT DocumentControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    const RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
    return com::guarded([&] { return view_.drawInto(dc, area); });
}

HRESULT DocumentControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (!colors) return E_POINTER;
    *colors = nullptr;
    return S_FALSE;
}

HRESULT DocumentControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze) *freeze = 0;
    return E_NOTIMPL;
}

HRESULT DocumentControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewSink_ = sink;
    viewAspects_ = aspects;
    viewFlags_ = flags;
    return S_OK;
}

HRESULT DocumentControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) {
        *sink = viewSink_.Get();
        if (*sink) (*sink)->AddRef();
    }
    return S_OK;
}

HRESULT DocumentControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return view_.GetExtent(aspect, size);
}

// Control

HRESULT DocumentControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

// Commands

HRESULT DocumentControl::QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT*) {
    if (group) return OLECMDERR_E_UNKNOWNGROUP;
    if (count > 0 && !commands) return E_POINTER;
    for (ULONG i = 0; i < count; ++i) commands[i].cmdf = 0;
    return S_OK;
}

HRESULT DocumentControl::Exec(const GUID* group, DWORD, DWORD, VARIANT*, VARIANT*) {
    return group ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
}

// Connection points

HRESULT DocumentControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (!points) return E_POINTER;
    *points = nullptr;
    return com::guarded([&] { *points = new NoPoints; });
}

HRESULT DocumentControl::FindConnectionPoint(REFIID, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    return CONNECT_E_NOCONNECTION;
}

} // namespace nimb::win
