// The COM identities of the module's classes. The Connect and serverViewDoc CLSIDs are the
// module's own, fixed once: a VB6 IDE remembers an add-in by them, so they never change. The
// ModelUtil identities are those its callers (other add-ins) are built against.
#pragma once

#include <windows.h>

#include <oleidl.h>

namespace nimb::win {

// {F5B76F47-C58B-4241-9354-079967845C32}
inline constexpr CLSID CLSID_Connect = {0xf5b76f47, 0xc58b, 0x4241, {0x93, 0x54, 0x07, 0x99, 0x67, 0x84, 0x5c, 0x32}};
inline constexpr wchar_t connectClsid[] = L"{F5B76F47-C58B-4241-9354-079967845C32}";

// {62BA412E-AAB6-4CF8-9E92-21706049D42B}
inline constexpr CLSID CLSID_serverViewDoc = {0x62ba412e, 0xaab6, 0x4cf8, {0x9e, 0x92, 0x21, 0x70, 0x60, 0x49, 0xd4, 0x2b}};
inline constexpr wchar_t serverViewDocClsid[] = L"{62BA412E-AAB6-4CF8-9E92-21706049D42B}";
// How a container is to host the document: the registry's MiscStatus and IOleObject::GetMiscStatus.
inline constexpr DWORD serverViewDocMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                                 OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

// {6378FA93-AD12-4716-8242-3A4DBF5A8845}
inline constexpr CLSID CLSID_ModelUtil = {0x6378fa93, 0xad12, 0x4716, {0x82, 0x42, 0x3a, 0x4d, 0xbf, 0x5a, 0x88, 0x45}};
inline constexpr wchar_t modelUtilClsid[] = L"{6378FA93-AD12-4716-8242-3A4DBF5A8845}";
inline constexpr wchar_t modelUtilProgId[] = L"nimbvbadd.ModelUtil";

// _ModelUtil {E9C28389-1F91-4E07-B799-04EA67E97856}
inline constexpr IID IID__ModelUtil = {0xe9c28389, 0x1f91, 0x4e07, {0xb7, 0x99, 0x04, 0xea, 0x67, 0xe9, 0x78, 0x56}};
// _ModelUtilVB {AACCD1A2-7A74-4336-A4BA-4139CA13B810}
inline constexpr IID IID__ModelUtilVB = {0xaaccd1a2, 0x7a74, 0x4336, {0xa4, 0xba, 0x41, 0x39, 0xca, 0x13, 0xb8, 0x10}};

} // namespace nimb::win
