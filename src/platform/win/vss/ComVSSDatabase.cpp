#include "platform/vss/VSSDatabase.h"

#include "platform/win/com/ComClassFactory.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vss/adapters.h"


namespace vss::win {

namespace {

class ComVSSDatabase final : public VSSDatabase, public com::Remote {
public:
    using Remote::Remote;

    void Open(const std::string& srcSafeIni, const std::string& username, const std::string& password) override {
        object().call("Open", {srcSafeIni, username, password});
    }
    std::shared_ptr<vss::VSSItem> VSSItem(const std::string& spec, bool deleted) override {
        return adaptVSSItem(object().get("VSSItem", {spec, deleted}).toObject());
    }
    std::string SrcSafeIni() override { return object().get("SrcSafeIni").toString(); }
    std::string Username() override { return object().get("Username").toString(); }
};

} // namespace

std::shared_ptr<VSSDatabase> adaptVSSDatabase(const com::Dispatch& object) {
    return com::adapt<ComVSSDatabase, VSSDatabase>(object);
}

std::shared_ptr<VSSDatabase> createDatabase(const std::string& progId) {
    const auto created = com::createByProgId(progId, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER);
    return adaptVSSDatabase(com::Dispatch(created.Get()));
}

} // namespace vss::win
