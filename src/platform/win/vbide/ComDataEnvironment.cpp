#include "platform/vbide/DataEnvironment.h"

#include "platform/win/com/Remote.h"
#include "platform/win/vbide/adapters.h"

namespace vbide::win {

namespace {

class ComDataEnvironment final : public DataEnvironment, public com::Remote {
public:
    using Remote::Remote;

    std::shared_ptr<DEConnections> Connections() override {
        return adaptDEConnections(object().get("Connections").toObject());
    }
    std::shared_ptr<DECommands> Commands() override { return adaptDECommands(object().get("Commands").toObject()); }
};

} // namespace

std::shared_ptr<DataEnvironment> adaptDataEnvironment(const com::Dispatch& object) {
    return com::adapt<ComDataEnvironment, DataEnvironment>(object);
}

} // namespace vbide::win
