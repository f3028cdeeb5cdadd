// Remote: what every adapter of a COM object shares - the IDispatch it stands for, and its entry in
// the table of live adapters by COM identity. The add-in compares and keys the port objects it is
// handed (a clicked control against its own buttons, a project against the active one), so one COM
// object is one port object for as long as the add-in holds it.
#pragma once

#include "platform/variant.h"
#include "platform/win/com/Dispatch.h"

#include <memory>

namespace com {

class Remote {
public:
    explicit Remote(Dispatch object);
    virtual ~Remote();
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    const Dispatch& object() const { return object_; }

private:
    Dispatch object_;
    IUnknown* identity_;
};

// The IDispatch behind an object the IDE made (a port adapter or a com::DispatchObject); Nothing
// for Nothing. An object of the add-in's own raises 13: the IDE only takes back what it handed out.
Dispatch dispatchOf(const std::shared_ptr<vb::Object>& object);

// The live adapter of the object whose identity is given, or Nothing.
std::shared_ptr<vb::Object> knownAdapter(IUnknown* identity);
void rememberAdapter(IUnknown* identity, const std::shared_ptr<vb::Object>& adapter);
// Adapters alive in this process: the add-in holds none once it is disconnected.
size_t liveAdapterCount();

// The port object for object: the one already standing for it, else a new Adapter. Nothing for
// Nothing.
template <class Adapter, class Port = Adapter>
std::shared_ptr<Port> adapt(const Dispatch& object) {
    if (!object) return nullptr;
    IUnknown* key = object.identity();
    if (auto known = std::dynamic_pointer_cast<Port>(knownAdapter(key))) return known;
    auto adapter = std::make_shared<Adapter>(object);
    rememberAdapter(key, adapter);
    return adapter;
}

} // namespace com
