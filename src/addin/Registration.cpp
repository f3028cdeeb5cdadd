#include "addin/Registration.h"

#include "addin/Connect.h"
#include "addin/IMgrVB.h"
#include "addin/serverViewDoc.h"
#include "platform/registry/Registry.h"
#include "platform/vbide/ClassRegistry.h"

#include <string>

namespace nimb::Registration {

using namespace registry;

namespace {

constexpr DWORD loadBehaviorNone = 0;

LONG setString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

LONG setDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG writeAddInKey() {
    HKEY key = 0;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, addInKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                              &key, &disposition);
    if (rc != ERROR_SUCCESS) return rc;
    rc = setString(key, "FriendlyName", addInDisplayName);
    if (rc == ERROR_SUCCESS) rc = setString(key, "Description", addInDisplayName);
    if (rc == ERROR_SUCCESS) rc = setDword(key, "LoadBehavior", loadBehaviorNone);
    RegCloseKey(key);
    // A half-written key would show the IDE an add-in it cannot describe.
    if (rc != ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) {
        RegDeleteKeyA(HKEY_CURRENT_USER, addInKey);
    }
    return rc;
}

} // namespace

Result fromWin32(LONG code) {
    constexpr uint32_t facilityWin32 = 0x80070000u;
    return code <= 0 ? code : static_cast<Result>(facilityWin32 | (static_cast<uint32_t>(code) & 0xFFFFu));
}

Result registerServer() {
    if (LONG rc = writeAddInKey(); rc != ERROR_SUCCESS) return fromWin32(rc);
    auto& classes = vbide::ClassRegistry::instance();
    classes.registerClass(connectProgId, "", [] { return std::make_shared<Connect>(); });
    classes.registerClass(serverViewDocProgId, serverViewWindowGuid, [] { return ui::New<serverViewDoc>(); });
    return resultOK;
}

Result unregisterServer() {
    auto& classes = vbide::ClassRegistry::instance();
    classes.unregisterClass(connectProgId);
    classes.unregisterClass(serverViewDocProgId);
    LONG rc = RegDeleteKeyA(HKEY_CURRENT_USER, addInKey);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? resultOK : fromWin32(rc);
}

} // namespace nimb::Registration
