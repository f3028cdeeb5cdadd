// The file chooser: dialog settings, the split of an opened file, cancel, other dialog errors.
#include "dialogs/fileChooserForm.h"

#include "platform/error.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScriptedUser.h"

#include <gtest/gtest.h>

namespace {

using nimb::fileChooserForm;

class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override { ui::User::install(user); }
    void TearDown() override {
        EXPECT_EQ(user->problems(), std::vector<std::string>{});
        ui::Forms::unloadAll();
        ui::User::install(nullptr);
    }
    std::shared_ptr<ui::ScriptedUser> user = std::make_shared<ui::ScriptedUser>();
    std::shared_ptr<fileChooserForm> chooser = ui::Forms::instance<fileChooserForm>();
    std::string name = "old.wkv", path = "C:\\old", file = "C:\\old\\old.wkv";
};

TEST_F(FileChooserTest, OpenSplitsTheChosenFileSoThatPathBackslashNameGivesItBack) {
    const std::array<std::array<const char*, 3>, 3> cases{{
        {"C:\\work\\proj\\a.wkv", "a.wkv", "C:\\work\\proj"},
        {"C:\\a.wkv", "a.wkv", "C:"},  // the root folder
        {"\\\\server\\share\\p.wkv", "p.wkv", "\\\\server\\share"},
    }};
    for (const auto& [chosen, expectedName, expectedPath] : cases) {
        user->answerFileDialog(chosen);
        EXPECT_TRUE(chooser->openFileDlg("Open", ".wkv", ".wkv", "C:\\work", name, path));
        EXPECT_EQ(name, expectedName);
        EXPECT_EQ(path, expectedPath);
    }
}

TEST_F(FileChooserTest, EachOperationSetsUpTheDialogWithItsOwnFlags) {
    const auto& dialog = *chooser->fileChooserDlg;
    user->answerFileDialog("C:\\work\\a.wkv");
    ASSERT_TRUE(chooser->openFileDlg("Open project", "Projects|*.wkv", ".wkv", "C:\\work", name, path));
    EXPECT_EQ((std::array{dialog.DialogTitle(), dialog.Filter(), dialog.DefaultExt(), dialog.InitDir()}),
              (std::array<std::string, 4>{"Open project", "Projects|*.wkv", ".wkv", "C:\\work"}));
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_EQ(dialog.Flags(), 0x20D80C);
    EXPECT_TRUE(dialog.CancelError());

    user->answerFileDialog("D:\\b.wkv");
    ASSERT_TRUE(chooser->saveFileDlg("Save as", "wkv", "wkv", "", file));
    EXPECT_EQ(file, "D:\\b.wkv");
    EXPECT_EQ(dialog.DialogTitle(), "Save as");
    EXPECT_EQ(dialog.InitDir(), "C:\\work");  // an empty default path leaves the folder alone
    EXPECT_EQ(dialog.Flags(), 0x20C80C);
    EXPECT_EQ(user->interactions().back().style, 1);  // the save dialog
}

TEST_F(FileChooserTest, CancelReturnsFalseAndLeavesTheOutputsAlone) {
    user->cancelFileDialog();
    EXPECT_FALSE(chooser->openFileDlg("Open", ".wkv", ".wkv", "", name, path));
    user->cancelFileDialog();
    EXPECT_FALSE(chooser->saveFileDlg("Save as", "wkv", "wkv", "", file));
    EXPECT_EQ((std::array{name, path, file}), (std::array<std::string, 3>{"old.wkv", "C:\\old", "C:\\old\\old.wkv"}));
}

class BrokenDialogUser : public ui::ScriptedUser {
public:
    std::optional<std::string> fileDialog(ui::CommonDialog&, ui::FileDialogMode) override {
        throw vb::VBError(20477, "Invalid filename");
    }
};

TEST_F(FileChooserTest, AnyOtherDialogErrorCountsAsConfirmedWithTheNameTheDialogHolds) {
    ui::User::install(std::make_shared<BrokenDialogUser>());
    chooser->fileChooserDlg->setFileName("C:\\kept\\k.wkv");
    EXPECT_TRUE(chooser->saveFileDlg("Save as", "wkv", "wkv", "", file));
    EXPECT_EQ(file, "C:\\kept\\k.wkv");
    ui::User::install(user);
}

} // namespace
