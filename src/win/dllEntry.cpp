// The COM server's exported entry points (named in nimbvbadd.def). None lets an exception out.
#include "platform/win/com/ComError.h"
#include "win/ClassFactory.h"
#include "win/ComConnect.h"
#include "win/ComModelUtil.h"
#include "win/ComServerViewDoc.h"
#include "win/ServerModule.h"
#include "win/ServerRegistration.h"
#include "win/classIds.h"

using namespace nimb::win;

namespace {

Creator creatorOf(REFCLSID clsid) {
    if (clsid == CLSID_Connect) return &ComConnect::create;
    if (clsid == CLSID_serverViewDoc) return &ComServerViewDoc::create;
    if (clsid == CLSID_ModelUtil) return &ComModelUtil::create;
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
    const Creator create = creatorOf(clsid);
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    return com::guarded([&] {
        com::ComPtr<ClassFactory> factory = com::adopt(new ClassFactory(create));
        return factory->QueryInterface(iid, out);
    });
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return registerServer(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return unregisterServer(); }
