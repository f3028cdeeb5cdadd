// The Windows stage's test client: checks the module's registry keys, drives nimbvbadd.Connect,
// ModelUtil and serverViewDoc through COM as a VB6 IDE and other add-ins would, and checks that
// everything is released and the module unloads. Under Wine the exit code cannot be trusted, so
// the last line decides: "N passed, M failed".
//
//   comclient prepare                 keys of others that unregistration must leave alone
//   comclient registered <dll path>   after regsvr32: keys, COM scenarios, unloading
//   comclient unregistered            after regsvr32 /u: no key of ours, the others' still there
#include "platform/ui/ScriptedUser.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/DispatchServer.h"
#include "platform/win/com/StringArray.h"
#include "tests/win/Checks.h"
#include "tests/win/FakeIde.h"
#include "tests/win/RegistryChecks.h"
#include "win/IDTExtensibility2.h"
#include "win/classIds.h"

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace wintest {

namespace {

constexpr HRESULT vbError(int n) { return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(n)); }

struct Call {
    HRESULT hr = S_OK;
    VARIANT result{};
    EXCEPINFO info{};
    std::string description;
    ~Call() {
        VariantClear(&result);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrHelpFile);
    }
};

// Invokes a method; args in the caller's order (reversed into DISPPARAMS as COM wants them).
void invoke(IDispatch* d, DISPID id, std::vector<VARIANT> args, Call& call, WORD flags = DISPATCH_METHOD) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VariantInit(&call.result);
    call.hr = d->Invoke(id, IID_NULL, 0, flags, &params, &call.result, &call.info, nullptr);
    if (call.info.bstrDescription) call.description = com::utf8FromBstr(call.info.bstrDescription);
}

DISPID idOf(IDispatch* d, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    d->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    return id;
}

VARIANT objectArg(IDispatch* p) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = p;  // borrowed: the caller keeps its reference
    return v;
}

VARIANT longArg(int32_t n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

VARIANT stringRef(BSTR* s) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = s;
    return v;
}

VARIANT arrayRef(SAFEARRAY** a) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
    v.pparray = a;
    return v;
}

SAFEARRAY* bstrArray(const std::vector<std::string>& items) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        com::UniqueBstr s(com::bstrFromUtf8(items[static_cast<size_t>(i)]));
        SafeArrayPutElement(a, &i, s.get());
    }
    return a;
}

ULONG refsOf(IUnknown* p) {
    p->AddRef();
    return p->Release();
}

std::string joined(const std::vector<std::string>& items) {
    std::string s;
    for (const auto& i : items) s += (s.empty() ? "" : ",") + i;
    return s;
}

void connectScenario(Checks& c, ui::ScriptedUser& user) {
    CLSID clsid{};
    c.check("ProgID nimbvbadd.Connect resolves to its CLSID",
            SUCCEEDED(CLSIDFromProgID(L"nimbvbadd.Connect", &clsid)) && clsid == nimb::win::CLSID_Connect);
    com::ComPtr<IUnknown> object;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(object.GetAddressOf()));
    c.check("nimbvbadd.Connect is created by ProgID", SUCCEEDED(hr), hr);
    if (FAILED(hr)) return;
    com::ComPtr<IDTExtensibility2> addIn;
    c.check("Connect answers IDTExtensibility2", SUCCEEDED(object.As(&addIn)));
    if (!addIn) return;

    FakeIde ide;
    SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    user.answerMsgBox(ui::mb::OK);
    c.check("OnConnection returns S_OK", addIn->OnConnection(ide.vbe(), ext_cm_AfterStartup, ide.addIn(), &custom) == S_OK);
    // The fake IDE's AddInInst answers to no ProgId, so the adapters see no AddIn in it: Connect
    // reports that as the add-in reports any failed connection.
    const auto boxes = user.messageBoxes();
    c.check("a failed connection is reported as number:description",
            boxes.size() == 1 && boxes[0].subject == "13:Type mismatch",
            boxes.empty() ? std::string("no message box") : boxes.back().subject);
    c.check("OnStartupComplete and OnBeginShutdown return S_OK",
            addIn->OnStartupComplete(&custom) == S_OK && addIn->OnBeginShutdown(&custom) == S_OK);
    c.check("OnDisconnection returns S_OK", addIn->OnDisconnection(ext_dm_UserClosed, &custom) == S_OK);
    c.check("after disconnection the add-in holds no IDE object",
            refsOf(ide.vbe()) == 1 && refsOf(ide.addIn()) == 1,
            "VBE refs " + std::to_string(refsOf(ide.vbe())) + ", AddIn refs " + std::to_string(refsOf(ide.addIn())));
    c.check("every control the add-in added is deleted", ide.count("Controls.Add") == ide.count("Control.Delete"),
            joined(ide.log()));
    c.check("the IDE's custom array is left to the IDE", custom != nullptr && SafeArrayGetDim(custom) == 1);

    // The same through IDispatch, as a late-bound host calls it.
    IDispatch* d = addIn.Get();
    const DISPID ids[] = {idOf(d, L"OnConnection"), idOf(d, L"ondisconnection"), idOf(d, L"OnAddInsUpdate"),
                          idOf(d, L"OnStartupComplete"), idOf(d, L"OnBeginShutdown")};
    c.check("IDTExtensibility2's DISPIDs are 1 to 5",
            ids[0] == 1 && ids[1] == 2 && ids[2] == 3 && ids[3] == 4 && ids[4] == 5);
    VARIANT customArg;
    VariantInit(&customArg);
    customArg.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
    customArg.pparray = &custom;
    user.answerMsgBox(ui::mb::OK);
    Call connectCall;
    invoke(d, 1, {objectArg(ide.vbe()), longArg(ext_cm_Startup), objectArg(ide.addIn()), customArg}, connectCall);
    c.check("OnConnection through Invoke returns S_OK", connectCall.hr == S_OK, connectCall.hr);
    Call missing;
    invoke(d, 2, {}, missing);
    c.check("a missing argument comes back as VB error 449 in EXCEPINFO",
            missing.hr == DISP_E_EXCEPTION && missing.info.scode == vbError(449) &&
                missing.description == "Argument not optional",
            missing.description);
    Call disconnect;
    invoke(d, 2, {longArg(ext_dm_HostShutdown), customArg}, disconnect);
    c.check("OnDisconnection through Invoke returns S_OK", disconnect.hr == S_OK, disconnect.hr);
    c.check("the message boxes were the scripted ones", user.problems().empty(), joined(user.problems()));
    SafeArrayDestroy(custom);
}

