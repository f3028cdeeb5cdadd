// The scripted person's own rules where the host's one-queue-per-kind person cannot show them: the
// safest answer of every box, and a question of another kind than the one the script expects. Wrong
// popup items, wrong forms and impossible dialog steps are shown by the answer_wrong_* scenarios.
#include "platform/errorhandling.h"
#include "platform/ui/Form.h"
#include "platform/ui/MsgBox.h"
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

namespace {
class frmOther : public ui::Form {
public:
    frmOther() : Form("frmOther") {}
};
} // namespace

// The transcripts cannot tell a closed form from a hidden one; the add-in's caller can.
TEST_F(ScriptedUserTest, AFormTheScriptCannotFinishIsClosedWithItsCloseBox) {
    auto other = ui::New<frmOther>();
    user->expectModal("frmAsk", {});
    other->Show(ui::vbModal);
    EXPECT_FALSE(other->Loaded());
    EXPECT_EQ(user->interactions().back().answer, "close the window");
}
