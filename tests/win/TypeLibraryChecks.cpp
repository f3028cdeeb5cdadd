#include "tests/win/TypeLibraryChecks.h"

#include "nimbvbaddLib.h"
#include "platform/win/com/ComPtr.h"
#include "platform/win/com/StringArray.h"
#include "platform/win/com/VariantConvert.h"
#include "tests/win/ComCalls.h"
#include "win/classIds.h"

#include <ocidl.h>

#include <map>

namespace wintest {

namespace {

// {3E70686C-25F6-4828-BD18-C2EF28703DDA}
constexpr GUID libraryId = {0x3e70686c, 0x25f6, 0x4828, {0xbd, 0x18, 0xc2, 0xef, 0x28, 0x70, 0x3d, 0xda}};
// {E4FAED41-8E88-4639-9088-17C0A5128862}
constexpr IID integrationMgrId = {0xe4faed41, 0x8e88, 0x4639, {0x90, 0x88, 0x17, 0xc0, 0xa5, 0x12, 0x88, 0x62}};

std::string narrow(BSTR s) { return com::utf8FromBstr(s); }

// One vtable slot as the library describes it.
struct Slot {
    std::string name;
    MEMBERID id;
    INVOKEKIND kind;
    short params;
    short vtableOffset;
};

std::vector<Slot> slotsOf(ITypeInfo& vtable) {
    std::vector<Slot> slots;
    TYPEATTR* attr = nullptr;
    if (FAILED(vtable.GetTypeAttr(&attr))) return slots;
    const WORD count = attr->cFuncs;
    vtable.ReleaseTypeAttr(attr);
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(vtable.GetFuncDesc(i, &f))) break;
        BSTR name = nullptr;
        vtable.GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
        slots.push_back({narrow(name), f->memid, f->invkind, f->cParams, f->oVft});
        SysFreeString(name);
        vtable.ReleaseFuncDesc(f);
    }
    return slots;
}

// The vtable part of a dual interface of the library.
com::ComPtr<ITypeInfo> vtableOf(ITypeLib& library, REFIID iid) {
    com::ComPtr<ITypeInfo> dispatch;
    com::ComPtr<ITypeInfo> vtable;
    HREFTYPE ref = 0;
    if (FAILED(library.GetTypeInfoOfGuid(iid, dispatch.GetAddressOf())) ||
        FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) ||
        FAILED(dispatch->GetRefTypeInfo(ref, vtable.GetAddressOf())))
        return nullptr;
    return vtable;
}

struct Expected {
    const char* name;
    short params;  // the out-retval parameter included
    INVOKEKIND kind = INVOKE_FUNC;
    MEMBERID offset = -1;  // DISPID - first, when not the slot's index
};

// Slots after IDispatch's seven, in order, with DISPIDs counting up from first.
void checkSlots(Checks& c, ITypeLib& library, REFIID iid, const std::string& interfaceName,
                const std::vector<Expected>& expected, MEMBERID first = 0x60030000) {
    const com::ComPtr<ITypeInfo> vtable = vtableOf(library, iid);
    const std::vector<Slot> slots = vtable ? slotsOf(*vtable.Get()) : std::vector<Slot>{};
    std::string wrong;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        const MEMBERID id = first + (e.offset >= 0 ? e.offset : static_cast<MEMBERID>(i));
        const bool ok = i < slots.size() && slots[i].name == e.name && slots[i].id == id && slots[i].kind == e.kind &&
                        slots[i].params == e.params &&
                        slots[i].vtableOffset == static_cast<short>((7 + i) * sizeof(void*));
        if (!ok && i < slots.size()) {
            wrong += " " + slots[i].name + "(" + std::to_string(slots[i].id - first) + "," +
                     std::to_string(slots[i].kind) + "," + std::to_string(slots[i].params) + "," +
                     std::to_string(slots[i].vtableOffset) + ")";
        } else if (!ok) {
            wrong += std::string(" ") + e.name;
        }
    }
    c.check(interfaceName + ": " + std::to_string(expected.size()) +
                " members in slot order after IDispatch, with their DISPIDs and arguments",
            vtable && slots.size() == expected.size() && wrong.empty(),
            std::to_string(slots.size()) + " slots; wrong:" + wrong);
}

