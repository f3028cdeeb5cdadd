// The module's type library, read from the module's own TYPELIB resource: the descriptions its
// dual interfaces are served from, and the registry keys that let others find it (the library
// and, for each dual interface, the standard automation marshaller).
#pragma once

#include "platform/win/com/ComPtr.h"
#include "win/ServerRegistration.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace nimb::win {

// The description of an interface or class of the library; raises an error when the library
// cannot be read or does not describe guid.
com::ComPtr<ITypeInfo> typeInfoOf(REFGUID guid);

// The keys registering the library found in modulePath, under root\classesPath ("" for
// HKEY_CLASSES_ROOT, "Software\Classes\" for a user's own classes), each parent before its
// children.
std::vector<RegKey> typeLibraryKeys(const std::wstring& modulePath, HKEY root, const std::wstring& classesPath);

} // namespace nimb::win
