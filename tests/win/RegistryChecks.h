// The registry as registration should leave it, written out independently of the module's own
// table of keys, so that a wrong key name in the module shows up here.
#pragma once

#include "tests/win/Checks.h"

#include <string>

namespace wintest {

// Keys of other programs beside ours, written before registration.
void prepareNeighbours(Checks& c);
// Every key and value of the three classes and the add-in entry, also as COM sees the classes.
void checkRegistered(Checks& c, const std::wstring& dllPath);
// A registration that fails half way takes back every key it created.
void checkRollback(Checks& c);
// None of our keys is left; the neighbours and the parents are.
void checkUnregistered(Checks& c);

} // namespace wintest
