// A machine with SourceSafe: a registry with the SourceSafe key and the databases Common and Team,
// a SourceSafe server whose Common knows alice (password "secret") and the projects Routines and
// Other, engine texts "text <id>" ("text <id> %1" where the text takes a parameter), a scripted person.
#pragma once

#include "platform/registry/Registry.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/MemorySourceSafe.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"
#include "platform/vss/SourceSafe.h"
#include "scc/VSSAPI.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

namespace scctest {

inline constexpr const char* sourceSafeKey = "Software\\Microsoft\\SourceSafe";
inline constexpr const char* databasesKey = "Software\\Microsoft\\SourceSafe\\Databases";
inline constexpr const char* common = "C:\\VSS\\Common";
inline constexpr registry::HKEY HKLM = registry::HKEY_LOCAL_MACHINE;

class SourceSafeTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry::install(reg);
        server->install();
        ui::User::install(user);
        for (int32_t id : {515, 516, 517, 518, 519, 520, 521, 522, 523, 681, 682}) {
            engine.setString(id, "text " + std::to_string(id));
        }
        for (int32_t id : {675, 676, 677, 678, 679}) engine.setString(id, "text " + std::to_string(id) + " %1");
        reg->setString(HKLM, sourceSafeKey, "SCCServerPath", "C:\\VSS\\win32\\ssscc.dll");
        reg->setString(HKLM, databasesKey, "Common", common);
        reg->setString(HKLM, databasesKey, "Team", "D:\\Team");
        server->addDatabase(common);
        server->addUser(common, "alice", "secret");
        server->addProject(common, "$/Routines");
        server->addProject(common, "$/Other");
    }
    void TearDown() override {
        EXPECT_EQ(user->problems(), std::vector<std::string>{});
        ui::Forms::unloadAll();
        ui::User::install(nullptr);
        vss::install(nullptr);
        registry::install(nullptr);
        nimb::VSSAPI::resetModuleState();
    }

    // What a login confirmed with OK on project leaves behind, without the form.
    void loggedInTo(const std::string& project) {
        nimb::VSSAPI::DatabaseList dbList;
        ASSERT_TRUE(nimb::VSSAPI::getVSSDatabases(dbList));
        ASSERT_TRUE(nimb::VSSAPI::openVSSDatabase("alice", "secret", "Common", dbList));
        std::vector<std::string> projects;
        nimb::VSSAPI::getVSSProjects(projects);
        nimb::VSSAPI::createVSSProject(project);
        server->journal().clearCalls();
    }
    // The message boxes shown so far, as their texts.
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (const auto& box : user->messageBoxes()) texts.push_back(box.subject);
        return texts;
    }

    nimbtest::EngineDouble engine;
    std::shared_ptr<sim::MemoryRegistry> reg = std::make_shared<sim::MemoryRegistry>();
    std::shared_ptr<sim::MemorySourceSafe> server = sim::MemorySourceSafe::create();
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
};

} // namespace scctest
