#include "platform/sim/com/memberTables.h"

namespace simcom {

com::ComPtr<IDispatch> newServer(const std::shared_ptr<vb::Object>& object) {
    for (auto serveGroup : {serveProjects, serveCommandBars, serveWindows, serveDataEnvironment, serveEvents, serveSourceSafe})
        if (auto server = serveGroup(object)) return server;
    return nullptr;
}

Table& Table::get(const wchar_t* name, Getter call) {
    members_.push_back({name, static_cast<DISPID>(members_.size() + 1), std::move(call)});
    return *this;
}

Table& Table::prop(const wchar_t* name, Getter call, Putter put) {
    members_.push_back({name, static_cast<DISPID>(members_.size() + 1), std::move(call),
                        [put = std::move(put)](com::Args& a) { put(a.value()); }});
    return *this;
}

vb::Variant optional(const com::Args& a, size_t i, vb::Variant fallback) {
    return a.has(i) ? a[i] : std::move(fallback);
}

} // namespace simcom
