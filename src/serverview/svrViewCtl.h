// svrViewCtl: the server view. A tree of the engine project, its connections and their folders on
// the left, the objects of the folder shown on the right, a bar between them that the user drags to
// share the width, and the context menus through which every command on a node or an object goes
// to the engine (or, for the project file, Data Environment objects and SourceSafe, through the
// IDE-side dialogs first).
//
// The tree and the list are filled by viewAPIs from engine notifications; this control only
// chooses which folder is current and what the columns and menus are.
#pragma once

#include "addin/serverViewDoc.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Shape.h"
#include "platform/ui/TreeView.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace nimb {

class svrViewCtl : public ServerViewControl {
  public:
    svrViewCtl();
    ~svrViewCtl() override;

    const std::shared_ptr<IntegrationMgr>& IMgr() const { return IMgr_; }
    void setIMgr(std::shared_ptr<IntegrationMgr> mgr) override { IMgr_ = std::move(mgr); }
    const ui::NodePtr& previousSelNode() const { return previousSelNode_; }
    void setPreviousSelNode(ui::NodePtr node) { previousSelNode_ = std::move(node); }

    // Once, after IMgr is set: fonts, the references viewAPIs writes through, menu captions and
    // action codes, column headers, and the items that depend on SourceSafe and the IDE kind.
    void setupGUI() override;
    // Lays the views out for a client area of width x height twips; the tree keeps its width.
    void resizeGUI(int16_t width, int16_t height);
    // Remembers the widths of the columns on screen for the folder kind of previousSelNode.
    void saveColumnWidths();

    bool sccAvailable() const { return sccAvailable_; }
    bool draggingSplitter() const { return draggingSplitter_; }

    std::shared_ptr<ui::TreeView> serverTreeView;
    std::shared_ptr<ui::Shape> splitPane;
    std::shared_ptr<ui::ListView> serverDetailsView;
    std::shared_ptr<ui::ImageList> ImageList1;

    ui::MenuPtr conFolderMnu, projOpenMnuItem, projSaveMnuItem, projSaveAsMnuItem, scmPropsMnuItem, projSep,
        addConMnuItem, projPropsMnuItem;
    ui::MenuPtr devObjFolderMnu, devObjFolderNewMnuItem, devObjFolderImportMnuItem, devObjFolderPasteMnuItem,
        devObjFolderRefreshMnuItem, devObjFolderFilterMnuItem;
    ui::MenuPtr dbObjFolderMnu, dbObjFolderRefreshMnuItem, dbObjFolderFilterMnuItem;
    ui::MenuPtr dbConMnu, conConnectMnuItem, conDisconnectmnuItem, conRemoveMnuItem, conPropsMnuItem,
        dbConSep, adoConCodeMnuItem, adoConObjMnuItem;
    ui::MenuPtr devObjMnu, devObjViewSrcMnuItem, devObjEditSrcMnuItem, devObjSep2, devObjBuildMnuItem,
        devObjBuildWDebugMnuItem, devObjRunMnuItem, devObjRunWDebugMnuItem, devObjRunSetMnuItem,
        devObjRmMnuItem, devObjDropMnuItem, devObjCopyMnuItem, devObjPropsMnuItem, devObjSep1,
        devObjScmMnuItem, devObjAddFileMnuItem, devObjChkOutMnuItem, devObjChkInMnuItem, devObjSep,
        addCmdCodeMnuItem, addCmdObjMnuItem;
    ui::MenuPtr dbTableObjMnu, dbTblPropsMnuItem, dbTblSmplContMnuItem;
    ui::MenuPtr trigObjMnu, trigObjPropsMnuItem;

  protected:
    void UserControl_Initialize() override;
    void UserControl_Resize() override;
    void UserControl_Terminate() override;
    void UserControl_MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) override;
    void UserControl_MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) override;

  private:
    // What an item's Click does.
    enum class ItemHandler { None, OnTreeNode, OnListItem, SaveAs, AddProject, AddFile, CheckIn, CheckOut };
    // One menu item as designed: where it sits, its design caption, the text id of its caption, the
    // action code its Tag carries and its Click.
    struct MenuItemRow {
        ui::MenuPtr svrViewCtl::*field;
        ui::MenuPtr svrViewCtl::*parent;
        const char* name;
        const char* caption; // "-" is a separator
        int32_t textId;      // 0: the design caption stays
        int32_t actionCode;  // 0: the Tag stays empty
        ItemHandler handler;
    };
    static std::span<const MenuItemRow> menuRows();

    // The header list, width list and flag of one folder kind.
    struct ColumnSet {
        std::span<const std::string> columns;
        std::span<int32_t> widths;
        bool* widthsSaved;
    };
    std::optional<ColumnSet> columnSetFor(int32_t folderKind);

    void createImages();
    void createMenus();
    void applyInterfaceFont();
    void fillColumnLists();
    void showSourceSafeItems();
    void showIdeTypeItems();

    bool inSplitterBand(int32_t x, int32_t y) const;
    bool withinDragBounds(int32_t x) const;
    void layoutForTreeWidth(int32_t x);
    void viewMouseMove();

    void showCurrentFolder(bool byDoubleClick);
    void serverTreeView_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
    void serverDetailsView_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
    void prepareDevObjMnu(int32_t folderKind, const ui::ListItem& item);

    void menuItem_Click(const MenuItemRow& row);
    void doMenuAction(const ui::Menu& menuItem, bool onTreeNode);
    void openProjectFile(int32_t handle);
    void requestADOCode(int32_t handle);
    void requestADOConnection(int32_t handle);
    void requestADOCommand(int32_t handle);
    void askADOTarget(bool isCommand, std::string& name, std::string& project, std::string& dataEnv,
                      std::string& connection, bool& accepted);
    void projSaveAsMnuItem_Click();
    void addProjectToSourceSafe();
    void sourceSafeCommand(const ui::Menu& clicked, void (*command)(const std::string& filePath));

    IntegrationMgr& mgr() const;

    std::shared_ptr<IntegrationMgr> IMgr_;
    ui::NodePtr previousSelNode_;

    std::array<std::string, 9> procColumns;
    std::array<std::string, 8> funcColumns;
    std::array<std::string, 5> trigColumns;
    std::array<std::string, 5> tableColumns;
    std::array<std::string, 3> viewColumns;
    std::array<int32_t, 9> procWidths{};
    std::array<int32_t, 8> funcWidths{};
    std::array<int32_t, 5> trigWidths{};
    std::array<int32_t, 5> tableWidths{};
    std::array<int32_t, 3> viewWidths{};
    bool procWidthsSaved = false;
    bool funcWidthsSaved = false;
    bool trigWidthsSaved = false;
    bool tableWidthsSaved = false;
    bool viewWidthsSaved = false;

    bool draggingSplitter_ = false;
    bool sccAvailable_ = false;
};

} // namespace nimb
