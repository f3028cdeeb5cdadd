// The COM server's exported entry points.
#include <windows.h>

extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_OK; }

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID, REFIID, void** ppv) {
    if (ppv) *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT __stdcall DllRegisterServer() { return E_NOTIMPL; }

extern "C" HRESULT __stdcall DllUnregisterServer() { return E_NOTIMPL; }
