// viewAPIs: the one place that writes engine objects into the server view - the tree of the
// project, its connections and their five folders, and the details list of the selected folder's
// objects. It also fixes every node's and item's key, tag and image, which the server view reads
// back.
//
// Keys are "K" and the engine handle in decimal. A tree node's Tag is its object type: text ("5",
// "7", "9" ...) for the project and the folders, the number 6 for a connection.
#pragma once

#include "engine/WKTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class TreeView;
class ListView;
} // namespace ui

namespace nimb {
class IntegrationMgr;
}

namespace nimb::viewAPIs {

// The references the server view publishes when it builds its window. They are strong, as VB's
// module-level object variables are: the tool window's teardown clears the tree and the list.
struct ModuleState {
    std::shared_ptr<ui::TreeView> serverTreeView;
    std::shared_ptr<ui::ListView> serverDetailsView;
    std::shared_ptr<IntegrationMgr> IMgr;
};
ModuleState& moduleState();
void resetModuleState();

void setServerTreeView(std::shared_ptr<ui::TreeView> tree);
void setServerDetailsView(std::shared_ptr<ui::ListView> list);
void setIMgr(std::shared_ptr<IntegrationMgr> mgr);
void clearServerTreeView();
void clearServerDetailsView();

// The image keys of the server view's image list, in the list's index order (1 to 11).
namespace images {
inline constexpr char WKFolder[] = "WKFolder";
inline constexpr char FilteredWKFolder[] = "FilteredWKFolder";
inline constexpr char ConnectedConnection[] = "ConnectedConnection";
inline constexpr char DisconnectedConnection[] = "DisconnectedConnection";
inline constexpr char StoredProcedure[] = "StoredProcedure";
inline constexpr char DirtyStoredProcedure[] = "DirtyStoredProcedure";
inline constexpr char UserFunction[] = "UserFunction";
inline constexpr char DirtyUserFunction[] = "DirtyUserFunction";
inline constexpr char NimbTable[] = "NimbTable";
inline constexpr char Trigger[] = "Trigger";
inline constexpr char NimbView[] = "NimbView";
inline constexpr std::array<const char*, 11> inOrder = {
    WKFolder,     FilteredWKFolder,  ConnectedConnection, DisconnectedConnection, StoredProcedure, DirtyStoredProcedure,
    UserFunction, DirtyUserFunction, NimbTable,           Trigger,                NimbView};
} // namespace images

// The number and description keyToHandle raises for a key without the leading "K".
inline constexpr int32_t corruptKeyError = 5;
inline constexpr char corruptKeyDescription[] = "curreptud key";

// "K" and the handle in decimal (K-5 for -5).
std::string makeNodeKey(int32_t hdl);
// The number after the leading "K", rounded half to even. A key without the "K" raises
// corruptKeyError; text that is not a number raises 13, a number beyond the Long range 6.
int32_t keyToHandle(const std::string& key);

// Errors end these in a message box "number:description".
// With isRoot the tree is emptied and the node becomes its only root; otherwise it is the last
// child of the node with parentKey. Either way it gets the tag and the plain folder image.
void addFolderNode(const std::string& text, const std::string& tag, const std::string& key,
                   const std::string& parentKey, bool isRoot);
void addConnectionNode(const std::string& parentKey, const twkConnection& c);
void removeNode(const std::string& key);
// Removes the item only when objectType (decimal text) is the type of the objects the selected
// folder holds.
void removeDetailsItem(const std::string& objectType, const std::string& key);
// True when the selected node's tag equals type (the text "7" equals 7); False when nothing is
// selected or on an error.
bool isSelectedNodeType(int32_t type);

// These pass their errors to the caller (a duplicate key, a folder that is not in the tree).
void addProcedureItem(const twkProcedure& p);
void addFunctionItem(const twkFunction& f);
void addTriggerItem(const twkTrigger& t);
void addTableItem(const twkTable& t);
void addViewItem(const twkView& v);
void setFolderFiltered(const std::string& key, bool filtered);
void clearDetails();
void expandSelectedNode();

// These skip silently when no node or item has the record's key.
void updateProcedureItem(const twkProcedure& p);
void updateFunctionItem(const twkFunction& f);
void updateProjectNode(const twkProject& p);
void updateConnectionNode(const twkConnection& c);

} // namespace nimb::viewAPIs
