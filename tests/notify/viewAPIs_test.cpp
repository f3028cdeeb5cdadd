#include "NotifyDoubles.h"

#include "notify/viewAPIs.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace nimb;
using nimbtest::ServerViewFixture;

std::vector<std::string> subItems(const ui::ListItem& item) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= item.ListSubItems().Count(); ++i) out.push_back(item.ListSubItems().Item(i)->Text());
    return out;
}

std::vector<std::string> childKeys(const ui::Node& node) {
    std::vector<std::string> out;
    for (const auto& child : node.childNodes()) out.push_back(child->Key());
    return out;
}

// ---- Keys ----

TEST(NodeKeys, HandlesRoundTripAndFractionsRoundHalfToEven) {
    EXPECT_EQ(viewAPIs::makeNodeKey(1234), "K1234");
    for (int32_t hdl : {0, 12, -5, INT_MAX, INT_MIN}) EXPECT_EQ(viewAPIs::keyToHandle(viewAPIs::makeNodeKey(hdl)), hdl);
    EXPECT_EQ(viewAPIs::keyToHandle("K12.5"), 12);
    EXPECT_EQ(viewAPIs::keyToHandle("K13.5"), 14);
    EXPECT_EQ(viewAPIs::keyToHandle("K-2.5"), -2);
}

TEST(NodeKeys, BadKeysRaiseErrorsAndNeverCrash) {
    struct Case {
        const char* key;
        int32_t number;
    };
    const Case cases[] = {
        {"12", viewAPIs::corruptKeyError},
        {"", viewAPIs::corruptKeyError},
        {"k12", viewAPIs::corruptKeyError},
        {" K12", viewAPIs::corruptKeyError},
        {"K", 13},
        {"Kabc", 13},
        {"K12x", 13},
        {"K99999999999999999999", 6},
        {"K2147483648", 6},
        {"K1e400", 13},
    };
    for (const auto& c : cases) {
        try {
            viewAPIs::keyToHandle(c.key);
            ADD_FAILURE() << c.key << " gave a handle";
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.number(), c.number) << c.key;
            if (c.number == viewAPIs::corruptKeyError) {
                EXPECT_EQ(e.description(), "curreptud key");
            }
        }
    }
}

// ---- Tree nodes ----

using TreeNodes = ServerViewFixture;

TEST_F(TreeNodes, AddingARootReplacesTheWholeTree) {
    buildProjectTree();
    viewAPIs::addFolderNode("Other", "5", "K99", "", true);
    ASSERT_EQ(tree->Nodes().Count(), 1);
    auto root = tree->Nodes().Item("K99");
    EXPECT_EQ(root->Text(), "Other");
    EXPECT_TRUE(root->Tag().isString());
    EXPECT_EQ(root->Tag().toString(), "5");
    EXPECT_EQ(root->Image(), "WKFolder");
    EXPECT_EQ(root->SelectedImage(), "");
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(TreeNodes, FoldersAndConnectionsGoUnderTheirParentsWithTagsAndImages) {
    viewAPIs::addFolderNode("Proj", "5", "K1", "", true);
    twkConnection up{.lHdl = 2, .bConnected = true, .strDatabase = "SAMPLE"};
    twkConnection down{.lHdl = 3, .bConnected = false, .strDatabase = "TEST"};
    viewAPIs::addConnectionNode("K1", up);
    viewAPIs::addConnectionNode("K1", down);
    viewAPIs::addFolderNode("Stored Procedures", "7", "K4", "K2", false);

    auto con = tree->Nodes().Item("K2");
    EXPECT_EQ(con->Text(), "SAMPLE");
    EXPECT_FALSE(con->Tag().isString());
    EXPECT_EQ(con->Tag().toLong(), 6);
    EXPECT_EQ(con->Image(), "ConnectedConnection");
    EXPECT_EQ(tree->Nodes().Item("K3")->Image(), "DisconnectedConnection");
    EXPECT_EQ(childKeys(*tree->Nodes().Item("K1")), (std::vector<std::string>{"K2", "K3"}));

    auto folder = tree->Nodes().Item("K4");
    EXPECT_EQ(folder->Parent(), con);
    EXPECT_EQ(folder->Tag().toString(), "7");
    EXPECT_EQ(folder->Image(), "WKFolder");
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(TreeNodes, FailuresEndInANumberColonDescriptionBox) {
    buildProjectTree();
    for (int i = 0; i < 5; ++i) user->answerMsgBox(ui::mb::OK);
    viewAPIs::addFolderNode("Lost", "7", "K50", "K404", false);    // no such parent
    viewAPIs::addConnectionNode("K10", twkConnection{.lHdl = 21}); // key already in the tree
    viewAPIs::removeNode("K404");                                  // no such node
    tree->setImageList(nullptr);                                   // no image: no node either
    viewAPIs::addConnectionNode("K10", twkConnection{.lHdl = 30});
    viewAPIs::clearServerTreeView();
    viewAPIs::addFolderNode("Proj", "5", "K1", "", true); // no tree published
    EXPECT_EQ(boxes(), (std::vector<std::string>{"35601:Element not found", "35602:Key is not unique in collection",
                                                 "35601:Element not found",
                                                 "35613:ImageList must be initialized before it can be used",
                                                 "91:Object variable not set"}));
    EXPECT_EQ(tree->Nodes().Count(), 7);
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(TreeNodes, SelectedNodeTypeComparesTagsAsNumbers) {
    buildProjectTree();
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(6)); // nothing selected
    select("K20");
    EXPECT_TRUE(viewAPIs::isSelectedNodeType(6));
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(7));
    select("K21");
    EXPECT_TRUE(viewAPIs::isSelectedNodeType(7));
    select("K10");
    EXPECT_TRUE(viewAPIs::isSelectedNodeType(5));
    EXPECT_TRUE(user->problems().empty());

    user->answerMsgBox(ui::mb::OK);
    viewAPIs::clearServerTreeView();
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(5));
    EXPECT_EQ(boxes(), std::vector<std::string>{"91:Object variable not set"});
}

