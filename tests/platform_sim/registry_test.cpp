// The registry's ANSI calls on the in-memory registry: opening, querying, enumerating values with
// the Win32 buffer rules, access rights, self-registration writes.
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace registry;

const char* const sourceSafeKey = "Software\\Microsoft\\SourceSafe";
const char* const databasesKey = "Software\\Microsoft\\SourceSafe\\Databases";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        memory->setString(HKEY_LOCAL_MACHINE, sourceSafeKey, "SCCServerPath", "C:\\VSS\\win32\\ssscc.dll");
        memory->setString(HKEY_LOCAL_MACHINE, databasesKey, "Common", "C:\\VSS");
        memory->setString(HKEY_LOCAL_MACHINE, databasesKey, "Alpha", "D:\\Alpha DB");
        memory->setString(HKEY_LOCAL_MACHINE, databasesKey, "Mid", "E:\\m");
        install(memory);
    }
    void TearDown() override { install(nullptr); }

    HKEY open(const char* path, REGSAM access = KEY_READ) {
        HKEY key = 0;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key), ERROR_SUCCESS) << path;
        return key;
    }

    std::shared_ptr<sim::MemoryRegistry> memory = std::make_shared<sim::MemoryRegistry>();
};

TEST_F(RegistryTest, KeysOpenWithoutRegardToCaseAndMissingOnesAreNotFound) {
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\microsoft\\sourcesafe", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, sourceSafeKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\\\Microsoft", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(0x1234, "Software", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(0x1234), ERROR_INVALID_HANDLE);
    EXPECT_EQ(memory->openHandles(), 0);
}

TEST_F(RegistryTest, QueryValueGivesSizesWithTheNulAndRefusesSmallBuffers) {
    HKEY key = open(sourceSafeKey);
    const std::string value = "C:\\VSS\\win32\\ssscc.dll";
    const DWORD needed = static_cast<DWORD>(value.size() + 1);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "SCCServerPath", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, needed);

    char small[8];
    std::memset(small, 'z', sizeof small);
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "SCCServerPath", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::string(small, sizeof small), std::string(8, 'z'));

    char buffer[2048];
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "sccserverpath", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(std::string(buffer), value);

    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "SCCServerPath", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, EnumValueWalksInInsertionOrderToNoMoreItems) {
    std::vector<std::pair<std::string, std::string>> read;
    for (DWORD index = 0;; ++index) {
        // The add-in opens and closes the key for every index.
        HKEY key = open(databasesKey);
        char name[2048];
        BYTE data[2048];
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data;
        DWORD type = 0;
        LONG rc = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength);
        RegCloseKey(key);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(rc, ERROR_SUCCESS);
        EXPECT_EQ(type, REG_SZ);
        read.emplace_back(std::string(name, nameLength), std::string(reinterpret_cast<char*>(data), dataLength - 1));
    }
    EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{
                        {"Common", "C:\\VSS"}, {"Alpha", "D:\\Alpha DB"}, {"Mid", "E:\\m"}}));
    EXPECT_EQ(memory->openHandles(), 0);
}

TEST_F(RegistryTest, EnumValueBufferRules) {
    HKEY key = open(databasesKey);
    struct Case {
        const char* what;
        DWORD nameBuffer;
        DWORD dataBuffer;
        bool withData;
        LONG rc;
        DWORD nameLengthAfter;
        DWORD dataLengthAfter;
    };
    // Value 1 is "Alpha" = "D:\Alpha DB": 5 characters of name, 12 bytes of data with the NUL.
    const std::vector<Case> cases{
        {"both fit exactly", 6, 12, true, ERROR_SUCCESS, 5, 12},
        {"name without room for its NUL", 5, 12, true, ERROR_MORE_DATA, 5, 12},
        {"data one byte short", 6, 11, true, ERROR_MORE_DATA, 5, 12},
        {"size of data only", 6, 0, false, ERROR_SUCCESS, 5, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        char name[64];
        BYTE data[64];
        std::memset(name, '#', sizeof name);
        std::memset(data, '#', sizeof data);
        DWORD nameLength = c.nameBuffer;
        DWORD dataLength = c.dataBuffer;
        EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, c.withData ? data : nullptr, &dataLength),
                  c.rc);
        EXPECT_EQ(nameLength, c.nameLengthAfter);
        EXPECT_EQ(dataLength, c.dataLengthAfter);
        if (c.rc == ERROR_SUCCESS && c.withData) {
            EXPECT_EQ(std::string(name), "Alpha");
            EXPECT_EQ(std::string(reinterpret_cast<char*>(data)), "D:\\Alpha DB");
        }
        if (c.nameLengthAfter > c.nameBuffer - 1) {
            EXPECT_EQ(name[0], '#');  // a refused name writes nothing
        }
    }
    DWORD nameLength = 64;
    char name[64];
    EXPECT_EQ(RegEnumValueA(key, 3, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(key, 0, nullptr, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EmptyKeyEnumeratesNothing) {
    memory->createKey(HKEY_LOCAL_MACHINE, "Software\\Empty");
    HKEY key = open("Software\\Empty");
    char name[16];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, SelfRegistrationWritesNeedWriteAccessAndLandInOrder) {
    const char* addIns = "Software\\Microsoft\\Visual Basic\\6.0\\Addins\\nimbvbadd.Connect";
    HKEY key = 0;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, addIns, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const std::string name = "My Add-In";
    EXPECT_EQ(RegSetValueExA(key, "FriendlyName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                             static_cast<DWORD>(name.size() + 1)),
              ERROR_SUCCESS);
    const DWORD one = 1;
    EXPECT_EQ(RegSetValueExA(key, "LoadBehavior", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one),
              ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_EQ(memory->getString(HKEY_CURRENT_USER, addIns, "FriendlyName"), "My Add-In");
    EXPECT_EQ(memory->valueNames(HKEY_CURRENT_USER, addIns), (std::vector<std::string>{"FriendlyName", "LoadBehavior"}));

    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, addIns, 0, nullptr, 0, KEY_READ, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(key, "FriendlyName"), ERROR_ACCESS_DENIED);
    HKEY sub = 0;
    EXPECT_EQ(RegCreateKeyExA(key, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    const char* parent = "Software\\Microsoft\\Visual Basic\\6.0\\Addins";
    memory->setString(HKEY_CURRENT_USER, std::string(parent) + "\\nimbvbadd.Connect", "FriendlyName", "x");
    HKEY held = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(parent) + "\\nimbvbadd.Connect").c_str(), 0,
                            KEY_ALL_ACCESS, &held),
              ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(held, "friendlyname"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(held, "FriendlyName"), ERROR_FILE_NOT_FOUND);

    HKEY addIns = 0;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, parent, &addIns), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft"), ERROR_ACCESS_DENIED);  // has subkeys
    EXPECT_EQ(RegDeleteKeyA(addIns, "NIMBVBADD.CONNECT"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(addIns, "nimbvbadd.Connect"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(memory->hasKey(HKEY_CURRENT_USER, std::string(parent) + "\\nimbvbadd.Connect"));

    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(held, "FriendlyName", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(held), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(addIns), ERROR_SUCCESS);
    EXPECT_EQ(memory->openHandles(), 0);
}

TEST_F(RegistryTest, RegOpenKeyWithoutSubkeyHandsBackTheSameHandle) {
    HKEY key = open(sourceSafeKey);
    HKEY same = 0;
    EXPECT_EQ(RegOpenKeyA(key, nullptr, &same), ERROR_SUCCESS);
    EXPECT_EQ(same, key);
    EXPECT_EQ(memory->openHandles(), 1);
    RegCloseKey(key);
}

} // namespace
