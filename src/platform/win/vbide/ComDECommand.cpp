#include "platform/vbide/DECommand.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComDECommand final : public DECommand, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    int32_t CommandType() override { return object().get("CommandType").toLong(); }
    void setCommandType(int32_t type) override { object().put("CommandType", type); }
    std::string CommandText() override { return object().get("CommandText").toString(); }
    void setCommandText(const std::string& text) override { object().put("CommandText", text); }
    std::string ConnectionName() override { return object().get("ConnectionName").toString(); }
    void setConnectionName(const std::string& name) override { object().put("ConnectionName", name); }
};

} // namespace

std::shared_ptr<DECommand> adaptDECommand(const com::Dispatch& object) {
    return com::adapt<ComDECommand, DECommand>(object);
}

} // namespace vbide::win
