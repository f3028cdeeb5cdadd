// Machine: a workspace built into the simulated machine, and read back unchanged.
#include "HostError.h"
#include "Machine.h"

#include "platform/registry/RegistryTypes.h"
#include "platform/sim/MemoryRegistry.h"
#include "platform/sim/MemorySourceSafe.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

const char* const document = R"({
  "format": "nimbide-workspace 1",
  "files": [{"path": "C:\\Work\\wk\\P.wkv", "text": "wkv 1\nproject = P\n"}, {"path": "D:\\Empty"}],
  "ide": {
    "projects": [
      {"name": "P", "fileName": "C:\\Work\\P.vbp",
       "properties": [{"section": "KALNIMB_WK", "key": "KALNIMB_WKFILENAME", "value": "C:\\Work\\wk\\P.wkv"}],
       "components": [
         {"name": "Module1", "type": "module", "code": ["Option Explicit", "Dim x"]},
         {"name": "DE", "type": "dataEnvironment", "connections": [{"name": "cn", "source": "DSN=X"}],
          "commands": [{"name": "cmd", "commandType": 4, "text": "T", "connection": "cn"}]},
         {"name": "Report", "type": "designer", "designerId": "Other.Designer"}
       ]},
      {"name": "Q", "fileName": "", "properties": [], "components": []}
    ],
    "activeProject": "Q",
    "selectedComponent": {"project": "P", "component": "Module1"},
    "lastUsedPath": "C:\\Work",
    "mainWindow": "minimized"
  },
  "registry": {
    "sourceSafe": {"installed": true, "serverPath": "C:\\VSS\\ssscc.dll", "databases": [{"name": "Team", "folder": "C:\\VSS"}]},
    "addIns": [{"progId": "Other.Connect", "friendlyName": "Other", "description": "", "loadBehavior": 1}]
  },
  "sourceSafe": [{"folder": "C:\\VSS", "users": [{"name": "alice", "password": "pw"}], "projects": ["$/R", "$/R/Sub"],
                  "files": [{"spec": "$/R/a.sql", "checkedOutBy": "alice"}, {"spec": "$/R/Sub/b.sql", "checkedOutBy": ""}]}]
})";

class MachineTest : public ::testing::Test {
protected:
    fs::path root = host::makeTemporaryDriveRoot();
    void TearDown() override { fs::remove_all(root); }
    std::unique_ptr<host::Machine> build(const char* text) {
        return std::make_unique<host::Machine>(host::Workspace::read(Json::parse(text)), host::DriveMap(root), root);
    }
};

TEST_F(MachineTest, BuildsTheDrivesTheRegistrySourceSafeAndTheIdeAndCapturesThemBack) {
    auto machine = build(document);
    std::ifstream file(root / "C" / "Work" / "wk" / "P.wkv");
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), "wkv 1\nproject = P\n");
    EXPECT_TRUE(fs::is_directory(root / "D" / "Empty"));

    const auto& drives = machine->drives();
    auto& registry = machine->registry();
    EXPECT_EQ(registry.getString(registry::HKEY_LOCAL_MACHINE, host::sourceSafeDatabasesKey, "Team"), drives.toSystem("C:\\VSS"));
    EXPECT_EQ(registry.subkeyNames(registry::HKEY_CURRENT_USER, host::addInsKey), std::vector<std::string>{"Other.Connect"});
    EXPECT_EQ(machine->sourceSafe().checkedOutBy(drives.toSystem("C:\\VSS"), "$/R/a.sql"), "alice");

    auto& ide = machine->ide();
    auto p = ide.project("P");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->fileName(), drives.toSystem("C:\\Work\\P.vbp"));  // the programs see system paths
    EXPECT_EQ(p->property("kalnimb_wk", "kalnimb_wkfilename"), drives.toSystem("C:\\Work\\wk\\P.wkv"));
    EXPECT_EQ(p->component("Module1")->code()->lines(), (std::vector<std::string>{"Option Explicit", "Dim x"}));
    EXPECT_EQ(ide.activeProject(), ide.project("Q"));
    EXPECT_EQ(ide.selectedComponent(), p->component("Module1"));
    EXPECT_EQ(ide.mainWindow()->windowState(), 1);
    // Read back, the machine is the workspace it was built from.
    EXPECT_EQ(machine->capture().toJson(), host::Workspace::read(Json::parse(document)).toJson());
}

TEST_F(MachineTest, CaptureFollowsTheIde) {
    auto machine = build(document);
    auto& ide = machine->ide();
    ide.project("P")->component("Module1")->code()->setLines({"changed"});
    ide.project("P")->setProperty("KALNIMB_WK", "KALNIMB_WKFILENAME", machine->drives().toSystem("E:\\x.wkv"));
    ide.removeProject(ide.project("Q"));
    auto w = machine->capture();
    ASSERT_EQ(w.projects.size(), 1u);
    EXPECT_EQ(w.projects[0].components[0].code, std::vector<std::string>{"changed"});
    EXPECT_EQ(w.projects[0].properties[0].value, "E:\\x.wkv");  // shown as the person knows it
    EXPECT_EQ(w.activeProject, "P");
}

TEST_F(MachineTest, AFileThatCannotBePutOnItsDriveIsAnError) {
    const char* missing = R"({"files": [{"path": "C:\\a.wkv", "copy": "no-such-file.wkv"}]})";
    EXPECT_THROW(build(missing), host::HostError);
    const char* escaping = R"({"files": [{"path": "C:\\..\\..\\outside.txt", "text": "x"}]})";
    EXPECT_THROW(build(escaping), host::HostError);
    EXPECT_FALSE(fs::exists(root.parent_path() / "outside.txt"));
}

} // namespace
