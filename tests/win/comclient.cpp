// The Windows stage's test client: checks the module's registry keys and type library, drives
// nimbvbadd.Connect, ModelUtil and serverViewDoc through COM as a VB6 IDE and other add-ins would, and checks that
// everything is released and the module unloads. Under Wine the exit code cannot be trusted, so
// the last line decides: "N passed, M failed".
//
//   comclient prepare                 keys of others that unregistration must leave alone
//   comclient registered <dll path>   after regsvr32: keys, COM scenarios, unloading
//   comclient user-registered <dll>   after regsvr32 /n /i:user: the user's keys, no machine key
//   comclient unregistered            after regsvr32 /u: no key of ours, the others' still there
#include "platform/ui/ScriptedUser.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/DispatchServer.h"
#include "platform/win/com/StringArray.h"
#include "platform/win/com/VariantConvert.h"
#include "tests/win/Checks.h"
#include "tests/win/ComCalls.h"
#include "tests/win/FakeIde.h"
#include "tests/win/RegistryChecks.h"
#include "tests/win/TypeLibraryChecks.h"
#include "nimbvbaddLib.h"
#include "win/classIds.h"

#include <objbase.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace wintest {

namespace {

// The subjects of the message boxes shown so far.
std::string boxesShown(const ui::ScriptedUser& user) {
    std::vector<std::string> subjects;
    for (const auto& box : user.messageBoxes()) subjects.push_back(box.subject);
    return subjects.empty() ? "no message box" : joined(subjects);
}

// One connection of the add-in to the fake IDE, through the vtable or through Invoke: the Add-Ins
// menu entry appears with the engine's caption, a click on it reaches the add-in, which (no project
// being open) says so, and disconnection deletes the entry and lets go of every IDE object.
void connectedOnce(Checks& c, ui::ScriptedUser& user, FakeIde& ide, const std::string& how,
                   const std::function<HRESULT()>& connect, const std::function<HRESULT()>& disconnect) {
    const size_t boxesBefore = user.messageBoxes().size();
    const size_t entriesBefore = ide.addInsMenu().size();
    c.check(how + ": OnConnection returns S_OK", connect() == S_OK);
    auto entries = ide.addInsMenu();
    c.check(how + ": the connection shows no message box", user.messageBoxes().size() == boxesBefore, boxesShown(user));
    c.check(how + ": one Add-Ins menu entry is added, with the engine's caption",
            entries.size() == entriesBefore + 1 && entries.back().caption == "NIMB Development Add-In" &&
                !entries.back().deleted,
            entries.size() > entriesBefore ? entries.back().caption : "no entry");
    c.check(how + ": the add-in advises one click sink", ide.advised() - ide.unadvised() == 1,
            std::to_string(ide.advised()) + " advised, " + std::to_string(ide.unadvised()) + " unadvised");

    const int projectCounts = ide.count("VBProjects.Count");
    user.answerMsgBox(ui::mb::OK);
    const HRESULT clicked = ide.clickLastEntry();
    const auto boxes = user.messageBoxes();
    c.check(how + ": a click on the entry reaches the add-in, which finds no project open and says so",
            clicked == S_OK && ide.count("VBProjects.Count") == projectCounts + 1 &&
                boxes.size() == boxesBefore + 1 &&
                boxes.back().subject ==
                    "Open or create a Visual Basic project before starting the NIMB Development Add-In.",
            boxesShown(user));
    c.check(how + ": the entry stays enabled for another try", ide.addInsMenu().back().enabled);

    c.check(how + ": OnDisconnection returns S_OK", disconnect() == S_OK);
    entries = ide.addInsMenu();
    c.check(how + ": the entry is deleted on disconnection", entries.size() == entriesBefore + 1 && entries.back().deleted);
    c.check(how + ": the click sink is unadvised", ide.advised() == ide.unadvised(),
            std::to_string(ide.advised()) + " advised, " + std::to_string(ide.unadvised()) + " unadvised");
    c.check(how + ": after disconnection the add-in holds no IDE object", ide.referencesHeldByOthers().empty(),
            "still held: " + ide.referencesHeldByOthers());
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
    checkDescribesItself(c, object.Get(), __uuidof(IDTExtensibility2), nimb::win::CLSID_Connect, "Connect");

    FakeIde ide;
    SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    connectedOnce(
        c, user, ide, "vtable",
        [&] {
            const HRESULT connected = addIn->OnConnection(ide.vbe(), ext_cm_AfterStartup, ide.addIn(), &custom);
            const bool others = addIn->OnStartupComplete(&custom) == S_OK && addIn->OnBeginShutdown(&custom) == S_OK;
            return others ? connected : E_FAIL;
        },
        [&] { return addIn->OnDisconnection(ext_dm_UserClosed, &custom); });
    c.check("the IDE's custom array is left to the IDE", custom != nullptr && SafeArrayGetDim(custom) == 1);

    // The same through IDispatch, by the library's DISPIDs, as a late-bound host calls it.
    IDispatch* d = addIn.Get();
    VARIANT customArg;
    VariantInit(&customArg);
    customArg.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
    customArg.pparray = &custom;
    connectedOnce(
        c, user, ide, "Invoke",
        [&] {
            Call connect;
            invoke(d, 1,
                   {com::objectVariant(ide.vbe()), com::longVariant(ext_cm_Startup),
                    com::objectVariant(ide.addIn()), customArg},
                   connect);
            Call missing;
            invoke(d, 2, {}, missing);
            c.check("a call missing its arguments is refused before it reaches the add-in",
                    missing.hr == DISP_E_BADPARAMCOUNT || missing.hr == DISP_E_PARAMNOTOPTIONAL, missing.hr);
            return connect.hr;
        },
        [&] {
            Call disconnect;
            invoke(d, 2, {com::longVariant(ext_dm_HostShutdown), customArg}, disconnect);
            return disconnect.hr;
        });
    c.check("the message boxes were the scripted ones", user.problems().empty(), joined(user.problems()));
    SafeArrayDestroy(custom);
}

// An IDE that keeps the add-in's click sink after disconnection keeps the module loaded until it
// lets go of it: the sink's code is the module's.
void sinkHeldPastDisconnection(Checks& c) {
    com::ComPtr<IDTExtensibility2> addIn;
    HRESULT hr = CoCreateInstance(nimb::win::CLSID_Connect, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDTExtensibility2),
                                  reinterpret_cast<void**>(addIn.GetAddressOf()));
    HMODULE module = GetModuleHandleW(L"nimbvbadd.dll");
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto canUnload = module ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")))
                            : nullptr;
    c.check("Connect is created again and DllCanUnloadNow found", SUCCEEDED(hr) && canUnload != nullptr, hr);
    if (FAILED(hr) || !canUnload) return;
    FakeIde ide;
    ide.keepSinksAfterUnadvise();
    SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    const bool cycled = addIn->OnConnection(ide.vbe(), ext_cm_AfterStartup, ide.addIn(), &custom) == S_OK &&
                        addIn->OnDisconnection(ext_dm_UserClosed, &custom) == S_OK;
    SafeArrayDestroy(custom);
    addIn.Reset();
    const HRESULT whileHeld = canUnload();
    CoFreeUnusedLibrariesEx(0, 0);
    const bool stayed = GetModuleHandleW(L"nimbvbadd.dll") == module;
    c.check("a sink the IDE holds past disconnection keeps DllCanUnloadNow at no and the module loaded",
            cycled && ide.unadvised() == 1 && whileHeld == S_FALSE && stayed,
            "DllCanUnloadNow " + std::to_string(whileHeld) + (stayed ? "" : ", the module was unloaded"));
    if (!stayed) return;
    ide.releaseKeptSinks();
    c.check("once the IDE releases the sink DllCanUnloadNow says yes", canUnload() == S_OK);
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
    checkDescribesItself(c, doc.Get(), __uuidof(_serverViewDoc), nimb::win::CLSID_serverViewDoc, "serverViewDoc");
    // Its manager is Nothing until the add-in gives it one; what is no manager of this add-in (here
    // the document itself) is refused both ways and changes nothing.
    com::ComPtr<_serverViewDoc> early;
    com::ComPtr<_IntegrationMgr> manager;
    const bool none = SUCCEEDED(doc.As(&early)) && SUCCEEDED(early->get_IMgr(manager.GetAddressOf())) && !manager;
    const HRESULT refusedEarly = early ? early->putref_IMgr(reinterpret_cast<_IntegrationMgr*>(doc.Get())) : E_FAIL;
    Call refusedLate, lateManager;
    invoke(doc.Get(), idOf(doc.Get(), L"IMgr"), {com::objectVariant(doc.Get())}, refusedLate, DISPATCH_PROPERTYPUTREF);
    invoke(doc.Get(), idOf(doc.Get(), L"IMgr"), {}, lateManager, DISPATCH_PROPERTYGET);
    // The members it serves under the DISPIDs its class's interface gives them in the library.
    c.check("serverViewDoc serves IMgr and setupGUI under the library's DISPIDs; its IMgr is Nothing both ways, "
            "and an object that is no manager is refused both ways",
            idOf(doc.Get(), L"IMgr") == 0x60030000 && idOf(doc.Get(), L"setupGUI") == 0x60030001 && none &&
                refusedEarly == vbError(13) && FAILED(refusedLate.hr) && lateManager.hr == S_OK &&
                lateManager.result.vt == VT_DISPATCH && lateManager.result.pdispVal == nullptr &&
                com::nativeObjectOf(doc.Get()) != nullptr,
            "early put " + std::to_string(refusedEarly) + ", late put " + std::to_string(refusedLate.hr));
}