// The type of parameter i of member slot of a vtable, pointers followed down to what they point at.
std::vector<VARTYPE> parameterType(ITypeInfo& vtable, UINT slot, SHORT i) {
    std::vector<VARTYPE> chain;
    FUNCDESC* f = nullptr;
    if (FAILED(vtable.GetFuncDesc(slot, &f))) return chain;
    if (i < f->cParams) {
        for (const TYPEDESC* t = &f->lprgelemdescParam[i].tdesc; t; ) {
            chain.push_back(t->vt);
            t = (t->vt == VT_PTR || t->vt == VT_SAFEARRAY) ? t->lptdesc : nullptr;
        }
    }
    vtable.ReleaseFuncDesc(f);
    return chain;
}

void checkInterfaces(Checks& c, ITypeLib& library) {
    checkSlots(c, library, nimb::win::IID__ModelUtil, "_ModelUtil",
               {{"insertClientCode", 3}, {"insertSQLCode", 7}, {"addADOConnection", 4}, {"AddADOCommand", 6},
                {"existsDataEnvObjs", 1}, {"getProjList", 1}, {"getDataEnvList", 2}, {"getConnectionList", 3},
                {"getActiveProjName", 1}, {"getSelectedcompName", 1}, {"GetDevLanguage", 1}, {"saveWKFileName", 1}});
    checkSlots(c, library, integrationMgrId, "_IntegrationMgr",
               {{"showDevView", 0}, {"setWKFileName", 1}, {"getWKFileName", 1}, {"openWKProject", 0},
                {"getProjList", 1}, {"getDataEnvList", 2}, {"getConnectionList", 3},
                {"getModel", 1, INVOKE_PROPERTYGET}, {"getIdeType", 1, INVOKE_PROPERTYGET}, {"minimizeVSAppWin", 0},
                {"restoreVSAppWinState", 0}});
    checkSlots(c, library, nimb::win::IID__ModelUtilVB, "_ModelUtilVB",
               {{"VBInstance", 1, INVOKE_PROPERTYPUTREF, 0}, {"VBInstance", 1, INVOKE_PROPERTYGET, 0},
                {"getCommandBarCollection", 1, INVOKE_FUNC, 1}, {"getMainMenuBar", 1, INVOKE_FUNC, 2},
                {"ModelUtil_saveWKFileName", 1, INVOKE_FUNC, 3}});
    checkSlots(c, library, __uuidof(_serverViewDoc), "_serverViewDoc",
               {{"IMgr", 1, INVOKE_PROPERTYPUTREF, 0}, {"IMgr", 1, INVOKE_PROPERTYGET, 0}, {"setupGUI", 0, INVOKE_FUNC, 1}});
    checkSlots(c, library, __uuidof(IDTExtensibility2), "IDTExtensibility2",
               {{"OnConnection", 4}, {"OnDisconnection", 2}, {"OnAddInsUpdate", 1}, {"OnStartupComplete", 1},
                {"OnBeginShutdown", 1}},
               1);

    const com::ComPtr<ITypeInfo> model = vtableOf(library, nimb::win::IID__ModelUtil);
    if (!model) return;
    using V = std::vector<VARTYPE>;
    c.check("_ModelUtil takes Strings and Longs by reference, lists as String arrays by reference, fileName by value",
            parameterType(*model.Get(), 0, 0) == V{VT_PTR, VT_BSTR} &&
                parameterType(*model.Get(), 1, 1) == V{VT_PTR, VT_I4} &&
                parameterType(*model.Get(), 5, 0) == V{VT_PTR, VT_SAFEARRAY, VT_BSTR} &&
                parameterType(*model.Get(), 4, 0) == V{VT_PTR, VT_BOOL} &&
                parameterType(*model.Get(), 11, 0) == V{VT_BSTR});
    const com::ComPtr<ITypeInfo> addIn = vtableOf(library, __uuidof(IDTExtensibility2));
    c.check("IDTExtensibility2 takes the IDE's custom array as an array of Variants by reference",
            addIn && parameterType(*addIn.Get(), 0, 3) == V{VT_PTR, VT_SAFEARRAY, VT_VARIANT} &&
                parameterType(*addIn.Get(), 1, 0) == V{VT_USERDEFINED});
}

