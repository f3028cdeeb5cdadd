// AtlContainer: Wine's own ATL (atl100.dll or atl.dll), loaded at run time, as another program's
// container for the add-in's document. load() is safe to call again once it worked.
// This file holds only Win32 code.
#pragma once

#include <objidl.h>
#include <windows.h>

namespace winviews {

struct AtlContainer {
    using Init = BOOL(WINAPI*)();
    using Create = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
    using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
    HMODULE module = nullptr;
    Create create = nullptr;
    GetControl getControl = nullptr;

    bool load() {
        if (module != nullptr) return create && getControl;
        module = LoadLibraryW(L"atl100.dll");
        if (module == nullptr) module = LoadLibraryW(L"atl.dll");
        if (module == nullptr) return false;
        auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxWinInit")));
        create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxCreateControl")));
        getControl = reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(module, "AtlAxGetControl")));
        return init && create && getControl && init();
    }
};

} // namespace winviews
