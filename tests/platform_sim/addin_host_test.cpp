// Classes by ProgID, add-in connection and tool windows: how the simulated IDE loads an add-in
// and hosts its documents.
#include "platform/sim/SimAddIn.h"
#include "platform/sim/SimVBE.h"
#include "platform/sim/SimWindow.h"
#include "platform/vbide/AddIn.h"
#include "platform/vbide/AddinInstance.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vbide/Constants.h"
#include "platform/vbide/VBE.h"
#include "platform/vbide/Window.h"
#include "platform/vbide/Windows.h"

#include "sim_errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using vbide::ClassRegistry;

struct Document : vb::Object {
    static inline int alive = 0;
    Document() { ++alive; }
    ~Document() override { --alive; }
};

// An add-in that makes a tool window when connected and tells what the IDE called.
struct TestAddIn : vbide::AddinInstance {
    static inline std::vector<std::string> heard;
    static inline bool failConnection = false;
    std::shared_ptr<vbide::Window> window;

    void OnConnection(std::shared_ptr<vb::Object> application, int32_t mode, std::shared_ptr<vb::Object> addInInst,
                      std::vector<vb::Variant>&) override {
        auto vbe = std::dynamic_pointer_cast<vbide::VBE>(application);
        auto addIn = std::dynamic_pointer_cast<vbide::AddIn>(addInInst);
        heard.push_back("connect " + std::to_string(mode) + " " + addIn->ProgId() + (addIn->Connect() ? " on" : ""));
        std::shared_ptr<vb::Object> doc;
        window = vbe->Windows()->CreateToolWindow(addIn, "test.Document", "Server View", "{GUID-1}", doc);
        if (failConnection) {
            throw vb::VBError(91, "Object variable not set");
        }
    }
    void OnDisconnection(int32_t mode, std::vector<vb::Variant>&) override {
        heard.push_back("disconnect " + std::to_string(mode));
    }
};

class AddInHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestAddIn::heard.clear();
        TestAddIn::failConnection = false;
        classes.registerClass("test.Connect", "{C0}", [] { return std::make_shared<TestAddIn>(); });
        classes.registerClass("test.Document", "", [] { return std::make_shared<Document>(); });
    }
    void TearDown() override {
        classes.unregisterClass("test.Connect");
        classes.unregisterClass("test.Document");
    }

    ClassRegistry& classes = ClassRegistry::instance();
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
};

