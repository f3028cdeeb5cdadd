// VSSItem: a SourceSafe project or file, addressed by its spec ("$/", "$/Routines",
// "$/Routines/proc1.sql").
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vss {

class VSSItems;

// VSSItemType and VSSFileStatus
constexpr int32_t VSSITEM_PROJECT = 0;
constexpr int32_t VSSITEM_FILE = 1;
constexpr int32_t VSSFILE_NOTCHECKEDOUT = 0;
constexpr int32_t VSSFILE_CHECKEDOUT = 1;     // by another user
constexpr int32_t VSSFILE_CHECKEDOUT_ME = 2;

class VSSItem : public vb::Object {
public:
    virtual std::string Name() = 0;  // the last part of the item path; "" for the root "$/"
    virtual std::string Spec() = 0;
    virtual int32_t Type() = 0;      // VSSITEM_*
    // The children of a project in the order they were made; a file raises errWantProject.
    virtual std::shared_ptr<VSSItems> Items(bool includeDeleted = false) = 0;
    virtual std::shared_ptr<VSSItem> NewSubproject(const std::string& name, const std::string& comment = {}) = 0;
    // Adds the local file (named by the part of local after its last '\') to this project.
    virtual std::shared_ptr<VSSItem> Add(const std::string& local, const std::string& comment = {},
                                         int32_t flags = 0) = 0;
    virtual void Checkout(const std::string& comment = {}, const std::string& local = {}, int32_t flags = 0) = 0;
    virtual void Checkin(const std::string& comment = {}, const std::string& local = {}, int32_t flags = 0) = 0;
    virtual int32_t IsCheckedOut() = 0;  // VSSFILE_*; 0 for projects
};

} // namespace vss
