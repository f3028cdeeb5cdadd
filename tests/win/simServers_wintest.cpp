// The simulated IDE served over COM, called as a client that is not the add-in would call it: what
// the scenarios (run by scripts/wine-scenarios through the add-in) cannot reach - the EXCEPINFO of
// an injected failure, one identity per served object, connection points refusing what they must
// refuse and handing the by-reference Booleans back, the SourceSafe class's registration, and every
// server gone once its last client lets go.
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/MemorySourceSafe.h"
#include "platform/sim/com/EventSource.h"
#include "platform/sim/com/SimServer.h"
#include "platform/sim/com/SourceSafeClass.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/Events.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/DispatchServer.h"
#include "platform/win/vbide/eventInterfaces.h"
#include "wintest.h"

#include <objbase.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace {

using com::ComPtr;

DISPID idOf(IDispatch* object, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// Calls a member with the arguments given in DISPPARAMS order; the result in *result when given.
HRESULT invoke(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}, VARIANT* result = nullptr,
               EXCEPINFO* info = nullptr) {
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    return object->Invoke(idOf(object, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          &params, result, info, nullptr);
}

ComPtr<IDispatch> objectResult(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}) {
    VARIANT v;
    VariantInit(&v);
    ComPtr<IDispatch> out;
    if (SUCCEEDED(invoke(object, name, std::move(args), &v)) && v.vt == VT_DISPATCH) out = v.pdispVal;
    VariantClear(&v);
    return out;
}

// A Click sink that answers only IDispatch and says it handled the click.
class ClickSink : public com::DispatchServer<> {
public:
    ClickSink()
        : DispatchServer({{L"Click", vbide::win::dispidClick, [this](com::Args& a) {
                               ++clicks;
                               a.set(1, true);
                               return vb::Variant();
                           }}}) {}
    int clicks = 0;
};

// An object that answers nothing but IUnknown: no sink at all.
class Mute final : public com::ComObject<IUnknown> {};

std::shared_ptr<vbide::CommandBarControl> newButton(sim::SimVBE& ide) {
    return ide.commandBars()->Item(1)->Controls()->Add();
}

void injectedFailure() {
    auto ide = sim::SimVBE::create();
    ide->addProject("Inventory");
    ComPtr<IDispatch> vbe = simcom::serve(ide);
    ComPtr<IDispatch> projects = objectResult(vbe.Get(), L"VBProjects");
    ide->journal().failNext("VBProjects.Count", vb::VBError(91, "Object variable not set", "Visual Basic"));
    EXCEPINFO info{};
    VARIANT result;
    VariantInit(&result);
    CHECK(invoke(projects.Get(), L"Count", {}, &result, &info) == DISP_E_EXCEPTION);
    CHECK(info.scode == static_cast<SCODE>(0x800A005B));
    CHECK(com::utf8FromBstr(info.bstrDescription) == "Object variable not set");
    CHECK(com::utf8FromBstr(info.bstrSource) == "Visual Basic");
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
    // The failure was for one call only.
    CHECK(SUCCEEDED(invoke(projects.Get(), L"Count", {}, &result)) && result.vt == VT_I4 && result.lVal == 1);
    // A required argument left out, and an object nothing here serves.
    CHECK(invoke(projects.Get(), L"Item", {}, &result, &info) == DISP_E_EXCEPTION && info.scode == static_cast<SCODE>(0x800A01C1));
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    CHECK(wintest::raised([] { simcom::serve(std::make_shared<vb::Object>()); }).number() == 430);
}

void oneIdentityWhileServed() {
    auto ide = sim::SimVBE::create();
    auto button = newButton(*ide);
    long before = simcom::servedObjects();
    {
        ComPtr<IDispatch> first = simcom::serve(button);
        ComPtr<IDispatch> again = simcom::serve(button);
        CHECK(first.Get() == again.Get());
        CHECK(com::nativeObjectOf(first.Get()) == button);
        CHECK(simcom::servedObjects() == before + 1);
    }
    CHECK(simcom::servedObjects() == before);
}

