// DocumentControl: what an ActiveX control container asks of the server view's document besides
// in-place activation - persistence (initialised new; the document keeps nothing, so nothing is
// stored or read), a view that draws into a device context while the document is not active,
// the control interface (no mnemonics), a command target with no commands and a connection-point
// container with no points (the document fires no events). Answered for an outer COM object,
// with that object's identity and count.
#pragma once

#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>

#include "platform/win/com/ComObject.h"

namespace nimb::win {

class InPlaceDocument;

class DocumentControl final : public com::ComFace<IPersistStreamInit, IPersistStorage, IViewObject2, IOleControl,
                                                  IOleCommandTarget, IConnectionPointContainer> {
public:
    DocumentControl(IUnknown& outer, InPlaceDocument& view) : ComFace(outer), view_(view) {}

    // IPersist, IPersistStreamInit, IPersistStorage
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE InitNew() override { return initialise(); }
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override { return stream ? initialise() : E_POINTER; }
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL) override { return stream ? S_OK : E_POINTER; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override { return storage ? initialise() : E_POINTER; }
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override { return storage ? initialise() : E_POINTER; }
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL) override { return storage ? S_OK : E_POINTER; }
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

    // IViewObject, IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                   LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return OLE_E_NOCONNECTION; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) override;

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

    // IOleCommandTarget
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT*) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD, DWORD, VARIANT*, VARIANT*) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID, IConnectionPoint** point) override;

private:
    HRESULT initialise();

    InPlaceDocument& view_;
    bool initialised_ = false;
    com::ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
};

} // namespace nimb::win
