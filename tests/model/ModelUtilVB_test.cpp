// ModelUtilVB against the simulated IDE where a person cannot see it: empty texts, missing targets,
// selections outside the module, which designer gets new connections and commands, and what callers
// see when something fails. Where code lands is shown in the code_generation scenario.
#include "model/ModelUtilVB.h"

#include "platform/sim/SimCodeModule.h"
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/ScriptedUser.h"
#include "platform/vbide/CommandBar.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>

namespace {

using Lines = std::vector<std::string>;

Lines numbered(int from, int to) {
    Lines lines;
    for (int i = from; i <= to; ++i) {
        lines.push_back("L" + std::to_string(i));
    }
    return lines;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The error a call raised as "number|description"; "" when it raised none.
std::string raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const vb::VBError& e) {
        return std::to_string(e.number()) + "|" + e.description();
    }
    return "";
}

class ModelUtilVBTest : public ::testing::Test {
protected:
    ModelUtilVBTest() {
        ui::User::install(user);
        model.setVBInstance(ide);
        engine.setString(659, "SQL failed");
        engine.setString(664, "sql=%1");
        engine.setString(660, "ADO failed");
        engine.setString(662, "ado=%1");
        p1 = ide->addProject("P1");
        code = p1->addModule("Module1", numbered(1, 20))->code();
    }
    ~ModelUtilVBTest() override { ui::User::install(nullptr); }

    Lines prompts() const {
        Lines out;
        for (const auto& box : user->messageBoxes()) {
            out.push_back(box.subject);
        }
        return out;
    }

    nimbtest::EngineDouble engine;
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
    nimb::ModelUtilVB model;
    std::shared_ptr<sim::SimProject> p1;
    std::shared_ptr<sim::SimCodeModule> code;
};

TEST_F(ModelUtilVBTest, EmptyTextsDoNothingAndSayNothing) {
    model.insertSQLCode("", 1, 1, 3, 1, "P1", "Module1");
    model.insertClientCode("", "P1", "NoSuchModule");
    EXPECT_EQ(code->lines(), numbered(1, 20));
    EXPECT_TRUE(ide->journal().callsTo("VBProjects.Item").empty());
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ModelUtilVBTest, AMissingTargetIsReportedInAMessageAndRaisesNothing) {
    const std::pair<std::string, std::string> targets[] = {
        {"P1", "NoSuchModule"}, {"p1", "Module1"}, {"", "Module1"}, {"P1", ""}};
    for (const auto& [proj, comp] : targets) {
        user->answerMsgBox(ui::mb::OK);
        user->answerMsgBox(ui::mb::OK);
        EXPECT_EQ(raised([&] { model.insertClientCode("Dim a", proj, comp); }), "");
        EXPECT_EQ(raised([&] { model.insertSQLCode("SELECT 1", 2, 1, 2, 1, proj, comp); }), "");
    }
    EXPECT_EQ(prompts().size(), 8u);
    EXPECT_EQ(prompts().front(), "ADO failed\nado=Dim a");
    EXPECT_EQ(prompts().back(), "SQL failed\nsql=SELECT 1");
    EXPECT_TRUE(user->problems().empty());
    EXPECT_EQ(code->lines(), numbered(1, 20));
}

TEST_F(ModelUtilVBTest, LinesDeletedBeforeAFailingInsertionStayDeleted) {
    ide->journal().failNext("CodeModule.InsertLines", vb::VBError(5, "Invalid procedure call or argument"));
    ide->journal().failNext("CodeModule.CountOfLines", vb::VBError(7, "Out of memory"));
    user->answerMsgBox(ui::mb::OK);
    user->answerMsgBox(ui::mb::OK);
    model.insertSQLCode("S", 12, 1, 15, 1, "P1", "Module1");
    model.insertClientCode("Dim a", "P1", "Module1");
    EXPECT_EQ(code->lines(), (numbered(1, 11) + numbered(16, 20)));
    EXPECT_EQ(prompts(), (Lines{"SQL failed\nsql=S", "ADO failed\nado=Dim a"}));
}

