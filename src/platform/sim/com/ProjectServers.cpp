// The IDE itself, its projects, components and code modules, and its record of an add-in.
#include "platform/sim/com/memberTables.h"

#include "platform/vbide/AddIn.h"
#include "platform/vbide/CodeModule.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/VBComponent.h"
#include "platform/vbide/VBComponents.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/VBProjects.h"
#include "platform/vbide/Window.h"
#include "platform/vbide/Windows.h"

namespace simcom {

namespace {

using vb::Variant;

com::ComPtr<IDispatch> vbeServer(std::shared_ptr<vbide::VBE> x) {
    Table t;
    t.get(L"VBProjects", [x](com::Args&) { return served(x->VBProjects()); })
        .get(L"ActiveVBProject", [x](com::Args&) { return served(x->ActiveVBProject()); })
        .get(L"SelectedVBComponent", [x](com::Args&) { return served(x->SelectedVBComponent()); })
        .get(L"LastUsedPath", [x](com::Args&) { return Variant(x->LastUsedPath()); })
        .get(L"MainWindow", [x](com::Args&) { return served(x->MainWindow()); })
        .get(L"Windows", [x](com::Args&) { return served(x->Windows()); })
        .get(L"CommandBars", [x](com::Args&) { return served(x->CommandBars()); })
        .get(L"Events", [x](com::Args&) { return served(x->Events()); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> projectsServer(std::shared_ptr<vbide::VBProjects> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) {
            return served(byName(a, 0) ? x->Item(a[0].toString()) : x->Item(a[0].toLong()));
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> projectServer(std::shared_ptr<vbide::VBProject> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .get(L"FileName", [x](com::Args&) { return Variant(x->FileName()); })
        .get(L"VBComponents", [x](com::Args&) { return served(x->VBComponents()); })
        .get(L"ReadProperty", [x](com::Args& a) { return Variant(x->ReadProperty(a[0].toString(), a[1].toString())); })
        .get(L"WriteProperty", [x](com::Args& a) {
            x->WriteProperty(a[0].toString(), a[1].toString(), a[2].toString());
            return Variant();
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> componentsServer(std::shared_ptr<vbide::VBComponents> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) {
            return served(byName(a, 0) ? x->Item(a[0].toString()) : x->Item(a[0].toLong()));
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> componentServer(std::shared_ptr<vbide::VBComponent> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .get(L"Type", [x](com::Args&) { return Variant(x->Type()); })
        .get(L"DesignerID", [x](com::Args&) { return Variant(x->DesignerID()); })
        .get(L"Designer", [x](com::Args&) { return served(x->Designer()); })
        .get(L"CodeModule", [x](com::Args&) { return served(x->CodeModule()); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> codeModuleServer(std::shared_ptr<vbide::CodeModule> x) {
    Table t;
    t.get(L"CountOfLines", [x](com::Args&) { return Variant(x->CountOfLines()); })
        .get(L"Lines", [x](com::Args& a) { return Variant(x->Lines(a[0].toLong(), a[1].toLong())); })
        .get(L"InsertLines", [x](com::Args& a) {
            x->InsertLines(a[0].toLong(), a[1].toString());
            return Variant();
        })
        .get(L"DeleteLines", [x](com::Args& a) {
            x->DeleteLines(a[0].toLong(), optional(a, 1, 1).toLong());
            return Variant();
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> addInServer(std::shared_ptr<vbide::AddIn> x) {
    Table t;
    t.get(L"ProgId", [x](com::Args&) { return Variant(x->ProgId()); })
        .get(L"Description", [x](com::Args&) { return Variant(x->Description()); })
        .get(L"Connect", [x](com::Args&) { return Variant(x->Connect()); });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveProjects(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vbide::VBE>(object)) return vbeServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::VBProjects>(object)) return projectsServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::VBProject>(object)) return projectServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::VBComponents>(object)) return componentsServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::VBComponent>(object)) return componentServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::CodeModule>(object)) return codeModuleServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::AddIn>(object)) return addInServer(x);
    return nullptr;
}

} // namespace simcom
