// This file holds only Win32 code.
#include "platform/win/ui/GdiResources.h"

#include "platform/win/com/Bstr.h"
#include "platform/win/com/ComPtr.h"

#include <ocidl.h>
#include <wincodec.h>
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

HBITMAP GdiResources::decodeWithAlpha(const ui::Picture& picture, std::optional<int32_t> maskColour) {
    const auto& bytes = picture.bytes();
    if (bytes.empty()) return nullptr;
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return nullptr;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> converted;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &converted)) ||
        FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 4096 || height > 4096)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC's rows come
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    if (FAILED(converted->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    if (maskColour) {  // the image list's MaskColor, as the runtime's image list treats it
        const auto rgb = static_cast<uint32_t>(*maskColour);
        auto* pixel = static_cast<BYTE*>(bits);  // B, G, R, A
        for (UINT i = 0; i < width * height; ++i, pixel += 4)
            if (pixel[3] == 255 && pixel[2] == (rgb & 0xFF) && pixel[1] == ((rgb >> 8) & 0xFF) &&
                pixel[0] == ((rgb >> 16) & 0xFF))
                pixel[0] = pixel[1] = pixel[2] = pixel[3] = 0;
    }
    return bitmap;
}

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
    HIMAGELIST handle = ImageList_Create(width, height, ILC_COLOR32, count, 4);
    if (handle == nullptr) return nullptr;
    for (int32_t i = 1; i <= count; ++i) {
        const auto& picture = list->ListImages().Item(i)->Picture();
        int added = -1;
        if (picture->kind() == ui::PictureKind::Icon) {
            if (HICON icon = static_cast<HICON>(decode(*picture, true))) {
                added = ImageList_AddIcon(handle, icon);
                DestroyIcon(icon);
            }
        } else if (HBITMAP bitmap = decodeWithAlpha(*picture, list->UseMaskColor() ? std::optional<int32_t>(list->MaskColor())
                                                                                      : std::nullopt)) {
            added = ImageList_Add(handle, bitmap, nullptr);
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