void modelUtilScenario(Checks& c) {
    com::ComPtr<IDispatch> model;
    HRESULT hr = CoCreateInstance(nimb::win::CLSID_ModelUtil, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(model.GetAddressOf()));
    c.check("ModelUtil is created by CLSID", SUCCEEDED(hr), hr);
    if (FAILED(hr)) return;
    com::ComPtr<IUnknown> probe;
    c.check("ModelUtil answers _ModelUtil",
            SUCCEEDED(model->QueryInterface(nimb::win::IID__ModelUtil, reinterpret_cast<void**>(probe.ReleaseAndGetAddressOf()))));
    c.check("the interface class is no ModelUtilVB",
            model->QueryInterface(nimb::win::IID__ModelUtilVB, reinterpret_cast<void**>(probe.ReleaseAndGetAddressOf())) ==
                E_NOINTERFACE);
    const wchar_t* names[] = {L"insertClientCode",   L"insertSQLCode",   L"addADOConnection",  L"AddADOCommand",
                              L"existsDataEnvObjs",  L"GETPROJLIST",     L"getDataEnvList",    L"getConnectionList",
                              L"getActiveProjName",  L"getSelectedcompName", L"GetDevLanguage", L"saveWKFileName"};
    bool inOrder = true;
    for (DISPID i = 0; i < 12; ++i) inOrder = inOrder && idOf(model.Get(), names[i]) == 0x60030000 + i;
    c.check("the twelve operations have DISPIDs 0x60030000 to 0x6003000B in slot order", inOrder);
    c.check("an unknown member is DISP_E_UNKNOWNNAME", idOf(model.Get(), L"noSuchMember") == DISPID_UNKNOWN);

    Call exists;
    invoke(model.Get(), 0x60030004, {}, exists);
    c.check("existsDataEnvObjs of the interface class is False",
            exists.hr == S_OK && exists.result.vt == VT_BOOL && exists.result.boolVal == VARIANT_FALSE);
    bool allEmpty = true;
    for (DISPID id : {0x60030008, 0x60030009, 0x6003000A}) {
        Call text;
        invoke(model.Get(), id, {}, text);
        allEmpty = allEmpty && text.hr == S_OK && text.result.vt == VT_BSTR && SysStringLen(text.result.bstrVal) == 0;
    }
    c.check("the interface class's string functions return empty strings", allEmpty);

    SAFEARRAY* list = bstrArray({"keep", "me"});
    SAFEARRAY* const before = list;
    Call projList;
    invoke(model.Get(), 0x60030005, {arrayRef(&list)}, projList);
    c.check("getProjList takes a String array by reference and leaves it untouched",
            projList.hr == S_OK && list == before && joined(com::stringList(arrayRef(&list))) == "keep,me",
            projList.hr);
    SafeArrayDestroy(list);

    BSTR sql = SysAllocString(L"select 1");
    BSTR proj = SysAllocString(L"Project1");
    BSTR comp = SysAllocString(L"Module1");
    BSTR notANumber = SysAllocString(L"abc");
    VARIANT badLine;
    VariantInit(&badLine);
    badLine.vt = VT_BSTR;
    badLine.bstrVal = notANumber;
    Call mismatch;
    invoke(model.Get(), 0x60030001,
           {stringRef(&sql), badLine, longArg(1), longArg(1), longArg(1), stringRef(&proj), stringRef(&comp)}, mismatch);
    c.check("a VBError crosses as DISP_E_EXCEPTION with VB's number and text",
            mismatch.hr == DISP_E_EXCEPTION && mismatch.info.scode == vbError(13) && mismatch.description == "Type mismatch",
            mismatch.description);
    Call insert;
    invoke(model.Get(), 0x60030001,
           {stringRef(&sql), longArg(1), longArg(1), longArg(1), longArg(1), stringRef(&proj), stringRef(&comp)}, insert);
    c.check("insertSQLCode with seven arguments returns S_OK", insert.hr == S_OK, insert.hr);
    Call wrongId;
    invoke(model.Get(), 0x6003000C, {}, wrongId);
    c.check("a DISPID past the twelfth is DISP_E_MEMBERNOTFOUND", wrongId.hr == DISP_E_MEMBERNOTFOUND);
    for (BSTR s : {sql, proj, comp, notANumber}) SysFreeString(s);
}

