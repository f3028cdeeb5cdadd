// CommonDialog: the open / save file dialog. ShowOpen and ShowSave ask ui::User for a file; on a
// choice FileName is the full path and FileTitle its name part. A cancel with CancelError True
// raises error 32755 "Cancel was selected."; with CancelError False it leaves FileName as it was.
#pragma once

#include "platform/ui/Control.h"

#include <cstdint>
#include <string>

namespace ui {

// Open-file-name flags the add-in combines.
namespace cdl {
constexpr int32_t HideReadOnly = 0x4;
constexpr int32_t NoChangeDir = 0x8;
constexpr int32_t PathMustExist = 0x800;
constexpr int32_t FileMustExist = 0x1000;
constexpr int32_t ShareAware = 0x4000;
constexpr int32_t NoReadOnlyReturn = 0x8000;
constexpr int32_t LongNames = 0x200000;
} // namespace cdl

enum class FileDialogMode { Open, Save };

class CommonDialog : public Control {
public:
    const std::string& DialogTitle() const { return dialogTitle_; }
    void setDialogTitle(std::string v) { dialogTitle_ = std::move(v); }
    const std::string& Filter() const { return filter_; }
    void setFilter(std::string v) { filter_ = std::move(v); }
    const std::string& DefaultExt() const { return defaultExt_; }
    void setDefaultExt(std::string v) { defaultExt_ = std::move(v); }
    int32_t FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int32_t v) { filterIndex_ = v; }
    const std::string& InitDir() const { return initDir_; }
    void setInitDir(std::string v) { initDir_ = std::move(v); }
    int32_t Flags() const { return flags_; }
    void setFlags(int32_t v) { flags_ = v; }
    bool CancelError() const { return cancelError_; }
    void setCancelError(bool v) { cancelError_ = v; }
    const std::string& FileName() const { return fileName_; }
    void setFileName(std::string v);
    const std::string& FileTitle() const { return fileTitle_; }

    void ShowOpen() { show(FileDialogMode::Open); }
    void ShowSave() { show(FileDialogMode::Save); }

private:
    void show(FileDialogMode mode);

    std::string dialogTitle_, filter_, defaultExt_, initDir_, fileName_, fileTitle_;
    int32_t filterIndex_ = 0;
    int32_t flags_ = 0;
    bool cancelError_ = false;
};

} // namespace ui
