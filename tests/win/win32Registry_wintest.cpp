// The registry port over Wine's real registry: the return codes, sizes and handle rules the
// add-in's registry code relies on, and ANSI text passing through as the system's code page.
#include "platform/registry/Registry.h"
#include "platform/vss/SourceSafe.h"
#include "platform/win/ports/installPorts.h"
#include "platform/win/registry/Win32Registry.h"
#include "wintest.h"

#include <string>

namespace {

using namespace registry;

constexpr const char* testKey = "Software\\nimbvbadd-wintest";

struct Fixture {
    Win32Registry reg;
    HKEY key = 0;
    Fixture() {
        DWORD disposition = 0;
        CHECK(reg.RegCreateKeyExA(HKEY_CURRENT_USER, testKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, &disposition) == ERROR_SUCCESS);
        CHECK(disposition == REG_CREATED_NEW_KEY);
    }
    ~Fixture() {
        reg.RegCloseKey(key);
        reg.RegDeleteKeyA(HKEY_CURRENT_USER, testKey);
    }
};

void valuesComeBackWithTheirSizes() {
    Fixture f;
    const std::string text = "Caf\xE9";  // "Café" in the Western code page
    CHECK(f.reg.RegSetValueExA(f.key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    CHECK(f.reg.RegQueryValueExA(f.key, "Name", nullptr, &type, nullptr, &size) == ERROR_SUCCESS);
    CHECK(type == REG_SZ && size == 5);
    char small[3] = {'x', 'x', 'x'};
    size = sizeof small;
    CHECK(f.reg.RegQueryValueExA(f.key, "name", nullptr, &type, reinterpret_cast<BYTE*>(small), &size) ==
          ERROR_MORE_DATA);
    CHECK(size == 5);
    char buffer[16] = {};
    size = sizeof buffer;
    CHECK(f.reg.RegQueryValueExA(f.key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
          ERROR_SUCCESS);
    CHECK(std::string(buffer) == text);
    CHECK(f.reg.RegQueryValueExA(f.key, "Missing", nullptr, &type, nullptr, &size) == ERROR_FILE_NOT_FOUND);

    char name[16] = {};
    DWORD nameLength = sizeof name;
    size = sizeof buffer;
    CHECK(f.reg.RegEnumValueA(f.key, 0, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
          ERROR_SUCCESS);
    CHECK(std::string(name) == "Name" && nameLength == 4 && size == 5);
    nameLength = 4;  // no room for the terminating zero
    CHECK(f.reg.RegEnumValueA(f.key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_MORE_DATA);
    nameLength = sizeof name;
    CHECK(f.reg.RegEnumValueA(f.key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS);
}

void handlesFollowTheirRules() {
    Fixture f;
    HKEY sub = 0, readOnly = 0;
    CHECK(f.reg.RegCreateKeyExA(f.key, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr) == ERROR_SUCCESS);
    CHECK(sub != f.key && (sub & 0x80000000u) == 0);
    // A key with subkeys cannot go; one opened for reading takes no value.
    CHECK(f.reg.RegDeleteKeyA(HKEY_CURRENT_USER, testKey) == ERROR_ACCESS_DENIED);
    CHECK(f.reg.RegOpenKeyExA(HKEY_CURRENT_USER, testKey, 0, KEY_READ, &readOnly) == ERROR_SUCCESS);
    const BYTE one[4] = {1, 0, 0, 0};
    CHECK(f.reg.RegSetValueExA(readOnly, "V", 0, REG_DWORD, one, 4) == ERROR_ACCESS_DENIED);
    CHECK(f.reg.RegCloseKey(readOnly) == ERROR_SUCCESS);
    // Closed and never-given handles reach nothing.
    DWORD size = 0;
    CHECK(f.reg.RegQueryValueExA(readOnly, "V", nullptr, nullptr, nullptr, &size) == ERROR_INVALID_HANDLE);
    CHECK(f.reg.RegCloseKey(readOnly) == ERROR_INVALID_HANDLE);
    CHECK(f.reg.RegCloseKey(0x12345678u) == ERROR_INVALID_HANDLE);
    HKEY none = 0;
    CHECK(f.reg.RegOpenKeyA(f.key, "NoSuchKey", &none) == ERROR_FILE_NOT_FOUND);
    CHECK(f.reg.RegCloseKey(sub) == ERROR_SUCCESS);
    CHECK(f.reg.RegDeleteKeyA(f.key, "Sub") == ERROR_SUCCESS);
}

void installedAsThePort() {
    registry::install(nullptr);
    winports::install("nimbvbadd.NoSuchServer");
    HKEY key = 0;
    CHECK(registry::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS);
    CHECK(registry::RegCloseKey(key) == ERROR_SUCCESS);
    // SourceSafe is created by the ProgID given; one nobody registered raises 429.
    CHECK(wintest::raised([] { vss::createVSSDatabase(); }).number() == 429);
    // A port already installed stays.
    auto mine = registry::installed();
    winports::install();
    CHECK(registry::installed() == mine);
    CHECK(wintest::raised([] { vss::createVSSDatabase(); }).number() == 429);
    registry::install(nullptr);
    vss::install(nullptr);
}

} // namespace

int main() {
    return wintest::run({
        {"values come back with their sizes and codes", valuesComeBackWithTheirSizes},
        {"handles follow their access and lifetime rules", handlesFollowTheirRules},
        {"installed as the registry and SourceSafe ports", installedAsThePort},
    });
}
