// The Data Environment designer refusing what VB refuses: empty and duplicate names, unknown items.
// What it keeps of connections and commands is shown in the data_environment scenario.
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

} // namespace
