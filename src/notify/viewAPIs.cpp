#include "notify/viewAPIs.h"

#include "addin/IntegrationMgr.h"
#include "engine/VSAConstants.h"
#include "engine/wkapis.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/ui/ListView.h"
#include "platform/ui/TreeView.h"
#include "platform/variant.h"

#include <initializer_list>
#include <iterator>
#include <string_view>

namespace nimb::viewAPIs {

namespace {

using namespace VSAConstants;

// A reference the server view has not published (or has already cleared) is VB's Nothing.
template <class T>
T& object(const std::shared_ptr<T>& ref) {
    if (!ref) throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable not set", wkapis::errorSource);
    return *ref;
}
ui::TreeView& tree() { return object(moduleState().serverTreeView); }
ui::ListView& list() { return object(moduleState().serverDetailsView); }

std::string boolText(bool b) { return b ? "True" : "False"; }

// A procedure's or function's tag: whether it can be debugged, and its source file.
std::string debugTag(bool canDebug, const std::string& fileName) { return boolText(canDebug) + "#" + fileName; }

const char* connectionImage(const twkConnection& c) {
    return c.bConnected ? images::ConnectedConnection : images::DisconnectedConnection;
}
const char* procedureImage(const twkProcedure& p) {
    return p.bIsDirty ? images::DirtyStoredProcedure : images::StoredProcedure;
}
const char* functionImage(const twkFunction& f) {
    return f.bIsDirty ? images::DirtyUserFunction : images::UserFunction;
}

// Appends an item with its icon and cells. The icon goes in with the item, so an icon the image list
// lacks leaves no half-made item behind. The last cell is set first, so the row is made in one piece.
ui::ListItemPtr appendItem(int32_t hdl, const std::string& name, const char* smallIcon,
                           std::initializer_list<std::string_view> cells) {
    auto item = list().ListItems().Add(0, makeNodeKey(hdl), name, {}, smallIcon);
    item->setSubItems(cells);
    return item;
}

// The type of the objects the selected node shows: a folder's type plus one; other tags as they
// are; -1 when nothing is selected.
int32_t selectedObjectType() {
    const auto& selected = tree().SelectedItem();
    if (!selected) return -1;
    const int32_t tag = selected->Tag().toLong();
    switch (tag) {
    case WK_OBJ_PROCEDURE_FOLDER:
    case WK_OBJ_FUNCTION_FOLDER:
    case WK_OBJ_TRIGGER_FOLDER:
    case WK_OBJ_TABLE_FOLDER:
    case WK_OBJ_VIEW_FOLDER: return tag + 1;
    default: return tag;
    }
}

// A routine's bold face and tag follow its dirty and debug flags; a new item has its icon already.
void markProcedure(ui::ListItem& item, const twkProcedure& p) {
    item.setBold(p.bIsDirty);
    item.setTag(debugTag(p.bCanDebug, p.strFileName));
}
void showProcedure(ui::ListItem& item, const twkProcedure& p) {
    item.setSmallIcon(procedureImage(p));
    markProcedure(item, p);
}

void markFunction(ui::ListItem& item, const twkFunction& f) {
    item.setBold(f.bIsDirty);
    item.setTag(debugTag(f.bCanDebug, f.strFileName));
}
void showFunction(ui::ListItem& item, const twkFunction& f) {
    item.setSmallIcon(functionImage(f));
    markFunction(item, f);
}

} // namespace

ModuleState& moduleState() {
    static ModuleState state;
    return state;
}

void resetModuleState() { moduleState() = ModuleState{}; }

void setServerTreeView(std::shared_ptr<ui::TreeView> tree) { moduleState().serverTreeView = std::move(tree); }
void setServerDetailsView(std::shared_ptr<ui::ListView> list) { moduleState().serverDetailsView = std::move(list); }
void setIMgr(std::shared_ptr<IntegrationMgr> mgr) { moduleState().IMgr = std::move(mgr); }
void clearServerTreeView() { moduleState().serverTreeView.reset(); }
void clearServerDetailsView() { moduleState().serverDetailsView.reset(); }

std::string makeNodeKey(int32_t hdl) {
    // Appended rather than "K" + to_string: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
    std::string key = "K";
    key += std::to_string(hdl);
    return key;
}

int32_t keyToHandle(const std::string& key) {
    if (key.empty() || key.front() != 'K')
        throw vb::VBError(corruptKeyError, corruptKeyDescription, wkapis::errorSource);
    return vb::Variant(key.substr(1)).toLong();
}

void addFolderNode(const std::string& text, const std::string& tag, const std::string& key,
                   const std::string& parentKey, bool isRoot) {
    vb::reportTo(
        [&] {
            auto& nodes = tree().Nodes();
            ui::NodePtr node;
            if (isRoot) {
                nodes.Clear();
                node = nodes.Add({}, ui::tvw::Next, key, text, images::WKFolder);
            } else {
                node = nodes.Add(vb::Variant(parentKey), ui::tvw::Child, key, text, images::WKFolder);
            }
            node->setTag(vb::Variant(tag));
        },
        vb::numberColonDescription);
}

void addConnectionNode(const std::string& parentKey, const twkConnection& c) {
    vb::reportTo(
        [&] {
            tree()
                .Nodes()
                .Add(vb::Variant(parentKey), ui::tvw::Child, makeNodeKey(c.lHdl), c.strDatabase, connectionImage(c))
                ->setTag(vb::Variant(WK_OBJ_CONNECTION));
        },
        vb::numberColonDescription);
}

void removeNode(const std::string& key) {
    vb::reportTo([&] { tree().Nodes().Remove(key); }, vb::numberColonDescription);
}

void removeDetailsItem(const std::string& objectType, const std::string& key) {
    vb::reportTo(
        [&] {
            if (vb::Variant(selectedObjectType()).equals(vb::Variant(objectType))) list().ListItems().Remove(key);
        },
        vb::numberColonDescription);
}

bool isSelectedNodeType(int32_t type) {
    bool result = false;
    vb::reportTo(
        [&] {
            const auto& selected = tree().SelectedItem();
            result = selected && selected->Tag().equals(vb::Variant(type));
        },
        vb::numberColonDescription);
    return result;
}

void addProcedureItem(const twkProcedure& p) {
    vb::reraise([&] {
        auto item = appendItem(p.lHdl, p.strName, procedureImage(p),
                               {p.strSchema, p.strParameters, std::to_string(p.lResultSets), p.strLanguage,
                                p.strSpecific, p.strSQLPackage, boolText(p.bIsFenced), p.strComment});
        markProcedure(*item, p);
    });
}

void addFunctionItem(const twkFunction& f) {
    vb::reraise([&] {
        auto item = appendItem(f.lHdl, f.strName, functionImage(f),
                               {f.strSchema, f.strParameters, f.strResult, f.strLanguage, f.strSpecific,
                                std::to_string(f.bIsFenced), f.strComment});
        markFunction(*item, f);
    });
}

void addTriggerItem(const twkTrigger& t) {
    vb::reraise([&] {
        appendItem(t.lHdl, t.strName, images::Trigger, {t.strSchema, t.strTableName, t.strTableSchema, t.strComment});
    });
}

void addTableItem(const twkTable& t) {
    vb::reraise([&] {
        appendItem(t.lHdl, t.strName, images::NimbTable,
                   {t.strSchema, t.strTableSpace, std::to_string(t.lType), t.strComment});
    });
}

void addViewItem(const twkView& v) {
    vb::reraise([&] { appendItem(v.lHdl, v.strName, images::NimbView, {v.strSchema, v.strComment}); });
}

void setFolderFiltered(const std::string& key, bool filtered) {
    vb::reraise([&] { tree().Nodes().Item(key)->setImage(filtered ? images::FilteredWKFolder : images::WKFolder); });
}

void clearDetails() {
    vb::reraise([] { list().ListItems().Clear(); });
}

void expandSelectedNode() {
    vb::reraise([] {
        if (const auto& selected = tree().SelectedItem()) selected->setExpanded(true);
    });
}

void updateProcedureItem(const twkProcedure& p) {
    vb::silently([&] {
        auto item = list().ListItems().Item(makeNodeKey(p.lHdl));
        item->setText(p.strName);
        showProcedure(*item, p);
    });
}

void updateFunctionItem(const twkFunction& f) {
    vb::silently([&] {
        auto item = list().ListItems().Item(makeNodeKey(f.lHdl));
        item->setText(f.strName);
        showFunction(*item, f);
    });
}

void updateProjectNode(const twkProject& p) {
    vb::silently([&] {
        auto node = tree().Nodes().Item(makeNodeKey(p.lHdl));
        if (node->Text() != p.strName) node->setText(p.strName);
        object(moduleState().IMgr).setWKFileName(p.strPath);
    });
}

void updateConnectionNode(const twkConnection& c) {
    vb::silently([&] {
        auto node = tree().Nodes().Item(makeNodeKey(c.lHdl));
        if (node->Text() != c.strDatabase) node->setText(c.strDatabase);
        node->setImage(connectionImage(c));
    });
}

} // namespace nimb::viewAPIs
