// fileChooserForm: hosts the common file dialog through which the server view chooses an engine
// project file to open or a file name to save it under. The form itself is never shown, and no
// dialog setting survives a call.
#pragma once

#include "platform/ui/CommonDialog.h"
#include "platform/ui/Form.h"

#include <cstdint>
#include <memory>
#include <string>

namespace nimb {

class fileChooserForm : public ui::Form {
public:
    // Long names, no read-only return, share aware, path must exist, no change of the current
    // directory, read-only box hidden; opening also wants the file to exist.
    static constexpr int32_t openFlags = ui::cdl::LongNames | ui::cdl::NoReadOnlyReturn | ui::cdl::ShareAware |
                                         ui::cdl::FileMustExist | ui::cdl::PathMustExist | ui::cdl::NoChangeDir |
                                         ui::cdl::HideReadOnly;
    static constexpr int32_t saveFlags = openFlags & ~ui::cdl::FileMustExist;

    fileChooserForm();

    // True when the person chose a file: txtName := its name, txtPath := its folder with the drive
    // and without a trailing "\" (a file in a drive's root folder gives the bare drive, "C:"), so
    // that txtPath & "\" & txtName names the file. False on cancel, outputs untouched.
    bool openFileDlg(const std::string& strTitle, const std::string& strFilter, const std::string& strDefaultExt,
                     const std::string& strDefaultPath, std::string& txtName, std::string& txtPath);
    // True when the person confirmed a name: wkFile := the full path. False on cancel, wkFile untouched.
    bool saveFileDlg(const std::string& strTitle, const std::string& strFilter, const std::string& strDefaultExt,
                     const std::string& strDefaultPath, std::string& wkFile);

    std::shared_ptr<ui::CommonDialog> fileChooserDlg;

private:
    // Sets the dialog up and shows it; false when the person cancelled.
    bool showDialog(const std::string& title, const std::string& filter, const std::string& defaultExt,
                    const std::string& defaultPath, int32_t flags, ui::FileDialogMode mode);
};

static_assert(fileChooserForm::openFlags == 0x20D80C);
static_assert(fileChooserForm::saveFlags == 0x20C80C);

} // namespace nimb