void connectionPoints() {
    auto ide = sim::SimVBE::create();
    auto button = newButton(*ide);
    // A handler of the IDE's own, subscribed after the COM source, sees what the sink answered.
    bool seenHandled = false;
    ComPtr<IDispatch> vbe = simcom::serve(ide);
    ComPtr<IDispatch> events = objectResult(vbe.Get(), L"Events");
    ComPtr<IDispatch> control = simcom::serve(button);
    VARIANT controlArg;
    VariantInit(&controlArg);
    controlArg.vt = VT_DISPATCH;
    controlArg.pdispVal = control.Get();
    ComPtr<IDispatch> source = objectResult(events.Get(), L"CommandBarEvents", {controlArg});
    CHECK(source != nullptr);
    auto native = ide->Events()->CommandBarEvents(button);
    native->onClick([&](vb::Object&, bool& handled, bool&) { seenHandled = handled; });

    ComPtr<IConnectionPointContainer> container;
    CHECK(SUCCEEDED(source.As(&container)));
    ComPtr<IConnectionPoint> point;
    CHECK(container->FindConnectionPoint(vbide::win::DIID_VBProjectsEvents, point.GetAddressOf()) == CONNECT_E_NOCONNECTION);
    CHECK(SUCCEEDED(container->FindConnectionPoint(vbide::win::DIID_CommandBarControlEvents, point.GetAddressOf())));
    DWORD cookie = 0;
    CHECK(point->Advise(com::make<Mute>().Get(), &cookie) == CONNECT_E_CANNOTCONNECT);
    ComPtr<ClickSink> sink = com::make<ClickSink>();
    CHECK(SUCCEEDED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie)));
    CHECK(simcom::EventSource::advisedSinks() == 1);
    CHECK(ide->click(button));
    CHECK(sink->clicks == 1);
    CHECK(seenHandled);
    CHECK(point->Unadvise(cookie + 1) == CONNECT_E_NOCONNECTION);
    CHECK(SUCCEEDED(point->Unadvise(cookie)));
    CHECK(simcom::EventSource::advisedSinks() == 0);
    CHECK(ide->click(button));
    CHECK(sink->clicks == 1);
}

// A file events sink that answers _dispVBFileControlEvents only, and records what it is called with.
class FileSink : public com::DispatchServer<> {
public:
    FileSink() : DispatchServer({}, {vbide::win::DIID_FileControlEvents}) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        // Arguments arrive last first: (project, FileType, FileName[, WasDirty]).
        const UINT n = params->cArgs;
        calls.push_back(std::to_string(id) + " " + std::to_string(params->rgvarg[n - 2].lVal) + " " +
                        com::utf8FromBstr(params->rgvarg[n - 3].bstrVal));
        return S_OK;
    }
    std::vector<std::string> calls;
};

// The served file events are _dispVBFileControlEvents, with its DISPIDs: AfterCloseFile 3,
// AfterRemoveFile 5.
void fileEventsAsTheLibraryDeclares() {
    auto ide = sim::SimVBE::create();
    auto project = ide->addProject("Inventory");
    ComPtr<IDispatch> vbe = simcom::serve(ide);
    ComPtr<IDispatch> events = objectResult(vbe.Get(), L"Events");
    VARIANT all;
    VariantInit(&all);
    all.vt = VT_DISPATCH;
    all.pdispVal = nullptr;
    ComPtr<IDispatch> source = objectResult(events.Get(), L"FileControlEvents", {all});
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    const IID vbFileControlEvents = {0x0002E141, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    CHECK(source && SUCCEEDED(source.As(&container)));
    if (!container) return;
    CHECK(SUCCEEDED(container->FindConnectionPoint(vbFileControlEvents, point.GetAddressOf())));
    if (!point) return;
    ComPtr<FileSink> sink = com::make<FileSink>();
    DWORD cookie = 0;
    CHECK(SUCCEEDED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie)));
    ide->closeFile(project, 5, "Form1.frm", true);
    ide->removeFile(project, 6, "Module1.bas");
    CHECK(sink->calls == (std::vector<std::string>{"3 5 Form1.frm", "5 6 Module1.bas"}));
    CHECK(SUCCEEDED(point->Unadvise(cookie)));
}

void sourceSafeClass() {
    auto server = sim::MemorySourceSafe::create();
    CLSID clsid{};
    {
        simcom::SourceSafeClass registered(simcom::testSourceSafeProgId, [server] { return server->newSession(); });
        std::wstring progId = com::wideFromUtf8(simcom::testSourceSafeProgId);
        CHECK(SUCCEEDED(CLSIDFromProgID(progId.c_str(), &clsid)));
        ComPtr<IDispatch> session;
        CHECK(SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                         reinterpret_cast<void**>(session.GetAddressOf()))));
        CHECK(session && idOf(session.Get(), L"Open") != DISPID_UNKNOWN);
        ComPtr<IClassFactory> factory;
        CHECK(SUCCEEDED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                         reinterpret_cast<void**>(factory.GetAddressOf()))));
        ComPtr<IUnknown> aggregated;
        if (factory)
            CHECK(factory->CreateInstance(session.Get(), IID_IUnknown, reinterpret_cast<void**>(aggregated.GetAddressOf())) ==
                  CLASS_E_NOAGGREGATION);
    }
    std::wstring progId = com::wideFromUtf8(simcom::testSourceSafeProgId);
    CHECK(FAILED(CLSIDFromProgID(progId.c_str(), &clsid)));
}

} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = wintest::run({
        {"an injected failure leaves Invoke as DISP_E_EXCEPTION with the VB error", injectedFailure},
        {"a served object keeps one COM identity while served", oneIdentityWhileServed},
        {"event sources refuse the wrong interface and a non-sink, and copy by-ref Booleans back", connectionPoints},
        {"file events are served as _dispVBFileControlEvents with its DISPIDs", fileEventsAsTheLibraryDeclares},
        {"the in-memory SourceSafe is created by its test ProgID and gone with its registration", sourceSafeClass},
        {"no server outlives its clients", [] { CHECK(simcom::servedObjects() == 0); }},
    });
    CoUninitialize();
    return status;
}
