// The module's exported entry points where the simulated IDE loads it as a plain shared library:
// self-registration into its in-memory class registry. On Windows the COM server in src/win/ takes
// this file's place. Everything else in the module stays private to it.
#include "addin/Registration.h"

#define NIMB_ENTRY extern "C" __attribute__((visibility("default"))) nimb::Registration::Result

NIMB_ENTRY DllRegisterServer() { return nimb::Registration::registerServer(); }

NIMB_ENTRY DllUnregisterServer() { return nimb::Registration::unregisterServer(); }