TEST_F(TreeNodes, UpdatesChangeTextAndImageAndPassThePathOn) {
    buildProjectTree();
    viewAPIs::updateProjectNode(twkProject{10, "Renamed", "C:\\p\\new.wkv"});
    viewAPIs::updateConnectionNode(twkConnection{.lHdl = 20, .bConnected = true, .strDatabase = "DB2"});
    EXPECT_EQ(tree->Nodes().Item("K10")->Text(), "Renamed");
    EXPECT_EQ(tree->Nodes().Item("K20")->Text(), "DB2");
    EXPECT_EQ(tree->Nodes().Item("K20")->Image(), "ConnectedConnection");
    EXPECT_EQ(mgr->log.calls, std::vector<std::string>{"setWKFileName(C:\\p\\new.wkv)"});

    viewAPIs::updateConnectionNode(twkConnection{.lHdl = 20, .bConnected = false, .strDatabase = "DB2"});
    EXPECT_EQ(tree->Nodes().Item("K20")->Image(), "DisconnectedConnection");
}

TEST_F(TreeNodes, UpdatesOfUnknownNodesAreSkippedSilently) {
    buildProjectTree();
    viewAPIs::updateProjectNode(twkProject{404, "X", "C:\\x.wkv"});
    viewAPIs::updateConnectionNode(twkConnection{.lHdl = 404, .strDatabase = "X"});
    viewAPIs::clearServerTreeView();
    viewAPIs::updateProjectNode(twkProject{10, "X", "C:\\x.wkv"});
    EXPECT_TRUE(mgr->log.calls.empty());
    EXPECT_TRUE(user->interactions().empty());
}

// ---- Details items ----

using DetailsItems = ServerViewFixture;

TEST_F(DetailsItems, EveryKindGetsItsCellsIconBoldAndTag) {
    twkProcedure p{.lHdl = 31,
                   .bIsDirty = true,
                   .bCanDebug = true,
                   .strSchema = "ADM",
                   .strName = "PROC1",
                   .strSpecific = "SQL01",
                   .strParameters = "IN A INT",
                   .strLanguage = "SQL",
                   .strSQLPackage = "P1",
                   .lResultSets = 2,
                   .bIsFenced = false,
                   .strComment = "c",
                   .strFileName = "C:\\work\\proc1.sql"};
    twkFunction f{.lHdl = 32,
                  .bIsDirty = false,
                  .bCanDebug = false,
                  .strSchema = "ADM",
                  .strName = "FN1",
                  .strSpecific = "S2",
                  .strParameters = "X INT",
                  .strResult = "INT",
                  .strLanguage = "JAVA",
                  .bIsFenced = -1,
                  .strComment = "",
                  .strFileName = "f.java"};
    twkTrigger t{.lHdl = 33,
                 .bIsDirty = true,
                 .strSchema = "ADM",
                 .strName = "TR1",
                 .strTableSchema = "S",
                 .strTableName = "T",
                 .strComment = "tc"};
    twkTable tb{.lHdl = 34,
                .bIsDirty = true,
                .strSchema = "ADM",
                .strName = "T1",
                .strTableSpace = "TS",
                .lType = 3,
                .strComment = "tbc"};
    twkView v{.lHdl = 35, .bIsDirty = true, .strSchema = "ADM", .strName = "V1", .strComment = "vc"};
    viewAPIs::addProcedureItem(p);
    viewAPIs::addFunctionItem(f);
    viewAPIs::addTriggerItem(t);
    viewAPIs::addTableItem(tb);
    viewAPIs::addViewItem(v);

    struct Expect {
        const char* key;
        const char* text;
        const char* icon;
        bool bold;
        const char* tag;
        std::vector<std::string> cells;
    };
    const Expect expected[] = {
        {"K31",
         "PROC1",
         "DirtyStoredProcedure",
         true,
         "True#C:\\work\\proc1.sql",
         {"ADM", "IN A INT", "2", "SQL", "SQL01", "P1", "False", "c"}},
        {"K32", "FN1", "UserFunction", false, "False#f.java", {"ADM", "X INT", "INT", "JAVA", "S2", "-1", ""}},
        {"K33", "TR1", "Trigger", false, "", {"ADM", "T", "S", "tc"}},
        {"K34", "T1", "NimbTable", false, "", {"ADM", "TS", "3", "tbc"}},
        {"K35", "V1", "NimbView", false, "", {"ADM", "vc"}},
    };
    ASSERT_EQ(list->ListItems().Count(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        const auto& e = expected[i];
        auto item = list->ListItems().Item(i + 1);
        EXPECT_EQ(item->Key(), e.key);
        EXPECT_EQ(item->Text(), e.text) << e.key;
        EXPECT_EQ(item->SmallIcon(), e.icon) << e.key;
        EXPECT_EQ(item->Icon(), "") << e.key;
        EXPECT_EQ(item->Bold(), e.bold) << e.key;
        EXPECT_EQ(item->Tag().toString(), e.tag) << e.key;
        EXPECT_EQ(subItems(*item), e.cells) << e.key;
    }
}

TEST_F(DetailsItems, AddAndFilterErrorsGoToTheCaller) {
    viewAPIs::addViewItem(twkView{.lHdl = 7});
    EXPECT_THROW(viewAPIs::addViewItem(twkView{.lHdl = 7}), vb::VBError);
    viewAPIs::clearServerDetailsView();
    try {
        viewAPIs::addTableItem(twkTable{.lHdl = 8});
        ADD_FAILURE() << "no list, no error";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.number(), 91);
    }
    viewAPIs::setServerDetailsView(list);
    list->setSmallIcons(nullptr); // an icon that cannot be shown leaves no half-made item
    EXPECT_THROW(viewAPIs::addTriggerItem(twkTrigger{.lHdl = 9}), vb::VBError);
    EXPECT_EQ(list->ListItems().Count(), 1);
    buildProjectTree();
    EXPECT_THROW(viewAPIs::setFolderFiltered("K404", true), vb::VBError);
    EXPECT_TRUE(user->interactions().empty());
}

