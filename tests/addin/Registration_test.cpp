// Self-registration, through the core and through the module's exported entry points as a host
// calls them: exactly the add-in's key and its two classes are written, and exactly they go again.
#include "addin/Connect.h"
#include "addin/ControlInspection.h"
#include "addin/IMgrVB.h"
#include "addin/Registration.h"
#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/ui/UserDocument.h"
#include "platform/vbide/AddinInstance.h"
#include "platform/vbide/ClassRegistry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

namespace {

using namespace registry;
using nimb::Registration::addInKey;
using nimb::Registration::Result;
const std::string otherAddIn = "Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Other.Connect";

struct EntryPoints {
    const char* name;
    Result (*registerServer)();
    Result (*unregisterServer)();
};

EntryPoints moduleEntryPoints() {
    void* module = dlopen(NIMB_ADDIN_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!module) return {"module", nullptr, nullptr};
    return {"module", reinterpret_cast<Result (*)()>(dlsym(module, "DllRegisterServer")),
            reinterpret_cast<Result (*)()>(dlsym(module, "DllUnregisterServer"))};
}

DWORD loadBehavior() {
    HKEY key = 0;
    DWORD value = 99, size = sizeof value, type = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, addInKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "LoadBehavior", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    RegCloseKey(key);
    return value;
}

TEST(AddinRegistration, WritesAndRemovesExactlyItsKeyAndClasses) {
    auto& classes = vbide::ClassRegistry::instance();
    for (const auto& way : {EntryPoints{"core", nimb::Registration::registerServer,
                                        nimb::Registration::unregisterServer},
                            moduleEntryPoints()}) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(way.registerServer && way.unregisterServer) << dlerror();
        auto reg = std::make_shared<sim::MemoryRegistry>();
        registry::install(reg);
        reg->setString(HKEY_CURRENT_USER, otherAddIn, "FriendlyName", "Other");

        ASSERT_EQ(way.registerServer(), nimb::Registration::resultOK);
        EXPECT_EQ(reg->valueNames(HKEY_CURRENT_USER, addInKey),
                  (std::vector<std::string>{"FriendlyName", "Description", "LoadBehavior"}));
        EXPECT_EQ(reg->getString(HKEY_CURRENT_USER, addInKey, "FriendlyName"), nimb::Registration::addInDisplayName);
        EXPECT_EQ(reg->getString(HKEY_CURRENT_USER, addInKey, "Description"), nimb::Registration::addInDisplayName);
        EXPECT_EQ(loadBehavior(), 0u);
        auto connection = classes.create("nimbvbadd.Connect");
        EXPECT_TRUE(std::dynamic_pointer_cast<vbide::AddinInstance>(connection));
        auto* inspection = dynamic_cast<nimb::ControlInspection*>(connection.get());  // what a host uses
        ASSERT_TRUE(inspection);
        EXPECT_FALSE(inspection->controlNamed("addInMenuItem"));  // not connected yet
        EXPECT_TRUE(std::dynamic_pointer_cast<ui::UserDocument>(classes.create(nimb::serverViewWindowGuid)));

        EXPECT_EQ(way.unregisterServer(), nimb::Registration::resultOK);
        EXPECT_EQ(way.unregisterServer(), nimb::Registration::resultOK);  // gone already: no failure
        EXPECT_FALSE(reg->hasKey(HKEY_CURRENT_USER, addInKey));
        EXPECT_EQ(reg->getString(HKEY_CURRENT_USER, otherAddIn, "FriendlyName"), "Other");
        EXPECT_FALSE(classes.isRegistered("nimbvbadd.Connect"));
        EXPECT_FALSE(classes.isRegistered("nimbvbadd.serverViewDoc"));
    }
    registry::install(nullptr);
}

// Refuses one value, as a registry whose policy forbids it would.
class RefusingRegistry : public sim::MemoryRegistry {
public:
    LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD size) override {
        if (std::strcmp(name, "LoadBehavior") == 0) return ERROR_ACCESS_DENIED;
        return MemoryRegistry::RegSetValueExA(key, name, reserved, type, data, size);
    }
};

TEST(AddinRegistration, ARegistryFailureRegistersNothingAndLeavesNoHalfKey) {
    auto refusing = std::make_shared<RefusingRegistry>();
    for (auto [installed, expected] : {std::pair<std::shared_ptr<Registry>, uint32_t>{nullptr, 0x80070078u},
                                       {refusing, 0x80070005u}}) {
        registry::install(installed);
        EXPECT_EQ(static_cast<uint32_t>(nimb::Registration::registerServer()), expected);
        EXPECT_FALSE(vbide::ClassRegistry::instance().isRegistered("nimbvbadd.Connect"));
    }
    EXPECT_FALSE(refusing->hasKey(HKEY_CURRENT_USER, addInKey));
    registry::install(nullptr);
}

} // namespace
