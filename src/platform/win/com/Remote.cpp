#include "platform/win/com/Remote.h"

#include "platform/error.h"
#include "platform/win/com/DispatchObject.h"

#include <unordered_map>

namespace com {

namespace {

// Apartment-threaded: the IDE calls the add-in on one thread only.
std::unordered_map<IUnknown*, std::weak_ptr<vb::Object>>& adapters() {
    static std::unordered_map<IUnknown*, std::weak_ptr<vb::Object>> table;
    return table;
}

} // namespace

Remote::Remote(Dispatch object) : object_(std::move(object)), identity_(object_.identity()) {}

Remote::~Remote() {
    // Another adapter of the same object may have taken the entry over meanwhile; it stays.
    auto entry = adapters().find(identity_);
    if (entry != adapters().end() && entry->second.expired()) adapters().erase(entry);
}

Dispatch dispatchOf(const std::shared_ptr<vb::Object>& object) {
    if (!object) return {};
    if (auto* remote = dynamic_cast<Remote*>(object.get())) return remote->object();
    if (auto* held = dynamic_cast<DispatchObject*>(object.get())) return Dispatch(held->dispatch());
    throw vb::VBError(vb::err::TypeMismatch, "Type mismatch");
}

std::shared_ptr<vb::Object> knownAdapter(IUnknown* identity) {
    auto entry = adapters().find(identity);
    return entry == adapters().end() ? nullptr : entry->second.lock();
}

void rememberAdapter(IUnknown* identity, const std::shared_ptr<vb::Object>& adapter) {
    adapters()[identity] = adapter;
}

size_t liveAdapterCount() {
    return adapters().size();
}

} // namespace com
