// VBComponent: one module, form or designer of a project.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vbide {

class CodeModule;

class VBComponent : public vb::Object {
public:
    virtual std::string Name() = 0;
    virtual int32_t Type() = 0;              // vbext_ct_* (11 = ActiveX designer)
    virtual std::string DesignerID() = 0;    // the designer's ProgID, "" for components that are no designer
    // The designer object (a Data Environment designer is a vbide::DataEnvironment); Nothing for
    // components that are no designer.
    virtual std::shared_ptr<vb::Object> Designer() = 0;
    virtual std::shared_ptr<vbide::CodeModule> CodeModule() = 0;  // Nothing for components without code
};

} // namespace vbide
