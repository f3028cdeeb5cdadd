#include "model/isDataEnvironment.h"

#include "model/objectRef.h"
#include "platform/vbide/Constants.h"

namespace nimb {

bool isDataEnvironment(const std::shared_ptr<vbide::VBComponent>& component) {
    auto& c = use(component);
    return c.Type() == vbide::vbext_ct_ActiveXDesigner && c.DesignerID() == dataEnvironmentDesignerID;
}

} // namespace nimb
