// ole_check MODULE: the server view's document hosted in place by Wine's own ATL control container
// (atl100.dll or atl.dll, loaded at run time), as another program would host it, under wine64 +
// Xvfb (scripts/winui person). MODULE is the add-in's nimbvbadd.dll, registered first. One
// interaction, checked step by step: each step prints "PASS name" or "FAIL name: why", and the
// last line is "RESULT <n> passed, <m> failed".
// This file holds only Win32 code.
#include "platform/win/com/ComPtr.h"
#include "platform/win/com/DispatchServer.h"

#include "AtlContainer.h"
#include "DocumentSite.h"

#include <docobj.h>
#include <objbase.h>
#include <ocidl.h>
#include <oleidl.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void report(const char* name, bool ok, const std::string& why = {}) {
    ok ? ++passed : ++failed;
    if (ok) std::printf("PASS %s\n", name);
    else std::printf("FAIL %s: %s\n", name, why.c_str());
    std::fflush(stdout);
}

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

void pump() {
    MSG msg{};
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

bool registerModule(const wchar_t* path) {
    HMODULE module = LoadLibraryW(path);
    if (module == nullptr) return false;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const bool ok = entry != nullptr && SUCCEEDED(entry());
    FreeLibrary(module);
    return ok;
}

using Atl = winviews::AtlContainer;

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK matchClass(HWND child, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if (classOf(child) != search.name) return TRUE;
    search.found = child;
    return FALSE;
}

// The first descendant of parent of the window class name.
HWND descendant(HWND parent, const wchar_t* name) {
    Search search{name, nullptr};
    EnumChildWindows(parent, &matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Where child is inside ancestor's client area.
RECT rectIn(HWND child, HWND ancestor) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, ancestor, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string sizeText(SIZE s) { return std::to_string(s.cx) + " x " + std::to_string(s.cy); }

// The tree and the list reach the document's edges (the splitter is between them): the control
// fills the document.
bool filled(HWND document, HWND tree, HWND list, std::string& why) {
    const SIZE inner = clientSize(document);
    const RECT t = rectIn(tree, document), l = rectIn(list, document);
    why = "document " + sizeText(inner) + ", tree bottom " + std::to_string(t.bottom) + ", list right " +
          std::to_string(l.right) + " bottom " + std::to_string(l.bottom);
    auto touches = [](LONG a, LONG b) { return a - b <= 1 && b - a <= 1; };
    return t.left == 0 && touches(t.bottom, inner.cy) && touches(l.right, inner.cx) && touches(l.bottom, inner.cy);
}

bool fitsHost(HWND document, HWND host) {
    const SIZE d = clientSize(document), h = clientSize(host);
    return d.cx == h.cx && d.cy == h.cy;
}

MSG keyDown(HWND window, WPARAM key) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return msg;
}

void keys(IUnknown* control, HWND host, HWND tree, HWND list) {
    com::ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(control->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(active.GetAddressOf())))) {
        report("the document takes the keys of its views", false, "no IOleInPlaceActiveObject");
        return;
    }
    SetFocus(tree);
    MSG tab = keyDown(tree, VK_TAB), down = keyDown(list, VK_DOWN), letter = keyDown(list, 'A'), outside = keyDown(host, VK_DOWN);
    const HRESULT tabbed = active->TranslateAccelerator(&tab);
    const bool moved = GetFocus() == list;
    const HRESULT arrow = active->TranslateAccelerator(&down), plain = active->TranslateAccelerator(&letter),
                  other = active->TranslateAccelerator(&outside);
    report("the document takes the keys of its views", tabbed == S_OK && moved && arrow == S_OK && plain == S_FALSE && other == S_FALSE,
           "Tab " + hex(tabbed) + (moved ? " moved" : " did not move") + " the focus to the list, Down " + hex(arrow) +
               ", A " + hex(plain) + ", Down outside " + hex(other));
}

void miscStatus(IUnknown* control) {
    com::ComPtr<IOleObject> object;
    DWORD given = 0, registered = 0;
    CLSID clsid{};
    const bool ok = SUCCEEDED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.GetAddressOf()))) &&
                    SUCCEEDED(object->GetMiscStatus(DVASPECT_CONTENT, &given)) && SUCCEEDED(object->GetUserClassID(&clsid)) &&
                    SUCCEEDED(OleRegGetMiscStatus(clsid, DVASPECT_CONTENT, &registered));
    report("the document's MiscStatus is the registered one", ok && given == registered && given != 0,
           "given " + std::to_string(given) + ", registered " + std::to_string(registered));
}