// What a caller's array holds as text: its element type, bounds and elements ("?" for an element
// that is no string).
std::string shapeOf(SAFEARRAY* array) {
    VARTYPE type = VT_EMPTY;
    LONG lower = 0, upper = -1;
    if (!array || FAILED(SafeArrayGetVartype(array, &type)) || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)))
        return "no array";
    std::string text = (type == VT_VARIANT ? "Variant(" : type == VT_BSTR ? "String(" : "type " + std::to_string(type) + "(") +
                       std::to_string(lower) + " To " + std::to_string(upper) + ")";
    for (LONG i = lower; i <= upper && (type == VT_VARIANT || type == VT_BSTR); ++i) {
        VARIANT element;
        VariantInit(&element);
        if (type == VT_VARIANT) SafeArrayGetElement(array, &i, &element);
        else if (SUCCEEDED(SafeArrayGetElement(array, &i, &element.bstrVal))) element.vt = VT_BSTR;
        // The UTF-16 length shows an encoding fault that a round trip through UTF-8 would hide.
        text += element.vt == VT_BSTR ? " \"" + com::utf8FromBstr(element.bstrVal) + "\"/" +
                                            std::to_string(SysStringLen(element.bstrVal))
                                      : " ?";
        VariantClear(&element);
    }
    return text;
}

