#include "platform/vbide/AddIn.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComAddIn final : public AddIn, public com::Remote {
public:
    using Remote::Remote;

    std::string ProgId() override { return object().get("ProgId").toString(); }
    std::string Description() override { return object().get("Description").toString(); }
    bool Connect() override { return object().get("Connect").toBool(); }
};

} // namespace

std::shared_ptr<AddIn> adaptAddIn(const com::Dispatch& object) {
    return com::adapt<ComAddIn, AddIn>(object);
}

} // namespace vbide::win
