// The module's exported entry points: self-registration, as a registration tool or the host calls
// it. Everything else in the module stays private to it.
#include "addin/Registration.h"

#ifdef _WIN32
#define NIMB_ENTRY extern "C" __declspec(dllexport) nimb::Registration::Result __stdcall
#else
#define NIMB_ENTRY extern "C" __attribute__((visibility("default"))) nimb::Registration::Result
#endif

NIMB_ENTRY DllRegisterServer() { return nimb::Registration::registerServer(); }

NIMB_ENTRY DllUnregisterServer() { return nimb::Registration::unregisterServer(); }
