// Numbers of the IDE's and the Office command bars' enumerations that the add-in and the simulated
// IDE exchange, as the platform's type libraries number them.
#pragma once

#include <cstdint>

namespace vbide {

// vbext_ComponentType
constexpr int32_t vbext_ct_StdModule = 1;
constexpr int32_t vbext_ct_ClassModule = 2;
constexpr int32_t vbext_ct_MSForm = 3;
constexpr int32_t vbext_ct_ResFile = 4;
constexpr int32_t vbext_ct_VBForm = 5;
constexpr int32_t vbext_ct_VBMDIForm = 6;
constexpr int32_t vbext_ct_PropPage = 7;
constexpr int32_t vbext_ct_UserControl = 8;
constexpr int32_t vbext_ct_DocObject = 9;
constexpr int32_t vbext_ct_RelatedDocument = 10;
constexpr int32_t vbext_ct_ActiveXDesigner = 11;

// vbext_WindowState
constexpr int32_t vbext_ws_Normal = 0;
constexpr int32_t vbext_ws_Minimize = 1;
constexpr int32_t vbext_ws_Maximize = 2;

// ext_ConnectMode and ext_DisconnectMode (the add-in's connection events)
constexpr int32_t ext_cm_AfterStartup = 0;
constexpr int32_t ext_cm_Startup = 1;
constexpr int32_t ext_cm_External = 2;
constexpr int32_t ext_cm_CommandLine = 3;
constexpr int32_t ext_dm_HostShutdown = 0;
constexpr int32_t ext_dm_UserClosed = 1;

// MsoControlType (only buttons and popups can be added)
constexpr int32_t msoControlButton = 1;
constexpr int32_t msoControlPopup = 10;

// MsoBarPosition
constexpr int32_t msoBarLeft = 0;
constexpr int32_t msoBarTop = 1;
constexpr int32_t msoBarRight = 2;
constexpr int32_t msoBarBottom = 3;
constexpr int32_t msoBarFloating = 4;
constexpr int32_t msoBarPopup = 5;
constexpr int32_t msoBarMenuBar = 6;

// Control ids of the IDE's own menus on its menu bar that the add-in extends.
constexpr int32_t idViewMenu = 30004;
constexpr int32_t idToolsMenu = 30007;
constexpr int32_t idHelpMenu = 30010;
constexpr int32_t idAddInsMenu = 30038;

} // namespace vbide