// Each record's fields, by name, with their automation types.
std::map<std::string, std::vector<std::pair<std::string, VARTYPE>>> recordsOf(ITypeLib& library) {
    std::map<std::string, std::vector<std::pair<std::string, VARTYPE>>> records;
    for (UINT i = 0; i < library.GetTypeInfoCount(); ++i) {
        com::ComPtr<ITypeInfo> info;
        TYPEATTR* attr = nullptr;
        if (FAILED(library.GetTypeInfo(i, info.GetAddressOf())) || FAILED(info->GetTypeAttr(&attr))) continue;
        const bool record = attr->typekind == TKIND_RECORD;
        const WORD vars = attr->cVars;
        info->ReleaseTypeAttr(attr);
        if (!record) continue;
        BSTR name = nullptr;
        library.GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr);
        auto& fields = records[narrow(name)];
        SysFreeString(name);
        for (UINT v = 0; v < vars; ++v) {
            VARDESC* d = nullptr;
            if (FAILED(info->GetVarDesc(v, &d))) break;
            BSTR field = nullptr;
            info->GetDocumentation(d->memid, &field, nullptr, nullptr, nullptr);
            fields.emplace_back(narrow(field), d->elemdescVar.tdesc.vt);
            SysFreeString(field);
            info->ReleaseVarDesc(d);
        }
    }
    return records;
}

void checkRecords(Checks& c, ITypeLib& library) {
    const auto records = recordsOf(library);
    const std::map<std::string, size_t> fieldCounts = {
        {"twkNotify", 5},  {"twkText", 4},      {"twkSQLText", 8},   {"twkADOText", 4}, {"twkConnectionDE", 4},
        {"twkCommandDE", 7}, {"twkParameterDE", 6}, {"twkProject", 3}, {"twkConnection", 8}, {"twkProcedure", 13},
        {"twkFunction", 12}, {"twkTrigger", 9},  {"twkTable", 7},     {"twkView", 5}};
    std::string wrong;
    for (const auto& [name, count] : fieldCounts) {
        const auto found = records.find(name);
        if (found == records.end() || found->second.size() != count) wrong += " " + name;
    }
    c.check("the library holds the fourteen engine records as user-defined types, each with its fields",
            records.size() == fieldCounts.size() && wrong.empty(), std::to_string(records.size()) + "; wrong:" + wrong);
    const auto fieldType = [&](const std::string& record, size_t i) {
        const auto found = records.find(record);
        return found != records.end() && i < found->second.size() ? found->second[i] : std::make_pair(std::string(), VT_EMPTY);
    };
    c.check("twkProcedure.bIsFenced is a Boolean, twkFunction.bIsFenced a Long, a String field a BSTR",
            fieldType("twkProcedure", 10) == std::make_pair(std::string("bIsFenced"), static_cast<VARTYPE>(VT_BOOL)) &&
                fieldType("twkFunction", 9) == std::make_pair(std::string("bIsFenced"), static_cast<VARTYPE>(VT_I4)) &&
                fieldType("twkText", 0) == std::make_pair(std::string("strText"), static_cast<VARTYPE>(VT_BSTR)));

    // A record is usable as a Variant's UDT: the system makes record info of it.
    com::ComPtr<ITypeInfo> notify;
    com::ComPtr<IRecordInfo> info;
    MEMBERID id = 0;
    USHORT found = 1;
    wchar_t name[] = L"twkNotify";
    ULONG size = 0;
    const bool made = SUCCEEDED(library.FindName(name, 0, notify.GetAddressOf(), &id, &found)) && found == 1 &&
                      SUCCEEDED(GetRecordInfoFromTypeInfo(notify.Get(), info.GetAddressOf())) &&
                      SUCCEEDED(info->GetSize(&size));
    c.check("twkNotify makes record info of 20 bytes (five Longs)", made && size == 20, std::to_string(size));
}

