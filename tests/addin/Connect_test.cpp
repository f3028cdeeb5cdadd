// Connect: what loading the add-in does (and does not do), the Add-Ins entry, the start it
// triggers, the error texts of connection and start, and disconnection leaving nothing behind.
#include "AddinFixture.h"

#include "platform/sim/Journal.h"
#include "platform/ui/Picture.h"

namespace {

using namespace addintest;
const std::vector<std::string> threeTexts = {"WKGetString(100, 1024)", "WKGetString(101, 1024)",
                                              "WKGetString(200, 1024)"};

TEST_F(AddinTest, ConnectionOnlyReadsThreeTextsAndAddsOneEnabledEntry) {
    ide->addProject("Project1", "C:\\Work\\Project1.vbp");
    connect();
    EXPECT_EQ(engine.journal(), threeTexts);
    auto entry = control("addInMenuItem");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->path(), "Menu Bar/Add-Ins/t200");
    EXPECT_TRUE(entry->enabled());
    EXPECT_FALSE(entry->temporary());
    ASSERT_TRUE(entry->face());
    EXPECT_EQ(entry->face()->name(), "bitmap 100");
    EXPECT_TRUE(ui::Forms::loaded().empty());
    EXPECT_TRUE(ide->toolWindows().empty());
    EXPECT_EQ(foreignControls(*ide).size(), 1u);
}

TEST_F(AddinTest, UserInterfaceFontComesFromTexts100And101) {
    struct Case {
        std::string name, size;
        int32_t expectedSize, expectedCharset;
    } cases[] = {{"Arial", "10pt", 10, 1}, {"Arial", "8.5", 8, 1}, {"Arial", "", 9, 1}, {"Arial", "9.5", 10, 1},
                 {"宋体", "9", 9, 134}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        engine.setString(100, c.name);
        engine.setString(101, c.size);
        auto connection = std::make_shared<nimb::Connect>();
        std::vector<vb::Variant> custom;
        connection->OnConnection(ide, 0, nullptr, custom);
        EXPECT_EQ(nimb::wkutil::uiFontName(), c.name);
        EXPECT_EQ(nimb::wkutil::uiFontSize(), c.expectedSize);
        EXPECT_EQ(nimb::wkutil::uiFontCharset(), c.expectedCharset);
        connection->OnDisconnection(0, custom);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(AddinTest, ConnectionErrorsShowNumberColonDescriptionAndStopThere) {
    std::vector<vb::Variant> custom;
    auto picture = std::make_shared<ui::Picture>(ui::PictureKind::Bitmap, 1, 1, "not an IDE");
    for (auto [application, text] : {std::pair<std::shared_ptr<vb::Object>, std::string>{
                                         nullptr, "91:Object variable or With block variable not set"},
                                     {picture, "13:Type mismatch"}}) {
        user->answerMsgBox(ui::mb::OK);
        std::make_shared<nimb::Connect>()->OnConnection(application, 0, nullptr, custom);
        EXPECT_EQ(messages().back(), text);
    }
    // A failure while the entry is being made is shown by the ide_failures scenario.
}

TEST_F(AddinTest, DisconnectionLeavesNoControlWindowOrManagerBehind) {
    for (bool started : {false, true}) {
        SCOPED_TRACE(started ? "started" : "never started");
        ide = sim::SimVBE::create();
        engine.clearJournal();
        std::weak_ptr<nimb::IntegrationMgr> mgr;
        if (started) {
            start();
            mgr = manager();
            ASSERT_FALSE(mgr.expired());
        } else {
            connect();
        }
        ide->disconnectAddIn(addIn);
        EXPECT_TRUE(foreignControls(*ide).empty());
        EXPECT_TRUE(ide->toolWindows().empty());
        EXPECT_TRUE(mgr.expired());
        EXPECT_TRUE(ui::Forms::find("notificationThreadFrm") == nullptr);
        EXPECT_EQ(engine.journal().back(), "WKTerminate()");
        EXPECT_EQ(engine.callsTo("WKInitialize").size(), started ? 1u : 0u);
        ui::Forms::unloadAll();
    }
    EXPECT_TRUE(messages().empty());
}

} // namespace