// Stores list into arg: the VB error number it raised, or what it reads back.
std::string stored(VARIANT& arg, const std::vector<std::string>& list) {
    try {
        com::storeStringList(arg, list);
        return joined(com::stringList(arg));
    } catch (const vb::VBError& e) {
        return "error " + std::to_string(e.number());
    }
}

// The lists the add-in hands back through a caller's array: by reference as a String or Variant
// array, or inside a by-reference Variant; a caller's array that cannot take strings or cannot be
// replaced is refused and kept.
void stringArrayChecks(Checks& c) {
    SAFEARRAY* strings = nullptr;
    VARIANT stringsArg = com::bstrArrayRefVariant(&strings);
    std::string intoStrings = stored(stringsArg, {"a", "", "\xC3\xBC"});
    intoStrings += " as " + shapeOf(strings);
    SafeArrayDestroy(strings);

    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT variantsArg;
    VariantInit(&variantsArg);
    variantsArg.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
    variantsArg.pparray = &variants;
    std::string intoVariants = stored(variantsArg, {"x", "\xC3\xBC"});
    intoVariants += " as " + shapeOf(variants);
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VT_ARRAY | VT_VARIANT;
    holder.parray = variants;
    VARIANT inVariant;
    VariantInit(&inVariant);
    inVariant.vt = VT_BYREF | VT_VARIANT;
    inVariant.pvarVal = &holder;
    std::string intoHolder = stored(inVariant, {"y"});
    intoHolder += " as " + (holder.vt == (VT_ARRAY | VT_VARIANT) ? shapeOf(holder.parray) : "no longer an array");
    VariantClear(&holder);
    c.check("a list comes back 0-based in UTF-16, in a String array, a Variant array and a Variant array inside a Variant",
            intoStrings == "a,,\xC3\xBC as String(0 To 2) \"a\"/1 \"\"/0 \"\xC3\xBC\"/1" &&
                intoVariants == "x,\xC3\xBC as Variant(0 To 1) \"x\"/1 \"\xC3\xBC\"/1" &&
                intoHolder == "y as Variant(0 To 0) \"y\"/1",
            intoStrings + "; " + intoVariants + "; " + intoHolder);

    SAFEARRAY* numbers = SafeArrayCreateVector(VT_I4, 0, 3);
    SAFEARRAY* const numbersKept = numbers;
    VARIANT numbersArg;
    VariantInit(&numbersArg);
    numbersArg.vt = VT_BYREF | VT_ARRAY | VT_I4;
    numbersArg.pparray = &numbers;
    SAFEARRAYBOUND bound{2, 0};
    SAFEARRAY* fixed = SafeArrayCreate(VT_BSTR, 1, &bound);
    SAFEARRAY* const fixedKept = fixed;
    fixed->fFeatures |= FADF_FIXEDSIZE;
    VARIANT fixedArg = com::bstrArrayRefVariant(&fixed);
    std::string refused = stored(numbersArg, {"z"});
    refused += ", " + stored(fixedArg, {"x"});
    c.check("an array of numbers refuses a list with error 13 and a fixed array with error 10, each kept",
            refused == "error 13, error 10" && numbers == numbersKept && fixed == fixedKept, refused);
    SafeArrayDestroy(numbers);
    fixed->fFeatures &= static_cast<USHORT>(~FADF_FIXEDSIZE);
    SafeArrayDestroy(fixed);
}

