// VSSItems: the children of a SourceSafe project.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vss {

class VSSItem;

class VSSItems : public vb::Object {
public:
    virtual int32_t Count() = 0;
    virtual std::shared_ptr<VSSItem> Item(int32_t index) = 0;  // 1-based; else raises 9
    virtual std::vector<std::shared_ptr<VSSItem>> items() = 0;
};

} // namespace vss