// An ActiveX-document host's calls on a second document, through the ATL container's site: a view
// is made, shown in place, given its rectangle and closed again.
void documentView(IUnknown* container, HWND host) {
    com::ComPtr<IOleInPlaceSite> site;
    com::ComPtr<IOleDocument> document;
    com::ComPtr<IOleDocumentView> view;
    CLSID clsid{};
    HRESULT hr = container->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(site.GetAddressOf()));
    if (SUCCEEDED(hr)) hr = CLSIDFromProgID(L"nimbvbadd.serverViewDoc", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleDocument,
                              reinterpret_cast<void**>(document.GetAddressOf()));
    if (SUCCEEDED(hr)) hr = document->CreateView(site.Get(), nullptr, 0, view.GetAddressOf());
    if (SUCCEEDED(hr)) hr = view->Show(TRUE);
    RECT area{10, 20, 310, 220};
    if (SUCCEEDED(hr)) hr = view->SetRect(&area);
    com::ComPtr<IOleWindow> window;
    HWND shown = nullptr;
    if (SUCCEEDED(hr) && SUCCEEDED(view->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.GetAddressOf()))))
        window->GetWindow(&shown);
    const RECT placed = shown ? rectIn(shown, host) : RECT{};
    const bool inPlace = shown && GetParent(shown) == host && EqualRect(&placed, &area) &&
                         descendant(shown, L"SysListView32") != nullptr;
    if (view) view->CloseView(0);
    const bool closed = shown && !IsWindow(shown);
    report("a document view is shown, placed and closed by an ActiveX-document host's calls", SUCCEEDED(hr) && inPlace && closed,
           "result " + hex(hr) + (inPlace ? "" : ", not shown in place at the rectangle") + (closed ? "" : ", its window outlived CloseView"));
}

// The interfaces a control or document container asks for that the object does not answer.
std::string unanswered(IUnknown* object) {
    struct Named {
        const IID* iid;
        const char* name;
    };
    const Named wanted[] = {
        {&IID_IDispatch, "IDispatch"},           {&IID_IOleObject, "IOleObject"},
        {&IID_IOleInPlaceObject, "IOleInPlaceObject"}, {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
        {&IID_IOleDocument, "IOleDocument"},     {&IID_IOleDocumentView, "IOleDocumentView"},
        {&IID_IPersistStreamInit, "IPersistStreamInit"}, {&IID_IPersistStorage, "IPersistStorage"},
        {&IID_IViewObject2, "IViewObject2"},     {&IID_IOleControl, "IOleControl"},
        {&IID_IProvideClassInfo, "IProvideClassInfo"}, {&IID_IOleCommandTarget, "IOleCommandTarget"},
        {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
    };
    std::string missing;
    for (const Named& n : wanted) {
        com::ComPtr<IUnknown> probe;
        if (FAILED(object->QueryInterface(*n.iid, reinterpret_cast<void**>(probe.GetAddressOf()))))
            missing += std::string(missing.empty() ? "" : ", ") + n.name;
    }
    return missing;
}

// Started new once, by either persistence interface, and nothing is ever stored. initialised: the
// container has started it already.
void persistence(IUnknown* object, bool initialised, const char* name) {
    com::ComPtr<IPersistStreamInit> stream;
    com::ComPtr<IPersistStorage> storage;
    com::ComPtr<ILockBytes> bytes;
    com::ComPtr<IStorage> store;
    com::ComPtr<IStream> saved;
    object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(stream.GetAddressOf()));
    object->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(storage.GetAddressOf()));
    CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.GetAddressOf());
    if (bytes) StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, store.GetAddressOf());
    CreateStreamOnHGlobal(nullptr, TRUE, saved.GetAddressOf());
    if (!stream || !storage || !store || !saved) {
        report(name, false, "persistence interfaces or OLE storage missing");
        return;
    }
    const HRESULT first = initialised ? S_OK : stream->InitNew();
    const HRESULT again = stream->InitNew(), byStorage = storage->InitNew(store.Get());
    const HRESULT save = stream->Save(saved.Get(), TRUE), storageSave = storage->Save(store.Get(), TRUE);
    STATSTG stat{};
    saved->Stat(&stat, STATFLAG_NONAME);
    CLSID clsid{}, registered{};
    stream->GetClassID(&clsid);
    CLSIDFromProgID(L"nimbvbadd.serverViewDoc", &registered);
    report(name, first == S_OK && again == CO_E_ALREADYINITIALIZED && byStorage == CO_E_ALREADYINITIALIZED &&
                      save == S_OK && storageSave == S_OK && stat.cbSize.QuadPart == 0 && stream->IsDirty() == S_FALSE &&
                      clsid == registered,
           "InitNew " + hex(first) + ", again " + hex(again) + ", by storage " + hex(byStorage) + ", Save " + hex(save) +
               " wrote " + std::to_string(stat.cbSize.QuadPart) + " bytes");
}

