#include "platform/errorhandling.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/User.h"
#include "ui_fixture.h"

#include <string>
#include <vector>

using ui::ScriptedUser;
using ScriptedUserTest = UiTest;

namespace {
bool mentions(const std::vector<std::string>& lines, const std::string& text) {
    for (const auto& line : lines)
        if (line.find(text) != std::string::npos) return true;
    return false;
}
} // namespace

TEST(MsgBoxStyles, SafestAnswerCommitsToNothing) {
    struct Case {
        int32_t style, safest;
        std::vector<int32_t> offered;
    };
    for (const auto& c : std::vector<Case>{{0, 1, {1}},
                                           {1, 2, {1, 2}},
                                           {2, 3, {3, 4, 5}},
                                           {3 + 32, 2, {2, 6, 7}},
                                           {4 + 48, 7, {6, 7}},
                                           {5, 2, {2, 4}}}) {
        EXPECT_EQ(ui::safestResult(c.style), c.safest) << c.style;
        for (int32_t result = 1; result <= 7; ++result) {
            const bool offered = std::find(c.offered.begin(), c.offered.end(), result) != c.offered.end();
            EXPECT_EQ(ui::offersResult(c.style, result), offered) << c.style << " " << result;
        }
    }
}

TEST_F(ScriptedUserTest, AnswersAndRecordsMessageBoxes) {
    user->answerMsgBox(ui::mb::No);
    EXPECT_EQ(ui::MsgBox("Save changes?", ui::mb::YesNo + ui::mb::Question, "Save"), ui::mb::No);
    auto boxes = user->messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].subject, "Save changes?");
    EXPECT_EQ(boxes[0].style, 36);
    EXPECT_EQ(boxes[0].title, "Save");
    EXPECT_EQ(boxes[0].answer, "7");
    expectScriptDone();
}

TEST_F(ScriptedUserTest, RefusesWhatTheScriptDidNotExpect) {
    std::vector<std::string> seen;
    user->onInteraction = [&](const ScriptedUser::Interaction& i) { seen.push_back(i.subject); };
    user->choosePopupItem("someMnuItem");

    // A message box before the popup: failure, safest answer, the popup expectation stays queued.
    EXPECT_EQ(ui::MsgBox("Drop it?", ui::mb::YesNoCancel), ui::mb::Cancel);
    EXPECT_FALSE(user->interactions().back().expected);
    EXPECT_TRUE(mentions(user->failures(), "unexpected message box \"Drop it?\" (the script expects popup menu choice someMnuItem)"));
    EXPECT_EQ(user->remaining(), 1u);

    // The add-in catches its own errors; the failure list still tells.
    const bool completed = vb::silently([] { ui::MsgBox("Error 91"); });
    EXPECT_TRUE(completed);
    EXPECT_EQ(user->failures().size(), 2u);

    ui::CommonDialog dialog;
    dialog.setCancelError(true);
    EXPECT_EQ(errorNumberOf([&] { dialog.ShowOpen(); }), 32755) << "an unexpected file dialog is cancelled";
    EXPECT_EQ(user->problems().size(), 4u) << "three failures and the unused popup choice";
    EXPECT_TRUE(mentions(user->problems(), "popup menu choice someMnuItem was never asked for"));
    EXPECT_EQ(seen, (std::vector<std::string>{"Drop it?", "Error 91", ""}));
}

TEST_F(ScriptedUserTest, AnAnswerTheBoxDoesNotOfferIsRefused) {
    user->answerMsgBox(ui::mb::Yes);
    EXPECT_EQ(ui::MsgBox("Done."), ui::mb::OK);
    EXPECT_TRUE(mentions(user->failures(), "has no button for the answer 6"));
    EXPECT_EQ(user->remaining(), 0u);
}

namespace {
class frmAsk : public ui::Form {
public:
    frmAsk() : Form("frmAsk") { txt = add<ui::TextBox>("txt"); }
    std::shared_ptr<ui::TextBox> txt;
};
class frmOther : public ui::Form {
public:
    frmOther() : Form("frmOther") {}
};
} // namespace

TEST_F(ScriptedUserTest, ModalFormsThatTheScriptCannotFinishAreClosed) {
    auto ask = ui::New<frmAsk>();
    auto other = ui::New<frmOther>();
    user->expectModal("frmAsk", {ScriptedUser::setText("txt", "typed"), ScriptedUser::press("okBtn")});

    other->Show(ui::vbModal);  // not the expected form
    EXPECT_FALSE(other->Loaded()) << "closed with the close box";
    EXPECT_TRUE(mentions(user->failures(), "unexpected modal form frmOther (the script expects modal form frmAsk)"));

    ask->Show(ui::vbModal);  // the form has no okBtn: the step fails and the form stays up
    EXPECT_EQ(ask->txt->Text(), "typed");
    EXPECT_FALSE(ask->Visible());
    EXPECT_TRUE(mentions(user->failures(), "there is no button named okBtn"));
    EXPECT_TRUE(mentions(user->failures(), "modal form frmAsk is still shown after the script's steps"));
    EXPECT_EQ(user->interactions().back().answer, "type \"typed\" into txt, press okBtn, close the window");
    EXPECT_EQ(user->remaining(), 0u);
}

TEST_F(ScriptedUserTest, APopupChoiceMustBeInTheShownMenu) {
    ui::Menu menu("devObjMnu", "");
    auto build = menu.add("devObjBuildMnuItem", "Build");
    ui::Menu other("dbConMnu", "");
    other.add("conConnectMnuItem", "Connect");
    user->choosePopupItem("conConnectMnuItem");
    user->choosePopupItem("devObjBuildMnuItem");
    EXPECT_EQ(user->popupMenu(menu, 0, 0), nullptr);
    EXPECT_TRUE(mentions(user->failures(), "popup menu devObjMnu has no item conConnectMnuItem"));
    EXPECT_EQ(user->popupMenu(menu, 0, 0), build.get());
}
