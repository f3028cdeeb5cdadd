#include "platform/sim/com/SimServer.h"

#include "platform/sim/com/memberTables.h"
#include "platform/error.h"
#include "platform/win/com/DispatchObject.h"

#include <unordered_map>

namespace simcom {

namespace {

constexpr int32_t errNoAutomation = 430;

// The live server of each served object. A server enters itself when born and leaves when it
// dies, so an entry never outlives the COM object it names.
std::unordered_map<const vb::Object*, IDispatch*>& liveServers() {
    static std::unordered_map<const vb::Object*, IDispatch*> servers;
    return servers;
}

long tally = 0;

} // namespace

ServerEntry::ServerEntry(const vb::Object* object, IDispatch* server) : object_(object) {
    liveServers()[object_] = server;
    ++tally;
}

ServerEntry::~ServerEntry() {
    liveServers().erase(object_);
    --tally;
}

com::ComPtr<IDispatch> serve(const std::shared_ptr<vb::Object>& object) {
    if (!object) return nullptr;
    auto known = liveServers().find(object.get());
    if (known != liveServers().end()) return com::ComPtr<IDispatch>(known->second);
    com::ComPtr<IDispatch> server = newServer(object);
    if (!server) throw vb::VBError(errNoAutomation, "Class does not support Automation or does not support expected interface");
    return server;
}

vb::Variant served(const std::shared_ptr<vb::Object>& object) {
    com::ComPtr<IDispatch> server = serve(object);
    if (!server) return vb::Variant(std::shared_ptr<vb::Object>());
    return vb::Variant(std::shared_ptr<vb::Object>(std::make_shared<com::DispatchObject>(server.Get())));
}

long servedObjects() { return tally; }

} // namespace simcom
