// The Office command bars of the IDE: the bars, their controls and the controls' drop-downs.
#include "platform/sim/com/memberTables.h"

#include "platform/vbide/CommandBar.h"
#include "platform/vbide/CommandBarControl.h"
#include "platform/vbide/CommandBarControls.h"
#include "platform/vbide/CommandBars.h"
#include "platform/vbide/Constants.h"

namespace simcom {

namespace {

using vb::Variant;

std::optional<int32_t> optionalLong(const com::Args& a, size_t i) {
    if (!a.has(i)) return std::nullopt;
    return a[i].toLong();
}

com::ComPtr<IDispatch> barsServer(std::shared_ptr<vbide::CommandBars> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) {
            return served(byName(a, 0) ? x->Item(a[0].toString()) : x->Item(a[0].toLong()));
        })
        .get(L"Add", [x](com::Args& a) {
            return served(x->Add(optional(a, 0, "").toString(), optional(a, 1, vbide::msoBarFloating).toLong(),
                                 optional(a, 2, false).toBool(), optional(a, 3, false).toBool()));
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> barServer(std::shared_ptr<vbide::CommandBar> x) {
    Table t;
    t.get(L"Name", [x](com::Args&) { return Variant(x->Name()); })
        .prop(L"Visible", [x](com::Args&) { return Variant(x->Visible()); },
              [x](const Variant& v) { x->setVisible(v.toBool()); })
        .get(L"Position", [x](com::Args&) { return Variant(x->Position()); })
        .get(L"Controls", [x](com::Args&) { return served(x->Controls()); })
        .get(L"FindControl", [x](com::Args& a) {
            vbide::FindControlArgs find;
            find.Type = optionalLong(a, 0);
            find.Id = optionalLong(a, 1);
            if (a.has(2)) find.Tag = a[2].toString();
            find.Visible = optional(a, 3, false).toBool();
            find.Recursive = optional(a, 4, false).toBool();
            return served(x->FindControl(find));
        })
        .get(L"Delete", [x](com::Args&) {
            x->Delete();
            return Variant();
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> controlsServer(std::shared_ptr<vbide::CommandBarControls> x) {
    Table t;
    t.get(L"Count", [x](com::Args&) { return Variant(x->Count()); })
        .get(L"Item", [x](com::Args& a) { return served(x->Item(a[0].toLong())); })
        .get(L"Add", [x](com::Args& a) {
            vbide::ControlAddArgs add;
            add.Type = optional(a, 0, vbide::msoControlButton).toLong();
            add.Id = optionalLong(a, 1);
            add.Parameter = optional(a, 2, Variant());
            add.Before = optionalLong(a, 3);
            add.Temporary = optional(a, 4, false).toBool();
            return served(x->Add(add));
        });
    return tableServer(t, x);
}

com::ComPtr<IDispatch> controlServer(std::shared_ptr<vbide::CommandBarControl> x) {
    Table t;
    t.get(L"Type", [x](com::Args&) { return Variant(x->Type()); })
        .get(L"Id", [x](com::Args&) { return Variant(x->Id()); })
        .get(L"Index", [x](com::Args&) { return Variant(x->Index()); })
        .prop(L"Caption", [x](com::Args&) { return Variant(x->Caption()); },
              [x](const Variant& v) { x->setCaption(v.toString()); })
        .prop(L"TooltipText", [x](com::Args&) { return Variant(x->TooltipText()); },
              [x](const Variant& v) { x->setTooltipText(v.toString()); })
        .prop(L"OnAction", [x](com::Args&) { return Variant(x->OnAction()); },
              [x](const Variant& v) { x->setOnAction(v.toString()); })
        .prop(L"Tag", [x](com::Args&) { return Variant(x->Tag()); }, [x](const Variant& v) { x->setTag(v.toString()); })
        .prop(L"Parameter", [x](com::Args&) { return x->Parameter(); }, [x](const Variant& v) { x->setParameter(v); })
        .prop(L"BeginGroup", [x](com::Args&) { return Variant(x->BeginGroup()); },
              [x](const Variant& v) { x->setBeginGroup(v.toBool()); })
        .prop(L"Enabled", [x](com::Args&) { return Variant(x->Enabled()); },
              [x](const Variant& v) { x->setEnabled(v.toBool()); })
        .prop(L"Visible", [x](com::Args&) { return Variant(x->Visible()); },
              [x](const Variant& v) { x->setVisible(v.toBool()); })
        // The face comes from the runtime's clipboard, which the process shares with the add-in.
        .get(L"PasteFace", [x](com::Args&) {
            x->PasteFace();
            return Variant();
        })
        .get(L"Controls", [x](com::Args&) { return served(x->Controls()); })
        .get(L"Execute", [x](com::Args&) {
            x->Execute();
            return Variant();
        })
        .get(L"Delete", [x](com::Args& a) {
            x->Delete(a.has(0) ? std::optional<bool>(a[0].toBool()) : std::nullopt);
            return Variant();
        });
    return tableServer(t, x);
}

} // namespace

com::ComPtr<IDispatch> serveCommandBars(const std::shared_ptr<vb::Object>& object) {
    if (auto x = std::dynamic_pointer_cast<vbide::CommandBars>(object)) return barsServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::CommandBar>(object)) return barServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::CommandBarControls>(object)) return controlsServer(x);
    if (auto x = std::dynamic_pointer_cast<vbide::CommandBarControl>(object)) return controlServer(x);
    return nullptr;
}

} // namespace simcom
