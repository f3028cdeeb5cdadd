// The IDE's windows: the main window, the tool windows, and CreateToolWindow, which makes the
// document of a tool window as an object of the add-in's COM class.
#include "platform/sim/com/memberTables.h"

#include "platform/sim/SimWindow.h"
#include "platform/sim/com/ToolWindowSite.h"

#include "platform/vbide/AddIn.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vbide/Window.h"
#include "platform/vbide/Windows.h"
#include "platform/win/com/ComClassFactory.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/DispatchObject.h"

namespace simcom {

namespace {

using vb::Variant;

// While a tool window is made, its document's class is the COM class of that ProgID: the IDE
// creates the object through COM and keeps the C++ document behind it for the window, as the
// widget model shows it; the add-in receives the COM object in DocObj.
class DocumentClass {
public:
    explicit DocumentClass(const std::string& progId) : progId_(progId) {
        vbide::ClassRegistry::instance().registerClass(progId_, "", [this]() -> std::shared_ptr<vb::Object> {
            created_ = com::createByProgId(progId_);
            if (auto native = com::nativeObjectOf(created_.Get())) return native;
            return std::make_shared<com::DispatchObject>(created_.Get());
        });
    }
    ~DocumentClass() { vbide::ClassRegistry::instance().unregisterClass(progId_); }
    DocumentClass(const DocumentClass&) = delete;
    DocumentClass& operator=(const DocumentClass&) = delete;

    IDispatch* created() const { return created_.Get(); }

private:
    std::string progId_;
    com::ComPtr<IDispatch> created_;
};

com::ComPtr<IDispatch> windowsServer(std::shared_ptr<vbide::Windows> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) { return served(x->Item(a[0].toLong())); })
        .get(L"CreateToolWindow", [x](com::Args& a) {
            std::string progId = a[1].toString();
            DocumentClass documents(progId);
            std::shared_ptr<vb::Object> document;
            auto window = x->CreateToolWindow(a[0].as<vbide::AddIn>(), progId, a[2].toString(), a[3].toString(), document);
            auto shown = std::dynamic_pointer_cast<sim::SimWindow>(window);
            if (realToolWindowsEnabled() && shown && documents.created()) ToolWindowSite::host(shown, documents.created());
            if (a.count() > 4)
                a.set(4, documents.created() ? Variant(std::shared_ptr<vb::Object>(
                                                   std::make_shared<com::DispatchObject>(documents.created())))
                                             : nothing());
            return served(window);
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> windowServer(std::shared_ptr<vbide::Window> x) {
    Table t;
    t.get(L"Caption", [x](com::Args&) { return Variant(x->Caption()); })
        .prop(L"Visible", [x](com::Args&) { return Variant(x->Visible()); },
              [x](const Variant& v) { x->setVisible(v.toBool()); })
        .prop(L"WindowState", [x](com::Args&) { return Variant(x->WindowState()); },
              [x](const Variant& v) { x->setWindowState(v.toLong()); })
        .prop(L"Width", [x](com::Args&) { return Variant(x->Width()); }, [x](const Variant& v) { x->setWidth(v.toLong()); })
        .prop(L"Height", [x](com::Args&) { return Variant(x->Height()); },
              [x](const Variant& v) { x->setHeight(v.toLong()); })
        .get(L"SetFocus", [x](com::Args&) {
            x->SetFocus();
            return Variant();
        })
        // The IDE's frame on the screen, which owns the add-in's windows; 0 without real windows.
        .get(L"hWnd", [](com::Args&) {
            return Variant(static_cast<int32_t>(reinterpret_cast<intptr_t>(realToolWindowsOwner())));
        });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveWindows(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vbide::Windows>(object)) return windowsServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::Window>(object)) return windowServer(x);
    return nullptr;
}

} // namespace simcom
