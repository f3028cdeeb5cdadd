#include "platform/sim/com/SourceSafeClass.h"

#include "platform/sim/com/SimServer.h"
#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComClassFactory.h"
#include "platform/win/com/ComError.h"

#include <objbase.h>

namespace simcom {

namespace {

// {90A068C1-FB7E-43AE-83BD-EE378C3BC005}
constexpr CLSID clsidMemorySourceSafe = {0x90a068c1, 0xfb7e, 0x43ae, {0x83, 0xbd, 0xee, 0x37, 0x8c, 0x3b, 0xc0, 0x05}};
constexpr wchar_t clsidText[] = L"{90A068C1-FB7E-43AE-83BD-EE378C3BC005}";

std::wstring classesKey(const std::string& progId) { return com::wideFromUtf8(progId); }

void check(LONG status) {
    if (status != ERROR_SUCCESS) throw com::errorFrom(HRESULT_FROM_WIN32(static_cast<DWORD>(status)), nullptr);
}

} // namespace

SourceSafeClass::SourceSafeClass(std::string progId, Sessions sessions) : progId_(std::move(progId)) {
    HKEY key = nullptr;
    std::wstring path = classesKey(progId_) + L"\\CLSID";
    check(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    LONG status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsidText), sizeof clsidText);
    RegCloseKey(key);
    check(status);
    auto factory = com::make<com::ComClassFactory>([sessions = std::move(sessions)] {
        return com::ComPtr<IUnknown>(serve(sessions()));
    });
    HRESULT hr = CoRegisterClassObject(clsidMemorySourceSafe, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    if (FAILED(hr)) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, classesKey(progId_).c_str());
        throw com::errorFrom(hr, nullptr);
    }
}

SourceSafeClass::~SourceSafeClass() {
    CoRevokeClassObject(cookie_);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, classesKey(progId_).c_str());
}

} // namespace simcom
