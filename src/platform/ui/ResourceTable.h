// ResourceTable: the picture files embedded in the program, as the resource library
// (src/resources) provides them; LoadResPicture and StoredPicture serve them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ui {

enum class ResourceKind { Bitmap, Icon, Stored };

struct ResourceEntry {
    ResourceKind kind;
    int32_t id;        // resources: the number; stored pictures: 0
    const char* name;  // stored pictures: the name; resources: ""
    const uint8_t* bytes;
    std::size_t size;
};

// Defined by the resource library linked into the platform.
std::span<const ResourceEntry> resourceTable();

} // namespace ui
