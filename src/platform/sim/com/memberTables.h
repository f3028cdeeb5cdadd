// The member tables of the served objects, one function per group of the object model. Each makes
// the server of an object of its group, or gives null for an object that is not of its group.
#pragma once

#include "platform/sim/com/SimServer.h"
#include "platform/win/com/MemberTable.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace simcom {

// The server of any object the simulated IDE or SourceSafe hands out; null for other objects.
com::ComPtr<IDispatch> newServer(const std::shared_ptr<vb::Object>& object);

com::ComPtr<IDispatch> serveProjects(const std::shared_ptr<vb::Object>& object);
com::ComPtr<IDispatch> serveCommandBars(const std::shared_ptr<vb::Object>& object);
com::ComPtr<IDispatch> serveWindows(const std::shared_ptr<vb::Object>& object);
com::ComPtr<IDispatch> serveDataEnvironment(const std::shared_ptr<vb::Object>& object);
com::ComPtr<IDispatch> serveEvents(const std::shared_ptr<vb::Object>& object);
com::ComPtr<IDispatch> serveSourceSafe(const std::shared_ptr<vb::Object>& object);

using Table = com::MemberTable;

// A server whose members are all in its table.
class TableServer final : public SimServer {
public:
    TableServer(std::vector<com::Member> members, std::shared_ptr<vb::Object> object)
        : SimServer(std::move(members), std::move(object)) {}
};

template <class T>
com::ComPtr<IDispatch> tableServer(Table& table, std::shared_ptr<T> object) {
    return com::make<TableServer>(table.members(), std::shared_ptr<vb::Object>(std::move(object)));
}

// Helpers for the tables.
inline vb::Variant nothing() { return vb::Variant(std::shared_ptr<vb::Object>()); }
// Whether the argument names its item by name (text) rather than by its 1-based index.
inline bool byName(const com::Args& a, size_t i) { return a[i].kind() == vb::Variant::Kind::String; }
// Optional argument i, or fallback when left out.
vb::Variant optional(const com::Args& a, size_t i, vb::Variant fallback);

} // namespace simcom
