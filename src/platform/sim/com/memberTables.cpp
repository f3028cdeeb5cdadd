#include "platform/sim/com/memberTables.h"

namespace simcom {

com::ComPtr<IDispatch> newServer(const std::shared_ptr<vb::Object>& object) {
    for (auto serveGroup : {serveProjects, serveCommandBars, serveWindows, serveDataEnvironment, serveEvents, serveSourceSafe})
        if (auto server = serveGroup(object)) return server;
    return nullptr;
}

vb::Variant optional(const com::Args& a, size_t i, vb::Variant fallback) {
    return a.has(i) ? a[i] : std::move(fallback);
}

} // namespace simcom
