#include "dialogs/fileChooserForm.h"

#include "engine/wkutil.h"
#include "platform/error.h"

namespace nimb {

namespace {

// The number of the error fn raised, 0 when it raised none: the dialog's outcome is read from the
// error it leaves behind, as VB code reads Err.Number after a call under On Error Resume Next.
template <class F>
int32_t errorNumberAfter(F&& fn) {
    try {
        fn();
        return 0;
    } catch (...) {
        return vb::currentError().number();
    }
}

} // namespace

fileChooserForm::fileChooserForm() : ui::Form("fileChooserForm") {
    setCaption("Form1");
    setClientSize(1560, 1005);
    fileChooserDlg = add<ui::CommonDialog>("fileChooserDlg");
}

bool fileChooserForm::showDialog(const std::string& title, const std::string& filter, const std::string& defaultExt,
                                 const std::string& defaultPath, int32_t flags, ui::FileDialogMode mode) {
    // The form's own font is never changed, so the dialog is given the add-in's font at every call.
    if (Font().Name != wkutil::uiFontName() || Font().Size != static_cast<float>(wkutil::uiFontSize())) {
        ui::Font font = fileChooserDlg->Font();
        font.Name = wkutil::uiFontName();
        font.Size = static_cast<float>(wkutil::uiFontSize());
        fileChooserDlg->setFont(font);
    }
    fileChooserDlg->setDialogTitle(title);
    fileChooserDlg->setDefaultExt(defaultExt);
    fileChooserDlg->setFilter(filter);
    fileChooserDlg->setFilterIndex(1);
    if (!defaultPath.empty()) fileChooserDlg->setInitDir(defaultPath);
    fileChooserDlg->setFlags(flags);
    fileChooserDlg->setCancelError(true);
    // Only a cancel counts: any other error of the dialog leaves whatever file name it holds.
    const int32_t error = errorNumberAfter([&] {
        if (mode == ui::FileDialogMode::Open) fileChooserDlg->ShowOpen();
        else fileChooserDlg->ShowSave();
    });
    return error != vb::err::CancelError;
}

bool fileChooserForm::openFileDlg(const std::string& strTitle, const std::string& strFilter,
                                  const std::string& strDefaultExt, const std::string& strDefaultPath,
                                  std::string& txtName, std::string& txtPath) {
    if (!showDialog(strTitle, strFilter, strDefaultExt, strDefaultPath, openFlags, ui::FileDialogMode::Open)) {
        return false;
    }
    std::string drive, dir, file;
    wkutil::splitPath(fileChooserDlg->FileName(), drive, dir, file);
    // splitPath finds no file name when the only "\" follows the drive (C:\a.wkv gives the folder
    // "\a.wkv"); the folder is then the drive's root, written as the bare drive.
    if (file.empty()) dir = wkutil::getDirectory(dir);
    txtName = fileChooserDlg->FileTitle();
    txtPath = drive + dir;
    return true;
}

bool fileChooserForm::saveFileDlg(const std::string& strTitle, const std::string& strFilter,
                                  const std::string& strDefaultExt, const std::string& strDefaultPath,
                                  std::string& wkFile) {
    if (!showDialog(strTitle, strFilter, strDefaultExt, strDefaultPath, saveFlags, ui::FileDialogMode::Save)) {
        return false;
    }
    wkFile = fileChooserDlg->FileName();
    return true;
}

} // namespace nimb