TEST_F(AddInHostTest, ClassesAreCreatedByProgIdOrClsidInAnyCase) {
    for (const std::string name : {"test.Connect", "TEST.CONNECT", "{C0}", "{c0}"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(std::dynamic_pointer_cast<TestAddIn>(classes.create(name)), nullptr);
    }
    for (const std::string name : {"test.Unknown", "", "test"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorOf([&] { classes.create(name); }), vbide::errCantCreateObject);
    }
    classes.registerClass("test.Nothing", "", [] { return std::shared_ptr<vb::Object>(); });
    EXPECT_EQ(errorOf([&] { vbide::CreateObject("test.Nothing"); }), vbide::errCantCreateObject);
    classes.unregisterClass("TEST.NOTHING");
    EXPECT_FALSE(classes.isRegistered("test.Nothing"));
}

TEST_F(AddInHostTest, ConnectingCreatesTheAddInAndItsToolWindowHidden) {
    auto addIn = ide->connectAddIn("test.Connect", "Test add-in");
    EXPECT_EQ(TestAddIn::heard, (std::vector<std::string>{"connect 0 test.Connect on"}));
    EXPECT_TRUE(addIn->connected());

    ASSERT_EQ(ide->toolWindows().size(), 1u);
    auto window = ide->toolWindows()[0];
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(window->caption(), "Server View");
    EXPECT_EQ(window->guidPosition(), "{GUID-1}");
    EXPECT_NE(std::dynamic_pointer_cast<Document>(window->document()), nullptr);
    EXPECT_EQ(ide->Windows()->Count(), 2);
    EXPECT_EQ(ide->Windows()->Item(2), window);

    // Connecting again keeps the one connection.
    EXPECT_EQ(ide->connectAddIn("test.Connect", "Test add-in"), addIn);
    EXPECT_EQ(TestAddIn::heard.size(), 1u);
}

TEST_F(AddInHostTest, DisconnectingOrEndingTheSessionClosesTheToolWindowsAndReleasesTheDocument) {
    for (bool shutdown : {false, true}) {
        ide = sim::SimVBE::create();
        auto addIn = ide->connectAddIn("test.Connect", "Test add-in");
        ASSERT_EQ(Document::alive, 1);
        if (shutdown)
            ide->endSession();
        else
            ide->disconnectAddIn(addIn);
        EXPECT_EQ(TestAddIn::heard.back(), shutdown ? "disconnect 0" : "disconnect 1");
        EXPECT_FALSE(addIn->Connect());
        EXPECT_TRUE(ide->toolWindows().empty());
        EXPECT_EQ(Document::alive, 0);
    }
}

TEST_F(AddInHostTest, AFailedConnectionLeavesNothingConnected) {
    TestAddIn::failConnection = true;
    EXPECT_EQ(errorOf([&] { ide->connectAddIn("test.Connect", "Test add-in"); }), 91);
    ASSERT_EQ(ide->addIns().size(), 1u);
    EXPECT_FALSE(ide->addIns()[0]->connected());
    EXPECT_TRUE(ide->toolWindows().empty());
    EXPECT_EQ(errorOf([&] { ide->connectAddIn("test.Unknown", "x"); }), vbide::errCantCreateObject);
    EXPECT_EQ(errorOf([&] { ide->connectAddIn("test.Document", "x"); }), vb::err::TypeMismatch);
}

TEST_F(AddInHostTest, ToolWindowsNeedAKnownDocumentClassAndAnAddIn) {
    auto addIn = std::make_shared<sim::SimAddIn>(ide->sharedJournal(), "x", "x");
    std::shared_ptr<vb::Object> doc;
    EXPECT_EQ(errorOf([&] { ide->Windows()->CreateToolWindow(addIn, "test.Unknown", "c", "{G}", doc); }),
              vbide::errCantCreateObject);
    EXPECT_EQ(errorOf([&] { ide->Windows()->CreateToolWindow(nullptr, "test.Document", "c", "{G}", doc); }),
              vb::err::InvalidProcedureCall);
    EXPECT_EQ(doc, nullptr);
    EXPECT_TRUE(ide->toolWindows().empty());
}

TEST_F(AddInHostTest, WindowStateSizeAndFocus) {
    auto main = ide->MainWindow();
    EXPECT_EQ(main->WindowState(), vbide::vbext_ws_Normal);
    main->setWindowState(vbide::vbext_ws_Minimize);
    EXPECT_EQ(ide->mainWindow()->windowState(), vbide::vbext_ws_Minimize);
    for (int32_t bad : {-1, 3}) {
        EXPECT_EQ(errorOf([&] { main->setWindowState(bad); }), vb::err::InvalidPropertyValue);
    }
    EXPECT_EQ(main->WindowState(), vbide::vbext_ws_Minimize);

    ide->connectAddIn("test.Connect", "Test add-in");
    auto tool = ide->toolWindows()[0];
    std::vector<std::pair<int32_t, int32_t>> sizes;
    tool->onResize([&](int32_t w, int32_t h) { sizes.emplace_back(w, h); });
    tool->setWidth(3000);
    tool->setHeight(5000);
    EXPECT_EQ(sizes, (std::vector<std::pair<int32_t, int32_t>>{{3000, 6000}, {3000, 5000}}));
    EXPECT_EQ(errorOf([&] { tool->setWidth(-5); }), vb::err::InvalidPropertyValue);

    tool->setVisible(true);
    tool->SetFocus();
    EXPECT_TRUE(tool->hasFocus());
    main->SetFocus();
    EXPECT_FALSE(tool->hasFocus());
}

} // namespace
