#include "DocumentSite.h"

HRESULT DocumentSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT DocumentSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

// A document host makes the view itself (or takes the one offered) and shows it UI-active at its
// rectangle.
HRESULT DocumentSite::ActivateMe(IOleDocumentView* view) {
    note("ActivateMe", S_OK);
    com::ComPtr<IOleDocumentView> shown(view);
    HRESULT hr = S_OK;
    if (!shown) hr = document_ ? document_->CreateView(this, nullptr, 0, shown.GetAddressOf()) : E_UNEXPECTED;
    else hr = shown->SetInPlaceSite(this);
    if (SUCCEEDED(hr)) hr = shown->UIActivate(TRUE);
    if (SUCCEEDED(hr)) hr = shown->SetRect(&area_);
    if (SUCCEEDED(hr)) hr = shown->Show(TRUE);
    if (SUCCEEDED(hr)) view_ = shown;
    return hr;
}

void DocumentSite::closeView() {
    if (view_) {
        view_->UIActivate(FALSE);
        view_->CloseView(0);
        view_->SetInPlaceSite(nullptr);
    }
    view_.Reset();
    active_.Reset();
    document_.Reset();
}

HRESULT DocumentSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return note("GetWindow", S_OK);
}

HRESULT DocumentSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                       LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !position || !clip) return E_POINTER;
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = area_;
    *clip = area_;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return note("GetWindowContext", S_OK);
}

HRESULT DocumentSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
    active_ = object;
    return note(object ? "SetActiveObject" : "SetActiveObject(none)", S_OK);
}
