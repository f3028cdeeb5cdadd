// The module's registration in the Windows registry, as regsvr32 asks for it: the three classes'
// COM keys (ProgID -> CLSID and CLSID -> InprocServer32, ProgID; the tool window's object also as
// a control), the type library and its dual interfaces, and the IDE's add-in key in
// HKEY_CURRENT_USER, where the IDE lists its add-ins. The classes and the library go either to the
// machine (HKEY_CLASSES_ROOT, where VB6's own components are; an IDE run as administrator sees only
// those) or to the user who registers (HKEY_CURRENT_USER\Software\Classes, which a standard user
// can write). The library's keys are written here rather than by RegisterTypeLibForUser, which
// Wine implements as a machine-wide registration.
#pragma once

#include <windows.h>

#include <functional>
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

enum class Scope { machine, user };

// Every key registration for scope writes, each parent before its children.
std::vector<RegKey> registrationKeys(const std::wstring& modulePath, Scope scope);

// Creates the keys in order (missing parents too) and sets their values. On a failure every key it
// created is deleted again, children first, and the failure is returned: a registration that
// fails half way leaves no key of its own behind.
HRESULT writeKeys(const std::vector<RegKey>& keys);
// Deletes exactly the given keys, children first; a key that is not there is no failure.
HRESULT deleteKeys(const std::vector<RegKey>& keys);

// Runs writeMachine; where the machine's keys cannot be written (access denied: a standard user)
// runs writeUser instead. Each writer leaves nothing of a failed attempt (writeKeys).
HRESULT writeForMachineOrUser(const std::function<HRESULT()>& writeMachine, const std::function<HRESULT()>& writeUser);

// regsvr32: for the machine, or for the user where the machine's keys are not writable. Its /u
// removes the module's keys of both scopes.
HRESULT registerServer();
HRESULT unregisterServer();
// regsvr32 /n /i:user (and /u): exactly the user's keys.
HRESULT registerServer(Scope scope);
HRESULT unregisterServer(Scope scope);

} // namespace nimb::win
