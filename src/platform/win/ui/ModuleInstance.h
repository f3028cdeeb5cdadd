// ModuleInstance: the module (DLL or program) this code is linked into. Window classes are
// registered under it rather than under the program's instance: in someone else's process (an IDE)
// the program's instance is theirs, and a class left registered there would outlive the module.
// This file holds only Win32 code.
#pragma once

#include <windows.h>

namespace winui {

HINSTANCE moduleInstance();

} // namespace winui
