// Registration: what the module's self-registration entry points do. The IDE finds its add-ins
// under its Addins key in HKEY_CURRENT_USER; the classes it creates by ProgID (the connection
// object and the tool window's document) go into vbide's class registry.
#pragma once

#include "addin/addInIdentity.h"
#include "platform/registry/RegistryTypes.h"

#include <cstdint>

namespace nimb::Registration {


// The entry points' results are COM HRESULTs: 0 for success, a registry failure as
// HRESULT_FROM_WIN32 gives it.
using Result = int32_t;
constexpr Result resultOK = 0;
Result fromWin32(registry::LONG code);

// Writes the add-in's key (FriendlyName, Description, LoadBehavior 0) and registers both classes.
// A registry failure returns its code, takes back a key it had just created and registers no class.
Result registerServer();
// Removes the add-in's key and both classes; an add-in that was not registered is no failure.
Result unregisterServer();

} // namespace nimb::Registration
