#include "win/InPlaceDocument.h"

#include "platform/ui/UserDocument.h"
#include "platform/win/com/ComError.h"
#include "platform/win/ui/WindowRenderer.h"
#include "win/AddinPlatform.h"
#include "win/classIds.h"

#include <ole2.h>

namespace nimb::win {

namespace {

// HIMETRIC (0.01 mm) and twips (1/1440 inch): 2540 of the one make 1440 of the other.
LONG himetricOf(int32_t twips) { return MulDiv(twips, 2540, 1440); }
int32_t twipsOf(LONG himetric) { return MulDiv(himetric, 1440, 2540); }

template <class T>
HRESULT handOut(const com::ComPtr<T>& held, T** out) {
    if (!out) return E_POINTER;
    *out = held.Get();
    if (*out == nullptr) return E_FAIL;
    (*out)->AddRef();
    return S_OK;
}

// The keys a tree and a list act on themselves, which a container would otherwise take as its own
// accelerators or dialog navigation.
bool isViewKey(WPARAM key) {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_RETURN:
    case VK_ESCAPE: return true;
    default: return false;
    }
}

} // namespace

InPlaceDocument::InPlaceDocument(IUnknown& outer, std::shared_ptr<ui::UserDocument> document)
    : outer_(outer), document_(std::move(document)) {}

// Nothing can call in any more: the windows go without telling a site that no longer holds us.
InPlaceDocument::~InPlaceDocument() {
    site_.Reset();
    clientSite_.Reset();
    com::guarded([&] { deactivate(); });
}

HRESULT InPlaceDocument::query(REFIID iid, void** out) {
    if (iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject) *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IOleDocument) *out = static_cast<IOleDocument*>(this);
    else if (iid == IID_IOleDocumentView) *out = static_cast<IOleDocumentView*>(this);
    else return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// IOleObject

HRESULT InPlaceDocument::SetClientSite(IOleClientSite* site) {
    return com::guarded([&] {
        if (site == nullptr) {
            deactivate();
            site_.Reset();
        }
        clientSite_ = site;
    });
}

HRESULT InPlaceDocument::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = clientSite_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

HRESULT InPlaceDocument::Close(DWORD) {
    return com::guarded([&] {
        deactivate();
        if (advises_) advises_->SendOnClose();
    });
}

HRESULT InPlaceDocument::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT InPlaceDocument::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

HRESULT InPlaceDocument::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    return com::guarded([&]() -> HRESULT {
        if (site != nullptr && !clientSite_) clientSite_ = site;
        switch (verb) {
        case OLEIVERB_INPLACEACTIVATE: return activate(false);
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE: return activate(true);
        case OLEIVERB_HIDE:
            deactivateUI();
            if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
            return S_OK;
        case OLEIVERB_OPEN: return OLEOBJ_S_CANNOT_DOVERB_NOW;
        default: return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
        }
    });
}

HRESULT InPlaceDocument::EnumVerbs(IEnumOLEVERB** verbs) {
    if (verbs) *verbs = nullptr;
    return OLE_S_USEREG;
}

HRESULT InPlaceDocument::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_serverViewDoc;
    return S_OK;
}

HRESULT InPlaceDocument::GetUserType(DWORD, LPOLESTR* name) {
    if (name) *name = nullptr;
    return OLE_S_USEREG;
}

HRESULT InPlaceDocument::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return com::guarded([&] {
        document_->Move(document_->Left(), document_->Top(), twipsOf(size->cx), twipsOf(size->cy));
    });
}

HRESULT InPlaceDocument::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    size->cx = himetricOf(document_->Width());
    size->cy = himetricOf(document_->Height());
    return S_OK;
}

HRESULT InPlaceDocument::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!connection) return E_POINTER;
    *connection = 0;
    if (!advises_) {
        HRESULT hr = CreateOleAdviseHolder(advises_.GetAddressOf());
        if (FAILED(hr)) return hr;
    }
    return advises_->Advise(sink, connection);
}

