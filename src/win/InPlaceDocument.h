// InPlaceDocument: the OLE face of the server view's document, so that a container - the IDE's
// tool window, an ActiveX control container, an ActiveX document host - can show it in place. It
// answers IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject (IOleWindow), IOleDocument and
// IOleDocumentView for an outer COM object, with that object's identity and reference count.
//
// DoVerb lets a site that is an ActiveX-document site activate the view itself (ActivateMe). On
// in-place activation it asks the site, in OLE's order (CanInPlaceActivate, OnInPlaceActivate,
// GetWindow, GetWindowContext), for its window and rectangle and realizes the document there with
// the Win32 renderer; the rectangles the container gives afterwards resize the
// document (so its control fills it), and deactivation destroys the windows again. Every site,
// frame and window it takes is released on deactivation, on SetClientSite(nullptr) and at the end.
#pragma once

#include "platform/win/com/ComObject.h"
#include "platform/win/com/OleLog.h"

#include <docobj.h>
#include <oleidl.h>

#include <memory>

namespace ui {
class UserDocument;
}
namespace winui {
class WindowRenderer;
}

namespace nimb::win {

class InPlaceDocument final : public com::ComFace<IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IOleDocument,
                                                  IOleDocumentView> {
public:
    InPlaceDocument(IUnknown& outer, std::shared_ptr<ui::UserDocument> document, const com::OleLog& log);
    ~InPlaceDocument();

    // Paints the document at area of dc: the windows it shows in place, or, while it is not
    // active, windows realized for the picture alone.
    HRESULT drawInto(HDC dc, const RECT& area);

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* name) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IOleDocument: one view, which is this object.
    HRESULT STDMETHODCALLTYPE CreateView(IOleInPlaceSite* site, IStream* state, DWORD, IOleDocumentView** view) override;
    HRESULT STDMETHODCALLTYPE GetDocMiscStatus(DWORD* status) override;
    HRESULT STDMETHODCALLTYPE EnumViews(IEnumOleDocumentViews** views, IOleDocumentView** view) override;

    // IOleDocumentView
    HRESULT STDMETHODCALLTYPE SetInPlaceSite(IOleInPlaceSite* site) override;
    HRESULT STDMETHODCALLTYPE GetInPlaceSite(IOleInPlaceSite** site) override;
    HRESULT STDMETHODCALLTYPE GetDocument(IUnknown** document) override;
    HRESULT STDMETHODCALLTYPE SetRect(LPRECT view) override;
    HRESULT STDMETHODCALLTYPE GetRect(LPRECT view) override;
    HRESULT STDMETHODCALLTYPE SetRectComplex(LPRECT view, LPRECT, LPRECT, LPRECT) override { return SetRect(view); }
    HRESULT STDMETHODCALLTYPE Show(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UIActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE Open() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloseView(DWORD) override;
    HRESULT STDMETHODCALLTYPE SaveViewState(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ApplyViewState(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IOleInPlaceSite*, IOleDocumentView** view) override;

private:
    HRESULT activateThroughDocumentSite();
    HRESULT activate(bool uiActive);
    HRESULT windowContext(HWND& parent, RECT& position);
    HRESULT drawAside(HDC dc, const RECT& area);
    HRESULT showInPlace();
    HRESULT activateUI();
    void deactivateUI();
    void deactivate();
    void place(const RECT& position);
    bool inside(HWND window) const;

    std::shared_ptr<ui::UserDocument> document_;
    const com::OleLog& log_;
    com::ComPtr<IOleClientSite> clientSite_;
    com::ComPtr<IOleInPlaceSite> site_;         // the view's site, or the client site's
    com::ComPtr<IOleInPlaceFrame> frame_;       // while UI active
    com::ComPtr<IOleInPlaceUIWindow> uiWindow_; // while UI active, when the container has one
    com::ComPtr<IOleAdviseHolder> advises_;
    std::shared_ptr<winui::WindowRenderer> renderer_;  // while in-place active
    HWND window_ = nullptr;                            // the document's window while in-place active
    RECT position_{};
    bool uiActive_ = false;
    bool askingDocumentSite_ = false;  // while the site's ActivateMe runs
};

} // namespace nimb::win
