// GdiResources: the GDI objects the renderer draws with, made from the model's values and kept
// while the renderer lives - one font per distinct ui::Font, one image list per ui::ImageList
// (rebuilt when its pictures change), one bitmap per picture shown in an Image. Pictures are
// decoded from their embedded file bytes (bitmap, icon or GIF) by OLE's picture loader.
// This file holds only Win32 code.
#pragma once

#include "platform/ui/Font.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Picture.h"
#include "platform/win/ui/Dpi.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

namespace winui {

class GdiResources {
public:
    explicit GdiResources(Dpi dpi) : dpi_(dpi) {}
    ~GdiResources();
    GdiResources(const GdiResources&) = delete;
    GdiResources& operator=(const GdiResources&) = delete;

    // The font for f at the screen's DPI; the bold variant when bold is set.
    HFONT font(const ui::Font& f, bool bold = false);
    // An image list holding list's pictures in its order (index = ListImages index - 1), or null
    // when list is null or empty. A picture that cannot be decoded becomes an empty cell.
    HIMAGELIST imageList(const ui::ImageListPtr& list);
    // A bitmap of the picture (null when it cannot be decoded); owned by this object.
    HBITMAP bitmap(const ui::PicturePtr& picture);
    // The picture as an icon for a window's caption (null unless it is an icon).
    HICON icon(const ui::PicturePtr& picture);

private:
    struct ListEntry {
        std::weak_ptr<ui::ImageList> list;  // an address reused by another list is not a hit
        HIMAGELIST handle;
        int32_t count;
    };
    template <class Handle>
    struct PictureEntry {
        std::weak_ptr<ui::Picture> picture;
        Handle handle;
    };
    // Decodes the picture's bytes to a handle the caller owns (a bitmap, or an icon when asIcon);
    // null on failure.
    static HANDLE decode(const ui::Picture& picture, bool asIcon);
    // Decodes to a 32-bit premultiplied-alpha bitmap, transparency kept (for image lists, which
    // draw it blended); pixels of the mask colour (0x00BBGGRR) become transparent too. Null on
    // failure.
    static HBITMAP decodeWithAlpha(const ui::Picture& picture, std::optional<int32_t> maskColour);

    Dpi dpi_;
    std::map<std::tuple<std::string, int32_t, int16_t, bool>, HFONT> fonts_;
    std::map<const ui::ImageList*, ListEntry> lists_;
    std::map<const ui::Picture*, PictureEntry<HBITMAP>> bitmaps_;
    std::map<const ui::Picture*, PictureEntry<HICON>> icons_;
};

} // namespace winui