TEST_F(ModelUtilVBTest, ASelectionOutsideTheModuleIsReportedAndChangesNothing) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    const std::array<int32_t, 4> ranges[] = {{0, 1, 0, 1}, {15, 1, 12, 1}, {21, 1, 22, 1}, {lo, 1, hi, 1}};
    for (const auto& r : ranges) {
        user->answerMsgBox(ui::mb::OK);
        model.insertSQLCode("S", r[0], r[1], r[2], r[3], "P1", "Module1");
    }
    EXPECT_EQ(code->lines(), numbered(1, 20));
    EXPECT_EQ(prompts(), Lines(4, "SQL failed\nsql=S"));
    for (const auto& box : user->messageBoxes()) {
        EXPECT_TRUE(box.style == ui::mb::OKOnly && box.title.empty());
    }
}

TEST_F(ModelUtilVBTest, ProjectListKeepsOneEntryPerProjectWithTheMatchesFirst) {
    ide->addProject("P2")->addDataEnvironment("DE1");
    ide->addProject("P3")->addDesigner("DE2", "dedesigner.dataenvironment");  // letter case differs
    Lines list{"stale", "stale", "stale", "stale"};
    model.getProjList(list);
    EXPECT_EQ(list, (Lines{"P2", "", ""}));
}

TEST_F(ModelUtilVBTest, DataEnvironmentsAndConnectionsAreListedInOrder) {
    auto a = p1->addDataEnvironment("DEa");
    p1->addDesigner("Report1", "MSDataReportLib.DataReport");
    p1->addDataEnvironment("DEb");
    a->addConnection("Con2");
    a->addConnection("Con1");
    Lines des, cons;
    model.getDataEnvList(des, "P1");
    model.getConnectionList(cons, "DEa", "P1");
    EXPECT_EQ(des, (Lines{"DEa", "DEb"}));
    EXPECT_EQ(cons, (Lines{"Con2", "Con1"}));
}