HRESULT InPlaceDocument::Unadvise(DWORD connection) {
    return advises_ ? advises_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT InPlaceDocument::EnumAdvise(IEnumSTATDATA** advises) {
    if (!advises) return E_POINTER;
    *advises = nullptr;
    return advises_ ? advises_->EnumAdvise(advises) : S_OK;
}

HRESULT InPlaceDocument::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? serverViewDocMiscStatus : 0;
    return S_OK;
}

// IOleWindow, IOleInPlaceObject

HRESULT InPlaceDocument::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

HRESULT InPlaceDocument::InPlaceDeactivate() {
    return com::guarded([&] { deactivate(); });
}

HRESULT InPlaceDocument::UIDeactivate() {
    return com::guarded([&] { deactivateUI(); });
}

HRESULT InPlaceDocument::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    return com::guarded([&] { place(*position); });
}

// IOleInPlaceActiveObject

HRESULT InPlaceDocument::TranslateAccelerator(LPMSG msg) {
    if (!msg || window_ == nullptr || msg->message != WM_KEYDOWN || !inside(msg->hwnd)) return S_FALSE;
    if (msg->wParam == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(window_, GetFocus(), back)) SetFocus(next);
        return S_OK;
    }
    if (!isViewKey(msg->wParam)) return S_FALSE;
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return S_OK;
}

// IOleDocument

HRESULT InPlaceDocument::CreateView(IOleInPlaceSite* site, IStream* state, DWORD, IOleDocumentView** view) {
    if (!view) return E_POINTER;
    *view = nullptr;
    if (state != nullptr) return E_NOTIMPL;
    // The document has one view; a second site would have to share its windows.
    if (site_ && site != nullptr && site_.Get() != site) return E_FAIL;
    if (site != nullptr) site_ = site;
    *view = static_cast<IOleDocumentView*>(this);
    AddRef();
    return S_OK;
}

HRESULT InPlaceDocument::GetDocMiscStatus(DWORD* status) {
    if (!status) return E_POINTER;
    *status = DOCMISC_NOFILESUPPORT | DOCMISC_CANTOPENEDIT;
    return S_OK;
}

HRESULT InPlaceDocument::EnumViews(IEnumOleDocumentViews** views, IOleDocumentView** view) {
    if (!views || !view) return E_POINTER;
    *views = nullptr;
    *view = static_cast<IOleDocumentView*>(this);
    AddRef();
    return S_OK;
}

// IOleDocumentView

HRESULT InPlaceDocument::SetInPlaceSite(IOleInPlaceSite* site) {
    return com::guarded([&] {
        if (site_.Get() != site) deactivate();
        site_ = site;
    });
}

HRESULT InPlaceDocument::GetInPlaceSite(IOleInPlaceSite** site) {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

HRESULT InPlaceDocument::GetDocument(IUnknown** document) {
    if (!document) return E_POINTER;
    return outer_.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(document));
}

HRESULT InPlaceDocument::SetRect(LPRECT view) {
    if (!view) return E_POINTER;
    return com::guarded([&] { place(*view); });
}

HRESULT InPlaceDocument::GetRect(LPRECT view) {
    if (!view) return E_POINTER;
    *view = position_;
    return S_OK;
}

HRESULT InPlaceDocument::Show(BOOL show) {
    return com::guarded([&]() -> HRESULT {
        if (show) return showInPlace();
        deactivateUI();
        if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
        return S_OK;
    });
}

HRESULT InPlaceDocument::UIActivate(BOOL activate) {
    return com::guarded([&]() -> HRESULT {
        if (activate) return this->activate(true);
        deactivateUI();
        return S_OK;
    });
}

HRESULT InPlaceDocument::CloseView(DWORD) {
    return com::guarded([&] {
        deactivate();
        site_.Reset();
    });
}

