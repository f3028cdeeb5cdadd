#include "ComAddinInstance.h"

#include "addinObjects.h"

#include "platform/sim/com/SimServer.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/win/com/ComClassFactory.h"
#include "platform/win/com/ComError.h"
#include "platform/win/com/NativeObject.h"
#include "platform/win/com/VariantConvert.h"

namespace host {

namespace {

// The dual interface's DISPIDs, in its vtable's order.
constexpr DISPID dispidOnConnection = 1;
constexpr DISPID dispidOnDisconnection = 2;
constexpr DISPID dispidOnAddInsUpdate = 3;
constexpr DISPID dispidOnStartupComplete = 4;
constexpr DISPID dispidOnBeginShutdown = 5;

} // namespace

std::shared_ptr<vb::Object> ComAddinInstance::create(const std::string& progId) {
    return std::make_shared<ComAddinInstance>(com::createByProgId(progId));
}

void ComAddinInstance::call(DISPID id, std::vector<VARIANT> args) {
    SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);
    if (!custom) throw vb::VBError(7, "Out of memory");
    VARIANT customArg;
    VariantInit(&customArg);
    customArg.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
    customArg.pparray = &custom;
    args.insert(args.begin(), customArg);
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO info{};
    HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info, nullptr);
    if (custom) SafeArrayDestroy(custom);
    if (FAILED(hr)) throw com::errorFrom(hr, &info);
}

void ComAddinInstance::OnConnection(std::shared_ptr<vb::Object> application, int32_t connectMode,
                                    std::shared_ptr<vb::Object> addInInst, std::vector<vb::Variant>&) {
    com::ComPtr<IDispatch> ide = simcom::serve(application);
    com::ComPtr<IDispatch> addIn = simcom::serve(addInInst);
    call(dispidOnConnection,
         {com::objectVariant(addIn.Get()), com::longVariant(connectMode), com::objectVariant(ide.Get())});
}

void ComAddinInstance::OnDisconnection(int32_t removeMode, std::vector<vb::Variant>&) {
    call(dispidOnDisconnection, {com::longVariant(removeMode)});
}

void ComAddinInstance::OnAddInsUpdate(std::vector<vb::Variant>&) { call(dispidOnAddInsUpdate, {}); }
void ComAddinInstance::OnStartupComplete(std::vector<vb::Variant>&) { call(dispidOnStartupComplete, {}); }
void ComAddinInstance::OnBeginShutdown(std::vector<vb::Variant>&) { call(dispidOnBeginShutdown, {}); }

std::shared_ptr<vbide::CommandBarControl> ComAddinInstance::controlNamed(const std::string& field) const {
    auto connect = com::nativeObjectOf(object_.Get());
    auto* inspection = dynamic_cast<nimb::ControlInspection*>(connect.get());
    if (!inspection) return nullptr;
    auto own = inspection->controlNamed(field);
    return own ? std::dynamic_pointer_cast<vbide::CommandBarControl>(servedBehind(own)) : nullptr;
}

} // namespace host
