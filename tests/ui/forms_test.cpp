#include "platform/ui/CommandButton.h"
#include "platform/ui/Form.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Label.h"
#include "platform/ui/Menu.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/UserControl.h"
#include "platform/ui/UserDocument.h"
#include "ui_fixture.h"

#include <string>
#include <vector>

using ui::ScriptedUser;

namespace {

std::vector<std::string> journal;

// A dialog as the add-in writes them: controls made in the constructor, hooks overridden.
class frmTest : public ui::Form {
public:
    frmTest() : Form("frmTest") {
        frame = add<ui::Frame>("Frame1");
        nameTxt = frame->add<ui::TextBox>("nameTxt");
        okBtn = add<ui::CommandButton>("okBtn");
        okBtn->setDefault(true);
        okBtn->onClick = [this] {
            decision = true;
            Hide();
        };
        cancelBtn = add<ui::CommandButton>("cancelBtn");
        cancelBtn->setCancel(true);
        cancelBtn->onClick = [this] { Hide(); };
    }
    std::shared_ptr<ui::Frame> frame;
    std::shared_ptr<ui::TextBox> nameTxt;
    std::shared_ptr<ui::CommandButton> okBtn, cancelBtn;
    bool decision = false;
    bool refuseClose = false;

protected:
    void Form_Initialize() override { journal.push_back("initialize"); }
    void Form_Load() override { journal.push_back("load"); }
    void Form_QueryUnload(bool& cancel, int32_t mode) override {
        journal.push_back("queryunload " + std::to_string(mode));
        cancel = refuseClose;
    }
    void Form_Unload(bool&) override { journal.push_back("unload"); }
    void Form_Terminate() override { journal.push_back("terminate"); }
};

struct FormsTest : UiTest {
    void SetUp() override {
        UiTest::SetUp();
        journal.clear();
    }
};

} // namespace

TEST_F(FormsTest, DefaultInstanceLoadsOnceAndIsReleasedByUnload) {
    auto form = ui::Forms::instance<frmTest>();
    EXPECT_EQ(ui::Forms::instance<frmTest>(), form);
    EXPECT_TRUE(ui::Forms::isLoaded<frmTest>());
    EXPECT_EQ(ui::Forms::find("frmTest"), form);
    EXPECT_FALSE(form->Visible()) << "loading does not show";
    EXPECT_EQ(journal, (std::vector<std::string>{"initialize", "load"}));

    EXPECT_TRUE(ui::Forms::unload<frmTest>());
    EXPECT_FALSE(ui::Forms::isLoaded<frmTest>());
    EXPECT_TRUE(ui::Forms::loaded().empty());
    EXPECT_EQ(journal.back(), "unload") << "still referenced here: no terminate yet";
    form.reset();
    EXPECT_EQ(journal.back(), "terminate");

    auto fresh = ui::Forms::instance<frmTest>();
    EXPECT_FALSE(fresh->decision);
    EXPECT_EQ(journal, (std::vector<std::string>{"initialize", "load", "queryunload 1", "unload", "terminate", "initialize", "load"}));
}

TEST_F(FormsTest, ModalShowReturnsOnlyWhenTheFormIsHidden) {
    auto form = ui::Forms::instance<frmTest>();
    bool shownDuringSteps = false;
    user->expectModal("frmTest", {ScriptedUser::setText("nameTxt", "WKCommand2"),
                                  ScriptedUser::run("look", [&](ui::Form& f) { shownDuringSteps = f.Visible() && f.ShownModally(); }),
                                  ScriptedUser::press("okBtn")});
    form->Show(ui::vbModal);
    EXPECT_TRUE(shownDuringSteps);
    EXPECT_TRUE(form->decision);
    EXPECT_EQ(form->nameTxt->Text(), "WKCommand2");
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->Loaded()) << "OK hides, it does not unload";
    EXPECT_FALSE(form->ShownModally());
    expectScriptDone();
}

TEST_F(FormsTest, CloseBoxAsksQueryUnloadAndMayBeRefused) {
    auto form = ui::Forms::instance<frmTest>();
    user->expectModal("frmTest", {ScriptedUser::closeBox()});
    form->Show(ui::vbModal);
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->decision);
    EXPECT_EQ(journal[2], "queryunload 0");
    expectScriptDone();

    auto stubborn = ui::Forms::instance<frmTest>();
    stubborn->refuseClose = true;
    EXPECT_FALSE(stubborn->closeBox());
    EXPECT_TRUE(stubborn->Loaded());
    EXPECT_FALSE(stubborn->Unload());
    ui::Forms::unloadAll();  // overrules the refusal
    EXPECT_FALSE(stubborn->Loaded());
    EXPECT_TRUE(ui::Forms::loaded().empty());
    EXPECT_FALSE(ui::Forms::existing<frmTest>());
}

