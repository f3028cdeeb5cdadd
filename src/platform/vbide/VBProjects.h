// VBProjects: the projects open in the IDE, in the order the IDE lists them.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vbide {

class VBProject;

class VBProjects : public vb::Object {
public:
    virtual int32_t Count() = 0;
    // 1-based; an index outside 1..Count raises 9 (subscript out of range).
    virtual std::shared_ptr<VBProject> Item(int32_t index) = 0;
    // The project of exactly this name (case-sensitive); an unknown name raises 9.
    virtual std::shared_ptr<VBProject> Item(const std::string& name) = 0;
    // For Each: a snapshot in collection order.
    virtual std::vector<std::shared_ptr<VBProject>> items() = 0;
};

} // namespace vbide
