// ComModelUtil: the model service as other add-ins call it, late bound through IDispatch. The
// twelve operations keep their slot order as DISPIDs 0x60030000 to 0x6003000B; list arguments are
// String arrays by reference (SAFEARRAYs of BSTR) and only they are written back. Created by its
// CLSID it is the interface class itself, whose operations do nothing; wrapping a ModelUtilVB it
// also answers _ModelUtilVB's IID.
#pragma once

#include "platform/win/com/DispatchServer.h"
#include "win/ServerModule.h"

#include <memory>

namespace nimb {
class ModelUtil;
}

namespace nimb::win {

class ComModelUtil : public com::DispatchServer<> {
public:
    static com::ComPtr<IUnknown> create();
    explicit ComModelUtil(std::shared_ptr<ModelUtil> model);

private:
    std::shared_ptr<ModelUtil> model_;
    ModuleObject counted_;
};

} // namespace nimb::win
