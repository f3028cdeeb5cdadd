// The COM server's exported entry points (named in nimbvbadd.def). None lets an exception out.
#include "platform/win/com/ComError.h"
#include "win/ClassFactory.h"
#include "win/ComConnect.h"
#include "win/ComModelUtil.h"
#include "win/ComServerViewDoc.h"
#include "win/ServerModule.h"
#include "win/ServerRegistration.h"
#include "win/classIds.h"

#include <cwchar>

using namespace nimb::win;

namespace {

com::ComClassFactory::Creator creatorOf(REFCLSID clsid) {
    // Qualified: the type library's header declares its own CLSID_ModelUtil.
    if (clsid == nimb::win::CLSID_Connect) return &ComConnect::create;
    if (clsid == nimb::win::CLSID_serverViewDoc) return &ComServerViewDoc::create;
    if (clsid == nimb::win::CLSID_ModelUtil) return &ComModelUtil::create;
    return nullptr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ServerModule::setHandle(module);
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ServerModule::canUnload() ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto create = creatorOf(clsid);
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    return com::guarded([&] { return com::make<ClassFactory>(std::move(create))->QueryInterface(iid, out); });
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return registerServer(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return unregisterServer(); }

// regsvr32 /n /i:user [/u]: registers (or removes) the module for the user who runs it alone.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
    if (!commandLine || _wcsicmp(commandLine, L"user") != 0) return E_INVALIDARG;
    return install ? registerServer(Scope::user) : unregisterServer(Scope::user);
}