HRESULT InPlaceDocument::Clone(IOleInPlaceSite*, IOleDocumentView** view) {
    if (view) *view = nullptr;
    return E_NOTIMPL;
}

// Activation

HRESULT InPlaceDocument::activate(bool uiActive) {
    HRESULT hr = showInPlace();
    if (FAILED(hr) || !uiActive) return hr;
    return activateUI();
}

// Realizes the document in the site's window at the site's rectangle, once.
HRESULT InPlaceDocument::showInPlace() {
    if (!site_ && clientSite_) clientSite_.As(&site_);
    if (!site_) return E_NOINTERFACE;
    if (window_ != nullptr) {
        ShowWindow(window_, SW_SHOWNA);
        return S_OK;
    }
    if (site_->CanInPlaceActivate() != S_OK) return E_FAIL;
    HWND parent = nullptr;
    HRESULT hr = site_->GetWindow(&parent);
    if (FAILED(hr) || parent == nullptr) return FAILED(hr) ? hr : E_FAIL;
    com::ComPtr<IOleInPlaceFrame> frame;
    com::ComPtr<IOleInPlaceUIWindow> uiWindow;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    hr = site_->GetWindowContext(frame.GetAddressOf(), uiWindow.GetAddressOf(), &position, &clip, &info);
    if (FAILED(hr)) return hr;
    site_->OnInPlaceActivate();
    renderer_ = sharedRenderer();
    window_ = renderer_->realize(*document_, parent);
    if (window_ == nullptr) {
        renderer_.reset();
        site_->OnInPlaceDeactivate();
        return E_OUTOFMEMORY;
    }
    place(position);
    ShowWindow(window_, SW_SHOWNA);
    return S_OK;
}

HRESULT InPlaceDocument::activateUI() {
    if (uiActive_) return S_OK;
    site_->OnUIActivate();
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    if (SUCCEEDED(site_->GetWindowContext(frame_.ReleaseAndGetAddressOf(), uiWindow_.ReleaseAndGetAddressOf(),
                                          &position, &clip, &info))) {
        if (frame_) frame_->SetActiveObject(this, nullptr);
        if (uiWindow_) uiWindow_->SetActiveObject(this, nullptr);
    }
    uiActive_ = true;
    if (!inside(GetFocus())) {
        if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
    }
    return S_OK;
}

void InPlaceDocument::deactivateUI() {
    if (!uiActive_) return;
    uiActive_ = false;
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    uiWindow_.Reset();
    frame_.Reset();
    if (site_) site_->OnUIDeactivate(FALSE);
}

// Destroys the windows; the document itself lives on and can be shown again.
void InPlaceDocument::deactivate() {
    deactivateUI();
    if (window_ == nullptr) return;
    window_ = nullptr;
    renderer_->forgotten(*document_);
    document_->setObserver(nullptr);
    renderer_.reset();
    if (site_) site_->OnInPlaceDeactivate();
}

// The document takes the rectangle's size, so that its control fills it. A size the model already
// shows at these pixels is left alone: converting back would only add rounding to the twips.
void InPlaceDocument::place(const RECT& position) {
    position_ = position;
    if (window_ == nullptr) return;
    const winui::Dpi& dpi = renderer_->dpi();
    const int width = position.right - position.left, height = position.bottom - position.top;
    const int32_t w = dpi.pixelsX(document_->Width()) == width ? document_->Width() : dpi.twipsX(width);
    const int32_t h = dpi.pixelsY(document_->Height()) == height ? document_->Height() : dpi.twipsY(height);
    document_->Move(dpi.twipsX(position.left), dpi.twipsY(position.top), w, h);
    SetWindowPos(window_, nullptr, position.left, position.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool InPlaceDocument::inside(HWND window) const {
    return window != nullptr && window_ != nullptr && (window == window_ || IsChild(window_, window));
}

} // namespace nimb::win
