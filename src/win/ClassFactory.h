// ClassFactory: COM's IClassFactory for one of the module's classes, making each new object with
// the class's creator. A factory counts as a live object of the module, so DllCanUnloadNow keeps
// the module while a client holds one.
#pragma once

#include "platform/win/com/ComPtr.h"
#include "win/ServerModule.h"

#include <unknwn.h>

#include <atomic>

namespace nimb::win {

using Creator = com::ComPtr<IUnknown> (*)();

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(Creator create);
    virtual ~ClassFactory();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    std::atomic<ULONG> refs_{1};
    Creator create_;
    ModuleObject counted_;
};

} // namespace nimb::win
