#include "win/InPlaceDocument.h"

#include "platform/ui/UserDocument.h"
#include "platform/win/com/ComError.h"
#include "platform/win/ui/WindowRenderer.h"
#include "win/AddinPlatform.h"
#include "win/classIds.h"

#include <ole2.h>
#include <uxtheme.h>

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

// The edge around a window's client area, as its own WM_NCPAINT draws it: the visual style's border
// where the window has a theme (as the common controls draw theirs), else the classic edge.
void printEdge(HWND window, HDC dc, POINT inset) {
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT outline{0, 0, frame.right - frame.left, frame.bottom - frame.top};
    RECT inner{};
    GetClientRect(window, &inner);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, inset.x, inset.y, inset.x + inner.right, inset.y + inner.bottom);
    if (HTHEME theme = GetWindowTheme(window)) {
        DrawThemeBackground(theme, dc, 0, 0, &outline, nullptr);
    } else if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        DrawEdge(dc, &outline, EDGE_SUNKEN, BF_RECT);
    } else if (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER) {
        FrameRect(dc, &outline, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    RestoreDC(dc, saved);
}

// Paints window into dc at the current viewport origin as the screen shows it: its edge, its
// client area as the window paints it (WM_ERASEBKGND, WM_PRINTCLIENT), then its visible children,
// each clipped to its client area. The windows need not be on the screen at all.
void printWindow(HWND window, HDC dc) {
    RECT frame{};
    GetWindowRect(window, &frame);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const POINT inset{client.x - frame.left, client.y - frame.top};
    if (inset.x != 0 || inset.y != 0) printEdge(window, dc, inset);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, inset.x, inset.y, nullptr);
    RECT inner{};
    GetClientRect(window, &inner);
    IntersectClipRect(dc, 0, 0, inner.right, inner.bottom);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    // Children from the bottom of the z-order up, so that the topmost is painted last.
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT at{};
        GetWindowRect(child, &at);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&at), 2);
        const int inChild = SaveDC(dc);
        OffsetViewportOrgEx(dc, at.left, at.top, nullptr);
        printWindow(child, dc);
        RestoreDC(dc, inChild);
    }
    RestoreDC(dc, saved);
}

} // namespace

InPlaceDocument::InPlaceDocument(IUnknown& outer, std::shared_ptr<ui::UserDocument> document,
                                 const com::OleLog& log)
    : ComFace(outer), document_(std::move(document)), log_(log) {}

