// The IDE's event dispinterfaces as the add-in subscribes to them: their IIDs and the DISPIDs of the
// events it handles. Click of _dispCommandBarControlEvents and the project events of
// _dispVBProjectsEvents carry the numbers of the VBA extensibility library. The VB6 library's file
// events interface is not known here: its IID below is this project's own, which the simulated IDE
// serves, and a real IDE is reached through EventSubscription's fall-back to a source's only
// connection point.
#pragma once

#include <guiddef.h>
#include <oaidl.h>

namespace vbide::win {

// {0002E131-0000-0000-C000-000000000046}
constexpr IID DIID_CommandBarControlEvents = {0x0002E131, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID dispidClick = 1;  // Click(CommandBarControl, ByRef handled, ByRef CancelDefault)

// {0002E103-0000-0000-C000-000000000046}
constexpr IID DIID_VBProjectsEvents = {0x0002E103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID dispidItemAdded = 1;      // ItemAdded(VBProject)
constexpr DISPID dispidItemRemoved = 2;    // ItemRemoved(VBProject)
constexpr DISPID dispidItemActivated = 4;  // ItemActivated(VBProject)

// {0002E141-0000-0000-C000-000000000046}
constexpr IID DIID_FileControlEvents = {0x0002E141, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID dispidAfterCloseFile = 3;   // AfterCloseFile(VBProject, FileType, FileName, WasDirty)
constexpr DISPID dispidAfterRemoveFile = 5;  // AfterRemoveFile(VBProject, FileType, FileName)

} // namespace vbide::win
