// The simulated IDE object model: projects and components as the add-in finds them, add-in
// properties, the active project, events and their subscriptions, failure injection.
#include "platform/sim/SimComponent.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/vbide/CodeModule.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/Events.h"
#include "platform/vbide/FileControlEvents.h"
#include "platform/vbide/VBComponent.h"
#include "platform/vbide/VBComponents.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/VBProjects.h"
#include "platform/vbide/VBProjectsEvents.h"

#include "sim_errors.h"

#include <gtest/gtest.h>

namespace {

using vbide::vbext_ct_ActiveXDesigner;

std::vector<std::string> projectNames(vbide::VBProjects& projects) {
    std::vector<std::string> names;
    for (const auto& p : projects.items()) {
        names.push_back(p->Name());
    }
    return names;
}

class VBIdeModel : public ::testing::Test {
protected:
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
};

TEST_F(VBIdeModel, ProjectsAreListedInOrderAndFoundByExactName) {
    ide->addProject("Alpha");
    ide->addProject("beta");
    ide->addProject("Gamma");
    auto projects = ide->VBProjects();

    EXPECT_EQ(projects->Count(), 3);
    EXPECT_EQ(projectNames(*projects), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(projects->Item(2)->Name(), "beta");
    EXPECT_EQ(projects->Item("Gamma")->Name(), "Gamma");

    for (const char* name : {"alpha", "BETA", ""})
        EXPECT_EQ(errorOf([&] { projects->Item(name); }), vb::err::SubscriptOutOfRange) << name;
    for (int32_t index : {0, 4})
        EXPECT_EQ(errorOf([&] { projects->Item(index); }), vb::err::SubscriptOutOfRange) << index;
}

TEST_F(VBIdeModel, ComponentsKeepTheirKindDesignerAndOrder) {
    auto project = ide->addProject("Project1");
    project->addModule("Module1", {"Option Explicit"});
    project->addDataEnvironment("DataEnvironment1");
    project->addDesigner("Report1", "MSDataReportLib.DataReport");
    project->addComponent("Res", vbide::vbext_ct_ResFile);
    auto components = ide->VBProjects()->Item("Project1")->VBComponents();

    struct Expected {
        std::string name;
        int32_t type;
        std::string designerId;
        bool hasDesigner;
        bool hasCode;
    };
    const std::vector<Expected> expected{
        {"Module1", vbide::vbext_ct_StdModule, "", false, true},
        {"DataEnvironment1", vbext_ct_ActiveXDesigner, "DEDesigner.DataEnvironment", true, true},
        {"Report1", vbext_ct_ActiveXDesigner, "MSDataReportLib.DataReport", false, true},
        {"Res", vbide::vbext_ct_ResFile, "", false, false},
    };
    ASSERT_EQ(components->Count(), static_cast<int32_t>(expected.size()));
    auto all = components->items();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(all[i]->Name(), expected[i].name);
        EXPECT_EQ(all[i]->Type(), expected[i].type);
        EXPECT_EQ(all[i]->DesignerID(), expected[i].designerId);
        EXPECT_EQ(all[i]->Designer() != nullptr, expected[i].hasDesigner);
        EXPECT_EQ(all[i]->CodeModule() != nullptr, expected[i].hasCode);
    }
    EXPECT_EQ(errorOf([&] { components->Item("module1"); }), vb::err::SubscriptOutOfRange);
}

TEST_F(VBIdeModel, ReadPropertyRaisesUntilWrittenThenReadsItBack) {
    auto project = ide->addProject("Project1");
    vbide::VBProject& p = *project;

    EXPECT_EQ(errorOf([&] { p.ReadProperty("KALNIMB_WK", "KALNIMB_WKFILENAME"); }), vb::err::InvalidProcedureCall);
    p.WriteProperty("KALNIMB_WK", "KALNIMB_WKFILENAME", "C:\\Work\\wk\\Project1.wkv");
    EXPECT_EQ(p.ReadProperty("KALNIMB_WK", "KALNIMB_WKFILENAME"), "C:\\Work\\wk\\Project1.wkv");
    p.WriteProperty("KALNIMB_WK", "KALNIMB_WKFILENAME", "D:\\x\\p.wkv");
    EXPECT_EQ(project->property("KALNIMB_WK", "KALNIMB_WKFILENAME"), "D:\\x\\p.wkv");
    // Another section or key is another property.
    EXPECT_EQ(errorOf([&] { p.ReadProperty("OTHER", "KALNIMB_WKFILENAME"); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { p.ReadProperty("KALNIMB_WK", "OTHER"); }), vb::err::InvalidProcedureCall);
}

TEST_F(VBIdeModel, ActiveProjectFollowsAddRemoveAndActivation) {
    EXPECT_EQ(ide->ActiveVBProject(), nullptr);
    auto first = ide->addProject("First");
    auto second = ide->addProject("Second", "C:\\Work\\Second.vbp");
    EXPECT_EQ(ide->ActiveVBProject(), first);
    EXPECT_EQ(second->FileName(), "C:\\Work\\Second.vbp");

    auto module = second->addModule("Module1");
    ide->setActiveProject(second);
    ide->setSelectedComponent(module);
    EXPECT_EQ(ide->ActiveVBProject()->Name(), "Second");
    EXPECT_EQ(ide->SelectedVBComponent()->Name(), "Module1");

    ide->removeProject(second);
    EXPECT_EQ(ide->ActiveVBProject(), first);
    EXPECT_EQ(ide->SelectedVBComponent(), nullptr);
    ide->removeProject(first);
    EXPECT_EQ(ide->ActiveVBProject(), nullptr);
    EXPECT_EQ(ide->VBProjects()->Count(), 0);
}

TEST_F(VBIdeModel, ProjectEventsReachTheirSinksUntilReleased) {
    std::vector<std::string> heard;
    auto events = ide->Events()->VBProjectsEvents();
    events->onItemAdded([&](auto p) { heard.push_back("added " + p->Name()); });
    events->onItemActivated([&](auto p) { heard.push_back("activated " + p->Name()); });
    events->onItemRemoved([&](auto p) { heard.push_back("removed " + p->Name()); });

    auto project = ide->addProject("P1");
    ide->setActiveProject(project);
    ide->removeProject(project);
    EXPECT_EQ(heard, (std::vector<std::string>{"added P1", "activated P1", "removed P1"}));

    events.reset();
    ide->addProject("P2");
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(VBIdeModel, FileEventsGoToSubscribersOfThatProjectOrOfAll) {
    auto p1 = ide->addProject("P1");
    auto p2 = ide->addProject("P2");
    std::vector<std::string> all;
    std::vector<std::string> onlyP1;
    auto allEvents = ide->Events()->FileControlEvents(nullptr);
    allEvents->onAfterCloseFile([&](auto p, int32_t type, const std::string& file, bool dirty) {
        all.push_back(p->Name() + " close " + std::to_string(type) + " " + file + (dirty ? " dirty" : ""));
    });
    allEvents->onAfterRemoveFile([&](auto p, int32_t, const std::string& file) { all.push_back(p->Name() + " remove " + file); });
    auto p1Events = ide->Events()->FileControlEvents(p1);
    p1Events->onAfterCloseFile([&](auto, int32_t, const std::string& file, bool) { onlyP1.push_back(file); });

    ide->closeFile(p1, 1, "Module1.bas", true);
    ide->closeFile(p2, 0, "Form1.frm", false);
    ide->removeFile(p2, 1, "Module2.bas");
    EXPECT_EQ(all, (std::vector<std::string>{"P1 close 1 Module1.bas dirty", "P2 close 0 Form1.frm", "P2 remove Module2.bas"}));
    EXPECT_EQ(onlyP1, (std::vector<std::string>{"Module1.bas"}));

    allEvents.reset();
    p1Events.reset();
    ide->closeFile(p1, 1, "Module1.bas", false);
    EXPECT_EQ(all.size(), 3u);
    EXPECT_EQ(onlyP1.size(), 1u);
}

TEST_F(VBIdeModel, InjectedFailuresHitTheChosenMemberAndObject) {
    ide->addProject("P1")->addModule("Module1");
    ide->addProject("P2")->addModule("Module1");
    auto& journal = ide->journal();

    journal.failNext("VBProjects.Item", vb::VBError(91, "Object variable not set"));
    EXPECT_EQ(errorOf([&] { ide->VBProjects()->Item("P1"); }), 91);
    EXPECT_EQ(errorOf([&] { ide->VBProjects()->Item("P1"); }), 0);  // only the next call

    journal.failNext("VBComponents.Item[P2]", vb::VBError(5, "x"), 2);
    auto p1 = ide->VBProjects()->Item("P1")->VBComponents();
    auto p2 = ide->VBProjects()->Item("P2")->VBComponents();
    EXPECT_EQ(errorOf([&] { p1->Item("Module1"); }), 0);
    EXPECT_EQ(errorOf([&] { p2->Item("Module1"); }), 5);
    EXPECT_EQ(errorOf([&] { p2->Item("Module1"); }), 5);
    EXPECT_EQ(errorOf([&] { p2->Item("Module1"); }), 0);

    auto code = p1->Item("Module1")->CodeModule();
    journal.failAfter("CodeModule.InsertLines", 2, vb::VBError(7, "Out of memory"));
    EXPECT_EQ(errorOf([&] { code->InsertLines(1, "a"); }), 0);
    EXPECT_EQ(errorOf([&] { code->InsertLines(1, "b"); }), 0);
    EXPECT_EQ(errorOf([&] { code->InsertLines(1, "c"); }), 7);
    EXPECT_EQ(errorOf([&] { code->InsertLines(1, "d"); }), 7);
    journal.clearFailures();
    EXPECT_EQ(errorOf([&] { code->InsertLines(1, "e"); }), 0);
}

} // namespace
