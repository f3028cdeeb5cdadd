// serverViewDoc: forwarding to whatever server view control is installed, the load-time font rule,
// keeping the control filling the window, and what its end releases.
#include "AddinFixture.h"

#include "notify/viewAPIs.h"
#include "platform/ui/ListView.h"
#include "platform/ui/TreeView.h"

namespace {

using namespace addintest;

TEST_F(AddinTest, WithoutAServerViewTheStartFailsVisibly) {
    nimb::setServerViewControlFactory(nullptr);
    EXPECT_THROW(ui::New<nimb::serverViewDoc>()->setupGUI(), vb::VBError);
    user->answerMsgBox(ui::mb::OK);
    start();
    EXPECT_EQ(messages(), std::vector<std::string>{"91Object variable or With block variable not set"});
    EXPECT_TRUE(control("addInMenuItem")->enabled());
}

TEST_F(AddinTest, DocumentTakesTheInterfaceFontOnlyWhenItsOwnDiffers) {
    struct Case {
        std::string uiName;
        int32_t uiSize;
    } cases[] = {{"Arial", 9}, {"Arial", 10}, {"Tahoma", 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uiName + " " + std::to_string(c.uiSize));
        nimb::wkutil::moduleState().uiFontName = c.uiName;
        nimb::wkutil::moduleState().uiFontSize = c.uiSize;
        nimb::wkutil::moduleState().uiFontCharset = 134;
        auto doc = ui::New<nimb::serverViewDoc>();
        EXPECT_EQ(doc->Font(), (ui::Font{.Name = c.uiName, .Size = static_cast<float>(c.uiSize), .Charset = 0}));
    }
}

TEST_F(AddinTest, ControlFillsTheDocumentHeightFirst) {
    auto doc = ui::New<nimb::serverViewDoc>();
    doc->Move(0, 0, 5000, 3000);
    EXPECT_EQ(views[0]->sizes, (std::vector<std::pair<int32_t, int32_t>>{{0, 3000}, {5000, 3000}}));
    for (auto [w, h] : {std::pair{1, 1}, std::pair{12000, 200}, std::pair{0, 0}}) {
        doc->Move(0, 0, w, h);
        EXPECT_EQ(views[0]->Width(), w);
        EXPECT_EQ(views[0]->Height(), h);
    }
}

TEST_F(AddinTest, DocumentEndReleasesTreeListAndManagerButNotTheModuleManager) {
    auto mgr = std::make_shared<nimb::IntegrationMgr>();
    nimb::viewAPIs::setServerTreeView(std::make_shared<ui::TreeView>());
    nimb::viewAPIs::setServerDetailsView(std::make_shared<ui::ListView>());
    nimb::viewAPIs::setIMgr(mgr);
    auto doc = ui::New<nimb::serverViewDoc>();
    doc->setIMgr(mgr);
    doc.reset();
    EXPECT_FALSE(nimb::viewAPIs::moduleState().serverTreeView);
    EXPECT_FALSE(nimb::viewAPIs::moduleState().serverDetailsView);
    EXPECT_EQ(mgr.use_count(), 2);  // the test and the module
    nimb::viewAPIs::resetModuleState();
}

} // namespace