TEST_F(ModelUtilVBTest, ListQueriesPassErrorsOnWithTheNumberInTheText) {
    ide->addProject("Plain")->addModule("Module1");
    p1->addDataEnvironment("Empty");
    p1->addDesigner("Report1", "MSDataReportLib.DataReport", std::make_shared<vb::Object>());
    auto failDesignerID = [&] { ide->journal().failNext("VBComponent.DesignerID", vb::VBError(5, "boom")); };
    struct Case { std::function<void()> call; std::string expected; };
    Lines list;
    const Case cases[] = {
        {[&] { model.getDataEnvList(list, "Plain"); }, "9|9:Subscript out of range"},
        {[&] { model.getDataEnvList(list, "NoSuchProject"); }, "9|9:Subscript out of range"},
        {[&] { model.getConnectionList(list, "Empty", "P1"); }, "9|9:Subscript out of range"},
        {[&] { model.getConnectionList(list, "Report1", "P1"); }, "13|13:Type mismatch"},
        {[&] { model.getConnectionList(list, "Module1", "P1"); },
         "91|91:Object variable or With block variable not set"},
        {[&] { failDesignerID(); model.existsDataEnvObjs(); }, "5|5:boom"},
        // the per-project check wraps once, the list query once more
        {[&] { failDesignerID(); model.getProjList(list); }, "5|5:5:boom"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(raised(cases[i].call), cases[i].expected) << "case " << i;
    }
}

TEST_F(ModelUtilVBTest, NamesFollowTheIdeAndWithNoProjectOpenListsFail) {
    ide->setSelectedComponent(p1->component("Module1"));
    EXPECT_EQ(model.getActiveProjName(), "P1");
    EXPECT_EQ(model.getSelectedcompName(), "Module1");
    ide->removeProject(p1);
    Lines list;
    EXPECT_EQ(raised([&] { model.getProjList(list); }), "9|9:Subscript out of range");
    EXPECT_FALSE(model.existsDataEnvObjs());
    EXPECT_EQ(model.getActiveProjName(), "");
    EXPECT_EQ(model.getSelectedcompName(), "");
    EXPECT_EQ(model.GetDevLanguage(), "2");
    EXPECT_EQ(nimb::ModelUtilVB().GetDevLanguage(), "2");
    EXPECT_EQ(model.getMainMenuBar()->Name(), "Menu Bar");
}

TEST_F(ModelUtilVBTest, ConnectionsAndCommandsGoIntoTheNamedDesignerOnly) {
    auto other = p1->addDataEnvironment("DE1");
    auto target = ide->addProject("P2")->addDataEnvironment("DE1");
    model.addADOConnection("Provider=X", "Con1", "DE1", "P2");
    model.AddADOCommand(4, "sp_who", "Cmd1", "NoSuchCon", "DE1", "P2");
    EXPECT_TRUE(other->connections().empty() && other->commands().empty());
    ASSERT_EQ(target->connections().size(), 1u);
    EXPECT_EQ(target->connections()[0]->source(), "Provider=X");
    ASSERT_EQ(target->commands().size(), 1u);
    const auto& cmd = *target->commands()[0];
    EXPECT_EQ(cmd.name() + "|" + std::to_string(cmd.commandType()) + "|" + cmd.commandText() + "|" +
                  cmd.connectionName(), "Cmd1|4|sp_who|NoSuchCon");
    EXPECT_EQ(ide->journal().callsTo("DECommands.Add")[0].args, (Lines{"Cmd1", "False"}));
    // the designer's own refusal reaches the caller unchanged
    EXPECT_EQ(raised([&] { model.addADOConnection("", "con1", "DE1", "P2"); }).substr(0, 5), "3367|");
}

TEST_F(ModelUtilVBTest, AnUnmatchedProjectOrDesignerCreatesNothingAndRaises) {
    ide->addProject("P2")->addDataEnvironment("DE1");
    auto mine = p1->addDesigner("DE9", "DEDesigner.Dataenvironment", std::make_shared<sim::SimDataEnvironment>(
                                                                          ide->sharedJournal(), "DE9"));
    const std::pair<std::string, std::string> misses[] = {
        {"DE1", "P1"}, {"DE1", "p2"}, {"de1", "P2"}, {"DE1", ""}, {"", "P2"}, {"DE9", "P1"}};
    for (const auto& [de, proj] : misses) {
        EXPECT_EQ(raised([&] { model.addADOConnection("cs", "Con", de, proj); }).substr(0, 3), "91|") << de << proj;
        EXPECT_EQ(raised([&] { model.AddADOCommand(1, "t", "Cmd", "Con", de, proj); }).substr(0, 3), "91|");
    }
    EXPECT_TRUE(ide->journal().callsTo("DEConnections.Add").empty());
    EXPECT_TRUE(ide->journal().callsTo("DECommands.Add").empty());
}

TEST_F(ModelUtilVBTest, TheEngineProjectFileNameIsWrittenToTheActiveProjectOnly) {
    auto p2 = ide->addProject("P2");
    ide->setActiveProject(p2);
    model.saveWKFileName("");
    EXPECT_TRUE(ide->journal().callsTo("VBProject.WriteProperty").empty());
    model.saveWKFileName("C:\\w\\P2.wkv");
    EXPECT_EQ(p2->property("KALNIMB_WK", "KALNIMB_WKFILENAME"), "C:\\w\\P2.wkv");
    EXPECT_FALSE(p1->property("KALNIMB_WK", "KALNIMB_WKFILENAME"));
    ide->removeProject(p2);
    ide->removeProject(p1);
    model.saveWKFileName("C:\\w\\x.wkv");
    EXPECT_EQ(ide->journal().callsTo("VBProject.WriteProperty").size(), 1u);
}

} // namespace
