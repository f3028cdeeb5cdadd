#include "addinObjects.h"

#include "platform/error.h"
#include "platform/vss/SourceSafe.h"
#include "platform/vss/VSSDatabase.h"
#include "platform/win/com/NativeObject.h"
#include "platform/win/com/Remote.h"
#include "platform/win/vss/adapters.h"

namespace host {

std::shared_ptr<vb::Object> servedBehind(const std::shared_ptr<vb::Object>& portObject) {
    try {
        return com::nativeObjectOf(com::dispatchOf(portObject).get());
    } catch (const vb::VBError&) {
        return nullptr;  // an object of the add-in's own, standing for nothing served
    }
}

std::size_t liveAdapters() { return com::liveAdapterCount(); }

void useSourceSafeServer(const std::string& progId) {
    vss::install([progId] { return vss::win::createDatabase(progId); });
}

} // namespace host
