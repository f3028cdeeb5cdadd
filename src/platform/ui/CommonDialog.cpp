#include "platform/ui/CommonDialog.h"

#include "platform/error.h"
#include "platform/ui/User.h"

namespace ui {

void CommonDialog::setFileName(std::string v) { fileName_ = std::move(v); }

void CommonDialog::show(FileDialogMode mode) {
    auto answer = User::current()->fileDialog(*this, mode);
    if (!answer) {
        if (cancelError_) throw vb::VBError(vb::err::CancelError, "Cancel was selected.");
        return;
    }
    fileName_ = *answer;
    const auto slash = fileName_.find_last_of("\\/");
    fileTitle_ = slash == std::string::npos ? fileName_ : fileName_.substr(slash + 1);
}

} // namespace ui
