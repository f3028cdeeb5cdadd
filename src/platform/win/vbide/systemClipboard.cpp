#include "platform/win/vbide/systemClipboard.h"

#include "platform/error.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vbide::win {

namespace {

constexpr size_t fileHeaderSize = sizeof(BITMAPFILEHEADER);

// Holds the clipboard open for one transfer.
class OpenClipboardScope {
public:
    OpenClipboardScope() {
        for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
            open_ = OpenClipboard(nullptr) != FALSE;
            if (!open_) Sleep(20);
        }
        if (!open_) throw vb::VBError(521, "Can't open Clipboard");
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

private:
    bool open_ = false;
};

// Bytes from the start of a DIB to its pixels: the header and the colour table.
size_t pixelOffset(const BITMAPINFOHEADER& header) {
    size_t colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8) colours = size_t{1} << header.biBitCount;
    size_t masks = (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
    return header.biSize + masks + colours * sizeof(RGBQUAD);
}

} // namespace

void putOnSystemClipboard(const ui::Picture& picture) {
    const auto& bytes = picture.bytes();
    if (picture.kind() != ui::PictureKind::Bitmap || bytes.size() <= fileHeaderSize + sizeof(BITMAPINFOHEADER) ||
        bytes[0] != 'B' || bytes[1] != 'M') {
        return;
    }
    size_t dibSize = bytes.size() - fileHeaderSize;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dibSize);
    if (!memory) throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        throw vb::VBError(vb::err::OutOfMemory, "Out of memory");
    }
    std::memcpy(target, bytes.data() + fileHeaderSize, dibSize);
    GlobalUnlock(memory);
    std::unique_ptr<void, decltype(&GlobalFree)> owned(memory, &GlobalFree);
    OpenClipboardScope scope;
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    if (SetClipboardData(CF_DIB, memory)) owned.release();
}

ui::PicturePtr pictureOnSystemClipboard() {
    OpenClipboardScope scope;
    HANDLE data = GetClipboardData(CF_DIB);
    if (!data) return nullptr;
    size_t size = GlobalSize(data);
    const auto* dib = static_cast<const uint8_t*>(GlobalLock(data));
    if (!dib) return nullptr;
    ui::PicturePtr picture;
    BITMAPINFOHEADER header;
    if (size >= sizeof header) {
        std::memcpy(&header, dib, sizeof header);
        size_t offset = pixelOffset(header);
        if (header.biSize >= sizeof header && offset <= size) {
            BITMAPFILEHEADER file{};
            file.bfType = 0x4D42;  // "BM"
            file.bfSize = static_cast<DWORD>(fileHeaderSize + size);
            file.bfOffBits = static_cast<DWORD>(fileHeaderSize + offset);
            std::vector<uint8_t> bytes(fileHeaderSize + size);
            std::memcpy(bytes.data(), &file, fileHeaderSize);
            std::memcpy(bytes.data() + fileHeaderSize, dib, size);
            picture = std::make_shared<ui::Picture>(ui::PictureKind::Bitmap, header.biWidth, std::abs(header.biHeight),
                                                    "clipboard bitmap", std::move(bytes));
        }
    }
    GlobalUnlock(data);
    return picture;
}

} // namespace vbide::win
