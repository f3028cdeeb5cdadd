// Workspace: the file format read, checked and written back.
#include "HostError.h"
#include "Workspace.h"

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

const char* const full = R"({
  "format": "nimbide-workspace 1",
  "files": [{"path": "C:\\Work\\a.wkv", "copy": "demo.wkv"}, {"path": "C:\\Work\\b.txt", "text": "x"}],
  "ide": {
    "projects": [
      {"name": "P", "fileName": "C:\\Work\\P.vbp",
       "properties": [{"section": "KALNIMB_WK", "key": "KALNIMB_WKFILENAME", "value": "C:\\Work\\a.wkv"}],
       "components": [
         {"name": "Module1", "type": "module", "code": ["Option Explicit"]},
         {"name": "Form1", "type": 5},
         {"name": "DE", "type": "dataEnvironment", "connections": [{"name": "cn", "source": "DSN=X"}],
          "commands": [{"name": "cmd", "commandType": 4, "text": "T", "connection": "cn"}]},
         {"name": "Report", "type": "designer", "designerId": "Other.Designer"}
       ]},
      {"name": "Q"}
    ],
    "activeProject": "Q",
    "selectedComponent": {"project": "P", "component": "Form1"},
    "lastUsedPath": "C:\\Work",
    "mainWindow": "minimized"
  },
  "registry": {
    "sourceSafe": {"installed": true, "serverPath": "C:\\VSS\\ssscc.dll", "databases": [{"name": "Team", "folder": "C:\\VSS"}]},
    "addIns": [{"progId": "Other.Connect", "friendlyName": "Other", "description": "", "loadBehavior": 1}]
  },
  "sourceSafe": [{"folder": "C:\\VSS", "users": [{"name": "alice", "password": "pw"}], "projects": ["$/R"],
                  "files": [{"spec": "$/R/a.sql", "checkedOutBy": "alice"}]}]
})";

// Every part of the format survives a read and a write: a part the reader dropped or put in the
// wrong place would be missing or moved in what is written. A component's type number comes back as
// its name, and leaving a part out is the same as giving it empty.
TEST(WorkspaceTest, WritesBackEveryPartItReads) {
    Json expected = Json::parse(full);
    expected["ide"]["projects"][0]["components"][1]["type"] = "form";
    expected["ide"]["projects"][1] = Json::parse(R"({"name": "Q", "fileName": "", "properties": [], "components": []})");
    const auto written = host::Workspace::read(Json::parse(full)).toJson();
    EXPECT_EQ(written.dump(1), expected.dump(1));
    EXPECT_EQ(host::Workspace::read(written).toJson(), written);
    const auto empty = host::Workspace::read(Json::object());
    EXPECT_TRUE(empty.projects.empty());
    EXPECT_FALSE(empty.sourceSafeInstalled);
    EXPECT_EQ(empty.mainWindowState, 0);
}

// Each bad document is refused with the place of the problem in the message.
TEST(WorkspaceTest, RefusesBadDocumentsNamingThePlace) {
    struct Case {
        const char* document;
        const char* message;
    } cases[] = {
        {R"([])", "workspace: /: expected an object"},
        {R"({"format": "other"})", "/format: expected \"nimbide-workspace 1\""},
        {R"({"colour": 1})", "/: unknown key \"colour\""},
        {R"({"ide": {"projects": [{}]}})", "/ide/projects/0: the key \"name\" is missing"},
        {R"({"ide": {"projects": [{"name": ""}]}})", "/ide/projects/0/name: must not be empty"},
        {R"({"ide": {"projects": [{"name": "P"}, {"name": "P"}]}})", "/ide/projects/1: a second project named \"P\""},
        {R"({"ide": {"projects": [{"name": "P", "components": [{"name": "M", "type": "gadget"}]}]}})",
         "/ide/projects/0/components/0/type: unknown component type \"gadget\""},
        {R"({"ide": {"projects": [{"name": "P", "components": [{"name": "M", "type": 12}]}]}})",
         "components/0/type: component types are 1 to 11"},
        {R"({"ide": {"projects": [{"name": "P", "components": [{"name": "M", "type": "designer"}]}]}})",
         "a designer needs a designerId"},
        {R"({"ide": {"projects": [{"name": "P", "components": [{"name": "M", "type": "module", "connections": []}]}]}})",
         "only a dataEnvironment has connections and commands"},
        {R"({"ide": {"projects": [{"name": "P", "components": [{"name": "M", "type": "module", "code": [1]}]}]}})",
         "components/0/code/0: expected a string"},
        {R"({"ide": {"activeProject": "X"}})", "/ide/activeProject: no project is named \"X\""},
        {R"({"ide": {"projects": [{"name": "P"}], "selectedComponent": {"project": "P", "component": "M"}}})",
         "/ide/selectedComponent/component: P has no component named \"M\""},
        {R"({"ide": {"mainWindow": "huge"}})", "/ide/mainWindow: expected normal, minimized or maximized"},
        {R"({"registry": {"addIns": [{"progId": "A", "loadBehavior": 4294967296}]}})",
         "/registry/addIns/0/loadBehavior: the number is out of range"},
        {R"({"registry": {"sourceSafe": {"installed": "yes"}}})", "/registry/sourceSafe/installed: expected true or false"},
        {R"({"sourceSafe": [{"folder": "C:\\V", "projects": ["R"]}]})", "/sourceSafe/0/projects/0: a SourceSafe project starts with $/"},
        {R"({"files": [{"path": "C:\\a", "copy": "b", "text": "c"}]})", "/files/0: give either copy or text, not both"},
    };
    for (const auto& c : cases) {
        try {
            host::Workspace::read(Json::parse(c.document));
            ADD_FAILURE() << "accepted " << c.document;
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(WorkspaceTest, AFileThatIsNoJsonIsRefused) {
    EXPECT_THROW(host::Workspace::readFile("/nonexistent/workspace.json"), host::HostError);
}

} // namespace
