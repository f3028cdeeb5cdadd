#include "tests/win/BareIde.h"

#include "AtlContainer.h"

#include "platform/error.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/DispatchObject.h"
#include "platform/win/com/MemberTable.h"
#include "platform/win/com/VariantConvert.h"
#include "platform/win/vbide/eventInterfaces.h"
#include "tests/win/EventSource.h"
#include "tests/win/heldReferences.h"

#include <algorithm>
#include <map>

namespace wintest {

namespace {

using vb::Variant;

// The real extensibility library's file events interface, _dispVBFileControlEvents.
constexpr IID DIID_VBFileControlEvents = {0x0002E141, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr int32_t msoControlButton = 1;
constexpr int32_t msoControlPopup = 10;
constexpr wchar_t kToolFrameClass[] = L"BareIdeToolWindow";
constexpr wchar_t kDocumentHostClass[] = L"BareIdeDocumentHost";

class Served final : public com::DispatchServer<> {
public:
    explicit Served(std::vector<com::Member> members) : DispatchServer(std::move(members)) {}
};

com::ComPtr<IDispatch> serve(com::MemberTable& table) {
    com::ComPtr<Served> object = com::make<Served>(table.members());
    return com::ComPtr<IDispatch>(object.Get());
}

Variant objectOf(IDispatch* p) { return std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(p)); }
Variant nothing() { return Variant(std::shared_ptr<vb::Object>()); }

IUnknown* identityOf(IUnknown* p) {
    IUnknown* identity = nullptr;
    if (p == nullptr || FAILED(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) return nullptr;
    identity->Release();  // the object lives on in the caller's reference
    return identity;
}

// Tool windows host their documents in Wine's own ATL.
using Atl = winviews::AtlContainer;

// A tool window's frame keeps its one child, the document's container, filling it; its close box
// hides it, as the IDE's does.
LRESULT CALLBACK toolFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) {
        if (HWND host = GetWindow(hwnd, GW_CHILD)) MoveWindow(host, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    if (msg == WM_CLOSE) {
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerWindowClasses() {
    WNDCLASSW frame{};
    frame.lpfnWndProc = &toolFrameProc;
    frame.hInstance = GetModuleHandleW(nullptr);
    frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kToolFrameClass;
    RegisterClassW(&frame);
    WNDCLASSW host{};
    host.lpfnWndProc = &DefWindowProcW;
    host.hInstance = GetModuleHandleW(nullptr);
    host.lpszClassName = kDocumentHostClass;
    RegisterClassW(&host);
}

int pixelsOf(int32_t twips, HWND window) {
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc) ReleaseDC(window, dc);
    return MulDiv(twips, dpi, 1440);
}

} // namespace

struct BareIde::State {
    struct ControlState;
    using Controls = std::vector<std::shared_ptr<ControlState>>;
    struct ControlState {
        Control seen;
        int32_t type = msoControlButton;
        int32_t id = 1;
        std::string tag, parameter;
        bool beginGroup = false;
        IDispatch* server = nullptr;  // held by the state's objects
        IDispatch* controlsServer = nullptr;
        Controls children;
        EventSource* events = nullptr;  // held by the state's objects
    };
    struct BarState {
        Toolbar seen;
        int32_t position = 0;
        Controls controls;
        IDispatch* server = nullptr;
    };
    struct WindowState {
        std::string caption;
        HWND frame = nullptr;
        HWND host = nullptr;
        ULONGLONG shownAt = 0;  // when the add-in first made it visible
        int32_t width = 3600, height = 5400;
        IDispatch* server = nullptr;
    };

    HWND mainWindow;
    Project project;
    std::map<std::string, std::string> properties;  // "section/key" -> value
    std::vector<std::pair<std::string, com::ComPtr<IUnknown>>> objects;
    std::vector<std::shared_ptr<BarState>> bars;  // the menu bar first
    std::vector<std::shared_ptr<WindowState>> toolWindows;
    // Every control and bar ever made, deleted ones too: their servers may still be called.
    Controls allControls;
    std::vector<std::shared_ptr<BarState>> allBars;
    Atl atl;
    IDispatch* vbe = nullptr;
    IDispatch* addIn = nullptr;
    IDispatch* projectServer = nullptr;
    IDispatch* mainWindowServer = nullptr;

    IDispatch* keep(std::string name, com::ComPtr<IDispatch> object) {
        objects.emplace_back(std::move(name), object.Get());
        return object.Get();
    }

    // Every control of every bar and menu, depth first, with the name of what it is in now.
    void eachControl(const std::function<void(ControlState&)>& visit) {
        std::function<void(Controls&, const std::string&)> walk = [&](Controls& list, const std::string& in) {
            for (auto& c : list) {
                c->seen.bar = in;
                visit(*c);
                walk(c->children, c->seen.caption);
            }
        };
        for (auto& bar : bars) walk(bar->controls, bar->seen.name);
    }

    ControlState* controlOf(IUnknown* object) {
        ControlState* found = nullptr;
        IUnknown* wanted = identityOf(object);
        eachControl([&](ControlState& c) {
            if (!found && wanted && identityOf(c.server) == wanted) found = &c;
        });
        return found;
    }

    std::shared_ptr<ControlState> newControl(Controls& into, int32_t type, int32_t id) {
        auto c = std::make_shared<ControlState>();
        c->type = type;
        c->id = id;
        ControlState* raw = c.get();
        Controls* list = &into;
        com::MemberTable t;
        t.prop(
             L"Caption", [raw](com::Args&) { return Variant(raw->seen.caption); },
             [raw](const Variant& v) { raw->seen.caption = v.toString(); })
            .prop(
                L"TooltipText", [raw](com::Args&) { return Variant(raw->seen.tooltip); },
                [raw](const Variant& v) { raw->seen.tooltip = v.toString(); })
            .prop(
                L"OnAction", [raw](com::Args&) { return Variant(raw->seen.onAction); },
                [raw](const Variant& v) { raw->seen.onAction = v.toString(); })
            .prop(
                L"Tag", [raw](com::Args&) { return Variant(raw->tag); },
                [raw](const Variant& v) { raw->tag = v.toString(); })
            .prop(
                L"Parameter", [raw](com::Args&) { return Variant(raw->parameter); },
                [raw](const Variant& v) { raw->parameter = v.toString(); })
            .prop(
                L"BeginGroup", [raw](com::Args&) { return Variant(raw->beginGroup); },
                [raw](const Variant& v) { raw->beginGroup = v.toBool(); })
            .prop(
                L"Enabled", [raw](com::Args&) { return Variant(raw->seen.enabled); },
                [raw](const Variant& v) { raw->seen.enabled = v.toBool(); })
            .prop(
                L"Visible", [raw](com::Args&) { return Variant(raw->seen.visible); },
                [raw](const Variant& v) { raw->seen.visible = v.toBool(); })
            .get(L"Type", [raw](com::Args&) { return Variant(raw->type); })
            .get(L"Id", [raw](com::Args&) { return Variant(raw->id); })
            .get(L"Index",
                 [raw, list](com::Args&) {
                     auto at =
                         std::find_if(list->begin(), list->end(), [raw](const auto& e) { return e.get() == raw; });
                     return Variant(static_cast<int32_t>(at - list->begin()) + 1);
                 })
            // The face comes from the clipboard, where the add-in put its bitmap just before.
            .get(L"PasteFace",
                 [raw](com::Args&) {
                     if (!IsClipboardFormatAvailable(CF_BITMAP))
                         throw vb::VBError(-2147467259, "The clipboard holds no picture");
                     raw->seen.facePasted = true;
                     return Variant();
                 })
            .get(L"CopyFace", [](com::Args&) { return Variant(); })
            .get(L"Execute", [](com::Args&) { return Variant(); })
            .get(L"Delete",
                 [raw, list](com::Args&) {
                     std::erase_if(*list, [raw](const auto& e) { return e.get() == raw; });
                     return Variant();
                 })
            .get(L"Controls", [this, raw](com::Args&) {
                if (raw->type != msoControlPopup)
                    throw vb::VBError(438, "Object doesn't support this property or method");
                return objectOf(raw->controlsServer);
            });
        c->server = keep("control", serve(t));
        if (type == msoControlPopup) c->controlsServer = keep("controls", controlsOf(c->children));
        into.push_back(c);
        allControls.push_back(c);
        return c;
    }

    com::ComPtr<IDispatch> controlsOf(Controls& list) {
        Controls* l = &list;
        com::MemberTable t;
        t.get(L"Add",
              [this, l](com::Args& a) {
                  const int32_t type = a.has(0) ? a[0].toLong() : msoControlButton;
                  if (type != msoControlButton && type != msoControlPopup)
                      throw vb::VBError(5, "Invalid procedure call or argument");
                  return objectOf(newControl(*l, type, a.has(1) ? a[1].toLong() : 1)->server);
              })
            .get(L"Count", [l](com::Args&) { return Variant(static_cast<int32_t>(l->size())); })
            .get(L"Item", [l](com::Args& a) {
                const int32_t i = a[0].toLong();
                if (i < 1 || i > static_cast<int32_t>(l->size())) throw vb::VBError(9, "Subscript out of range");
                return objectOf((*l)[static_cast<size_t>(i) - 1]->server);
            });
        return serve(t);
    }

    std::shared_ptr<BarState> newBar(const std::string& name, bool visible) {
        auto bar = std::make_shared<BarState>();
        bar->seen.name = name;
        bar->seen.visible = visible;
        BarState* raw = bar.get();
        IDispatch* controls = keep("controls", controlsOf(bar->controls));
        com::MemberTable t;
        t.get(L"Name", [raw](com::Args&) { return Variant(raw->seen.name); })
            .prop(
                L"Visible", [raw](com::Args&) { return Variant(raw->seen.visible); },
                [raw](const Variant& v) { raw->seen.visible = v.toBool(); })
            .prop(
                L"Position", [raw](com::Args&) { return Variant(raw->position); },
                [raw](const Variant& v) { raw->position = v.toLong(); })
            .get(L"Controls", [controls](com::Args&) { return objectOf(controls); })
            // FindControl(Type, Id, Tag, Visible, Recursive): the first control of that Id.
            .get(L"FindControl",
                 [raw](com::Args& a) {
                     const int32_t id = a.has(1) ? a[1].toLong() : 0;
                     for (const auto& c : raw->controls)
                         if (c->id == id) return objectOf(c->server);
                     return nothing();
                 })
            .get(L"Delete", [this, raw](com::Args&) {
                std::erase_if(bars, [raw](const auto& b) { return b.get() == raw; });
                return Variant();
            });
        bar->server = keep("command bar", serve(t));
        bars.push_back(bar);
        allBars.push_back(bar);
        return bar;
    }

    void makeMenuBar() {
        auto menuBar = newBar("Menu Bar", true);
        for (auto [caption, id] : {std::pair{"&View", 30004}, {"&Tools", 30007}, {"&Add-Ins", 30038}, {"&Help", 30010}})
            newControl(menuBar->controls, msoControlPopup, id)->seen.caption = caption;
        com::MemberTable t;
        t.get(L"Count", [this](com::Args&) { return Variant(static_cast<int32_t>(bars.size())); })
            .get(L"Item",
                 [this](com::Args& a) {
                     if (a[0].kind() == Variant::Kind::String) {
                         for (const auto& bar : bars)
                             if (bar->seen.name == a[0].toString()) return objectOf(bar->server);
                         throw vb::VBError(5, "Invalid procedure call or argument");
                     }
                     const int32_t i = a[0].toLong();
                     if (i < 1 || i > static_cast<int32_t>(bars.size())) throw vb::VBError(9, "Subscript out of range");
                     return objectOf(bars[static_cast<size_t>(i) - 1]->server);
                 })
            // Add(Name, Position, MenuBar, Temporary): a new toolbar, hidden until shown.
            .get(L"Add", [this](com::Args& a) {
                auto bar = newBar(a.has(0) ? a[0].toString() : "Custom " + std::to_string(bars.size()), false);
                bar->position = a.has(1) ? a[1].toLong() : 0;
                return objectOf(bar->server);
            });
        commandBars = keep("CommandBars", serve(t));
    }
    IDispatch* commandBars = nullptr;

    EventSource* newSource(const std::string& name, const IID& events) {
        com::ComPtr<EventSource> source = com::make<EventSource>(events);
        objects.emplace_back(name, static_cast<IDispatch*>(source.Get()));
        return source.Get();
    }

    void makeEvents() {
        com::MemberTable t;
        t.get(L"CommandBarEvents",
              [this](com::Args& a) {
                  com::ComPtr<IDispatch> object = com::dispatchFrom(a.raw(0));
                  ControlState* control = controlOf(object.Get());
                  if (control == nullptr) throw vb::VBError(5, "Invalid procedure call or argument");
                  if (!control->events)
                      control->events = newSource("CommandBarEvents", vbide::win::DIID_CommandBarControlEvents);
                  return objectOf(control->events);
              })
            .get(L"FileControlEvents",
                 [this](com::Args&) { return objectOf(newSource("FileControlEvents", DIID_VBFileControlEvents)); })
            .get(L"VBProjectsEvents", [this](com::Args&) {
                return objectOf(newSource("VBProjectsEvents", vbide::win::DIID_VBProjectsEvents));
            });
        events = keep("Events", serve(t));
    }
    IDispatch* events = nullptr;

    void makeProject() {
        com::MemberTable components;
        components.get(L"Count", [](com::Args&) { return Variant(int32_t{0}); })
            .get(L"Item", [](com::Args&) -> Variant { throw vb::VBError(9, "Subscript out of range"); });
        IDispatch* componentsServer = keep("VBComponents", serve(components));
        com::MemberTable t;
        t.get(L"Name", [this](com::Args&) { return Variant(project.name); })
            .get(L"FileName", [this](com::Args&) { return Variant(project.fileName); })
            .get(L"VBComponents", [componentsServer](com::Args&) { return objectOf(componentsServer); })
            // A property the project does not carry is an error, as in the IDE.
            .get(L"ReadProperty",
                 [this](com::Args& a) {
                     auto it = properties.find(a[0].toString() + "/" + a[1].toString());
                     if (it == properties.end()) throw vb::VBError(-2147467259, "The project holds no such property");
                     return Variant(it->second);
                 })
            .get(L"WriteProperty", [this](com::Args& a) {
                properties[a[0].toString() + "/" + a[1].toString()] = a[2].toString();
                return Variant();
            });
        projectServer = keep("VBProject", serve(t));
        com::MemberTable projects;
        projects.get(L"Count", [](com::Args&) { return Variant(int32_t{1}); }).get(L"Item", [this](com::Args& a) {
            if (a[0].kind() != Variant::Kind::String && a[0].toLong() != 1)
                throw vb::VBError(9, "Subscript out of range");
            return objectOf(projectServer);
        });
        vbProjects = keep("VBProjects", serve(projects));
    }
    IDispatch* vbProjects = nullptr;

    com::ComPtr<IDispatch> windowServer(const std::shared_ptr<WindowState>& w) {
        WindowState* raw = w.get();
        com::MemberTable t;
        t.get(L"Caption", [raw](com::Args&) { return Variant(raw->caption); })
            .prop(
                L"Visible", [raw](com::Args&) { return Variant(raw->frame && IsWindowVisible(raw->frame) != FALSE); },
                [raw](const Variant& v) {
                    if (raw->frame) ShowWindow(raw->frame, v.toBool() ? SW_SHOWNA : SW_HIDE);
                    if (v.toBool() && raw->shownAt == 0) raw->shownAt = GetTickCount64();
                })
            .prop(
                L"Width", [raw](com::Args&) { return Variant(raw->width); },
                [this, raw](const Variant& v) {
                    raw->width = v.toLong();
                    place(*raw);
                })
            .prop(
                L"Height", [raw](com::Args&) { return Variant(raw->height); },
                [this, raw](const Variant& v) {
                    raw->height = v.toLong();
                    place(*raw);
                })
            .prop(
                L"WindowState", [](com::Args&) { return Variant(int32_t{0}); }, [](const Variant&) {})
            .get(L"SetFocus",
                 [raw](com::Args&) {
                     if (raw->frame) SetFocus(raw->frame);
                     return Variant();
                 })
            .get(L"hWnd",
                 [raw](com::Args&) { return Variant(static_cast<int32_t>(reinterpret_cast<intptr_t>(raw->frame))); });
        return serve(t);
    }

    // A tool window docks at the right of the main window's client area, as wide and high as the
    // add-in asked (twips).
    void place(WindowState& w) {
        if (!w.frame) return;
        RECT client{};
        GetClientRect(mainWindow, &client);
        POINT topRight{client.right, client.top};
        ClientToScreen(mainWindow, &topRight);
        RECT want{0, 0, pixelsOf(w.width, w.frame), pixelsOf(w.height, w.frame)};
        AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongPtrW(w.frame, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(w.frame, GWL_EXSTYLE)));
        const int width = want.right - want.left, height = want.bottom - want.top;
        SetWindowPos(w.frame, nullptr, topRight.x - width, topRight.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // CreateToolWindow(AddInInst, ProgId, Caption, GuidPosition, DocObj): the frame, and in it the
    // document the add-in's class makes, hosted by ATL; DocObj receives the document.
    Variant createToolWindow(com::Args& a) {
        if (!atl.load()) throw vb::VBError(429, "ActiveX component can't create object (no ATL container)");
        auto w = std::make_shared<WindowState>();
        w->caption = a[2].toString();
        const std::wstring caption = com::wideFromUtf8(w->caption);
        w->frame = CreateWindowExW(WS_EX_TOOLWINDOW, kToolFrameClass, caption.c_str(),
                                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0, 200,
                                   200, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
        RECT client{};
        GetClientRect(w->frame, &client);
        w->host = CreateWindowExW(0, kDocumentHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  client.right, client.bottom, w->frame, nullptr, GetModuleHandleW(nullptr), nullptr);
        const std::wstring progId = com::wideFromUtf8(a[1].toString());
        com::ComPtr<IUnknown> container, document;
        HRESULT hr =
            w->frame && w->host ? atl.create(progId.c_str(), w->host, nullptr, container.GetAddressOf()) : E_FAIL;
        if (SUCCEEDED(hr)) hr = atl.getControl(w->host, document.GetAddressOf());
        com::ComPtr<IDispatch> docObj;
        if (SUCCEEDED(hr))
            hr = document->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(docObj.GetAddressOf()));
        if (FAILED(hr)) {
            if (w->frame) DestroyWindow(w->frame);
            throw vb::VBError(429, "ActiveX component can't create object");
        }
        place(*w);
        w->server = keep("tool window", windowServer(w));
        toolWindows.push_back(w);
        if (a.count() > 4) a.set(4, objectOf(docObj.Get()));
        return objectOf(w->server);
    }

    void makeWindows() {
        auto main = std::make_shared<WindowState>();
        main->frame = mainWindow;
        main->caption = "Bare IDE";
        mainWindowServer = keep("MainWindow", windowServer(main));
        mainWindowState = main;
        com::MemberTable t;
        t.get(L"Count", [this](com::Args&) { return Variant(static_cast<int32_t>(toolWindows.size()) + 1); })
            .get(L"Item",
                 [this](com::Args& a) {
                     const int32_t i = a[0].toLong();
                     if (i == 1) return objectOf(mainWindowServer);
                     if (i < 1 || i > static_cast<int32_t>(toolWindows.size()) + 1)
                         throw vb::VBError(9, "Subscript out of range");
                     return objectOf(toolWindows[static_cast<size_t>(i) - 2]->server);
                 })
            .get(L"CreateToolWindow", [this](com::Args& a) { return createToolWindow(a); });
        windows = keep("Windows", serve(t));
    }
    std::shared_ptr<WindowState> mainWindowState;
    IDispatch* windows = nullptr;
};

BareIde::BareIde(HWND mainWindow, Project project) : state_(std::make_shared<State>()) {
    registerWindowClasses();
    State& s = *state_;
    s.mainWindow = mainWindow;
    s.project = std::move(project);
    if (!s.project.engineProject.empty()) s.properties["KALNIMB_WK/KALNIMB_WKFILENAME"] = s.project.engineProject;
    s.makeMenuBar();
    s.makeEvents();
    s.makeProject();
    s.makeWindows();
    std::string folder = s.project.fileName.substr(0, s.project.fileName.find_last_of('\\') + 1);
    com::MemberTable t;
    t.get(L"VBProjects", [&s](com::Args&) { return objectOf(s.vbProjects); })
        .get(L"ActiveVBProject", [&s](com::Args&) { return objectOf(s.projectServer); })
        .get(L"SelectedVBComponent", [](com::Args&) { return nothing(); })
        .get(L"LastUsedPath", [folder](com::Args&) { return Variant(folder); })
        .get(L"MainWindow", [&s](com::Args&) { return objectOf(s.mainWindowServer); })
        .get(L"Windows", [&s](com::Args&) { return objectOf(s.windows); })
        .get(L"CommandBars", [&s](com::Args&) { return objectOf(s.commandBars); })
        .get(L"Events", [&s](com::Args&) { return objectOf(s.events); });
    s.vbe = s.keep("VBE", serve(t));
    com::MemberTable addIn;
    addIn.get(L"ProgId", [](com::Args&) { return Variant("nimbvbadd.Connect"); })
        .get(L"Description", [](com::Args&) { return Variant("NIMB Development Add-In for Visual Basic"); })
        .prop(
            L"Connect", [](com::Args&) { return Variant(true); }, [](const Variant&) {});
    s.addIn = s.keep("AddInInst", serve(addIn));
}

BareIde::~BareIde() { closeToolWindows(); }

IDispatch* BareIde::vbe() const { return state_->vbe; }
IDispatch* BareIde::addIn() const { return state_->addIn; }

std::vector<BareIde::Control> BareIde::controls() const {
    std::vector<Control> out;
    state_->eachControl([&](State::ControlState& c) { out.push_back(c.seen); });
    return out;
}

std::vector<BareIde::Toolbar> BareIde::toolbars() const {
    std::vector<Toolbar> out;
    for (size_t i = 1; i < state_->bars.size(); ++i) {
        out.push_back(state_->bars[i]->seen);
        for (const auto& c : state_->bars[i]->controls) out.back().buttons.push_back(c->seen);
    }
    return out;
}

std::vector<BareIde::ToolWindow> BareIde::toolWindows() const {
    std::vector<ToolWindow> out;
    for (const auto& w : state_->toolWindows) {
        ToolWindow seen{w->caption, w->frame, w->shownAt, nullptr};
        com::ComPtr<IUnknown> control;
        if (w->host && SUCCEEDED(state_->atl.getControl(w->host, control.GetAddressOf()))) control.As(&seen.document);
        out.push_back(seen);
    }
    return out;
}

HRESULT BareIde::click(const std::string& captionOrAction) {
    State::ControlState* target = nullptr;
    state_->eachControl([&](State::ControlState& c) {
        if (!target && (c.seen.caption == captionOrAction || c.seen.onAction == captionOrAction)) target = &c;
    });
    if (target == nullptr || !target->events) return S_FALSE;
    com::ComPtr<EventSource> events(target->events);  // the handler may delete the control
    return events->fireClick(target->server);
}

void BareIde::closeToolWindows() {
    for (auto& w : state_->toolWindows) {
        if (w->frame && IsWindow(w->frame)) DestroyWindow(w->frame);  // the container goes with its window
        w->frame = w->host = nullptr;
    }
}

std::string BareIde::referencesHeldByOthers() const { return heldByOthers(state_->objects); }

} // namespace wintest
