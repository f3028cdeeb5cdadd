// Connect where no transcript shows it: the interface font read from the engine's texts, a
// connection by something that is not the IDE, and disconnection leaving no manager or poller
// behind. What loading adds and reads, and the errors of connection and start, are shown by the
// start_and_view and ide_failures scenarios.
#include "AddinFixture.h"

#include "platform/ui/Picture.h"

namespace {

using namespace addintest;

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
