// Office command bars as the simulated IDE has them: the menu bar and its menus, FindControl,
// adding and deleting controls and toolbars, temporary controls and the IDE's session, Click
// subscriptions, faces.
#include "platform/sim/SimCommandBar.h"
#include "platform/sim/SimCommandBarControl.h"
#include "platform/sim/SimCommandBarControls.h"
#include "platform/sim/SimCommandBars.h"
#include "platform/sim/SimVBE.h"
#include "platform/ui/Clipboard.h"
#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBarEvents.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/Events.h"

#include "sim_errors.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace vbide;

constexpr int32_t methodFailed = -2147467259;

class CommandBarsTest : public ::testing::Test {
protected:
    std::shared_ptr<sim::SimVBE> ide = sim::SimVBE::create();
    std::shared_ptr<CommandBar> menuBar = ide->CommandBars()->Item(1);

    std::shared_ptr<CommandBarControl> menu(int32_t id) { return menuBar->FindControl({.Id = id}); }
    // A click subscription that counts what it hears.
    std::shared_ptr<CommandBarEvents> counting(const std::shared_ptr<CommandBarControl>& control, int& clicks) {
        auto events = ide->Events()->CommandBarEvents(control);
        events->onClick([&clicks](vb::Object&, bool&, bool&) { ++clicks; });
        return events;
    }
};

TEST_F(CommandBarsTest, MenuBarIsItemOneAndFoundByNameInAnyCase) {
    for (const char* name : {"Menu bar", "MENU BAR"})
        EXPECT_EQ(ide->CommandBars()->Item(name), menuBar) << name;
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Item("No such bar"); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Item(0); }), vb::err::InvalidProcedureCall);

    std::vector<std::string> captions;
    for (const auto& c : menuBar->Controls()->items()) captions.push_back(c->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"&File", "&Edit", "&View", "&Project", "F&ormat", "&Debug", "&Run",
                                                  "&Tools", "&Add-Ins", "&Window", "&Help"}));
}

TEST_F(CommandBarsTest, FindControlByIdSearchesTheTopLevelUnlessRecursive) {
    struct Case {
        int32_t id;
        std::string caption;
    };
    for (const auto& c : std::vector<Case>{{idViewMenu, "&View"}, {idToolsMenu, "&Tools"},
                                           {idHelpMenu, "&Help"}, {idAddInsMenu, "&Add-Ins"}}) {
        auto found = menu(c.id);
        ASSERT_NE(found, nullptr) << c.id;
        EXPECT_EQ(found->Caption(), c.caption);
        EXPECT_EQ(found->Type(), msoControlPopup);
    }
    // The Add-In Manager item sits inside the Add-Ins menu.
    const int32_t managerId = menu(idAddInsMenu)->Controls()->Item(1)->Id();
    EXPECT_EQ(menuBar->FindControl({.Id = managerId}), nullptr);
    auto nested = menuBar->FindControl({.Id = managerId, .Recursive = true});
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->Caption(), "&Add-In Manager...");
    EXPECT_EQ(menuBar->FindControl({.Id = 4242}), nullptr);
}

TEST_F(CommandBarsTest, FindControlComparesEveryGivenCriterion) {
    auto tools = menu(idToolsMenu)->Controls();
    auto tagged = tools->Add({.Temporary = true});
    tagged->setTag("mine");
    auto hidden = tools->Add({.Temporary = true});
    hidden->setTag("hidden");
    hidden->setVisible(false);

    EXPECT_EQ(menuBar->FindControl({.Tag = "mine", .Recursive = true}), tagged);
    EXPECT_EQ(menuBar->FindControl({.Tag = "mine"}), nullptr);
    EXPECT_EQ(menuBar->FindControl({.Type = msoControlPopup, .Tag = "mine", .Recursive = true}), nullptr);
    EXPECT_EQ(menuBar->FindControl({.Tag = "hidden", .Recursive = true}), hidden);
    EXPECT_EQ(menuBar->FindControl({.Tag = "hidden", .Visible = true, .Recursive = true}), nullptr);
}

