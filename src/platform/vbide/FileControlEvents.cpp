#include "platform/vbide/FileControlEvents.h"

namespace vbide {

void FileControlEvents::raiseAfterCloseFile(std::shared_ptr<VBProject> project, int32_t fileType,
                                            const std::string& fileName, bool wasDirty) {
    if (afterClose_) {
        afterClose_(std::move(project), fileType, fileName, wasDirty);
    }
}

void FileControlEvents::raiseAfterRemoveFile(std::shared_ptr<VBProject> project, int32_t fileType,
                                             const std::string& fileName) {
    if (afterRemove_) {
        afterRemove_(std::move(project), fileType, fileName);
    }
}

} // namespace vbide
