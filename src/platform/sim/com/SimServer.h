// SimServer: one object of the simulated IDE (or of the in-memory SourceSafe) served over COM as an
// IDispatch with the member names of the object it plays. The servers are for Windows test builds
// only: the host hands them to the add-in, which reaches them through its late-bound adapters just
// as it would reach the real IDE.
//
// One served object has one COM identity while its server lives: serve() hands out the live server
// of an object again, so the add-in can compare what it is given. Every server counts in a tally of
// its own (servedObjects()), which the host expects back at zero once the add-in is gone.
#pragma once

#include "platform/variant.h"
#include "platform/win/com/ComPtr.h"
#include "platform/win/com/DispatchServer.h"

#include <oaidl.h>

#include <memory>
#include <vector>

namespace simcom {

// A served object's entry in the table of live servers and in the tally, for its server's life.
class ServerEntry {
public:
    ServerEntry(const vb::Object* object, IDispatch* server);
    ~ServerEntry();
    ServerEntry(const ServerEntry&) = delete;
    ServerEntry& operator=(const ServerEntry&) = delete;

private:
    const vb::Object* object_;
};

// More are interfaces the served object implements besides IDispatch.
template <class... More>
class SimServerOf : public com::DispatchServer<IDispatch, More...> {
protected:
    SimServerOf(std::vector<com::Member> members, std::shared_ptr<vb::Object> object)
        : com::DispatchServer<IDispatch, More...>(std::move(members), {}, object),
          entry_(object.get(), static_cast<IDispatch*>(this)) {}

private:
    ServerEntry entry_;
};

using SimServer = SimServerOf<>;

// The server of object (a new one unless one is alive); a null pointer for Nothing. An object of a
// kind nothing here serves raises 430 (the class does not support Automation).
com::ComPtr<IDispatch> serve(const std::shared_ptr<vb::Object>& object);

// object as a Variant a served member can return: the object's server, or Nothing.
vb::Variant served(const std::shared_ptr<vb::Object>& object);

// Servers alive in this process.
long servedObjects();

} // namespace simcom
