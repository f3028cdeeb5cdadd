// The module's type library as a VB program or another add-in sees it, and ModelUtil called
// through it both ways.
#pragma once

#include "tests/win/Checks.h"

#include <unknwn.h>

#include <string>

namespace wintest {

// The registered library (LoadRegTypeLib): the interfaces' names, DISPIDs and vtable slots, the
// records, the classes, each against this file's own description.
void typeLibraryChecks(Checks& c);
// An object of one of the library's classes: its IDispatch hands out the library's description of
// face, it names coclass as its class and reports errors of face through error info.
void checkDescribesItself(Checks& c, IUnknown* object, REFIID face, REFCLSID coclass, const std::string& name);
// ModelUtil created by CLSID and called early bound through the vtable and late bound through
// IDispatch, with the same results, errors included.
void modelUtilScenario(Checks& c);

} // namespace wintest