// Nothing can call in any more: the windows go without telling a site that no longer holds us.
InPlaceDocument::~InPlaceDocument() {
    site_.Reset();
    clientSite_.Reset();
    com::guarded([&] { deactivate(); });
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
    log_.verb(verb);
    return com::guarded([&]() -> HRESULT {
        if (site != nullptr && !clientSite_) clientSite_ = site;
        switch (verb) {
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
            if (HRESULT hr = activateThroughDocumentSite(); hr == S_OK) return hr;
            return activate(verb != OLEIVERB_INPLACEACTIVATE);
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
    if (msg->wParam == VK_TAB) return renderer_->preTranslate(*msg) ? S_OK : S_FALSE;
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
    return outer().QueryInterface(IID_IUnknown, reinterpret_cast<void**>(document));
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

// Drawing

HRESULT InPlaceDocument::drawInto(HDC dc, const RECT& area) {
    if (area.right <= area.left || area.bottom <= area.top) return S_OK;
    if (window_ == nullptr) return drawAside(dc, area);
    renderer_->flush();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    OffsetViewportOrgEx(dc, area.left, area.top, nullptr);
    printWindow(window_, dc);
    RestoreDC(dc, saved);
    return S_OK;
}

// Not active: the document is realized at the area's size in a window that never shows, painted,
// and forgotten again; its own size is given back.
HRESULT InPlaceDocument::drawAside(HDC dc, const RECT& area) {
    HWND holder = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, area.right - area.left,
                                  area.bottom - area.top, nullptr, nullptr, nullptr, nullptr);
    if (holder == nullptr) return E_OUTOFMEMORY;
    const int32_t left = document_->Left(), top = document_->Top(), width = document_->Width(), height = document_->Height();
    const RECT kept = position_;
    auto forget = [&] {
        if (window_ != nullptr) {
            renderer_->forgotten(*document_);
            document_->setObserver(nullptr);
        }
        window_ = nullptr;
        renderer_.reset();
        position_ = kept;
        DestroyWindow(holder);
        document_->Move(left, top, width, height);
    };
    HRESULT hr = E_OUTOFMEMORY;
    try {
        renderer_ = sharedRenderer();
        window_ = renderer_->realize(*document_, holder);
        if (window_ != nullptr) {
            place(RECT{0, 0, area.right - area.left, area.bottom - area.top});
            hr = drawInto(dc, area);
        }
    } catch (...) {
        forget();
        throw;
    }
    forget();
    return hr;
}

// Activation

// An ActiveX-document site activates the view itself: it asks for the view (CreateView), gives it
// its site and shows it. S_FALSE: the client site is no document site (or is asking already), and
// the object activates itself.
HRESULT InPlaceDocument::activateThroughDocumentSite() {
    com::ComPtr<IOleDocumentSite> documentSite;
    if (askingDocumentSite_ || window_ != nullptr || !clientSite_ || FAILED(clientSite_.As(&documentSite))) return S_FALSE;
    askingDocumentSite_ = true;
    const HRESULT hr = log_.called("IOleDocumentSite::ActivateMe", documentSite->ActivateMe(nullptr));
    askingDocumentSite_ = false;
    return hr;
}

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
    if (log_.called("IOleInPlaceSite::CanInPlaceActivate", site_->CanInPlaceActivate()) != S_OK) return E_FAIL;
    HRESULT hr = log_.called("IOleInPlaceSite::OnInPlaceActivate", site_->OnInPlaceActivate());
    if (FAILED(hr)) return hr;
    HWND parent = nullptr;
    RECT position{};
    hr = windowContext(parent, position);
    if (SUCCEEDED(hr)) {
        renderer_ = sharedRenderer();
        window_ = renderer_->realize(*document_, parent);
        if (window_ == nullptr) renderer_.reset();
        hr = window_ ? S_OK : E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        log_.called("IOleInPlaceSite::OnInPlaceDeactivate", site_->OnInPlaceDeactivate());
        return hr;
    }
    place(position);
    ShowWindow(window_, SW_SHOWNA);
    return S_OK;
}

// The site's window and the document's rectangle in it.
HRESULT InPlaceDocument::windowContext(HWND& parent, RECT& position) {
    HRESULT hr = log_.called("IOleInPlaceSite::GetWindow", site_->GetWindow(&parent));
    if (FAILED(hr) || parent == nullptr) return FAILED(hr) ? hr : E_FAIL;
    com::ComPtr<IOleInPlaceFrame> frame;
    com::ComPtr<IOleInPlaceUIWindow> uiWindow;
    RECT clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    return log_.called("IOleInPlaceSite::GetWindowContext",
                       site_->GetWindowContext(frame.GetAddressOf(), uiWindow.GetAddressOf(), &position, &clip, &info));
}

HRESULT InPlaceDocument::activateUI() {
    if (uiActive_) return S_OK;
    log_.called("IOleInPlaceSite::OnUIActivate", site_->OnUIActivate());
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    if (SUCCEEDED(log_.called("IOleInPlaceSite::GetWindowContext",
                              site_->GetWindowContext(frame_.ReleaseAndGetAddressOf(), uiWindow_.ReleaseAndGetAddressOf(),
                                                      &position, &clip, &info)))) {
        if (frame_) log_.called("IOleInPlaceFrame::SetActiveObject", frame_->SetActiveObject(this, nullptr));
        if (uiWindow_) log_.called("IOleInPlaceUIWindow::SetActiveObject", uiWindow_->SetActiveObject(this, nullptr));
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
    if (uiWindow_) log_.called("IOleInPlaceUIWindow::SetActiveObject", uiWindow_->SetActiveObject(nullptr, nullptr));
    if (frame_) log_.called("IOleInPlaceFrame::SetActiveObject", frame_->SetActiveObject(nullptr, nullptr));
    uiWindow_.Reset();
    frame_.Reset();
    if (site_) log_.called("IOleInPlaceSite::OnUIDeactivate", site_->OnUIDeactivate(FALSE));
}

// Destroys the windows; the document itself lives on and can be shown again.
void InPlaceDocument::deactivate() {
    deactivateUI();
    if (window_ == nullptr) return;
    window_ = nullptr;
    renderer_->forgotten(*document_);
    document_->setObserver(nullptr);
    renderer_.reset();
    if (site_) log_.called("IOleInPlaceSite::OnInPlaceDeactivate", site_->OnInPlaceDeactivate());
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
