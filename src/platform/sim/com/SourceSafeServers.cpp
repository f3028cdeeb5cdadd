// SourceSafe automation: a database session, its items and their children.
#include "platform/sim/com/memberTables.h"

#include "platform/vss/VSSDatabase.h"
#include "platform/vss/VSSItem.h"
#include "platform/vss/VSSItems.h"

namespace simcom {

namespace {

using vb::Variant;

com::ComPtr<IDispatch> databaseServer(std::shared_ptr<vss::VSSDatabase> x) {
    Table t;
    t.get(L"Open", [x](com::Args& a) {
         x->Open(optional(a, 0, "").toString(), optional(a, 1, "").toString(), optional(a, 2, "").toString());
         return Variant();
     })
        .get(L"VSSItem", [x](com::Args& a) { return served(x->VSSItem(a[0].toString(), optional(a, 1, false).toBool())); })
        .get(L"SrcSafeIni", [x](com::Args&) { return Variant(x->SrcSafeIni()); })
        .get(L"Username", [x](com::Args&) { return Variant(x->Username()); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> itemServer(std::shared_ptr<vss::VSSItem> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .get(L"Spec", [x](com::Args&) { return Variant(x->Spec()); })
        .get(L"Type", [x](com::Args&) { return Variant(x->Type()); })
        .get(L"Items", [x](com::Args& a) { return served(x->Items(optional(a, 0, false).toBool())); })
        .get(L"NewSubproject", [x](com::Args& a) {
            return served(x->NewSubproject(a[0].toString(), optional(a, 1, "").toString()));
        })
        .get(L"Add", [x](com::Args& a) {
            return served(x->Add(a[0].toString(), optional(a, 1, "").toString(), optional(a, 2, 0).toLong()));
        })
        .get(L"Checkout", [x](com::Args& a) {
            x->Checkout(optional(a, 0, "").toString(), optional(a, 1, "").toString(), optional(a, 2, 0).toLong());
            return Variant();
        })
        .get(L"Checkin", [x](com::Args& a) {
            x->Checkin(optional(a, 0, "").toString(), optional(a, 1, "").toString(), optional(a, 2, 0).toLong());
            return Variant();
        })
        .get(L"IsCheckedOut", [x](com::Args&) { return Variant(x->IsCheckedOut()); });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> itemsServer(std::shared_ptr<vss::VSSItems> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) { return served(x->Item(a[0].toLong())); });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveSourceSafe(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vss::VSSDatabase>(object)) return databaseServer(x);
    if (auto x = std::dynamic_pointer_cast<vss::VSSItem>(object)) return itemServer(x);
    if (auto x = std::dynamic_pointer_cast<vss::VSSItems>(object)) return itemsServer(x);
    return nullptr;
}

} // namespace simcom
