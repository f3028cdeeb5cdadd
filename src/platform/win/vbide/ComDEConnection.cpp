#include "platform/vbide/DEConnection.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComDEConnection final : public DEConnection, public com::Remote {
public:
    using Remote::Remote;

    std::string Name() override { return object().get("Name").toString(); }
    std::string ConnectionSource() override { return object().get("ConnectionSource").toString(); }
    void setConnectionSource(const std::string& source) override { object().put("ConnectionSource", source); }
};

} // namespace

std::shared_ptr<DEConnection> adaptDEConnection(const com::Dispatch& object) {
    return com::adapt<ComDEConnection, DEConnection>(object);
}

} // namespace vbide::win
