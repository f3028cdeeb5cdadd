// The machine's registry and the system's, in the COM mode: the keys a workspace sets are copied
// into the system's registry before the add-in starts, the system's registry becomes the one the
// add-in reads, and the add-ins regsvr32 registers become known to the machine's Add-In Manager.
// (Kept apart from the code that includes <windows.h>, whose macros bear the registry port's names.)
#pragma once

#include <string>

namespace host {

class Machine;

// Copies the Add-Ins key and the SourceSafe key of the machine's registry, with everything under
// them, into the system's registry; HostError when a key cannot be written.
void copyWorkspaceKeys(Machine& machine);
// Makes the system's registry the one the registry port (and so the add-in) uses.
void installSystemRegistry();
// Lists the add-in under the machine's Add-Ins key (the system's registry holds its values).
void listAddIn(Machine& machine, const std::string& progId);

} // namespace host