void serverViewDocScenario(Checks& c) {
    CLSID clsid{};
    c.check("ProgID nimbvbadd.serverViewDoc resolves to its CLSID",
            SUCCEEDED(CLSIDFromProgID(L"nimbvbadd.serverViewDoc", &clsid)) && clsid == nimb::win::CLSID_serverViewDoc);
    com::ComPtr<IDispatch> doc;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(doc.GetAddressOf()));
    c.check("serverViewDoc is created and answers IDispatch", SUCCEEDED(hr), hr);
    if (FAILED(hr)) return;
    c.check("serverViewDoc hands this process its C++ document", com::nativeObjectOf(doc.Get()) != nullptr);
    c.check("serverViewDoc serves setupGUI", idOf(doc.Get(), L"setupGUI") != DISPID_UNKNOWN);
}

// The strings a by-reference array receives, read back both ways: a fault in bounds or encoding
// would show in one of them.
void stringArrayChecks(Checks& c) {
    SAFEARRAY* list = nullptr;
    VARIANT arg = arrayRef(&list);
    com::storeStringList(arg, {"a", "", "\xC3\xBC"});
    LONG lower = -1;
    LONG upper = -1;
    BSTR third = nullptr;
    LONG index = 2;
    const bool shaped = list && SUCCEEDED(SafeArrayGetLBound(list, 1, &lower)) &&
                        SUCCEEDED(SafeArrayGetUBound(list, 1, &upper)) && SUCCEEDED(SafeArrayGetElement(list, &index, &third));
    c.check("a stored list is a 0-based BSTR array in UTF-16",
            shaped && lower == 0 && upper == 2 && third && third[0] == 0xFC && SysStringLen(third) == 1);
    SysFreeString(third);
    c.check("a stored list reads back", joined(com::stringList(arg)) == "a,,\xC3\xBC");
    SafeArrayDestroy(list);

    SAFEARRAYBOUND bound{2, 0};
    SAFEARRAY* fixed = SafeArrayCreate(VT_BSTR, 1, &bound);
    fixed->fFeatures |= FADF_FIXEDSIZE;
    VARIANT fixedArg = arrayRef(&fixed);
    std::string error;
    try {
        com::storeStringList(fixedArg, {"x"});
    } catch (const vb::VBError& e) {
        error = std::to_string(e.number());
    }
    c.check("a fixed array refuses a new list with error 10", error == "10", error);
    fixed->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
    SafeArrayDestroy(fixed);
}

void registered(Checks& c, const std::wstring& dllPath) {
    checkRegistered(c, dllPath);
    checkRollback(c);
    auto user = std::make_shared<ui::ScriptedUser>();
    ui::User::install(user);
    connectScenario(c, *user);
    modelUtilScenario(c);
    serverViewDocScenario(c);
    stringArrayChecks(c);
    ui::User::install(nullptr);
    user.reset();
    c.check("no COM object of either side is left alive", com::liveObjects() == 0,
            std::to_string(com::liveObjects()) + " alive");
    CoFreeUnusedLibrariesEx(0, 0);
    c.check("the module unloads once nothing is in use", GetModuleHandleW(L"nimbvbadd.dll") == nullptr);
}

} // namespace

} // namespace wintest

int wmain(int argc, wchar_t** argv) {
    using namespace wintest;
    Checks c;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::puts("0 passed, 1 failed (COM did not start)");
        return 1;
    }
    if (mode == L"prepare") {
        prepareNeighbours(c);
    } else if (mode == L"registered" && argc > 2) {
        registered(c, argv[2]);
    } else if (mode == L"unregistered") {
        checkUnregistered(c);
    } else {
        std::puts("usage: comclient prepare | registered <dll path> | unregistered");
        std::puts("0 passed, 1 failed");
        CoUninitialize();
        return 2;
    }
    CoUninitialize();
    return c.finish();
}
