#include "platform/registry/Registry.h"
#include "platform/vbide/ClassRegistry.h"
#include "platform/vss/SourceSafe.h"
#include "platform/win/ports/installPorts.h"
#include "platform/win/registry/Win32Registry.h"
#include "platform/win/vss/adapters.h"

namespace winports {

void install(const std::string& sourceSafeProgId) {
    if (!registry::installed()) registry::install(std::make_shared<registry::Win32Registry>());
    if (!vbide::ClassRegistry::instance().isRegistered(vss::serverProgId)) {
        vss::install([sourceSafeProgId] { return vss::win::createDatabase(sourceSafeProgId); });
    }
}

} // namespace winports