using Pixels = std::vector<uint32_t>;
constexpr uint32_t unpainted = 0x00FF00FF;

// A 32-bit top-down picture of width x height, filled with the unpainted colour, drawn by paint.
template <class Paint>
Pixels picture(int width, int height, Paint paint) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Pixels pixels;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        auto* p = static_cast<uint32_t*>(bits);
        std::fill(p, p + width * height, unpainted);
        paint(dc);
        GdiFlush();
        pixels.assign(p, p + width * height);
        SelectObject(dc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

Pixels drawn(IViewObject2* view, int width, int height) {
    return picture(width, height, [&](HDC dc) {
        RECTL bounds{0, 0, width, height};
        view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    });
}

Pixels onScreen(HWND window, int width, int height) {
    RECT at{};
    GetWindowRect(window, &at);
    return picture(width, height, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, width, height, screen, at.left, at.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

// Whether a drawing shows what the screen shows: of the screen's pixels that are not its
// background (edges, header, text), nine in ten are the same in the drawing, and the drawing
// leaves nothing unpainted.
bool looksAlike(const Pixels& drawing, const Pixels& screen, std::string& why) {
    if (drawing.size() != screen.size() || screen.empty()) {
        why = "no picture";
        return false;
    }
    std::vector<std::pair<uint32_t, size_t>> counts;
    for (uint32_t p : screen) {
        auto it = std::find_if(counts.begin(), counts.end(), [p](const auto& c) { return c.first == p; });
        if (it == counts.end()) counts.emplace_back(p, 1);
        else ++it->second;
    }
    const uint32_t background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
    size_t ink = 0, same = 0, blank = 0;
    for (size_t i = 0; i < screen.size(); ++i) {
        if ((drawing[i] & 0xFFFFFF) == unpainted) ++blank;
        if ((screen[i] & 0xFFFFFF) == (background & 0xFFFFFF)) continue;
        ++ink;
        if ((drawing[i] & 0xFFFFFF) == (screen[i] & 0xFFFFFF)) ++same;
    }
    why = std::to_string(same) + " of " + std::to_string(ink) + " drawn pixels as on the screen, " + std::to_string(blank) +
          " left unpainted";
    return ink >= 200 && same * 10 >= ink * 9 && blank == 0;
}

// The call's position in calls, or -1.
int indexOf(const std::vector<std::string>& calls, const std::string& call) {
    auto it = std::find(calls.begin(), calls.end(), call);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
}

std::string joinedCalls(const std::vector<std::string>& calls) {
    std::string text;
    for (const auto& c : calls) text += (text.empty() ? "" : " ") + c;
    return text;
}

std::string fileText(const std::wstring& path) {
    std::string text;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
        std::fclose(in);
    }
    return text;
}

// Whether each line's first occurrence in text comes after the one before's.
bool inOrder(const std::string& text, std::initializer_list<const char*> lines) {
    size_t before = 0;
    for (const char* line : lines) {
        const size_t at = text.find(line);
        if (at == std::string::npos || at < before) return false;
        before = at;
    }
    return true;
}

// An ActiveX-document host: the object is asked for everything a container may want, drawn while
// not active, then activated through DoVerb, which must go through the site's ActivateMe and then
// OLE's in-place order; the log switched on by NIMB_OLE_LOG records the same (a call's line is
// written when it returns, so ActivateMe's comes after the calls made within it).
void documentSiteHosting(HWND host) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring logFile = std::wstring(folder) + L"nimb-ole-check.log";
    DeleteFileW(logFile.c_str());
    SetEnvironmentVariableW(L"NIMB_OLE_LOG", logFile.c_str());
    CLSID clsid{};
    com::ComPtr<IOleObject> object;
    HRESULT hr = CLSIDFromProgID(L"nimbvbadd.serverViewDoc", &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(object.GetAddressOf()));
    SetEnvironmentVariableW(L"NIMB_OLE_LOG", nullptr);
    report("a document host creates nimbvbadd.serverViewDoc", SUCCEEDED(hr), hex(hr));
    if (FAILED(hr)) return;
    const std::string missing = unanswered(object.Get());
    report("the document answers what control and document containers ask for", missing.empty(), "not answered: " + missing);
    persistence(object.Get(), false, "the document starts new once, by either persistence, and stores nothing");

    const RECT area{20, 20, 420, 320};
    const int width = area.right - area.left, height = area.bottom - area.top;
    com::ComPtr<IViewObject2> view;
    object->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(view.GetAddressOf()));
    const Pixels before = view ? drawn(view.Get(), width, height) : Pixels{};

    auto site = com::make<DocumentSite>(host, area);
    com::ComPtr<IOleDocument> document;
    object.As(&document);
    site->hosting(document.Get());
    object->SetClientSite(site.Get());
    hr = object->DoVerb(OLEIVERB_SHOW, nullptr, site.Get(), 0, host, &area);
    pump();
    const auto& calls = site->calls();
    const int activateMe = indexOf(calls, "ActivateMe"), can = indexOf(calls, "CanInPlaceActivate"),
              on = indexOf(calls, "OnInPlaceActivate"), context = indexOf(calls, "GetWindowContext");
    report("DoVerb asks the document site to activate it, then OLE's in-place order follows",
           SUCCEEDED(hr) && activateMe == 0 && activateMe < can && can < on && on < context,
           "DoVerb " + hex(hr) + ", calls: " + joinedCalls(calls));
    HWND shown = nullptr;
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object.As(&inPlace))) inPlace->GetWindow(&shown);
    const RECT placed = shown ? rectIn(shown, host) : RECT{};
    report("the view shows in the site's window at its rectangle, UI-active",
           site->view() && shown && GetParent(shown) == host && EqualRect(&placed, &area) &&
               descendant(shown, L"SysTreeView32") && indexOf(calls, "SetActiveObject") > context,
           shown ? "placed elsewhere, or not UI-active" : "no window");
    if (shown) {
        std::string why;
        const Pixels screen = onScreen(shown, width, height);
        const bool alike = looksAlike(before, screen, why);
        report("drawn while not active, the document is what the screen shows once active", alike, why);
        const bool same = looksAlike(drawn(view.Get(), width, height), screen, why);
        report("drawn while active, the same", same, why);
        // The extent a container lays the view out by is the shown size, in HIMETRIC.
        SIZEL extent{};
        const HDC screenDc = GetDC(nullptr);
        const LONG wide = MulDiv(width, 2540, GetDeviceCaps(screenDc, LOGPIXELSX)),
                   high = MulDiv(height, 2540, GetDeviceCaps(screenDc, LOGPIXELSY));
        ReleaseDC(nullptr, screenDc);
        const HRESULT measured = view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent);
        report("the view's extent is the size it is shown at", measured == S_OK && std::abs(extent.cx - wide) <= 30 &&
                                                              std::abs(extent.cy - high) <= 30,
               std::to_string(extent.cx) + " x " + std::to_string(extent.cy) + " HIMETRIC, shown " + std::to_string(wide) +
                   " x " + std::to_string(high));
    }
    view.Reset();
    inPlace.Reset();
    site->closeView();
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    document.Reset();
    object.Reset();
    pump();
    report("closing lets go of the site and destroys the view's window",
           site->references() == 1 && (shown == nullptr || !IsWindow(shown)) && indexOf(calls, "OnInPlaceDeactivate") > context,
           std::to_string(site->references() - 1) + " references to the site left");

    const std::string log = fileText(logFile);
    DeleteFileW(logFile.c_str());
    report("NIMB_OLE_LOG records the interfaces asked for and the calls on the container, in order",
           log.find("QueryInterface {B196B288-BAB4-101A-B69C-00AA00341D07}") != std::string::npos &&
               inOrder(log, {"DoVerb -1", "IOleInPlaceSite::CanInPlaceActivate -> 0x00000000",
                             "IOleInPlaceSite::OnInPlaceActivate -> 0x00000000",
                             "IOleInPlaceSite::GetWindowContext -> 0x00000000",
                             "IOleDocumentSite::ActivateMe -> 0x00000000", "IOleInPlaceSite::OnInPlaceDeactivate"}),
           log.empty() ? "no log written" : "log: " + log.substr(0, 300));
}

