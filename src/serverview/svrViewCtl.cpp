#include "serverview/svrViewCtl.h"

#include "addin/IntegrationMgr.h"
#include "dialogs/conLstCtl.h"
#include "dialogs/fileChooserForm.h"
#include "engine/VSAConstants.h"
#include "engine/ansi.h"
#include "engine/wkapis.h"
#include "engine/wkutil.h"
#include "model/ModelUtil.h"
#include "model/objectRef.h"
#include "notify/viewAPIs.h"
#include "platform/error.h"
#include "platform/errorhandling.h"
#include "platform/ui/Forms.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/ui/MsgBox.h"
#include "platform/variant.h"
#include "scc/VSSAPI.h"
#include "scc/frmVSSLogin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace nimb {

using namespace VSAConstants;
using wkutil::getString;

namespace {

// The action codes with a meaning on this side: Open asks for the file first and closes the clicked
// project with the code of Remove; the ADO codes gather their arguments in the IDE.
constexpr int32_t actOpenProject = 2;
constexpr int32_t actRemove = 21;
constexpr int32_t actADOConnectionCode = 26;
constexpr int32_t actADOConnectionObject = 27;
constexpr int32_t actADOCommandCode = 28;
constexpr int32_t actADOCommandObject = 29;

// Layout as designed, twips.
constexpr int32_t designTreeWidth = 2500;
constexpr int32_t designSplitterWidth = 60;
constexpr int32_t designListWidth = 1000;
constexpr int32_t designHeight = 2000;
// The splitter band reaches this far right of the bar, so that it can be caught without precision.
constexpr int32_t splitterGrip = 5;
// The tree stays wider than the bar plus this; the list keeps more than this.
constexpr int32_t minTreeBeyondBar = 300;
constexpr int32_t minListWidth = 400;

constexpr int32_t imageSizePx = 20;
constexpr int32_t imageMaskColor = 0xC0C0C0; // red, green and blue 192

constexpr int32_t noKind = -1;

constexpr std::array<int32_t, 9> procColumnIds{500, 501, 506, 507, 504, 503, 508, 505, 502};
constexpr std::array<int32_t, 8> funcColumnIds{500, 501, 509, 510, 504, 503, 505, 502};
constexpr std::array<int32_t, 5> trigColumnIds{500, 501, 511, 512, 502};
constexpr std::array<int32_t, 5> tableColumnIds{500, 501, 513, 514, 502};
constexpr std::array<int32_t, 3> viewColumnIds{500, 501, 502};

// The language sub-item of a stored procedure or user function (the fifth column).
constexpr int32_t languageSubItem = 4;

// A node's kind is its tag read as a number ("7" is 7); a tag that is no whole number is no kind.
int32_t kindOf(const vb::Variant& tag) {
    if (!tag.isNumeric())
        return noKind;
    const double d = tag.toDouble();
    if (d != std::floor(d) || std::fabs(d) > std::numeric_limits<int32_t>::max())
        return noKind;
    return static_cast<int32_t>(d);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The languages whose routines the engine can show, build and drop.
bool isEngineLanguage(const std::string& language) {
    for (const char* known : {"COMPJAVA", "Java", "SQL"})
        if (equalsIgnoringCase(language, known))
            return true;
    return false;
}

// A routine's tag is "<can debug>#<source file>"; a flag that is no Boolean counts as False.
bool canDebugFlag(const std::string& tag) {
    return vb::Variant(tag.substr(0, tag.find('#'))).equals(vb::Variant(true));
}

// The text after the first "#" of a routine's tag: its source file, empty when none is known.
std::string sourceFileOf(const std::string& tag) {
    const auto hash = tag.find('#');
    return hash == std::string::npos ? std::string() : tag.substr(hash + 1);
}

// Event sizes are Long twips; resizeGUI takes Integers. A window beyond the Integer range is laid
// out as if it were as wide as an Integer allows rather than failing to lay out at all.
int16_t toInteger(int32_t twips) {
    return static_cast<int16_t>(
        std::clamp<int32_t>(twips, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

} // namespace

std::span<const svrViewCtl::MenuItemRow> svrViewCtl::menuRows() {
    using H = ItemHandler;
    using C = svrViewCtl;
    static const MenuItemRow rows[] = {
        {&C::conFolderMnu, nullptr, "conFolderMnu", "conFolderMnu", 0, 0, H::None},
        {&C::projOpenMnuItem, &C::conFolderMnu, "projOpenMnuItem", "Open", 438, 2, H::OnTreeNode},
        {&C::projSaveMnuItem, &C::conFolderMnu, "projSaveMnuItem", "Save", 439, 3, H::OnTreeNode},
        {&C::projSaveAsMnuItem, &C::conFolderMnu, "projSaveAsMnuItem", "Save As", 440, 4, H::SaveAs},
        {&C::scmPropsMnuItem, &C::conFolderMnu, "scmPropsMnuItem", "Add Project to Visual SourceSafe", 431, 0,
         H::AddProject},
        {&C::projSep, &C::conFolderMnu, "projSep", "-", 0, 0, H::None},
        {&C::addConMnuItem, &C::conFolderMnu, "addConMnuItem", "Add Connection", 401, 9, H::OnTreeNode},
        {&C::projPropsMnuItem, &C::conFolderMnu, "projPropsMnuItem", "Properties", 411, 13, H::OnTreeNode},

        {&C::devObjFolderMnu, nullptr, "devObjFolderMnu", "devObjFolderMnu", 0, 0, H::None},
        {&C::devObjFolderNewMnuItem, &C::devObjFolderMnu, "devObjFolderNewMnuItem", "New", 406, 9,
         H::OnTreeNode},
        {&C::devObjFolderImportMnuItem, &C::devObjFolderMnu, "devObjFolderImportMnuItem", "Import", 407, 12,
         H::OnTreeNode},
        {&C::devObjFolderPasteMnuItem, &C::devObjFolderMnu, "devObjFolderPasteMnuItem", "Paste", 405, 23,
         H::OnTreeNode},
        {&C::devObjFolderRefreshMnuItem, &C::devObjFolderMnu, "devObjFolderRefreshMnuItem", "Refresh", 402,
         10, H::OnTreeNode},
        {&C::devObjFolderFilterMnuItem, &C::devObjFolderMnu, "devObjFolderFilterMnuItem", "Filter", 425, 11,
         H::OnTreeNode},

        {&C::dbObjFolderMnu, nullptr, "dbObjFolderMnu", "dbObjFolderMnu", 0, 0, H::None},
        {&C::dbObjFolderRefreshMnuItem, &C::dbObjFolderMnu, "dbObjFolderRefreshMnuItem", "Refresh", 402, 10,
         H::OnTreeNode},
        {&C::dbObjFolderFilterMnuItem, &C::dbObjFolderMnu, "dbObjFolderFilterMnuItem", "Filter", 425, 11,
         H::OnTreeNode},

        {&C::dbConMnu, nullptr, "dbConMnu", "dbConMnu", 0, 0, H::None},
        {&C::conConnectMnuItem, &C::dbConMnu, "conConnectMnuItem", "Connect", 408, 7, H::OnTreeNode},
        {&C::conDisconnectmnuItem, &C::dbConMnu, "conDisconnectmnuItem", "Disconnect", 409, 8, H::OnTreeNode},
        {&C::conRemoveMnuItem, &C::dbConMnu, "conRemoveMnuItem", "Remove", 410, 21, H::OnTreeNode},
        {&C::conPropsMnuItem, &C::dbConMnu, "conPropsMnuItem", "Properties", 411, 13, H::OnTreeNode},
        {&C::dbConSep, &C::dbConMnu, "dbConSep", "-", 0, 0, H::None},
        {&C::adoConCodeMnuItem, &C::dbConMnu, "adoConCodeMnuItem", "Add ADO Connection Code", 412, 26,
         H::OnTreeNode},
        {&C::adoConObjMnuItem, &C::dbConMnu, "adoConObjMnuItem", "Add ADO Connection Object", 413, 27,
         H::OnTreeNode},

        {&C::devObjMnu, nullptr, "devObjMnu", "devObjMnu", 0, 0, H::None},
        {&C::devObjViewSrcMnuItem, &C::devObjMnu, "devObjViewSrcMnuItem", "View Source", 414, 25,
         H::OnListItem},
        {&C::devObjEditSrcMnuItem, &C::devObjMnu, "devObjEditSrcMnuItem", "Edit Source", 444, 14,
         H::OnListItem},
        {&C::devObjSep2, &C::devObjMnu, "devObjSep2", "-", 0, 0, H::None},
        {&C::devObjBuildMnuItem, &C::devObjMnu, "devObjBuildMnuItem", "Build", 415, 18, H::OnListItem},
        {&C::devObjBuildWDebugMnuItem, &C::devObjMnu, "devObjBuildWDebugMnuItem", "Build With Debug", 416, 19,
         H::OnListItem},
        {&C::devObjRunMnuItem, &C::devObjMnu, "devObjRunMnuItem", "Run", 417, 16, H::OnListItem},
        {&C::devObjRunWDebugMnuItem, &C::devObjMnu, "devObjRunWDebugMnuItem", "Run With Debug", 418, 17,
         H::OnListItem},
        {&C::devObjRunSetMnuItem, &C::devObjMnu, "devObjRunSetMnuItem", "Run Settings", 419, 15,
         H::OnListItem},
        {&C::devObjRmMnuItem, &C::devObjMnu, "devObjRmMnuItem", "Remove From Project", 445, 21,
         H::OnListItem},
        {&C::devObjDropMnuItem, &C::devObjMnu, "devObjDropMnuItem", "Drop From Database", 420, 22,
         H::OnListItem},
        {&C::devObjCopyMnuItem, &C::devObjMnu, "devObjCopyMnuItem", "Copy", 421, 24, H::OnListItem},
        {&C::devObjPropsMnuItem, &C::devObjMnu, "devObjPropsMnuItem", "Properties", 411, 13, H::OnListItem},
        {&C::devObjSep1, &C::devObjMnu, "devObjSep1", "-", 0, 0, H::None},
        {&C::devObjScmMnuItem, &C::devObjMnu, "devObjScmMnuItem", "Visual SourceSafe", 432, 0, H::None},
        {&C::devObjAddFileMnuItem, &C::devObjScmMnuItem, "devObjAddFileMnuItem", "Add &File", 443, 0,
         H::AddFile},
        {&C::devObjChkOutMnuItem, &C::devObjScmMnuItem, "devObjChkOutMnuItem", "Check Out", 434, 0,
         H::CheckOut},
        {&C::devObjChkInMnuItem, &C::devObjScmMnuItem, "devObjChkInMnuItem", "Check In", 433, 0, H::CheckIn},
        {&C::devObjSep, &C::devObjMnu, "devObjSep", "-", 0, 0, H::None},
        {&C::addCmdCodeMnuItem, &C::devObjMnu, "addCmdCodeMnuItem", "Add ADO Command Code", 422, 28,
         H::OnListItem},
        {&C::addCmdObjMnuItem, &C::devObjMnu, "addCmdObjMnuItem", "Add ADO Command Object", 423, 29,
         H::OnListItem},

        {&C::dbTableObjMnu, nullptr, "dbTableObjMnu", "dbTableObjMnu", 0, 0, H::None},
        {&C::dbTblPropsMnuItem, &C::dbTableObjMnu, "dbTblPropsMnuItem", "Properties", 411, 13, H::OnListItem},
        {&C::dbTblSmplContMnuItem, &C::dbTableObjMnu, "dbTblSmplContMnuItem", "Sample Contents", 424, 20,
         H::OnListItem},

        {&C::trigObjMnu, nullptr, "trigObjMnu", "trigObjMnu", 0, 0, H::None},
        {&C::trigObjPropsMnuItem, &C::trigObjMnu, "trigObjPropsMnuItem", "Properties", 411, 13,
         H::OnListItem},
    };
    return rows;
}

// ---- Construction and initialisation ------------------------------------------------------------

svrViewCtl::svrViewCtl() : ServerViewControl("svrViewCtl") {
    Move(0, 0, designTreeWidth + designSplitterWidth + designListWidth, designHeight);
    serverTreeView = add<ui::TreeView>("serverTreeView");
    serverTreeView->Move(0, 0, designTreeWidth, designHeight);
    splitPane = add<ui::Shape>("splitPane");
    splitPane->Move(designTreeWidth, 0, designSplitterWidth, designHeight);
    serverDetailsView = add<ui::ListView>("serverDetailsView");
    serverDetailsView->Move(designTreeWidth + designSplitterWidth, 0, designListWidth, designHeight);
    ImageList1 = add<ui::ImageList>("ImageList1");
    createImages();
    createMenus();

    serverTreeView->onNodeClick = [this](const ui::NodePtr&) { showCurrentFolder(false); };
    serverTreeView->onDblClick = [this] { showCurrentFolder(true); };
    serverTreeView->onMouseDown = [this](int16_t b, int16_t s, int32_t x, int32_t y) {
        serverTreeView_MouseDown(b, s, x, y);
    };
    serverTreeView->onMouseMove = [this](int16_t, int16_t, int32_t, int32_t) { viewMouseMove(); };
    serverDetailsView->onMouseDown = [this](int16_t b, int16_t s, int32_t x, int32_t y) {
        serverDetailsView_MouseDown(b, s, x, y);
    };
    serverDetailsView->onMouseMove = [this](int16_t, int16_t, int32_t, int32_t) { viewMouseMove(); };
}

// viewAPIs may hold the tree and the list beyond this control; their events must not reach it then.
svrViewCtl::~svrViewCtl() {
    serverTreeView->onNodeClick = nullptr;
    serverTreeView->onDblClick = nullptr;
    serverTreeView->onMouseDown = nullptr;
    serverTreeView->onMouseMove = nullptr;
    serverDetailsView->onMouseDown = nullptr;
    serverDetailsView->onMouseMove = nullptr;
}

void svrViewCtl::createImages() {
    ImageList1->setImageWidth(imageSizePx);
    ImageList1->setImageHeight(imageSizePx);
    ImageList1->setMaskColor(imageMaskColor);
    ImageList1->setUseMaskColor(true);
    for (const char* key : viewAPIs::images::inOrder)
        ImageList1->ListImages().Add(0, key, ui::StoredPicture(key));
}

void svrViewCtl::createMenus() {
    for (const auto& row : menuRows()) {
        auto& menu = this->*row.field;
        menu = row.parent ? (this->*row.parent)->add(row.name, row.caption) : addMenu(row.name, row.caption);
        if (row.handler != ItemHandler::None)
            menu->onClick = [this, &row] { menuItem_Click(row); };
    }
}

void svrViewCtl::UserControl_Initialize() {
    auto& list = *serverDetailsView;
    list.setView(ui::lvw::Report);
    list.ColumnHeaders().Clear();
    list.setLabelEdit(ui::lvw::LabelManual);
    list.setSmallIcons(ImageList1);
    list.setIcons(ImageList1);
    list.setView(ui::lvw::Icon);

    auto& tree = *serverTreeView;
    tree.setSorted(true);
    tree.setLineStyle(ui::tvw::RootLines);
    tree.setImageList(ImageList1);
    tree.setFullRowSelect(true);
    tree.setHotTracking(true);
    tree.setLabelEdit(ui::tvw::LabelManual);
}

// ---- Setup ----------------------------------------------------------------------------------------

void svrViewCtl::setupGUI() {
    applyInterfaceFont();
    viewAPIs::setServerTreeView(serverTreeView);
    viewAPIs::setServerDetailsView(serverDetailsView);
    viewAPIs::setIMgr(IMgr_);
    for (const auto& row : menuRows()) {
        if (row.textId != 0)
            (this->*row.field)->setCaption(getString(row.textId));
    }
    for (const auto& row : menuRows()) {
        if (row.actionCode != 0)
            (this->*row.field)->setTag(std::to_string(row.actionCode));
    }
    fillColumnLists();
    showSourceSafeItems();
    showIdeTypeItems();
}

// The character set counts too: a font that looks the same under another character set shows the
// engine's texts wrongly.
void svrViewCtl::applyInterfaceFont() {
    const ui::Font& own = Font();
    const auto charset = static_cast<int16_t>(wkutil::uiFontCharset());
    const auto size = static_cast<float>(wkutil::uiFontSize());
    if (own.Name == wkutil::uiFontName() && own.Size == size && own.Charset == charset)
        return;
    for (ui::Control* control :
         std::initializer_list<ui::Control*>{this, serverTreeView.get(), serverDetailsView.get()}) {
        ui::Font f = control->Font();
        f.Name = wkutil::uiFontName();
        f.Size = size;
        f.Charset = charset;
        control->setFont(f);
    }
}

void svrViewCtl::fillColumnLists() {
    auto fill = [](auto& columns, const auto& ids) {
        for (size_t i = 0; i < ids.size(); ++i)
            columns[i] = getString(ids[i]);
    };
    fill(procColumns, procColumnIds);
    fill(funcColumns, funcColumnIds);
    fill(trigColumns, trigColumnIds);
    fill(tableColumns, tableColumnIds);
    fill(viewColumns, viewColumnIds);
}

void svrViewCtl::showSourceSafeItems() {
    sccAvailable_ = VSSAPI::isVSSInstalled();
    for (const auto& item :
         {scmPropsMnuItem, devObjScmMnuItem, devObjChkInMnuItem, devObjChkOutMnuItem, devObjAddFileMnuItem})
        item->setEnabled(sccAvailable_);
}

// Object items exist only where the IDE has Data Environments; code items wherever client code can go.
void svrViewCtl::showIdeTypeItems() {
    const bool vbIde = mgr().getIdeType() == IDE_VB;
    adoConObjMnuItem->setVisible(vbIde);
    addCmdObjMnuItem->setVisible(vbIde);
    const bool otherIde = mgr().getIdeType() == IDE_OTHER;
    for (const auto& item : {dbConSep, devObjSep, adoConCodeMnuItem, addCmdCodeMnuItem})
        item->setVisible(!otherIde);
}

IntegrationMgr& svrViewCtl::mgr() const {
    return use(IMgr_);
}

// ---- Layout and the splitter ----------------------------------------------------------------------

void svrViewCtl::UserControl_Resize() {
    resizeGUI(toInteger(ScaleWidth()), toInteger(ScaleHeight()));
}

void svrViewCtl::resizeGUI(int16_t width, int16_t height) {
    serverTreeView->setHeight(height);
    splitPane->setHeight(height);
    serverDetailsView->setHeight(height);
    const int32_t used = serverTreeView->Width() + splitPane->Width();
    if (used < width)
        serverDetailsView->setWidth(width - used);
}

bool svrViewCtl::inSplitterBand(int32_t x, int32_t y) const {
    const int32_t left = serverTreeView->Width();
    return left <= x && x <= left + splitPane->Width() + splitterGrip && 0 < y && y < splitPane->Height();
}

bool svrViewCtl::withinDragBounds(int32_t x) const {
    return x - splitPane->Width() - minTreeBeyondBar > 0 &&
           x + splitPane->Width() + minListWidth < ScaleWidth();
}

void svrViewCtl::layoutForTreeWidth(int32_t x) {
    auto& tree = *serverTreeView;
    auto& bar = *splitPane;
    auto& list = *serverDetailsView;
    tree.Move(tree.Left(), tree.Top(), x, tree.Height());
    bar.Move(tree.Width(), bar.Top(), bar.Width(), bar.Height());
    list.Move(tree.Width() + bar.Width(), list.Top(), ScaleWidth() - tree.Width() - bar.Width(),
              list.Height());
}

// The bar has no window of its own, so the mouse over it is the user control's.
void svrViewCtl::UserControl_MouseMove(int16_t button, int16_t, int32_t x, int32_t y) {
    if (!draggingSplitter_ && inSplitterBand(x, y)) {
        setMousePointer(ui::vbSizeWE);
        if (button == ui::vbLeftButton)
            draggingSplitter_ = true;
    }
    if (draggingSplitter_ && withinDragBounds(x))
        layoutForTreeWidth(x);
}

void svrViewCtl::UserControl_MouseUp(int16_t, int16_t, int32_t x, int32_t) {
    if (!draggingSplitter_)
        return;
    if (withinDragBounds(x))
        layoutForTreeWidth(x);
    setMousePointer(ui::vbDefault);
    draggingSplitter_ = false;
}

// Leaving the bar for a view takes the sizing arrow away.
void svrViewCtl::viewMouseMove() {
    if (!draggingSplitter_)
        setMousePointer(ui::vbDefault);
}

// ---- Column widths --------------------------------------------------------------------------------

std::optional<svrViewCtl::ColumnSet> svrViewCtl::columnSetFor(int32_t folderKind) {
    switch (folderKind) {
    case WK_OBJ_PROCEDURE_FOLDER:
        return ColumnSet{procColumns, procWidths, &procWidthsSaved};
    case WK_OBJ_FUNCTION_FOLDER:
        return ColumnSet{funcColumns, funcWidths, &funcWidthsSaved};
    case WK_OBJ_TRIGGER_FOLDER:
        return ColumnSet{trigColumns, trigWidths, &trigWidthsSaved};
    case WK_OBJ_TABLE_FOLDER:
        return ColumnSet{tableColumns, tableWidths, &tableWidthsSaved};
    case WK_OBJ_VIEW_FOLDER:
        return ColumnSet{viewColumns, viewWidths, &viewWidthsSaved};
    default:
        return std::nullopt;
    }
}

void svrViewCtl::saveColumnWidths() {
    if (!previousSelNode_)
        return;
    auto set = columnSetFor(kindOf(previousSelNode_->Tag()));
    if (!set)
        return;
    const auto headers = serverDetailsView->ColumnHeaders().items();
    if (headers.size() > set->widths.size())
        throw vb::VBError(vb::err::SubscriptOutOfRange, "Subscript out of range");
    for (size_t i = 0; i < headers.size(); ++i)
        set->widths[i] = vb::roundHalfEven(headers[i]->Width());
    *set->widthsSaved = true;
}

// ---- Tree and details -----------------------------------------------------------------------------

// The list is refilled by the engine once it knows the new current folder (viewAPIs, from the
// folder-changed notification); until then it stays empty.
void svrViewCtl::showCurrentFolder(bool byDoubleClick) {
    const ui::NodePtr node = serverTreeView->SelectedItem();
    if (!node)
        return;
    auto& list = *serverDetailsView;
    list.ListItems().Clear();
    if (previousSelNode_)
        saveColumnWidths();
    list.ColumnHeaders().Clear();
    previousSelNode_ = node;
    if (auto set = columnSetFor(kindOf(node->Tag()))) {
        for (size_t i = 0; i < set->columns.size(); ++i) {
            const std::string& header = set->columns[i];
            if (*set->widthsSaved)
                list.ColumnHeaders().Add(0, header, header, static_cast<float>(set->widths[i]));
            else
                list.ColumnHeaders().Add(0, header, header);
        }
        list.setFullRowSelect(true);
        list.setView(ui::lvw::Report);
    } else {
        list.setFullRowSelect(false);
        list.setView(ui::lvw::Icon);
    }
    const int32_t handle = viewAPIs::keyToHandle(node->Key());
    wkapis::WKSetCurrentFolder(handle, byDoubleClick ? WK_TRUE : WK_FALSE);
}

// ---- Context menus --------------------------------------------------------------------------------

void svrViewCtl::serverTreeView_MouseDown(int16_t button, int16_t, int32_t x, int32_t y) {
    if (button != ui::vbRightButton)
        return;
    const ui::NodePtr node = serverTreeView->HitTest(x, y);
    if (!node)
        return;
    serverTreeView->setSelectedItem(node);
    showCurrentFolder(false);
    ui::Menu* menu = dbObjFolderMnu.get();
    switch (kindOf(node->Tag())) {
    case WK_OBJ_PROJECT:
        menu = conFolderMnu.get();
        break;
    case WK_OBJ_CONNECTION:
        menu = dbConMnu.get();
        break;
    case WK_OBJ_PROCEDURE_FOLDER:
    case WK_OBJ_FUNCTION_FOLDER:
        menu = devObjFolderMnu.get();
        break;
    default:
        break;
    }
    // The tree sits at the control's origin: its coordinates are the control's.
    PopupMenu(*menu, 0, x, y);
}

void svrViewCtl::serverDetailsView_MouseDown(int16_t button, int16_t, int32_t x, int32_t y) {
    if (button != ui::vbRightButton)
        return;
    const ui::NodePtr node = serverTreeView->SelectedItem();
    const ui::ListItemPtr item = serverDetailsView->HitTest(x, y);
    if (!node || !item)
        return;
    serverDetailsView->setSelectedItem(item);
    const int32_t kind = kindOf(node->Tag());
    ui::Menu* menu = nullptr;
    switch (kind) {
    case WK_OBJ_PROCEDURE_FOLDER:
    case WK_OBJ_FUNCTION_FOLDER:
        prepareDevObjMnu(kind, *item);
        menu = devObjMnu.get();
        break;
    case WK_OBJ_TRIGGER_FOLDER:
        menu = trigObjMnu.get();
        break;
    case WK_OBJ_TABLE_FOLDER:
    case WK_OBJ_VIEW_FOLDER:
        menu = dbTableObjMnu.get();
        break;
    default:
        return;
    }
    PopupMenu(*menu, 0, serverTreeView->Width() + x, y);
}

// Source, build, drop and copy need a language the engine handles; debugging needs the object built
// for it. The SourceSafe items follow the language only where SourceSafe is there at all.
void svrViewCtl::prepareDevObjMnu(int32_t folderKind, const ui::ListItem& item) {
    const bool procedures = folderKind == WK_OBJ_PROCEDURE_FOLDER;
    devObjBuildWDebugMnuItem->setVisible(procedures);
    devObjRunWDebugMnuItem->setVisible(procedures);
    const bool known = isEngineLanguage(item.SubItems(languageSubItem));
    for (const auto& menu :
         {devObjViewSrcMnuItem, devObjEditSrcMnuItem, devObjBuildMnuItem, devObjBuildWDebugMnuItem})
        menu->setEnabled(known);
    devObjRunWDebugMnuItem->setEnabled(known && canDebugFlag(item.Tag().toString()));
    devObjDropMnuItem->setEnabled(known);
    devObjCopyMnuItem->setEnabled(known);
    if (sccAvailable_) {
        for (const auto& menu :
             {devObjScmMnuItem, devObjChkInMnuItem, devObjChkOutMnuItem, devObjAddFileMnuItem})
            menu->setEnabled(known);
    }
}

// ---- Commands -------------------------------------------------------------------------------------

void svrViewCtl::menuItem_Click(const MenuItemRow& row) {
    const ui::Menu& item = *(this->*row.field);
    switch (row.handler) {
    case ItemHandler::OnTreeNode:
        return doMenuAction(item, true);
    case ItemHandler::OnListItem:
        return doMenuAction(item, false);
    case ItemHandler::SaveAs:
        return projSaveAsMnuItem_Click();
    case ItemHandler::AddProject:
        return addProjectToSourceSafe();
    case ItemHandler::AddFile:
        return sourceSafeCommand(item, VSSAPI::vssAddFile);
    case ItemHandler::CheckIn:
        return sourceSafeCommand(item, VSSAPI::vssCheckIn);
    case ItemHandler::CheckOut:
        return sourceSafeCommand(item, VSSAPI::vssCheckOut);
    case ItemHandler::None:
        return;
    }
}

void svrViewCtl::doMenuAction(const ui::Menu& menuItem, bool onTreeNode) {
    vb::reportTo(
        [&] {
            const int32_t code = vb::Variant(menuItem.Tag()).toLong();
            const std::string key = onTreeNode ? use(serverTreeView->SelectedItem()).Key()
                                               : use(serverDetailsView->SelectedItem()).Key();
            const int32_t handle = viewAPIs::keyToHandle(key);
            switch (code) {
            case actOpenProject:
                return openProjectFile(handle);
            case actADOConnectionCode:
            case actADOCommandCode:
                return requestADOCode(handle);
            case actADOConnectionObject:
                return requestADOConnection(handle);
            case actADOCommandObject:
                return requestADOCommand(handle);
            default:
                wkapis::WKObjectDoAction(handle, code);
            }
        },
        vb::numberColonDescription);
}

// The engine closes the project of the node first; a cancelled choice leaves it open.
void svrViewCtl::openProjectFile(int32_t handle) {
    const std::string folder = wkutil::getDirectory(mgr().getWKFileName());
    std::string name, path;
    if (!ui::Forms::instance<fileChooserForm>()->openFileDlg(getString(610), ".wkv", ".wkv", folder, name,
                                                             path))
        return;
    wkapis::WKObjectDoAction(handle, actRemove);
    mgr().setWKFileName(path + "\\" + name);
    ansi::InOutBuffer nameBuffer(name), pathBuffer(path);
    wkapis::WKProjectDoAccess(nameBuffer.data(), pathBuffer.data(), WK_ACCESS_OPEN);
}

// The engine answers with the code as a notification, which goes into the selected component.
void svrViewCtl::requestADOCode(int32_t handle) {
    const std::string project = use(mgr().getModel()).getActiveProjName();
    const std::string component = use(mgr().getModel()).getSelectedcompName();
    const int32_t language = vb::Variant(use(mgr().getModel()).GetDevLanguage()).toLong();
    ansi::InOutBuffer projectBuffer(project), componentBuffer(component);
    wkapis::WKObjectDoGetADO(handle, language, projectBuffer.data(), componentBuffer.data());
}

void svrViewCtl::requestADOConnection(int32_t handle) {
    if (!use(mgr().getModel()).existsDataEnvObjs()) {
        ui::MsgBox(getString(670));
        return;
    }
    std::string name = "WKConnection", project, dataEnv, connection;
    bool accepted = false;
    askADOTarget(false, name, project, dataEnv, connection, accepted);
    if (!accepted)
        return;
    ansi::InOutBuffer projectBuffer(project), dataEnvBuffer(dataEnv), nameBuffer(name);
    wkapis::WKConnectionDoGetDE(handle, projectBuffer.data(), dataEnvBuffer.data(), nameBuffer.data());
}

void svrViewCtl::requestADOCommand(int32_t handle) {
    if (!use(mgr().getModel()).existsDataEnvObjs()) {
        ui::MsgBox(getString(671));
        return;
    }
    std::string name = "WKCommand", project, dataEnv, connection;
    bool accepted = false;
    askADOTarget(true, name, project, dataEnv, connection, accepted);
    if (!accepted)
        return;
    ansi::InOutBuffer projectBuffer(project), dataEnvBuffer(dataEnv), connectionBuffer(connection),
        nameBuffer(name);
    wkapis::WKCommandDoGetDE(handle, projectBuffer.data(), dataEnvBuffer.data(), connectionBuffer.data(),
                             nameBuffer.data());
}

// On a refusal the caller's texts keep what they held.
void svrViewCtl::askADOTarget(bool isCommand, std::string& name, std::string& project, std::string& dataEnv,
                              std::string& connection, bool& accepted) {
    auto dialog = ui::Forms::instance<conLstCtl>();
    dialog->setIMgr(IMgr_);
    dialog->setupGUI(name, vb::Variant(isCommand));
    dialog->Show(ui::vbModal);
    const bool decision = vb::Variant(dialog->userDecision()).toBool();
    if (decision) {
        name = dialog->selectedName();
        project = dialog->selectedProj();
        dataEnv = dialog->selectedDataEnv();
        if (isCommand)
            connection = dialog->selectedCon();
    }
    ui::Forms::unload<conLstCtl>();
    accepted = decision;
}

void svrViewCtl::projSaveAsMnuItem_Click() {
    const std::string folder = wkutil::getDirectory(mgr().getWKFileName());
    std::string file;
    if (!ui::Forms::instance<fileChooserForm>()->saveFileDlg(getString(611), "wkv", "wkv", folder, file))
        return;
    if (mgr().getIdeType() == IDE_VB)
        use(mgr().getModel()).saveWKFileName(file);
    mgr().setWKFileName(file);
    ansi::InOutBuffer nameBuffer(file), pathBuffer("");
    wkapis::WKProjectDoAccess(nameBuffer.data(), pathBuffer.data(), WK_ACCESS_SAVE_AS);
}

// The login dialog stays loaded afterwards, keeping what was typed for the next login.
void svrViewCtl::addProjectToSourceSafe() {
    auto login = ui::Forms::instance<frmVSSLogin>();
    const std::string problem = login->setupForm();
    if (!problem.empty()) {
        ui::MsgBox(problem);
        return;
    }
    login->Show(ui::vbModal);
}

void svrViewCtl::sourceSafeCommand(const ui::Menu& clicked, void (*command)(const std::string& filePath)) {
    std::string file;
    if (const ui::ListItemPtr& item = serverDetailsView->SelectedItem())
        file = sourceFileOf(item->Tag().toString());
    if (file.empty()) {
        ui::MsgBox(wkutil::getStringP2(683, devObjViewSrcMnuItem->Caption(), clicked.Caption()));
        return;
    }
    command(file);
}

// ---- Termination ----------------------------------------------------------------------------------

void svrViewCtl::UserControl_Terminate() {
    previousSelNode_.reset();
    serverTreeView->Nodes().Clear();
    serverDetailsView->ListItems().Clear();
    serverTreeView->setImageList(nullptr);
    serverDetailsView->setIcons(nullptr);
    serverDetailsView->setSmallIcons(nullptr);
    IMgr_.reset();
}

} // namespace nimb
