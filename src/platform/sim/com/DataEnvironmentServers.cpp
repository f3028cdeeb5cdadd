// The Data Environment designer: its connections and commands.
#include "platform/sim/com/memberTables.h"

#include "platform/vbide/DECommand.h"
#include "platform/vbide/DECommands.h"
#include "platform/vbide/DEConnection.h"
#include "platform/vbide/DEConnections.h"
#include "platform/vbide/DataEnvironment.h"

namespace simcom {

namespace {

using vb::Variant;

com::ComPtr<IDispatch> designerServer(std::shared_ptr<vbide::DataEnvironment> x) {
    Table t;
    t.get(L"Connections", [x](com::Args&) { return served(x->Connections()); })
        .get(L"Commands", [x](com::Args&) { return served(x->Commands()); });
    return tableServer(t, x);
}

// Connections and Commands answer alike.
template <class Collection>
com::ComPtr<IDispatch> collectionServer(std::shared_ptr<Collection> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) {
            return served(byName(a, 0) ? x->Item(a[0].toString()) : x->Item(a[0].toLong()));
        })
        .get(L"Add", [x](com::Args& a) { return served(x->Add(a[0].toString(), optional(a, 1, false).toBool())); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> connectionServer(std::shared_ptr<vbide::DEConnection> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .prop(L"ConnectionSource", [x](com::Args&) { return Variant(x->ConnectionSource()); },
              [x](const Variant& v) { x->setConnectionSource(v.toString()); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> commandServer(std::shared_ptr<vbide::DECommand> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .prop(L"CommandType", [x](com::Args&) { return Variant(x->CommandType()); },
              [x](const Variant& v) { x->setCommandType(v.toLong()); })
        .prop(L"CommandText", [x](com::Args&) { return Variant(x->CommandText()); },
              [x](const Variant& v) { x->setCommandText(v.toString()); })
        .prop(L"ConnectionName", [x](com::Args&) { return Variant(x->ConnectionName()); },
              [x](const Variant& v) { x->setConnectionName(v.toString()); });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveDataEnvironment(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vbide::DataEnvironment>(object)) return designerServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::DEConnections>(object)) return collectionServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::DECommands>(object)) return collectionServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::DEConnection>(object)) return connectionServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::DECommand>(object)) return commandServer(x);
    return nullptr;
}

} // namespace simcom
