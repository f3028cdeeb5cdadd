// The registry as registration should leave it, written out independently of the module's own
// table of keys, so that a wrong key name in the module shows up here.
#pragma once

#include "tests/win/Checks.h"
#include "win/ServerRegistration.h"

#include <string>

namespace wintest {

// Keys of other programs beside ours, written before registration.
void prepareNeighbours(Checks& c);
// Every key and value of the three classes, the type library, its dual interfaces and the add-in
// entry, for the machine (HKEY_CLASSES_ROOT) or for the user (HKEY_CURRENT_USER\Software\Classes).
void checkRegistered(Checks& c, const std::wstring& dllPath, nimb::win::Scope scope);
// No class, library or interface key of ours below root\prefix.
void checkNoClassesUnder(Checks& c, HKEY root, const std::wstring& prefix, const std::string& where);
// Where the machine's keys cannot be written, registration writes the user's.
void checkFallback(Checks& c);
// A registration that fails half way takes back every key it created.
void checkRollback(Checks& c);
// None of our keys is left in either scope; the neighbours and the parents are.
void checkUnregistered(Checks& c);

} // namespace wintest
