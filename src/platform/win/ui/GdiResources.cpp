// This file holds only Win32 code.
#include "platform/win/ui/GdiResources.h"

#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComPtr.h"

#include <ocidl.h>
#include <olectl.h>

#include <cmath>
#include <cstring>

namespace winui {

GdiResources::~GdiResources() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
    for (auto& [key, entry] : lists_) ImageList_Destroy(entry.handle);
    for (auto& [key, entry] : bitmaps_) DeleteObject(entry.handle);
    for (auto& [key, entry] : icons_) DestroyIcon(entry.handle);
}

HFONT GdiResources::font(const ui::Font& f, bool bold) {
    const bool heavy = bold || f.Bold;
    const auto tenths = static_cast<int32_t>(std::lround(f.Size * 10));
    auto key = std::make_tuple(f.Name, tenths, f.Charset, heavy);
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(tenths, dpi_.y(), 720);  // points to pixels, character height
    lf.lfWeight = heavy ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(f.Charset);
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = com::wideFromUtf8(f.Name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&lf);
    if (handle == nullptr) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else fonts_.emplace(key, handle);
    return handle;
}

HANDLE GdiResources::decode(const ui::Picture& picture, bool asIcon) {
    const auto& bytes = picture.bytes();
    if (bytes.empty()) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return nullptr;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    Microsoft::WRL::ComPtr<IPicture> loaded;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(loaded.GetAddressOf()))))
        return nullptr;
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(loaded->get_Type(&type)) || FAILED(loaded->get_Handle(&handle)) || handle == 0) return nullptr;
    // The picture object owns its handle; what is kept is a copy.
    auto* own = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
    if (type == PICTYPE_ICON) return asIcon ? CopyImage(own, IMAGE_ICON, 0, 0, 0) : nullptr;
    if (type == PICTYPE_BITMAP && !asIcon) return CopyImage(own, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    return nullptr;
}

HBITMAP GdiResources::bitmap(const ui::PicturePtr& picture) {
    if (!picture) return nullptr;
    auto it = bitmaps_.find(picture.get());
    if (it != bitmaps_.end() && it->second.picture.lock() == picture) return it->second.handle;
    if (it != bitmaps_.end()) {
        DeleteObject(it->second.handle);
        bitmaps_.erase(it);
    }
    auto* handle = static_cast<HBITMAP>(decode(*picture, false));
    if (handle != nullptr) bitmaps_[picture.get()] = {picture, handle};
    return handle;
}

HICON GdiResources::icon(const ui::PicturePtr& picture) {
    if (!picture || picture->kind() != ui::PictureKind::Icon) return nullptr;
    auto it = icons_.find(picture.get());
    if (it != icons_.end() && it->second.picture.lock() == picture) return it->second.handle;
    if (it != icons_.end()) {
        DestroyIcon(it->second.handle);
        icons_.erase(it);
    }
    auto* handle = static_cast<HICON>(decode(*picture, true));
    if (handle != nullptr) icons_[picture.get()] = {picture, handle};
    return handle;
}

namespace {
// The colour of the bitmap's top-left pixel: the background of a small picture whose own
// transparency the bitmap copy does not keep.
COLORREF cornerColour(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}
} // namespace

HIMAGELIST GdiResources::imageList(const ui::ImageListPtr& list) {
    if (!list || list->ListImages().Count() == 0) return nullptr;
    const int32_t count = list->ListImages().Count();
    auto it = lists_.find(list.get());
    if (it != lists_.end() && it->second.list.lock() == list && it->second.count == count) return it->second.handle;
    if (it != lists_.end()) {
        ImageList_Destroy(it->second.handle);
        lists_.erase(it);
    }
    const auto& first = list->ListImages().Item(1)->Picture();
    const int width = list->ImageWidth() > 0 ? list->ImageWidth() : first->widthPx();
    const int height = list->ImageHeight() > 0 ? list->ImageHeight() : first->heightPx();
    HIMAGELIST handle = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 4);
    if (handle == nullptr) return nullptr;
    for (int32_t i = 1; i <= count; ++i) {
        const auto& picture = list->ListImages().Item(i)->Picture();
        int added = -1;
        if (picture->kind() == ui::PictureKind::Icon) {
            if (HICON icon = static_cast<HICON>(decode(*picture, true))) {
                added = ImageList_AddIcon(handle, icon);
                DestroyIcon(icon);
            }
        } else if (HBITMAP bitmap = static_cast<HBITMAP>(decode(*picture, false))) {
            const COLORREF mask = picture->kind() == ui::PictureKind::Gif || !list->UseMaskColor()
                                      ? cornerColour(bitmap)
                                      : static_cast<COLORREF>(list->MaskColor());
            added = ImageList_AddMasked(handle, bitmap, mask);
            DeleteObject(bitmap);
        }
        if (added < 0) {  // keep the indexes in step with the list's: an empty cell
            HBITMAP blank = CreateBitmap(width, height, 1, 32, nullptr);
            ImageList_Add(handle, blank, nullptr);
            DeleteObject(blank);
        }
    }
    lists_[list.get()] = {list, handle, count};
    return handle;
}

} // namespace winui
