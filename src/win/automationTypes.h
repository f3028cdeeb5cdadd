// What the type library's generated header imports: the system's OLE Automation declarations,
// which automationTypes.idl only names.
#pragma once

#include <oaidl.h>
