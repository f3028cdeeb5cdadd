#include "platform/vss/SourceSafe.h"

#include "platform/error.h"
#include "platform/vbide/ClassRegistry.h"

namespace vss {

void install(std::function<std::shared_ptr<VSSDatabase>()> server) {
    auto& classes = vbide::ClassRegistry::instance();
    if (!server) {
        classes.unregisterClass(serverProgId);
        return;
    }
    classes.registerClass(serverProgId, {}, [server = std::move(server)]() -> std::shared_ptr<vb::Object> {
        return server();
    });
}

std::shared_ptr<VSSDatabase> createVSSDatabase() {
    auto database = std::dynamic_pointer_cast<VSSDatabase>(vbide::CreateObject(serverProgId));
    if (!database) {
        throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
    }
    return database;
}

} // namespace vss