void checkClasses(Checks& c, ITypeLib& library) {
    struct Class {
        const char* name;
        bool creatable;
        const char* defaultInterface;
    };
    const std::vector<Class> classes = {{"Connect", true, "IDTExtensibility2"},
                                        {"serverViewDoc", true, "_serverViewDoc"},
                                        {"ModelUtil", true, "_ModelUtil"},
                                        {"ModelUtilVB", false, "_ModelUtilVB"},
                                        {"IntegrationMgr", false, "_IntegrationMgr"},
                                        {"WKTypes", false, "_WKTypes"}};
    std::string wrong;
    for (const Class& k : classes) {
        com::ComPtr<ITypeInfo> info;
        MEMBERID id = 0;
        USHORT found = 1;
        std::wstring name = com::wideFromUtf8(k.name);
        TYPEATTR* attr = nullptr;
        bool ok = SUCCEEDED(library.FindName(name.data(), 0, info.GetAddressOf(), &id, &found)) && found == 1 &&
                  SUCCEEDED(info->GetTypeAttr(&attr));
        if (ok) {
            ok = attr->typekind == TKIND_COCLASS && ((attr->wTypeFlags & TYPEFLAG_FCANCREATE) != 0) == k.creatable;
            info->ReleaseTypeAttr(attr);
            HREFTYPE ref = 0;
            com::ComPtr<ITypeInfo> first;
            BSTR interfaceName = nullptr;
            INT flags = 0;
            ok = ok && SUCCEEDED(info->GetImplTypeFlags(0, &flags)) && (flags & IMPLTYPEFLAG_FDEFAULT) &&
                 SUCCEEDED(info->GetRefTypeOfImplType(0, &ref)) &&
                 SUCCEEDED(info->GetRefTypeInfo(ref, first.GetAddressOf())) &&
                 SUCCEEDED(first->GetDocumentation(MEMBERID_NIL, &interfaceName, nullptr, nullptr, nullptr)) &&
                 narrow(interfaceName) == k.defaultInterface;
            SysFreeString(interfaceName);
        }
        if (!ok) wrong += std::string(" ") + k.name;
    }
    c.check("the classes: Connect, serverViewDoc and ModelUtil creatable, ModelUtilVB, IntegrationMgr and WKTypes "
            "not, each with its default interface",
            wrong.empty(), "wrong:" + wrong);
}

} // namespace

void typeLibraryChecks(Checks& c) {
    com::ComPtr<ITypeLib> library;
    const HRESULT hr = LoadRegTypeLib(libraryId, 1, 0, LOCALE_NEUTRAL, library.GetAddressOf());
    BSTR name = nullptr;
    if (SUCCEEDED(hr)) library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
    const std::string named = narrow(name);
    SysFreeString(name);
    c.check("the registered type library nimbvbadd loads (LoadRegTypeLib)", SUCCEEDED(hr) && named == "nimbvbadd",
            std::to_string(hr) + " " + named);
    if (FAILED(hr)) return;
    checkInterfaces(c, *library.Get());
    checkRecords(c, *library.Get());
    checkClasses(c, *library.Get());
}

namespace {

// The thread's error description after a failed vtable call.
std::string errorInfoText() {
    com::ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.GetAddressOf()) != S_OK || !error) return "no error info";
    BSTR text = nullptr;
    error->GetDescription(&text);
    const std::string result = narrow(text);
    SysFreeString(text);
    return result;
}

std::string early(HRESULT hr, BSTR text) {
    const std::string result = SUCCEEDED(hr) ? "\"" + narrow(text) + "\"" : "failed";
    SysFreeString(text);
    return result;
}

std::string late(const Call& call) {
    if (call.hr != S_OK) return "failed";
    return call.result.vt == VT_BSTR ? "\"" + narrow(call.result.bstrVal) + "\"" : "not a String";
}