TEST_F(CommandBarsTest, AddPlacesControlsAndRejectsBadArguments) {
    auto addIns = menu(idAddInsMenu)->Controls();
    auto last = addIns->Add();
    last->setCaption("Last");
    auto first = addIns->Add({.Before = 1});
    first->setCaption("First");
    auto popup = addIns->Add({.Type = msoControlPopup, .Before = 2});

    EXPECT_EQ(addIns->Count(), 4);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(popup->Index(), 2);
    EXPECT_EQ(addIns->Item(3)->Caption(), "&Add-In Manager...");
    EXPECT_EQ(last->Index(), 4);
    EXPECT_EQ(last->Id(), 1);  // a custom control

    EXPECT_EQ(errorOf([&] { addIns->Add({.Type = 3}); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { addIns->Add({.Before = 0}); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { addIns->Add({.Before = 6}); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { addIns->Item(5); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(addIns->Count(), 4);
}

TEST_F(CommandBarsTest, OnlyPopupsHaveControlsAndOnlyButtonsHaveFaces) {
    auto view = menu(idViewMenu);
    auto button = view->Controls()->Add({.Temporary = true});
    auto popup = view->Controls()->Add({.Type = msoControlPopup, .Temporary = true});
    EXPECT_EQ(errorOf([&] { button->Controls(); }), vb::err::ObjectDoesNotSupport);
    EXPECT_EQ(errorOf([&] { popup->PasteFace(); }), vb::err::ObjectDoesNotSupport);
    EXPECT_EQ(popup->Controls()->Count(), 0);
}

TEST_F(CommandBarsTest, PasteFaceTakesTheClipboardPictureAndFailsWithoutOne) {
    auto button = menu(idToolsMenu)->Controls()->Add({.Temporary = true});
    ui::Clipboard::Clear();
    EXPECT_EQ(errorOf([&] { button->PasteFace(); }), methodFailed);
    EXPECT_EQ(button->Face(), nullptr);

    auto picture = std::make_shared<ui::Picture>(ui::PictureKind::Bitmap, 16, 16, "bitmap 103");
    ui::Clipboard::SetData(picture);
    button->PasteFace();
    EXPECT_EQ(button->Face(), picture);
    EXPECT_EQ(ui::Clipboard::GetData(), picture);  // the clipboard keeps it
    ui::Clipboard::Clear();
}

TEST_F(CommandBarsTest, TemporaryControlsAndBarsVanishAtTheEndOfTheSession) {
    auto addIns = menu(idAddInsMenu)->Controls();
    auto kept = addIns->Add();
    kept->setCaption("Kept");
    auto temporary = addIns->Add({.Temporary = true});
    auto popup = menu(idToolsMenu)->Controls()->Add({.Type = msoControlPopup});
    auto temporaryInKept = popup->Controls()->Add({.Temporary = true});
    auto toolbar = ide->CommandBars()->Add("Mine", msoBarTop, false, true);
    const int32_t bars = ide->CommandBars()->Count();

    ide->endSession();

    EXPECT_EQ(addIns->Count(), 2);
    EXPECT_EQ(kept->Caption(), "Kept");
    EXPECT_EQ(errorOf([&] { temporary->Caption(); }), methodFailed);
    EXPECT_EQ(popup->Controls()->Count(), 0);
    EXPECT_EQ(errorOf([&] { temporaryInKept->Caption(); }), methodFailed);
    EXPECT_EQ(ide->CommandBars()->Count(), bars - 1);
    EXPECT_EQ(errorOf([&] { toolbar->Name(); }), methodFailed);
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Item("Mine"); }), vb::err::InvalidProcedureCall);
}

TEST_F(CommandBarsTest, DeleteForTheSessionBringsAKeptControlBackNextSession) {
    auto addIns = menu(idAddInsMenu)->Controls();
    auto kept = addIns->Add();
    kept->setCaption("Kept");
    auto gone = addIns->Add();

    kept->Delete(true);
    gone->Delete();
    EXPECT_EQ(addIns->Count(), 1);
    EXPECT_EQ(errorOf([&] { kept->Caption(); }), methodFailed);
    EXPECT_EQ(errorOf([&] { gone->Delete(); }), methodFailed);

    ide->endSession();
    ASSERT_EQ(addIns->Count(), 2);
    EXPECT_EQ(addIns->Item(2), kept);
    EXPECT_EQ(kept->Caption(), "Kept");
}

TEST_F(CommandBarsTest, DeletingAPopupOrToolbarDeletesWhatIsOnIt) {
    auto popup = menu(idHelpMenu)->Controls()->Add({.Type = msoControlPopup, .Temporary = true});
    auto item = popup->Controls()->Add({.Temporary = true});
    popup->Delete(true);
    EXPECT_EQ(errorOf([&] { item->Caption(); }), methodFailed);

    auto toolbar = ide->CommandBars()->Add("Tools of mine", msoBarTop, false, true);
    auto button = toolbar->Controls()->Add({.Temporary = true});
    EXPECT_FALSE(toolbar->Visible());
    toolbar->Delete();
    EXPECT_EQ(errorOf([&] { button->Enabled(); }), methodFailed);
    EXPECT_EQ(errorOf([&] { toolbar->Controls(); }), methodFailed);
    EXPECT_EQ(errorOf([&] { menuBar->Delete(); }), vb::err::InvalidProcedureCall);
}

TEST_F(CommandBarsTest, ToolbarNamesAreUniqueAndPositionsChecked) {
    ide->CommandBars()->Add("Mine", msoBarTop, false, true);
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Add("MINE", msoBarTop, false, true); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Add("", msoBarTop, false, true); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([&] { ide->CommandBars()->Add("Other", 9, false, true); }), vb::err::InvalidProcedureCall);
}

TEST_F(CommandBarsTest, ClicksReachEverySubscriberUntilReleased) {
    auto button = menu(idToolsMenu)->Controls()->Add({.Temporary = true});
    int first = 0, second = 0;
    auto sink1 = counting(button, first);
    auto sink2 = counting(button, second);

    EXPECT_TRUE(ide->click(button));
    button->Execute();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);

    sink1.reset();
    EXPECT_TRUE(ide->click(button));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 3);
    auto tools = ide->findByPath("Menu Bar/Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->controls()->controls().back()->subscriberCount(), 1);

    // The handler hears which control was clicked, with both flags False.
    button->setOnAction("8");
    std::string action;
    auto events = ide->Events()->CommandBarEvents(button);
    events->onClick([&](vb::Object& control, bool& handled, bool& cancelDefault) {
        action = dynamic_cast<CommandBarControl&>(control).OnAction();
        EXPECT_FALSE(handled);
        EXPECT_FALSE(cancelDefault);
    });
    ide->click(button);
    EXPECT_EQ(action, "8");
    EXPECT_EQ(errorOf([&] { ide->Events()->CommandBarEvents(nullptr); }), vb::err::InvalidProcedureCall);
}

TEST_F(CommandBarsTest, APersonCannotClickWhatIsHiddenOrDisabled) {
    auto tools = menu(idToolsMenu);
    auto popup = tools->Controls()->Add({.Type = msoControlPopup, .Temporary = true});
    auto item = popup->Controls()->Add({.Temporary = true});
    auto toolbar = ide->CommandBars()->Add("Bar", msoBarTop, false, true);
    auto button = toolbar->Controls()->Add({.Temporary = true});
    int clicks = 0;
    auto itemSink = counting(item, clicks);
    auto buttonSink = counting(button, clicks);

    struct Case {
        const char* what;
        std::function<void()> change;
        std::shared_ptr<CommandBarControl> target;
        bool reachable;
    };
    const std::vector<Case> cases{
        {"item on enabled popup", [] {}, item, true},
        {"popup disabled", [&] { popup->setEnabled(false); }, item, false},
        {"popup enabled again", [&] { popup->setEnabled(true); }, item, true},
        {"item hidden", [&] { item->setVisible(false); }, item, false},
        {"item shown", [&] { item->setVisible(true); }, item, true},
        {"button on hidden toolbar", [] {}, button, false},
        {"toolbar shown", [&] { toolbar->setVisible(true); }, button, true},
        {"button disabled", [&] { button->setEnabled(false); }, button, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        const int before = clicks;
        EXPECT_EQ(ide->click(c.target), c.reachable);
        EXPECT_EQ(clicks - before, c.reachable ? 1 : 0);
    }
    EXPECT_EQ(errorOf([&] { button->Execute(); }), methodFailed);
}

} // namespace
