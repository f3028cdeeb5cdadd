// The tree-update module where a person cannot reach it: node keys, failures, selection types, updates
// of unknown nodes, add errors and removal rules. The nodes and items of every kind are shown cell by
// cell in the start_and_view and engine_texts scenarios.
#include "NotifyDoubles.h"

#include "notify/viewAPIs.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace nimb;
using nimbtest::ServerViewFixture;
using Texts = std::vector<std::string>;

TEST(NodeKeys, HandlesRoundTripAndFractionsRoundHalfToEven) {
    EXPECT_EQ(viewAPIs::makeNodeKey(1234), "K1234");
    for (int32_t hdl : {0, 12, -5, INT_MAX, INT_MIN})
        EXPECT_EQ(viewAPIs::keyToHandle(viewAPIs::makeNodeKey(hdl)), hdl);
    EXPECT_EQ(viewAPIs::keyToHandle("K12.5"), 12);
    EXPECT_EQ(viewAPIs::keyToHandle("K13.5"), 14);
    EXPECT_EQ(viewAPIs::keyToHandle("K-2.5"), -2);
}

TEST(NodeKeys, BadKeysRaiseErrorsAndNeverCrash) {
    const std::pair<const char*, int32_t> cases[] = {
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
    for (const auto& [key, number] : cases) {
        try {
            viewAPIs::keyToHandle(key);
            ADD_FAILURE() << key << " gave a handle";
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.number(), number) << key;
            if (number == viewAPIs::corruptKeyError) {
                EXPECT_EQ(e.description(), "curreptud key");
            }
        }
    }
}

using TreeNodes = ServerViewFixture;

TEST_F(TreeNodes, FailuresEndInANumberColonDescriptionBox) {
    buildProjectTree();
    for (int i = 0; i < 5; ++i)
        user->answerMsgBox(ui::mb::OK);
    viewAPIs::addFolderNode("Lost", "7", "K50", "K404", false);    // no such parent
    viewAPIs::addConnectionNode("K10", twkConnection{.lHdl = 21}); // key already in the tree
    viewAPIs::removeNode("K404");                                  // no such node
    tree->setImageList(nullptr);                                   // no image: no node either
    viewAPIs::addConnectionNode("K10", twkConnection{.lHdl = 30});
    viewAPIs::clearServerTreeView();
    viewAPIs::addFolderNode("Proj", "5", "K1", "", true); // no tree published
    EXPECT_EQ(
        boxes(),
        (Texts{"35601:Element not found", "35602:Key is not unique in collection", "35601:Element not found",
               "35613:ImageList must be initialized before it can be used", "91:Object variable not set"}));
    EXPECT_EQ(tree->Nodes().Count(), 7);
    EXPECT_TRUE(user->problems().empty());
}

TEST_F(TreeNodes, SelectedNodeTypeComparesTagsAsNumbers) {
    buildProjectTree();
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(6)); // nothing selected
    select("K20");
    EXPECT_TRUE(viewAPIs::isSelectedNodeType(6));
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(7));
    user->answerMsgBox(ui::mb::OK);
    viewAPIs::clearServerTreeView();
    EXPECT_FALSE(viewAPIs::isSelectedNodeType(5));
    EXPECT_EQ(boxes(), Texts{"91:Object variable not set"});
}

TEST_F(TreeNodes, UpdatesReachKnownNodesOnlyAndPassThePathOn) {
    buildProjectTree();
    viewAPIs::updateProjectNode(twkProject{404, "X", "C:\\x.wkv"});
    viewAPIs::updateConnectionNode(twkConnection{.lHdl = 404, .strDatabase = "X"});
    EXPECT_TRUE(mgr->log.calls.empty());
    viewAPIs::updateConnectionNode(twkConnection{.lHdl = 20, .bConnected = false, .strDatabase = "DB2"});
    EXPECT_EQ(tree->Nodes().Item("K20")->Text(), "DB2");
    EXPECT_EQ(tree->Nodes().Item("K20")->Image(), "DisconnectedConnection");
    viewAPIs::clearServerTreeView();
    viewAPIs::updateProjectNode(twkProject{10, "X", "C:\\x.wkv"});
    EXPECT_TRUE(mgr->log.calls.empty());
    EXPECT_TRUE(user->interactions().empty());
}

using DetailsItems = ServerViewFixture;

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

TEST_F(DetailsItems, RemovalHappensOnlyWhenTheSelectedFolderHoldsThatType) {
    buildProjectTree();
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"K21", "8", true},    {"K24", "8", false}, {"K24", "14", true},
        {"K25", "16", true},   {"K21", "7", false}, // the folder type itself is not its objects' type
        {nullptr, "8", false},                      // nothing selected counts as -1
        {nullptr, "-1", true}, {"K20", "6", true},  // other tags stay as they are
    };
    for (const auto& [selected, type, removed] : cases) {
        list->ListItems().Clear();
        list->ListItems().Add(0, "K40", "obj");
        tree->setSelectedItem(selected ? tree->Nodes().Item(selected) : nullptr);
        viewAPIs::removeDetailsItem(type, "K40");
        EXPECT_EQ(list->ListItems().Count(), removed ? 0 : 1)
            << (selected ? selected : "none") << " " << type;
    }
    EXPECT_TRUE(user->problems().empty());
    user->answerMsgBox(ui::mb::OK);
    select("K21");
    viewAPIs::removeDetailsItem("8", "K404");
    EXPECT_EQ(boxes(), Texts{"35601:Element not found"});
}

} // namespace
