// The module's bookkeeping behind DllCanUnloadNow: how many of its COM objects are alive, how many
// event sinks a source holds past their subscription, and how many locks its clients hold
// (IClassFactory::LockServer). The module may unload when all are 0.
#pragma once

#include <windows.h>

#include <string>

namespace nimb::win {

class ServerModule {
public:
    static void objectCreated();
    static void objectDestroyed();
    static void lock();
    static void unlock();
    static bool canUnload();

    static void setHandle(HINSTANCE module);
    // The full path of this DLL, as the registry's InprocServer32 names it.
    static std::wstring path();
};

// A member of every COM object of the module: counts the object for as long as it lives.
class ModuleObject {
public:
    ModuleObject() { ServerModule::objectCreated(); }
    ~ModuleObject() { ServerModule::objectDestroyed(); }
    ModuleObject(const ModuleObject&) = delete;
    ModuleObject& operator=(const ModuleObject&) = delete;
};

} // namespace nimb::win
