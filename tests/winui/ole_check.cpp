// ole_check MODULE: the server view's document hosted in place by Wine's own ATL control container
// (atl100.dll or atl.dll, loaded at run time), as another program would host it, under wine64 +
// Xvfb (scripts/winui person). MODULE is the add-in's nimbvbadd.dll, registered first. One
// interaction, checked step by step: each step prints "PASS name" or "FAIL name: why", and the
// last line is "RESULT <n> passed, <m> failed".
// This file holds only Win32 code.
#include "platform/win/com/ComPtr.h"
#include "platform/win/com/DispatchServer.h"

#include <docobj.h>
#include <objbase.h>
#include <oleidl.h>
#include <windows.h>

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

struct Atl {
    using Init = BOOL(WINAPI*)();
    using Create = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
    using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
    HMODULE module = nullptr;
    Init init = nullptr;
    Create create = nullptr;
    GetControl getControl = nullptr;

    bool load() {
        module = LoadLibraryW(L"atl100.dll");
        if (module == nullptr) module = LoadLibraryW(L"atl.dll");
        if (module == nullptr) return false;
        init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxWinInit")));
        create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxCreateControl")));
        getControl = reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxGetControl")));
        return init && create && getControl && init();
    }
};

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
    CoFreeUnusedLibrariesEx(0, 0);
    const long live = com::liveObjects();
    const bool unloaded = GetModuleHandleW(L"nimbvbadd.dll") == nullptr;
    report("everything is released and the module unloads", live == 0 && unloaded,
           std::to_string(live) + " live objects, the module " + (unloaded ? "unloaded" : "still loaded"));
    OleUninitialize();
    std::printf("RESULT %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
