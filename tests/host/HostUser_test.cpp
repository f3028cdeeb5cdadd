// HostUser: questions shown as they come, answered from one queue per kind of question, and the
// ones nobody answered reported. A file answer shown as the person gave it (a drive path, not the
// host's) is in the project-files scenario's transcript.
#include "HostUser.h"

#include "platform/ui/CommonDialog.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MsgBox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class HostUserTest : public ::testing::Test {
protected:
    void SetUp() override { ui::User::install(user); }
    void TearDown() override { ui::User::install(nullptr); }

    std::ostringstream out;
    host::DriveMap drives{"/tmp/nimbide-7"};
    host::Console console{out, drives};
    std::shared_ptr<host::HostUser> user = std::make_shared<host::HostUser>(console, nullptr);
};

TEST_F(HostUserTest, EachKindOfQuestionTakesItsOwnQueueInOrder) {
    user->queue(host::HostUser::Kind::MsgBox).answerMsgBox(ui::mb::No);
    user->queue(host::HostUser::Kind::Popup).choosePopupItem("second");
    user->queue(host::HostUser::Kind::MsgBox).answerMsgBox(ui::mb::Yes);

    ui::Menu menu("popupMnu", "");
    menu.add("first", "&First");
    menu.add("second", "Second");
    EXPECT_EQ(user->popupMenu(menu, 10, 20), menu.find("second"));  // asked first, queued second
    EXPECT_EQ(ui::MsgBox("Save?", ui::mb::YesNo + ui::mb::Question, "Save"), ui::mb::No);
    EXPECT_EQ(ui::MsgBox("Really?", ui::mb::YesNo), ui::mb::Yes);
    EXPECT_TRUE(user->takeProblems().empty());
    EXPECT_EQ(user->queued(), 0u);
    ASSERT_EQ(user->messages().size(), 2u);
    EXPECT_EQ(user->messages()[0].answer, ui::mb::No);

    const std::string shown = out.str();
    EXPECT_NE(shown.find("[popup menu popupMnu at 10, 20]"), std::string::npos);
    EXPECT_NE(shown.find("-> second \"Second\""), std::string::npos);
    EXPECT_NE(shown.find("[message box, style 36 = Question + Yes/No, title \"Save\"]\n  | Save?\n  -> No (7)"),
              std::string::npos);
}

TEST_F(HostUserTest, AQuestionWithNothingQueuedIsAProblemAndGetsTheSafestAnswer) {
    EXPECT_EQ(ui::MsgBox("Drop it?\nFor good.", ui::mb::YesNoCancel), ui::mb::Cancel);
    ui::Menu menu("m", "");
    menu.add("item", "Item");
    EXPECT_EQ(user->popupMenu(menu, 0, 0), nullptr);
    ui::CommonDialog dialog;
    dialog.setDialogTitle("Open Engine Project");
    EXPECT_EQ(user->fileDialog(dialog, ui::FileDialogMode::Open), std::nullopt);
    auto problems = user->takeProblems();
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "the message box \"Drop it? ...\" came with no answer queued");
    EXPECT_EQ(problems[1], "the popup menu m came with no answer queued");
    EXPECT_EQ(problems[2], "the file dialog \"Open Engine Project\" came with no answer queued");
    EXPECT_TRUE(user->takeProblems().empty());  // reported once
}

TEST_F(HostUserTest, AnAnswerTheQuestionCannotTakeIsAProblem) {
    user->queue(host::HostUser::Kind::MsgBox).answerMsgBox(ui::mb::Yes);
    EXPECT_EQ(ui::MsgBox("Done."), ui::mb::OK);  // an OK box has no Yes
    auto problems = user->takeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("has no button for the answer 6"), std::string::npos);
}

TEST_F(HostUserTest, UnusedAnswersAreListedWithoutTheProblemsAlreadyReported) {
    user->queue(host::HostUser::Kind::FileDialog).answerFileDialog("C:\\a.wkv");
    user->queue(host::HostUser::Kind::Modal).expectModal("conLstCtl", {});
    auto unused = user->unusedAnswers();
    ASSERT_EQ(unused.size(), 2u);
    EXPECT_NE(unused[0].find("modal form conLstCtl"), std::string::npos);
    EXPECT_NE(unused[1].find("file dialog"), std::string::npos);
}

} // namespace