TEST_F(FormsTest, APersonCannotPressWhatIsDisabledOrHidden) {
    auto form = ui::Forms::instance<frmTest>();
    form->okBtn->setEnabled(false);
    form->frame->setVisible(false);
    user->expectModal("frmTest", {ScriptedUser::press("okBtn"), ScriptedUser::setText("nameTxt", "x"), ScriptedUser::pressEscape()});
    form->Show(ui::vbModal);
    EXPECT_FALSE(form->decision);
    EXPECT_EQ(form->nameTxt->Text(), "") << "the text box sits in a hidden frame";
    ASSERT_EQ(user->failures().size(), 2u);
    EXPECT_NE(user->failures()[0].find("okBtn cannot be reached"), std::string::npos) << user->failures()[0];
    EXPECT_NE(user->failures()[1].find("nameTxt cannot be reached"), std::string::npos) << user->failures()[1];
    EXPECT_FALSE(form->Visible()) << "Escape pressed the cancel button";
}

TEST_F(FormsTest, EnterAndEscapePressTheDefaultAndCancelButtonsAndAVisibleFormIsNotShownModally) {
    auto form = ui::Forms::instance<frmTest>();
    form->Show();
    EXPECT_EQ(errorNumberOf([&] { form->Show(ui::vbModal); }), 400);
    EXPECT_EQ(user->interactions().size(), 0u);
    EXPECT_TRUE(form->pressEscape());
    EXPECT_FALSE(form->decision);
    form->Show();
    EXPECT_TRUE(form->pressEnter());
    EXPECT_TRUE(form->decision);
    form->okBtn->setDefault(false);
    EXPECT_FALSE(form->pressEnter());
}

namespace {

class ctlTest : public ui::UserControl {
public:
    ctlTest() {
        popup = addMenu("popupMnu", "popup");
        first = popup->add("firstMnuItem", "First");
        popup->add("sepMnuItem", "-");
        sub = popup->add("subMnu", "More");
        deep = sub->add("deepMnuItem", "Deep");
        for (auto* item : {first.get(), deep.get()}) item->onClick = [this, item] { clicked.push_back(item->Name()); };
        setWidth(100);  // before Initialize: no Resize
    }
    std::vector<std::string> clicked;
    std::vector<std::string> hooks;
    ui::MenuPtr popup, first, sub, deep;

protected:
    void UserControl_Initialize() override { hooks.push_back("initialize"); }
    void UserControl_Resize() override { hooks.push_back("resize " + std::to_string(ScaleWidth()) + "x" + std::to_string(ScaleHeight())); }
    void UserControl_MouseMove(int16_t b, int16_t, int32_t x, int32_t) override {
        hooks.push_back("move " + std::to_string(b) + " " + std::to_string(x));
        setMousePointer(ui::vbSizeWE);
    }
};

class docTest : public ui::UserDocument {
public:
    std::vector<std::string> hooks;

protected:
    void UserDocument_Resize() override { hooks.push_back("resize"); }
};

} // namespace

TEST_F(FormsTest, HostSizingAUserControlRunsResize) {
    auto ctl = ui::New<ctlTest>();
    ctl->setHeight(500);
    ctl->Move(0, 0, 800, 500);
    ctl->Move(10, 10, 800, 500);  // moved, not resized
    ctl->mouseMove(ui::vbLeftButton, 0, 2530, 10);
    EXPECT_EQ(ctl->hooks, (std::vector<std::string>{"initialize", "resize 100x500", "resize 800x500", "move 1 2530"}));
    EXPECT_EQ(ctl->MousePointer(), ui::vbSizeWE);

    auto doc = ui::New<docTest>();
    doc->setWidth(1);
    EXPECT_EQ(doc->hooks, (std::vector<std::string>{"resize"}));
}

