// VBComponents: the components of one project (modules, forms, designers), in project order.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

class VBComponent;

class VBComponents : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<VBComponent> Item(int32_t index) = 0;           // 1-based; else raises 9
    virtual std::shared_ptr<VBComponent> Item(const std::string& name) = 0; // case-sensitive; else raises 9
    virtual std::vector<std::shared_ptr<VBComponent>> items() = 0;
};

} // namespace vbide
