// This file holds only Win32 code.
#include "ViewWorld.h"

#include "addin/IntegrationMgr.h"
#include "addin/serverViewDoc.h"
#include "engine/VSAConstants.h"
#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "model/ModelUtil.h"
#include "notify/notificationThreadFrm.h"
#include "notify/viewAPIs.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TreeView.h"
#include "serverview/svrViewCtl.h"

#include <filesystem>
#include <vector>
#include <stdexcept>

namespace winviews {

using namespace nimb::VSAConstants;

namespace {
constexpr int32_t actionAdd = 9;  // WKObjectDoAction on a project: a new connection
constexpr wchar_t kToolClass[] = L"NimbToolWindow";

template <class Fn>
Fn lookUp(HMODULE library, const char* name) {
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    if (!fn) throw std::runtime_error(std::string("the stand-in engine does not export ") + name);
    return fn;
}
} // namespace

// A model with one Data Environment, so that the ADO commands ask where the new object goes.
class WorldModel : public nimb::ModelUtil {
public:
    bool existsDataEnvObjs() override { return true; }
};

// The integration manager as far as the view, its dialogs and the poller need it: it opens
// (creating) the engine project once the engine has started, says the IDE is VB, and offers one
// project with one Data Environment holding one connection.
class WorldMgr : public nimb::IntegrationMgr {
public:
    explicit WorldMgr(std::string wkFile) : wkFile_(std::move(wkFile)) {}
    void openWKProject() override {
        nimb::ansi::InOutBuffer name(wkFile_);
        nimb::ansi::InOutBuffer path("");
        nimb::wkapis::WKProjectDoAccess(name.data(), path.data(), WK_ACCESS_OPEN_OR_CREATE);
    }
    std::string getWKFileName() override { return wkFile_; }
    std::shared_ptr<nimb::ModelUtil> getModel() override { return model_; }
    int32_t getIdeType() override { return IDE_VB; }
    void getProjList(std::vector<std::string>& projList) override { projList = {"Project1"}; }
    void getDataEnvList(std::vector<std::string>& dataEnvList, const std::string&) override {
        dataEnvList = {"DataEnvironment1"};
    }
    void getConnectionList(std::vector<std::string>& conList, const std::string&, const std::string&) override {
        conList = {"Connection1"};
    }

private:
    std::string wkFile_;
    std::shared_ptr<nimb::ModelUtil> model_ = std::make_shared<WorldModel>();
};

LRESULT CALLBACK ViewWorld::toolProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* doc = reinterpret_cast<nimb::serverViewDoc*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_SIZE && doc != nullptr) {
        // The tool window sizes its document, as the IDE's host does through the extender.
        const winui::Dpi dpi = winui::Dpi::screen();
        doc->Move(0, 0, dpi.twipsX(LOWORD(lParam)), dpi.twipsY(HIWORD(lParam)));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ViewWorld::ViewWorld(int width, int height, bool render)
    : directory_((std::filesystem::temp_directory_path() / ("nimb-view-" + std::to_string(GetCurrentProcessId()))).string()) {
    std::filesystem::create_directories(directory_);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as on the IDE's thread: pictures decode through COM
    nimb::wkapis::useLibrary();
    HMODULE library = LoadLibraryA("nimbvsadd.dll");  // the add-in loads it again by the same name
    if (library == nullptr) throw std::runtime_error("the stand-in engine (nimbvsadd.dll) is not loaded");
    api_ = {lookUp<decltype(EngineTestApi::Reset)>(library, "WKSI_Reset"),
            lookUp<decltype(EngineTestApi::InjectNotification)>(library, "WKSI_InjectNotification"),
            lookUp<decltype(EngineTestApi::GenerateObjects)>(library, "WKSI_GenerateObjects"),
            lookUp<decltype(EngineTestApi::FindHandle)>(library, "WKSI_FindHandle"),
            lookUp<decltype(EngineTestApi::GetJournal)>(library, "WKSI_GetJournal"),
            lookUp<decltype(EngineTestApi::ClearJournal)>(library, "WKSI_ClearJournal")};
    ui::EventLoop::reset();
    mgr_ = std::make_shared<WorldMgr>(directory_ + "\\view.wkv");
    nimb::wkutil::moduleState() = {"MS Sans Serif", 8, 0};

    doc_ = ui::New<nimb::serverViewDoc>();
    doc_->setIMgr(mgr_);
    doc_->setupGUI();
    const winui::Dpi dpi = winui::Dpi::screen();
    doc_->Move(0, 0, dpi.twipsX(width), dpi.twipsY(height));
    if (render) {
        renderer_ = std::make_unique<winui::WindowRenderer>();
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &toolProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = kToolClass;
        RegisterClassExW(&cls);
        RECT outer{0, 0, width, height};
        AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_TOOLWINDOW);
        toolWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW, kToolClass, L"Server View", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                      20, 20, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (toolWindow_ == nullptr) throw std::runtime_error("no tool window");
        renderer_->realize(*doc_, toolWindow_);
        SetWindowLongPtrW(toolWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(doc_.get()));
        ShowWindow(toolWindow_, SW_SHOW);
    }
    poller_ = ui::New<nimb::notificationThreadFrm>();
    poller_->Load();
    poller_->setIMMgr(mgr_);
}

