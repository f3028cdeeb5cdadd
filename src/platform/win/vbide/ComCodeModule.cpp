#include "platform/vbide/CodeModule.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComCodeModule final : public CodeModule, public com::Remote {
public:
    using Remote::Remote;

    int32_t CountOfLines() override { return object().get("CountOfLines").toLong(); }
    std::string Lines(int32_t startLine, int32_t count) override {
        return object().get("Lines", {startLine, count}).toString();
    }
    void InsertLines(int32_t line, const std::string& text) override { object().call("InsertLines", {line, text}); }
    void DeleteLines(int32_t startLine, int32_t count) override { object().call("DeleteLines", {startLine, count}); }
};

} // namespace

std::shared_ptr<CodeModule> adaptCodeModule(const com::Dispatch& object) {
    return com::adapt<ComCodeModule, CodeModule>(object);
}

} // namespace vbide::win