void registered(Checks& c, const std::wstring& dllPath) {
    checkRegistered(c, dllPath, nimb::win::Scope::machine);
    checkNoClassesUnder(c, HKEY_CURRENT_USER, L"Software\\Classes\\", "HKCU\\Software\\Classes");
    checkRollback(c);
    checkFallback(c);
    typeLibraryChecks(c);
    auto user = std::make_shared<ui::ScriptedUser>();
    ui::User::install(user);
    connectScenario(c, *user);
    sinkHeldPastDisconnection(c);
    modelUtilScenario(c);
    serverViewDocScenario(c);
    stringArrayChecks(c);
    ui::User::install(nullptr);
    user.reset();
    c.check("no COM object of either side is left alive", com::liveObjects() == 0,
            std::to_string(com::liveObjects()) + " alive");
    CoFreeUnusedLibrariesEx(0, 0);
    c.check("the module unloads once nothing is in use", GetModuleHandleW(L"nimbvbadd.dll") == nullptr);
    c.check("the engine it loaded is unloaded with it", GetModuleHandleW(L"nimbvsadd.dll") == nullptr);
}

// After regsvr32 /n /i:user: the user's keys, none of the machine's. Whether COM finds the user's
// classes is the system's business (Wine 8 does not merge them into HKEY_CLASSES_ROOT); the line
// printed says what this system does, and is no check.
void userRegistered(Checks& c, const std::wstring& dllPath) {
    checkRegistered(c, dllPath, nimb::win::Scope::user);
    checkNoClassesUnder(c, HKEY_LOCAL_MACHINE, L"Software\\Classes\\", "HKLM\\Software\\Classes");
    CLSID clsid{};
    const HRESULT found = CLSIDFromProgID(L"nimbvbadd.ModelUtil", &clsid);
    std::printf("NOTE per-user classes as COM sees them here: CLSIDFromProgID 0x%08lX\n", static_cast<unsigned long>(found));
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
    } else if (mode == L"user-registered" && argc > 2) {
        userRegistered(c, argv[2]);
    } else if (mode == L"unregistered") {
        checkUnregistered(c);
    } else {
        std::puts("usage: comclient prepare | registered <dll path> | user-registered <dll path> | unregistered");
        std::puts("0 passed, 1 failed");
        CoUninitialize();
        return 2;
    }
    CoUninitialize();
    return c.finish();
}
