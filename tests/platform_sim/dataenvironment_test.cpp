// The Data Environment designer: connections and commands added by name, duplicates refused.
#include "platform/sim/SimDECommand.h"
#include "platform/sim/SimDEConnection.h"
#include "platform/sim/SimDataEnvironment.h"
#include "platform/sim/SimProject.h"
#include "platform/sim/SimVBE.h"
#include "platform/vbide/DECommand.h"
#include "platform/vbide/DECommands.h"
#include "platform/vbide/DEConnection.h"
#include "platform/vbide/DEConnections.h"
#include "platform/vbide/DataEnvironment.h"
#include "platform/vbide/VBComponent.h"
#include "platform/vbide/VBComponents.h"
#include "platform/vbide/VBProject.h"
#include "platform/vbide/VBProjects.h"

#include "sim_errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class DataEnvironmentTest : public ::testing::Test {
protected:
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
    std::shared_ptr<sim::SimDataEnvironment> built = ide->addProject("Project1")->addDataEnvironment("DE1");
    // The designer as the add-in reaches it: through the component's Designer.
    std::shared_ptr<vbide::DataEnvironment> designer = std::dynamic_pointer_cast<vbide::DataEnvironment>(
        ide->VBProjects()->Item("Project1")->VBComponents()->Item("DE1")->Designer());
};

TEST_F(DataEnvironmentTest, AddedConnectionsAndCommandsKeepTheirOrderAndSettings) {
    auto connection = designer->Connections()->Add("Conn1", false);
    connection->setConnectionSource("Provider=X;Data Source=db");
    designer->Connections()->Add("Conn2", false);
    auto command = designer->Commands()->Add("Cmd1", false);
    command->setCommandType(4);
    command->setCommandText("dbo.proc1");
    command->setConnectionName("NoSuchConnection");

    auto connections = designer->Connections();
    ASSERT_EQ(connections->Count(), 2);
    EXPECT_EQ(connections->Item(1)->Name(), "Conn1");
    EXPECT_EQ(connections->items()[1]->Name(), "Conn2");
    EXPECT_EQ(connections->Item("Conn1")->ConnectionSource(), "Provider=X;Data Source=db");

    ASSERT_EQ(built->commands().size(), 1u);
    EXPECT_EQ(built->commands()[0]->commandType(), 4);
    EXPECT_EQ(built->commands()[0]->commandText(), "dbo.proc1");
    EXPECT_EQ(built->commands()[0]->connectionName(), "NoSuchConnection");

    auto adds = ide->journal().callsTo("DEConnections.Add[DE1]");
    ASSERT_EQ(adds.size(), 2u);
    EXPECT_EQ(adds[0].args, (std::vector<std::string>{"Conn1", "False"}));
}

TEST_F(DataEnvironmentTest, AddRefusesEmptyAndDuplicateNamesAndKeepsTheFirst) {
    built->addConnection("Conn1", "first");
    built->addCommand("Cmd1");
    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t error;
    };
    const std::vector<Case> cases{
        {"same connection name", [&] { designer->Connections()->Add("Conn1", false); },
         vbide::de::errObjectInCollection},
        {"connection name in another case", [&] { designer->Connections()->Add("CONN1", false); },
         vbide::de::errObjectInCollection},
        {"same command name", [&] { designer->Commands()->Add("cmd1", false); }, vbide::de::errObjectInCollection},
        {"empty connection name", [&] { designer->Connections()->Add("", false); }, vb::err::InvalidProcedureCall},
        {"empty command name", [&] { designer->Commands()->Add("", false); }, vb::err::InvalidProcedureCall},
        {"unknown item", [&] { designer->Connections()->Item("Conn9"); }, vb::err::SubscriptOutOfRange},
        {"index past the end", [&] { designer->Commands()->Item(2); }, vb::err::SubscriptOutOfRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf(c.call), c.error);
    }
    EXPECT_EQ(designer->Connections()->Count(), 1);
    EXPECT_EQ(designer->Commands()->Count(), 1);
    EXPECT_EQ(built->connections()[0]->source(), "first");
    // A connection and a command may share a name: they live in different collections.
    EXPECT_EQ(errorOf([&] { designer->Commands()->Add("Conn1", false); }), 0);
}

TEST_F(DataEnvironmentTest, OnlyDataEnvironmentComponentsHaveThisDesigner) {
    ASSERT_NE(designer, nullptr);
    EXPECT_EQ(designer, built);
    auto project = ide->project("Project1");
    project->addDesigner("Report1", "MSDataReportLib.DataReport", std::make_shared<vb::Object>());
    project->addModule("Module1");
    auto components = ide->VBProjects()->Item("Project1")->VBComponents();
    EXPECT_EQ(std::dynamic_pointer_cast<vbide::DataEnvironment>(components->Item("Report1")->Designer()), nullptr);
    EXPECT_EQ(components->Item("Module1")->Designer(), nullptr);
}

} // namespace