// The same calls early and late bound: a vtable out of step with the library would land in
// another method and give another answer (or none).
void checkBothWays(Checks& c, IDispatch* model, _ModelUtil& vtable) {
    VARIANT_BOOL exists = VARIANT_TRUE;
    Call existsLate;
    invoke(model, 0x60030004, {}, existsLate);
    c.check("existsDataEnvObjs is False both ways",
            vtable.existsDataEnvObjs(&exists) == S_OK && exists == VARIANT_FALSE && existsLate.hr == S_OK &&
                existsLate.result.vt == VT_BOOL && existsLate.result.boolVal == VARIANT_FALSE);

    const std::vector<std::pair<const char*, HRESULT (STDMETHODCALLTYPE _ModelUtil::*)(BSTR*)>> texts = {
        {"getActiveProjName", &_ModelUtil::getActiveProjName},
        {"getSelectedcompName", &_ModelUtil::getSelectedcompName},
        {"GetDevLanguage", &_ModelUtil::GetDevLanguage}};
    std::string answers;
    for (size_t i = 0; i < texts.size(); ++i) {
        BSTR text = nullptr;
        const std::string e = early((vtable.*texts[i].second)(&text), text);
        Call call;
        invoke(model, static_cast<DISPID>(0x60030008 + i), {}, call);
        answers += std::string(" ") + texts[i].first + " " + e + "/" + late(call);
    }
    c.check("the interface class's string functions return the empty string both ways",
            answers == " getActiveProjName \"\"/\"\" getSelectedcompName \"\"/\"\" GetDevLanguage \"\"/\"\"", answers);

    SAFEARRAY* list = bstrArray({"keep", "me"});
    SAFEARRAY* const before = list;
    const HRESULT earlyList = vtable.getProjList(&list);
    Call lateList;
    invoke(model, 0x60030005, {com::bstrArrayRefVariant(&list)}, lateList);
    c.check("getProjList leaves the caller's String array untouched both ways",
            earlyList == S_OK && lateList.hr == S_OK && list == before &&
                joined(com::stringList(com::bstrArrayRefVariant(&list))) == "keep,me");
    SafeArrayDestroy(list);

    SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
    SAFEARRAY* grid = SafeArrayCreate(VT_BSTR, 2, square);
    const HRESULT earlyGrid = vtable.getProjList(&grid);
    const std::string earlyText = errorInfoText();
    Call lateGrid;
    invoke(model, 0x60030005, {com::bstrArrayRefVariant(&grid)}, lateGrid);
    c.check("a two-dimensional array is VB error 13 both ways: HRESULT with error info, EXCEPINFO",
            earlyGrid == vbError(13) && earlyText == "Type mismatch" && lateGrid.hr == DISP_E_EXCEPTION &&
                lateGrid.info.scode == vbError(13) && lateGrid.description == "Type mismatch",
            earlyText + " / " + lateGrid.description);
    SafeArrayDestroy(grid);

    com::UniqueBstr sql(SysAllocString(L"select 1"));
    com::UniqueBstr proj(SysAllocString(L"Project1"));
    com::UniqueBstr comp(SysAllocString(L"Module1"));
    BSTR s = sql.get();
    BSTR p = proj.get();
    BSTR m = comp.get();
    LONG line = 1;
    const HRESULT earlyInsert = vtable.insertSQLCode(&s, &line, &line, &line, &line, &p, &m);
    Call lateInsert;
    invoke(model, 0x60030001,
           {com::bstrRefVariant(&s), com::longVariant(1), com::longVariant(1), com::longVariant(1), com::longVariant(1),
            com::bstrRefVariant(&p), com::bstrRefVariant(&m)},
           lateInsert);
    c.check("insertSQLCode with its seven arguments returns S_OK both ways, by-value Longs converted",
            earlyInsert == S_OK && lateInsert.hr == S_OK, lateInsert.hr);
    const bool nullRefused =
        vtable.existsDataEnvObjs(nullptr) == E_POINTER && vtable.insertClientCode(nullptr, &p, &m) == E_POINTER;

    com::UniqueBstr notANumber(SysAllocString(L"abc"));
    VARIANT badLine;
    VariantInit(&badLine);
    badLine.vt = VT_BSTR;
    badLine.bstrVal = notANumber.get();
    Call mismatch;
    invoke(model, 0x60030001,
           {com::bstrRefVariant(&s), badLine, com::longVariant(1), com::longVariant(1), com::longVariant(1),
            com::bstrRefVariant(&p), com::bstrRefVariant(&m)},
           mismatch);
    Call tooFew;
    invoke(model, 0x60030001, {com::bstrRefVariant(&s)}, tooFew);
    Call wrongId;
    invoke(model, 0x6003000C, {}, wrongId);
    c.check("bad calls are refused: a null pointer early bound (E_POINTER), a String that "
            "is no number for a Long, too few arguments, a DISPID past the twelfth",
            nullRefused && mismatch.hr == DISP_E_TYPEMISMATCH &&
                (tooFew.hr == DISP_E_BADPARAMCOUNT || tooFew.hr == DISP_E_PARAMNOTOPTIONAL) &&
                wrongId.hr == DISP_E_MEMBERNOTFOUND,
            std::to_string(mismatch.hr) + " " + std::to_string(tooFew.hr) + " " + std::to_string(wrongId.hr));
}

} // namespace

