// The module's registration in the Windows registry, as regsvr32 asks for it: the three classes'
// COM keys in HKEY_CLASSES_ROOT (ProgID -> CLSID and CLSID -> InprocServer32, ProgID; the tool
// window's object also as a control) and the IDE's add-in key in HKEY_CURRENT_USER, where the IDE
// lists its add-ins. The classes go where VB6's own components go, machine-wide, because an IDE
// run as administrator ignores per-user classes and Wine (on which this is tested) reads classes
// from HKEY_CLASSES_ROOT only; registering therefore needs an administrator's regsvr32 on Windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace nimb::win {

struct RegValue {
    std::wstring name;  // empty: the key's default value
    DWORD type;         // REG_SZ or REG_DWORD
    std::wstring text;
    DWORD number = 0;
};

struct RegKey {
    HKEY root;
    std::wstring path;
    std::vector<RegValue> values;
};

// Every key registration writes, each parent before its children.
std::vector<RegKey> registrationKeys(const std::wstring& modulePath);

// Creates the keys in order (missing parents too) and sets their values. On a failure every key it
// created is deleted again, children first, and the failure is returned: a registration that
// fails half way leaves no key of its own behind.
HRESULT writeKeys(const std::vector<RegKey>& keys);
// Deletes exactly the given keys, children first; a key that is not there is no failure.
HRESULT deleteKeys(const std::vector<RegKey>& keys);

HRESULT registerServer();
HRESULT unregisterServer();

} // namespace nimb::win