TEST_F(DetailsItems, UpdatesRewriteTheItemButKeepItsCells) {
    viewAPIs::addProcedureItem(twkProcedure{.lHdl = 5, .strSchema = "A", .strName = "OLD", .strFileName = "a.sql"});
    viewAPIs::updateProcedureItem(twkProcedure{
        .lHdl = 5, .bIsDirty = true, .bCanDebug = true, .strSchema = "B", .strName = "NEW", .strFileName = "b.sql"});
    auto item = list->ListItems().Item("K5");
    EXPECT_EQ(item->Text(), "NEW");
    EXPECT_EQ(item->Tag().toString(), "True#b.sql");
    EXPECT_TRUE(item->Bold());
    EXPECT_EQ(item->SmallIcon(), "DirtyStoredProcedure");
    EXPECT_EQ(item->SubItems(1), "A");

    viewAPIs::addFunctionItem(twkFunction{.lHdl = 6, .bIsDirty = true, .strName = "F"});
    viewAPIs::updateFunctionItem(twkFunction{.lHdl = 6, .bIsDirty = false, .strName = "G", .strFileName = "g"});
    EXPECT_EQ(list->ListItems().Item("K6")->SmallIcon(), "UserFunction");
    EXPECT_FALSE(list->ListItems().Item("K6")->Bold());
    EXPECT_EQ(list->ListItems().Item("K6")->Tag().toString(), "False#g");

    viewAPIs::updateProcedureItem(twkProcedure{.lHdl = 404, .strName = "X"});
    viewAPIs::updateFunctionItem(twkFunction{.lHdl = 404, .strName = "X"});
    EXPECT_EQ(list->ListItems().Count(), 2);
    EXPECT_TRUE(user->interactions().empty());
}

TEST_F(DetailsItems, RemovalHappensOnlyWhenTheSelectedFolderHoldsThatType) {
    buildProjectTree();
    struct Case {
        const char* selected; // nullptr: nothing selected
        const char* type;
        bool removed;
    };
    const Case cases[] = {
        {"K21", "8", true},                        // stored-procedure folder, a procedure
        {"K24", "8", false},                       // table folder, a procedure
        {"K24", "14", true},                       // table folder, a table
        {"K25", "16", true},                       // view folder, a view
        {"K21", "7", false},                       // the folder type itself is not its objects' type
        {nullptr, "8", false},                     // nothing selected counts as -1
        {nullptr, "-1", true}, {"K20", "6", true}, // other tags stay as they are
    };
    for (const auto& c : cases) {
        list->ListItems().Clear();
        list->ListItems().Add(0, "K40", "obj");
        tree->setSelectedItem(c.selected ? tree->Nodes().Item(c.selected) : nullptr);
        viewAPIs::removeDetailsItem(c.type, "K40");
        EXPECT_EQ(list->ListItems().Count(), c.removed ? 0 : 1) << (c.selected ? c.selected : "none") << " " << c.type;
    }
    EXPECT_TRUE(user->problems().empty());

    user->answerMsgBox(ui::mb::OK);
    select("K21");
    viewAPIs::removeDetailsItem("8", "K404");
    EXPECT_EQ(boxes(), std::vector<std::string>{"35601:Element not found"});
}

} // namespace