void checkDescribesItself(Checks& c, IUnknown* object, REFIID face, REFCLSID coclass, const std::string& name) {
    com::ComPtr<IDispatch> dispatch;
    com::ComPtr<ITypeInfo> info, none, classInfo;
    com::ComPtr<IProvideClassInfo> provider;
    com::ComPtr<ISupportErrorInfo> errors;
    UINT count = 0;
    TYPEATTR* attr = nullptr;
    GUID described = GUID_NULL, named = GUID_NULL;
    if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&dispatch))) && SUCCEEDED(dispatch->GetTypeInfoCount(&count)) &&
        SUCCEEDED(dispatch->GetTypeInfo(0, 0, info.GetAddressOf())) && SUCCEEDED(info->GetTypeAttr(&attr))) {
        described = attr->guid;
        info->ReleaseTypeAttr(attr);
    }
    if (SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&provider))) &&
        SUCCEEDED(provider->GetClassInfo(classInfo.GetAddressOf())) && SUCCEEDED(classInfo->GetTypeAttr(&attr))) {
        if (attr->typekind == TKIND_COCLASS) named = attr->guid;
        classInfo->ReleaseTypeAttr(attr);
    }
    const bool reportsErrors = SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&errors))) &&
                               errors->InterfaceSupportsErrorInfo(face) == S_OK;
    c.check(name + " describes itself from the library: IDispatch's one type information is its interface, "
                   "IProvideClassInfo its class, error info for the interface",
            count == 1 && described == face && dispatch->GetTypeInfo(1, 0, none.GetAddressOf()) == DISP_E_BADINDEX &&
                named == coclass && reportsErrors);
}

void modelUtilScenario(Checks& c) {
    com::ComPtr<IDispatch> model;
    HRESULT hr = CoCreateInstance(nimb::win::CLSID_ModelUtil, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(model.GetAddressOf()));
    c.check("ModelUtil is created by CLSID", SUCCEEDED(hr), hr);
    if (FAILED(hr)) return;
    com::ComPtr<_ModelUtil> vtable;
    com::ComPtr<IUnknown> probe;
    const wchar_t* names[] = {L"insertClientCode",  L"insertSQLCode",       L"addADOConnection", L"AddADOCommand",
                              L"existsDataEnvObjs", L"GETPROJLIST",         L"getDataEnvList",   L"getConnectionList",
                              L"getActiveProjName", L"getSelectedcompName", L"GetDevLanguage",   L"saveWKFileName"};
    bool inOrder = true;
    for (DISPID i = 0; i < 12; ++i) inOrder = inOrder && idOf(model.Get(), names[i]) == 0x60030000 + i;
    c.check("ModelUtil answers _ModelUtil and not _ModelUtilVB, its twelve operations by name with DISPIDs "
            "0x60030000 to 0x6003000B in slot order, no unknown name",
            SUCCEEDED(model.As(&vtable)) &&
                model->QueryInterface(nimb::win::IID__ModelUtilVB, reinterpret_cast<void**>(probe.GetAddressOf())) ==
                    E_NOINTERFACE &&
                inOrder && idOf(model.Get(), L"noSuchMember") == DISPID_UNKNOWN);
    checkDescribesItself(c, model.Get(), nimb::win::IID__ModelUtil, nimb::win::CLSID_ModelUtil, "ModelUtil");
    if (vtable) checkBothWays(c, model.Get(), *vtable.Get());
}

} // namespace wintest
