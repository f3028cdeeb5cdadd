#include "win/TypeLibrary.h"

#include "nimbvbaddLib.h"
#include "platform/error.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComError.h"
#include "win/ServerModule.h"

#include <oleauto.h>

namespace nimb::win {

namespace {

// The marshaller of every oleautomation interface: what RegisterTypeLib names for it too.
constexpr wchar_t automationMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";

[[noreturn]] void unreadable(HRESULT hr) {
    throw vb::VBError(com::numberOf(hr), "The module's type library cannot be read");
}

com::ComPtr<ITypeLib> loadLibrary(const std::wstring& modulePath) {
    com::ComPtr<ITypeLib> library;
    const HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.GetAddressOf());
    if (FAILED(hr)) unreadable(hr);
    return library;
}

std::wstring guidText(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring nameOf(ITypeLib& library, INT index) {
    BSTR name = nullptr;
    BSTR help = nullptr;
    const HRESULT hr = library.GetDocumentation(index, &name, &help, nullptr, nullptr);
    if (FAILED(hr)) unreadable(hr);
    com::UniqueBstr ownedName(name);
    com::UniqueBstr ownedHelp(help);
    // The library's own entry (index -1) is known by its help string.
    const BSTR shown = index < 0 && help ? help : name;
    return shown ? std::wstring(shown, SysStringLen(shown)) : std::wstring();
}

struct DualInterface {
    std::wstring name;
    GUID iid;
};

// The library's own dual interfaces. The IDE's add-in interface is only described here: the IDE's
// library registers it, and a key of ours would take it over.
std::vector<DualInterface> dualInterfaces(ITypeLib& library) {
    std::vector<DualInterface> found;
    const UINT count = library.GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        com::ComPtr<ITypeInfo> info;
        TYPEATTR* attr = nullptr;
        if (FAILED(library.GetTypeInfo(i, info.GetAddressOf())) || FAILED(info->GetTypeAttr(&attr))) unreadable(E_FAIL);
        const bool dual = (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0 && attr->typekind == TKIND_DISPATCH;
        const GUID iid = attr->guid;
        info->ReleaseTypeAttr(attr);
        if (dual && iid != __uuidof(IDTExtensibility2)) found.push_back({nameOf(library, static_cast<INT>(i)), iid});
    }
    return found;
}

RegValue text(std::wstring name, std::wstring value) { return {std::move(name), REG_SZ, std::move(value)}; }

std::wstring folderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

com::ComPtr<ITypeInfo> typeInfoOf(REFGUID guid) {
    com::ComPtr<ITypeInfo> info;
    const HRESULT hr = loadLibrary(ServerModule::path())->GetTypeInfoOfGuid(guid, info.GetAddressOf());
    if (FAILED(hr)) unreadable(hr);
    return info;
}

std::vector<RegKey> typeLibraryKeys(const std::wstring& modulePath, HKEY root, const std::wstring& classesPath) {
    const com::ComPtr<ITypeLib> library = loadLibrary(modulePath);
    TLIBATTR* attr = nullptr;
    const HRESULT hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) unreadable(hr);
    const std::wstring libId = guidText(attr->guid);
    const std::wstring version = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
    library->ReleaseTLibAttr(attr);

    const std::wstring libKey = classesPath + L"TypeLib\\" + libId;
    const std::wstring versionKey = libKey + L"\\" + version;
    const wchar_t* const platform = sizeof(void*) == 8 ? L"win64" : L"win32";
    std::vector<RegKey> keys = {
        {root, libKey, {}},
        {root, versionKey, {text(L"", nameOf(*library.Get(), -1))}},
        {root, versionKey + L"\\0", {}},
        {root, versionKey + L"\\0\\" + platform, {text(L"", modulePath)}},
        {root, versionKey + L"\\FLAGS", {text(L"", L"0")}},
        {root, versionKey + L"\\HELPDIR", {text(L"", folderOf(modulePath))}},
    };
    for (const DualInterface& dual : dualInterfaces(*library.Get())) {
        const std::wstring key = classesPath + L"Interface\\" + guidText(dual.iid);
        keys.push_back({root, key, {text(L"", dual.name)}});
        keys.push_back({root, key + L"\\ProxyStubClsid", {text(L"", automationMarshaller)}});
        keys.push_back({root, key + L"\\ProxyStubClsid32", {text(L"", automationMarshaller)}});
        keys.push_back({root, key + L"\\TypeLib", {text(L"", libId), text(L"Version", version)}});
    }
    return keys;
}

} // namespace nimb::win