ViewWorld::~ViewWorld() {
    ui::Forms::unloadAll();
    poller_.reset();
    if (toolWindow_ != nullptr) SetWindowLongPtrW(toolWindow_, GWLP_USERDATA, 0);
    doc_.reset();
    renderer_.reset();
    if (toolWindow_ != nullptr) DestroyWindow(toolWindow_);
    nimb::viewAPIs::resetModuleState();
    nimb::wkapis::WKTerminate();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

nimb::svrViewCtl& ViewWorld::view() { return static_cast<nimb::svrViewCtl&>(*doc_->svrViewCtl1); }

int32_t ViewWorld::procedureFolder(int32_t n) {
    api_.Reset();
    nimb::wkapis::WKInitialize(IDE_VB, directory_.c_str(), "");
    tick();  // the engine has started: the manager opens (creates) the project
    tick();  // the project arrives and becomes the tree's root
    project_ = api_.FindHandle(WK_OBJ_PROJECT, "");
    nimb::wkapis::WKObjectDoAction(project_, actionAdd);
    tick();  // the new connection arrives with its five folders
    connection_ = api_.FindHandle(WK_OBJ_CONNECTION, "NEWDB");
    const int32_t folder = api_.FindHandle(WK_OBJ_PROCEDURE_FOLDER, "NEWDB");
    if (project_ == 0 || connection_ == 0 || folder == 0) throw std::runtime_error("the engine project did not open");
    if (api_.GenerateObjects(folder, WK_OBJ_PROCEDURE, n) != n) throw std::runtime_error("no generated objects");
    // Chosen as a person chooses it: the view sets its columns and asks the engine for the folder.
    auto& tree = *view().serverTreeView;
    for (auto hdl : {project_, connection_}) tree.Nodes().Item(nimb::viewAPIs::makeNodeKey(hdl))->setExpanded(true);
    tree.click(tree.Nodes().Item(nimb::viewAPIs::makeNodeKey(folder)));
    return folder;
}

void ViewWorld::queueFolderChanged(int32_t folder) {
    api_.InjectNotification(WK_NOTIFY_FOLDER_CHANGED, project_, connection_, WK_OBJ_PROCEDURE_FOLDER, folder);
}

void ViewWorld::tick() { ui::EventLoop::advance(100); }

void ViewWorld::settle() {
    MSG msg;
    // Bounded: a program that keeps making messages must not keep its waiter from its clock.
    for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (renderer_ && renderer_->preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (renderer_) renderer_->flush();
}

void ViewWorld::pumpFor(int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        settle();
    }
}

std::string ViewWorld::takeJournal() {
    std::string text(1 << 20, '\0');
    const int32_t n = api_.GetJournal(text.data(), static_cast<int32_t>(text.size()));
    text.resize(n > 0 ? std::min<std::size_t>(static_cast<std::size_t>(n), text.size()) : 0);
    api_.ClearJournal();
    return text;
}

RECT screenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

} // namespace winviews
