// FileControlEvents: the IDE's file events of one project or of all projects.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vbide {

class VBProject;

class FileControlEvents : public vb::Object {
public:
    using AfterCloseFileHandler = std::function<void(std::shared_ptr<VBProject> project, int32_t fileType,
                                                     const std::string& fileName, bool wasDirty)>;
    using AfterRemoveFileHandler =
        std::function<void(std::shared_ptr<VBProject> project, int32_t fileType, const std::string& fileName)>;

    void onAfterCloseFile(AfterCloseFileHandler handler) { afterClose_ = std::move(handler); }
    void onAfterRemoveFile(AfterRemoveFileHandler handler) { afterRemove_ = std::move(handler); }

    void raiseAfterCloseFile(std::shared_ptr<VBProject> project, int32_t fileType, const std::string& fileName,
                             bool wasDirty);
    void raiseAfterRemoveFile(std::shared_ptr<VBProject> project, int32_t fileType, const std::string& fileName);

private:
    AfterCloseFileHandler afterClose_;
    AfterRemoveFileHandler afterRemove_;
};

} // namespace vbide
