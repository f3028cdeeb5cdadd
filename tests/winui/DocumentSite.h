// DocumentSite: an ActiveX-document container's site, for hosting the add-in's document the way
// a document host does: the object's DoVerb asks the site to activate it (ActivateMe), and the
// site makes the view, gives it its rectangle and shows it UI-active. The site answers
// IOleClientSite, IOleDocumentSite, IOleInPlaceSite and is its own frame (IOleInPlaceFrame); it
// records every call the object makes on it, in order.
#pragma once

#include "platform/win/com/ComObject.h"

#include <docobj.h>
#include <oleidl.h>

#include <string>
#include <vector>

class DocumentSite final
    : public com::ComObject<IOleClientSite, IOleDocumentSite, IOleInPlaceSite, IOleInPlaceFrame> {
public:
    DocumentSite(HWND window, RECT area) : window_(window), area_(area) {}

    // The object shown here; ActivateMe asks it for a view.
    void hosting(IOleDocument* document) { document_ = document; }
    const std::vector<std::string>& calls() const { return calls_; }
    // The view ActivateMe made, while the site holds it.
    IOleDocumentView* view() const { return view_.Get(); }
    // Closes and lets go of the view.
    void closeView();
    ULONG references() {
        AddRef();
        return Release();
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return note("SaveObject", S_OK); }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return note("ShowObject", S_OK); }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return note("OnShowWindow", S_OK); }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleDocumentSite
    HRESULT STDMETHODCALLTYPE ActivateMe(IOleDocumentView* view) override;

    // IOleWindow (the site's and the frame's)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return note("CanInPlaceActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return note("OnInPlaceActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return note("OnUIActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return note("OnUIDeactivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return note("OnInPlaceDeactivate", S_OK); }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HRESULT note(const char* call, HRESULT result) {
        calls_.push_back(call);
        return result;
    }

    HWND window_;
    RECT area_;
    std::vector<std::string> calls_;
    com::ComPtr<IOleDocument> document_;
    com::ComPtr<IOleDocumentView> view_;
    com::ComPtr<IOleInPlaceActiveObject> active_;
};
