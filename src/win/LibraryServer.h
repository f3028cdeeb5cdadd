// LibraryServer: an object of one of the type library's classes. Interface is the class's default
// dual interface, served to late-bound callers from the library's description of it (names,
// DISPIDs and argument conversion, calls through the same vtable early-bound callers use); More
// are its other interfaces. It names its class (IProvideClassInfo), reports its failures through
// the thread's error info (ISupportErrorInfo) and counts as one of the module's objects.
#pragma once

#include "platform/win/com/ComError.h"
#include "platform/win/com/DispatchServer.h"
#include "win/ServerModule.h"
#include "win/TypeLibrary.h"

#include <ocidl.h>

#include <memory>
#include <type_traits>

namespace nimb::win {

template <class Interface, class... More>
class LibraryServer : public com::DispatchServer<Interface, More..., IProvideClassInfo, ISupportErrorInfo> {
public:
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        return com::guarded([&] { *info = typeInfoOf(coclass_).Detach(); });
    }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        const bool dual =
            iid == __uuidof(Interface) || ((std::is_base_of_v<IDispatch, More> && iid == __uuidof(More)) || ...);
        return dual ? S_OK : S_FALSE;
    }

protected:
    LibraryServer(const CLSID& coclass, std::shared_ptr<vb::Object> native)
        : com::DispatchServer<Interface, More..., IProvideClassInfo, ISupportErrorInfo>({}, {}, std::move(native)),
          coclass_(coclass) {
        this->serveTypeInfo(typeInfoOf(__uuidof(Interface)));
    }

private:
    CLSID coclass_;
    ModuleObject counted_;
};

} // namespace nimb::win
