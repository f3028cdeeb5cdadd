// The file chooser: the split of an opened file, and dialog errors other than cancel. The dialogs'
// titles, filters, folders and flags, and cancelling them, are what the project-files scenario shows.
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
    // A save with no default path leaves the dialog in the folder it was in.
    user->answerFileDialog("D:\\b.wkv");
    ASSERT_TRUE(chooser->saveFileDlg("Save as", "wkv", "wkv", "", file));
    EXPECT_EQ(file, "D:\\b.wkv");
    EXPECT_EQ(chooser->fileChooserDlg->InitDir(), "C:\\work");
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
