// This file holds only Win32 code.
#include "WindowPicture.h"

#include "HostError.h"

#include <fmt/format.h>

#include <wincodec.h>

#include <algorithm>
#include <vector>

namespace host {

namespace {

// Releases a COM interface at the end of the scope.
template <class T>
struct Held {
    T* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p != nullptr) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

void check(HRESULT hr, const char* step, const std::filesystem::path& file) {
    if (FAILED(hr))
        throw HostError(fmt::format("cannot write the picture {} ({} failed: 0x{:08X})", file.string(), step,
                                    static_cast<uint32_t>(hr)));
}

struct Pixels {
    int width = 0;
    int height = 0;
    UINT stride = 0;  // bytes a row, a multiple of 4 as DIBs have it
    std::vector<BYTE> bytes;  // top-down rows of blue, green, red
};

Pixels readScreen(const RECT& area) {
    Pixels out;
    out.width = area.right - area.left;
    out.height = area.bottom - area.top;
    if (out.width <= 0 || out.height <= 0) throw HostError("the window to picture covers no pixels of the screen");
    out.stride = static_cast<UINT>((out.width * 3 + 3) & ~3);
    out.bytes.resize(static_cast<std::size_t>(out.stride) * static_cast<std::size_t>(out.height));

    HDC screen = GetDC(nullptr);
    if (screen == nullptr) throw HostError("cannot read the screen (no device context)");
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, out.width, out.height) : nullptr;
    bool ok = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, out.width, out.height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT) != FALSE;
        SelectObject(memory, old);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = out.width;
        info.bmiHeader.biHeight = -out.height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        ok = ok && GetDIBits(memory, bitmap, 0, static_cast<UINT>(out.height), out.bytes.data(), &info, DIB_RGB_COLORS) ==
                       out.height;
        DeleteObject(bitmap);
    }
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!ok) throw HostError("cannot read the screen's pixels");
    return out;
}

void writePng(const Pixels& pixels, const std::filesystem::path& file) {
    Held<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.out())),
          "creating the imaging factory", file);
    Held<IWICStream> stream;
    check(factory->CreateStream(stream.out()), "CreateStream", file);
    check(stream->InitializeFromFilename(file.wstring().c_str(), GENERIC_WRITE), "opening the file", file);
    Held<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()), "CreateEncoder", file);
    check(encoder->Initialize(stream.p, WICBitmapEncoderNoCache), "Initialize", file);
    Held<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.out(), nullptr), "CreateNewFrame", file);
    check(frame->Initialize(nullptr), "the frame's Initialize", file);
    check(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height)), "SetSize", file);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    check(frame->SetPixelFormat(&format), "SetPixelFormat", file);
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) throw HostError("the PNG encoder takes no 24-bit pixels");
    check(frame->WritePixels(static_cast<UINT>(pixels.height), pixels.stride, static_cast<UINT>(pixels.bytes.size()),
                             const_cast<BYTE*>(pixels.bytes.data())),
          "WritePixels", file);
    check(frame->Commit(), "the frame's Commit", file);
    check(encoder->Commit(), "Commit", file);
}

} // namespace

RECT screenRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

std::string writeScreenPicture(const RECT& wanted, const std::filesystem::path& file) {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area{};
    if (!IntersectRect(&area, &wanted, &screen)) throw HostError("the window to picture is off the screen");
    Pixels pixels = readScreen(area);
    writePng(pixels, file);
    return fmt::format("{}x{}", pixels.width, pixels.height);
}

} // namespace host
