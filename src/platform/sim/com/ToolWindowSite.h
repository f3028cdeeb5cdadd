// ToolWindowSite: a tool window of the simulated IDE as a real window - a frame with the window's
// caption and a close box - that hosts the add-in's document in place, as the IDE hosts an ActiveX
// document: the smallest OLE container the document needs (client site, in-place site, in-place
// frame). The frame follows the simulated window: its client area is the window's Width x Height
// (twips at the screen's DPI), it shows while the window is Visible, and it and the document's
// windows go when the IDE closes the window. A person's close box hides the window through the
// simulated window itself, so a transcript reads the same as when a script closes it.
//
// Real windows are made only once enableRealToolWindows was called; without it (the headless
// runs) CreateToolWindow makes none.
#pragma once

#include "platform/win/com/ComObject.h"

#include <oleidl.h>

#include <memory>

namespace sim {
class SimWindow;
}

namespace simcom {

// Tool windows made from now on get real frames, owned by owner (may be null).
void enableRealToolWindows(HWND owner);
bool realToolWindowsEnabled();
// The owner given to enableRealToolWindows: the IDE's main window on the screen, or null.
HWND realToolWindowsOwner();
// Offers a message taken from the thread's queue to the document shown in place in the tool window
// it is for (its keys); true when the document used it, and it must not be dispatched.
bool offerToolWindowKey(MSG& msg);

class ToolWindowSite final : public com::ComObject<IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame> {
public:
    // Shows document in a new frame that follows window, which then keeps the site. A document
    // that cannot be shown in place raises a VBError and leaves no window behind.
    static void host(const std::shared_ptr<sim::SimWindow>& window, IUnknown* document);

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (the in-place site's and the frame's: both are the frame window)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no menus, no tool space, no accelerators of its own.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS space) override { return space ? INPLACE_E_NOTOOLSPACE : S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // The document's own handling of a key for this frame; false when it is not for the document.
    bool offerKey(MSG& msg);

private:
    explicit ToolWindowSite(const std::shared_ptr<sim::SimWindow>& window);
    ~ToolWindowSite() override;

    static LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void createFrame();
    void activate(IUnknown* document);
    void follow(bool closing);
    void placeDocument();
    void teardown();

    std::weak_ptr<sim::SimWindow> window_;
    HWND frame_ = nullptr;
    com::ComPtr<IOleObject> object_;
    com::ComPtr<IOleInPlaceActiveObject> active_;
};

} // namespace simcom