HWND makeHostWindow() {
    WNDCLASSW host{};
    host.lpfnWndProc = DefWindowProcW;
    host.hInstance = GetModuleHandleW(nullptr);
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    host.lpszClassName = L"NimbOleCheckHost";
    RegisterClassW(&host);
    return CreateWindowExW(0, L"NimbOleCheckHost", L"ATL container", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                           40, 40, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Shows, inspects, resizes and destroys the hosted document; the module is still loaded after.
void hosted(Atl& atl, HWND host) {
    com::ComPtr<IUnknown> container;
    HRESULT hr = atl.create(L"nimbvbadd.serverViewDoc", host, nullptr, container.GetAddressOf());
    report("ATL creates and hosts nimbvbadd.serverViewDoc", SUCCEEDED(hr), hex(hr));
    if (FAILED(hr)) return;
    pump();
    com::ComPtr<IUnknown> control;
    com::ComPtr<IOleInPlaceObject> inPlace;
    HWND document = nullptr;
    if (SUCCEEDED(atl.getControl(host, control.GetAddressOf())))
        control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.GetAddressOf()));
    if (inPlace) inPlace->GetWindow(&document);
    report("the document's window is a child of the container's", document != nullptr && GetParent(document) == host,
           document ? "its parent is another window" : "the document has no window");
    if (document == nullptr) return;
    HWND tree = descendant(document, L"SysTreeView32"), list = descendant(document, L"SysListView32");
    report("the server view's tree and list are inside the document", tree && list && IsWindowVisible(list),
           std::string(tree ? "" : "no tree ") + (list ? "" : "no list"));
    if (!tree || !list) return;
    std::string why;
    bool inside = filled(document, tree, list, why);
    report("the document fills the container and the server view the document", fitsHost(document, host) && inside,
           "container " + sizeText(clientSize(host)) + ", " + why);
    SetWindowPos(host, nullptr, 0, 0, 900, 620, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    inside = filled(document, tree, list, why);
    report("resizing the container resizes the document and the server view", fitsHost(document, host) && inside,
           "container " + sizeText(clientSize(host)) + ", " + why);
    keys(control.Get(), host, tree, list);
    miscStatus(control.Get());
    persistence(control.Get(), true, "ATL started the document new, and it stores nothing");
    documentView(container.Get(), host);
    inPlace.Reset();
    control.Reset();
    DestroyWindow(host);
    container.Reset();
    pump();
    report("destroying the container destroys the document's windows", !IsWindow(document) && !IsWindow(tree),
           "the document's window outlived its container");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("RESULT failed: usage: ole_check MODULE\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) {
        std::printf("RESULT failed: OLE does not start\n");
        return 1;
    }
    report("the add-in module registers itself", registerModule(argv[1]));
    Atl atl;
    const bool loaded = atl.load();
    report("Wine's ATL container is at hand", loaded);
    if (loaded) {
        HWND host = makeHostWindow();
        if (host != nullptr) hosted(atl, host);
        else report("a container window", false, "CreateWindow failed");
    }
    if (HWND host = makeHostWindow()) {
        documentSiteHosting(host);
        DestroyWindow(host);
    }
    CoFreeUnusedLibrariesEx(0, 0);
    const long live = com::liveObjects();
    const bool unloaded = GetModuleHandleW(L"nimbvbadd.dll") == nullptr;
    report("everything is released and the module unloads", live == 0 && unloaded,
           std::to_string(live) + " live objects, the module " + (unloaded ? "unloaded" : "still loaded"));
    OleUninitialize();
    std::printf("RESULT %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
