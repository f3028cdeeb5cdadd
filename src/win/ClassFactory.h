// ClassFactory: the class object of one of the module's classes. It counts as a live object of
// the module, and its locks keep the module loaded (DllCanUnloadNow).
#pragma once

#include "platform/win/com/ComClassFactory.h"
#include "platform/win/com/DispatchServer.h"
#include "win/ServerModule.h"

namespace nimb::win {

class ClassFactory final : public com::ComClassFactory {
public:
    using ComClassFactory::ComClassFactory;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    com::LiveObject live_;
    ModuleObject counted_;
};

} // namespace nimb::win
