// The IDE's event dispinterfaces as the add-in subscribes to them: their IIDs and the DISPIDs of the
// events it handles. Click of _dispCommandBarControlEvents and the project events of
// _dispVBProjectsEvents carry the numbers of the VBA extensibility library; the file events are
// _dispVBFileControlEvents of the VB 5 extensibility library, which the VB 6 library keeps. Should a
// real IDE still serve another IID, EventSubscription falls back to its only connection point.
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

// _dispVBFileControlEvents {0002E141-0000-0000-C000-000000000046}
constexpr IID DIID_FileControlEvents = {0x0002E141, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID dispidAfterAddFile = 1;
constexpr DISPID dispidAfterChangeFileName = 2;
constexpr DISPID dispidAfterCloseFile = 3;  // AfterCloseFile(VBProject, FileType, FileName, WasDirty)
constexpr DISPID dispidAfterWriteFile = 4;
constexpr DISPID dispidAfterRemoveFile = 5;  // AfterRemoveFile(VBProject, FileType, FileName)
constexpr DISPID dispidBeforeLoadFile = 6;
constexpr DISPID dispidDoGetNewFileName = 8;
constexpr DISPID dispidRequestChangeFileName = 10;
constexpr DISPID dispidRequestWriteFile = 11;

} // namespace vbide::win