TEST_F(FormsTest, PopupMenuClicksOnlyAChoosableItem) {
    auto ctl = ui::New<ctlTest>();
    user->choosePopupItem("deepMnuItem");
    user->dismissPopup();
    user->choosePopupItem("firstMnuItem");
    user->choosePopupItem("sepMnuItem");
    user->choosePopupItem("subMnu");
    for (int i = 0; i < 5; ++i) {
        if (i == 2) ctl->first->setEnabled(false);
        ctl->PopupMenu(*ctl->popup, 0, 10, 20);
    }
    EXPECT_EQ(ctl->clicked, (std::vector<std::string>{"deepMnuItem"}));
    EXPECT_EQ(user->failures().size(), 3u) << "disabled item, separator and submenu title cannot be chosen";
    EXPECT_EQ(user->interactions()[0].answer, "deepMnuItem");
    EXPECT_EQ(user->interactions()[1].answer, "none");
    EXPECT_EQ(ctl->menu("deepMnuItem"), ctl->deep);
}

TEST_F(FormsTest, ControlsAreFoundByNameInsideFramesAndTerminateRunsOnTheLastRelease) {
    auto form = ui::New<frmTest>();
    EXPECT_EQ(form->control("nameTxt"), form->nameTxt);
    EXPECT_EQ(form->control<ui::CommandButton>("nameTxt"), nullptr);
    EXPECT_EQ(form->control("noSuchControl"), nullptr);
    EXPECT_EQ(form->allControls().size(), 4u);
    EXPECT_EQ(form->nameTxt->container(), form->frame.get());
    auto held = form->nameTxt;
    form.reset();
    EXPECT_EQ(journal, (std::vector<std::string>{"initialize", "terminate"}));
    EXPECT_EQ(held->container(), nullptr);
}

TEST_F(FormsTest, TabOrderRunsThroughFramesAndAPlaceSetMovesTheOthersAlong) {
    using Names = std::vector<std::string>;
    auto form = ui::New<frmTest>();
    auto names = [&] {
        Names out;
        for (const ui::Control* c : form->tabOrder()) out.push_back(c->Name());
        return out;
    };
    EXPECT_EQ(names(), (Names{"Frame1", "nameTxt", "okBtn", "cancelBtn"}));  // creation order
    form->cancelBtn->setTabIndex(0);
    EXPECT_EQ(names(), (Names{"cancelBtn", "Frame1", "nameTxt", "okBtn"}));
    EXPECT_EQ(form->okBtn->TabIndex(), 3);
    form->cancelBtn->setTabIndex(99);  // past the end: the last place
    EXPECT_EQ(names(), (Names{"Frame1", "nameTxt", "okBtn", "cancelBtn"}));
    EXPECT_EQ(form->cancelBtn->TabIndex(), 3);
    EXPECT_EQ(errorNumberOf([&] { form->okBtn->setTabIndex(-1); }), 380);

    // A frame filled elsewhere joins at the end, its controls after it in their own order ...
    auto loose = std::make_shared<ui::Frame>();
    loose->add<ui::Label>("a");
    loose->add<ui::Label>("b")->setTabIndex(0);
    form->addExisting("Frame2", loose);
    EXPECT_EQ(names(), (Names{"Frame1", "nameTxt", "okBtn", "cancelBtn", "Frame2", "b", "a"}));
    // ... and a user control is one place, its own controls numbered among themselves.
    auto ctl = ui::New<ctlTest>();
    auto inner = ctl->add<ui::Label>("inner");
    form->addExisting("ctl1", ctl);
    EXPECT_EQ(names().back(), "ctl1");
    EXPECT_EQ(inner->TabIndex(), 0);
}

// What a renderer learns of loads: each form once, as it loads and before its Form_Load (so that
// what Form_Load changes reaches the window), and nothing once it stopped watching.
TEST_F(FormsTest, watcherSeesEachLoadOnceBeforeFormLoad) {
    std::vector<std::string> seen;
    ui::Forms::watchLoads([&](ui::Form& form) { seen.push_back(form.Name() + " after " + journal.back()); });
    auto form = ui::Forms::instance<frmTest>();
    form->Load();  // already loaded: not told again
    ui::Forms::unload<frmTest>();
    auto again = ui::Forms::instance<frmTest>();
    ui::Forms::watchLoads(nullptr);
    ui::Forms::unload<frmTest>();
    ui::Forms::instance<frmTest>();
    EXPECT_EQ(seen, (std::vector<std::string>{"frmTest after initialize", "frmTest after initialize"}));
    EXPECT_NE(form, again);
}
