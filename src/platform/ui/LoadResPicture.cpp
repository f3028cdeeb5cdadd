#include "platform/ui/LoadResPicture.h"

#include "platform/error.h"
#include "platform/ui/ResourceTable.h"
#include "platform/ui/UIErrors.h"

#include <cstring>
#include <optional>
#include <utility>

namespace ui {

namespace {

[[noreturn]] void notFound() { throw vb::VBError(err::ResourceNotFound, "Resource with identifier not found"); }

uint32_t le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

struct Decoded {
    PictureKind kind;
    int32_t width;
    int32_t height;
};

// The kind and pixel size of a BMP, ICO or GIF file, read from its header; nullopt when the bytes
// are none of these or too short to say.
std::optional<Decoded> decode(const uint8_t* p, std::size_t n) {
    if (n >= 26 && p[0] == 'B' && p[1] == 'M') {
        const auto height = static_cast<int32_t>(le(p + 22, 4));  // negative: rows stored top-down
        return Decoded{PictureKind::Bitmap, static_cast<int32_t>(le(p + 18, 4)), height < 0 ? -height : height};
    }
    if (n >= 22 && le(p, 2) == 0 && le(p + 2, 2) == 1 && le(p + 4, 2) >= 1) {
        const int32_t w = p[6] == 0 ? 256 : p[6];  // 0 stands for 256 in an icon directory
        const int32_t h = p[7] == 0 ? 256 : p[7];
        return Decoded{PictureKind::Icon, w, h};
    }
    if (n >= 10 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0))
        return Decoded{PictureKind::Gif, static_cast<int32_t>(le(p + 6, 2)), static_cast<int32_t>(le(p + 8, 2))};
    return std::nullopt;
}

PicturePtr pictureOf(const ResourceEntry& entry, std::string name) {
    const auto decoded = decode(entry.bytes, entry.size);
    if (!decoded || decoded->width <= 0 || decoded->height <= 0) throw vb::VBError(err::InvalidPicture, "Invalid picture");
    return std::make_shared<Picture>(decoded->kind, decoded->width, decoded->height, std::move(name),
                                     std::vector<uint8_t>(entry.bytes, entry.bytes + entry.size));
}

} // namespace

PicturePtr LoadResPicture(int32_t id, int32_t kind) {
    if (kind != vbResBitmap && kind != vbResIcon) notFound();
    const auto wanted = kind == vbResBitmap ? ResourceKind::Bitmap : ResourceKind::Icon;
    for (const auto& entry : resourceTable())
        if (entry.kind == wanted && entry.id == id)
            return pictureOf(entry, (kind == vbResBitmap ? "bitmap " : "icon ") + std::to_string(id));
    notFound();
}

PicturePtr StoredPicture(const std::string& name) {
    for (const auto& entry : resourceTable())
        if (entry.kind == ResourceKind::Stored && name == entry.name) return pictureOf(entry, name);
    notFound();
}

std::vector<std::string> storedPictureNames() {
    std::vector<std::string> names;
    for (const auto& entry : resourceTable())
        if (entry.kind == ResourceKind::Stored) names.emplace_back(entry.name);
    return names;
}

} // namespace ui
