#include "platform/sim/com/ToolWindowSite.h"

#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/sim/SimWindow.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "platform/win/ui/Dpi.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace simcom {

namespace {

constexpr wchar_t kFrameClass[] = L"NimbIdeToolWindow";
// A tool window's frame: a caption with a close box, no sizing border (the IDE sets the size).
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFrameExStyle = WS_EX_TOOLWINDOW;

bool enabled = false;
HWND frameOwner = nullptr;
// The sites with a frame, for the message pump to offer keys to.
std::vector<ToolWindowSite*> sites;

[[noreturn]] void cannotHost(const char* why, HRESULT hr) {
    throw vb::VBError(vb::err::InvalidProcedureCall,
                      std::string("The tool window cannot show its document: ") + why + " (" +
                          com::errorFrom(hr, nullptr).description() + ")");
}

void registerFrameClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = DefWindowProcW;  // the site's own once created
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    done = RegisterClassExW(&frame) != 0;
}

// Where the IDE docks a tool window of this size: against the right edge of its work area, under
// its toolbars (the owner's child windows along the top of its client area).
POINT dockedPlace(SIZE size) {
    POINT at{0, 0};
    if (!frameOwner) return at;
    RECT client{};
    GetClientRect(frameOwner, &client);
    int top = 0;
    for (HWND child = GetWindow(frameOwner, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
        MapWindowPoints(nullptr, frameOwner, reinterpret_cast<POINT*>(&r), 2);
        if (r.top <= top) top = std::max(top, static_cast<int>(r.bottom));
    }
    at = {std::max(0L, client.right - size.cx), top};
    ClientToScreen(frameOwner, &at);
    return at;
}

} // namespace

HWND realToolWindowsOwner() { return frameOwner; }

void enableRealToolWindows(HWND owner) {
    enabled = true;
    frameOwner = owner;
}

bool realToolWindowsEnabled() { return enabled; }

bool offerToolWindowKey(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    auto site = std::find_if(sites.begin(), sites.end(), [&](ToolWindowSite* s) {
        HWND frame = nullptr;
        return SUCCEEDED(s->GetWindow(&frame)) && frame == root;
    });
    return site != sites.end() && (*site)->offerKey(msg);
}

void ToolWindowSite::host(const std::shared_ptr<sim::SimWindow>& window, IUnknown* document) {
    com::ComPtr<ToolWindowSite> site = com::adopt(new ToolWindowSite(window));
    try {
        site->createFrame();
        site->activate(document);
    } catch (...) {
        site->teardown();
        throw;
    }
    // The window keeps the site (and so the frame and the document's windows) until it closes.
    window->onShownChange([site](bool closing) { site->follow(closing); });
    site->follow(false);
}

ToolWindowSite::ToolWindowSite(const std::shared_ptr<sim::SimWindow>& window) : window_(window) {}

ToolWindowSite::~ToolWindowSite() { vb::silently([&] { teardown(); }); }

HRESULT ToolWindowSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT ToolWindowSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT ToolWindowSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = frame_;
    return frame_ ? S_OK : E_FAIL;
}

HRESULT ToolWindowSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                         LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = this;
    AddRef();
    *document = nullptr;  // the frame is the document window too
    GetClientRect(frame_, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = frame_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT ToolWindowSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    active_ = active;
    return S_OK;
}

bool ToolWindowSite::offerKey(MSG& msg) {
    if (!active_ || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    return active_->TranslateAccelerator(&msg) == S_OK;
}

void ToolWindowSite::createFrame() {
    registerFrameClass();
    auto window = window_.lock();
    const std::wstring caption = com::wideFromUtf8(window ? window->caption() : std::string());
    frame_ = CreateWindowExW(kFrameExStyle, kFrameClass, caption.c_str(), kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             0, 0, frameOwner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (frame_ == nullptr) cannotHost("no frame window", HRESULT_FROM_WIN32(GetLastError()));
    SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frameProc));
    sites.push_back(this);
}

// The document is told of its site first (it asks for that) and then shown in place.
void ToolWindowSite::activate(IUnknown* document) {
    HRESULT hr = document ? document->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object_.GetAddressOf()))
                          : E_POINTER;
    if (FAILED(hr)) cannotHost("the document is no OLE object", hr);
    hr = object_->SetClientSite(this);
    if (FAILED(hr)) cannotHost("the document refuses its site", hr);
    RECT client{};
    GetClientRect(frame_, &client);
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, frame_, &client);
    if (FAILED(hr)) cannotHost("the document cannot be shown in place", hr);
}

void ToolWindowSite::follow(bool closing) {
    auto window = window_.lock();
    if (closing || !window) {
        teardown();
        return;
    }
    const winui::Dpi dpi = winui::Dpi::screen();
    RECT outer{0, 0, dpi.pixelsX(window->width()), dpi.pixelsY(window->height())};
    AdjustWindowRectEx(&outer, kFrameStyle, FALSE, kFrameExStyle);
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    const POINT at = dockedPlace(size);
    SetWindowPos(frame_, nullptr, at.x, at.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (frameOwner ? 0 : SWP_NOMOVE));
    placeDocument();
    ShowWindow(frame_, window->visible() ? SW_SHOWNA : SW_HIDE);
}

void ToolWindowSite::placeDocument() {
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (!object_ || FAILED(object_.As(&inPlace))) return;
    RECT client{};
    GetClientRect(frame_, &client);
    inPlace->SetObjectRects(&client, &client);
}

// The document leaves its windows and its site, then the frame goes; nothing is held after. The
// caller holds a reference: the document's release of its site is not the last.
void ToolWindowSite::teardown() {
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.Reset();
    }
    active_.Reset();
    std::erase(sites, this);
    if (frame_ != nullptr) {
        SetWindowLongPtrW(frame_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(frame_, nullptr));
    }
}

LRESULT CALLBACK ToolWindowSite::frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ToolWindowSite*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    bool failed = true;
    vb::silently([&] {
        result = self->onMessage(hwnd, msg, wParam, lParam);
        failed = false;
    });
    return failed ? 0 : result;
}

LRESULT ToolWindowSite::onMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) placeDocument();
        return 0;
    case WM_ACTIVATE: {
        // The window a person turns to makes its document UI active: its views take the keys.
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        if (LOWORD(wParam) != WA_INACTIVE && object_) {
            RECT client{};
            GetClientRect(hwnd, &client);
            object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, hwnd, &client);
        }
        return result;
    }
    case WM_CLOSE:
        // The person's close box: the IDE hides the window, as its own close command does.
        if (auto window = window_.lock()) window->closeBox();
        return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace simcom
