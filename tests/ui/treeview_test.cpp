#include "platform/ui/ImageList.h"
#include "platform/ui/LoadResPicture.h"
#include "platform/ui/TreeView.h"
#include "ui_fixture.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using ui::NodePtr;
using ui::TreeView;
namespace tvw = ui::tvw;

namespace {

std::vector<std::string> texts(const std::vector<NodePtr>& nodes) {
    std::vector<std::string> out;
    for (const auto& n : nodes) out.push_back(n->Text());
    return out;
}

struct Tree : ::testing::Test {
    Tree() { tree.Move(0, 0, 2500, 2000); }
    ui::Nodes& nodes() { return tree.Nodes(); }
    TreeView tree;
};

} // namespace

TEST_F(Tree, KeysAreUniqueAcrossTheTreeAndLookedUpByKeyOrIndex) {
    auto project = nodes().Add({}, tvw::Next, "K1", "Project");
    nodes().Add("K1", tvw::Child, "K2", "Connection");
    EXPECT_EQ(nodes().Item("K2")->Parent(), project);
    EXPECT_EQ(nodes().Item(2)->Key(), "K2");
    EXPECT_EQ(nodes().Item(vb::Variant(int32_t{1})), project);
    EXPECT_EQ(nodes().Count(), 2);

    const std::vector<std::tuple<const char*, std::function<void()>, int32_t>> cases = {
        {"duplicate key under another parent", [&] { nodes().Add("K2", tvw::Child, "K1", "x"); }, 35602},
        {"numeric key", [&] { nodes().Add({}, tvw::Next, "12", "x"); }, 35603},
        {"missing key", [&] { nodes().Item("K9"); }, 35601},
        {"missing relative", [&] { nodes().Add("K9", tvw::Child, "K3", "x"); }, 35601},
        {"index beyond Count", [&] { nodes().Item(3); }, 35600},
        {"index 0", [&] { nodes().Item(0); }, 35600},
        {"relationship outside 0..4", [&] { nodes().Add("K1", 5, "K3", "x"); }, 5},
        {"removing a missing key", [&] { nodes().Remove("K9"); }, 35601},
        {"image without an image list", [&] { nodes().Add("K1", tvw::Child, "K3", "x", "WKFolder"); }, 35613},
    };
    for (const auto& [what, call, error] : cases) EXPECT_EQ(errorNumberOf(call), error) << what;
    EXPECT_EQ(nodes().Count(), 2) << "a refused Add must add nothing";
    EXPECT_FALSE(nodes().find("K3"));
}

TEST_F(Tree, RelationshipsPlaceTheNewNode) {
    nodes().Add({}, tvw::Next, "Kp", "p");
    nodes().Add("Kp", tvw::Child, "Kb", "b");
    nodes().Add("Kb", tvw::Previous, "Ka", "a");
    nodes().Add("Kb", tvw::Next, "Kc", "c");
    nodes().Add("Kb", tvw::First, "K0", "first");
    nodes().Add("Ka", tvw::Last, "Kz", "last");
    EXPECT_EQ(texts(nodes().Item("Kp")->childNodes()), (std::vector<std::string>{"first", "a", "b", "c", "last"}));
    EXPECT_EQ(nodes().Item("Kp")->Children(), 5);
    EXPECT_EQ(nodes().Item("Kp")->Child()->Key(), "K0");
    EXPECT_EQ(nodes().Item("Ka")->Next()->Key(), "Kb");
    EXPECT_EQ(nodes().Item("Ka")->Previous()->Key(), "K0");
}

TEST_F(Tree, SortedTreeKeepsEveryLevelInTextOrder) {
    tree.setSorted(true);
    nodes().Add({}, tvw::Next, "Kp", "Project");
    for (auto [key, text] : {std::pair{"K1", "Views"}, {"K2", "stored procedures"}, {"K3", "Tables"}, {"K4", "Triggers"}})
        nodes().Add("Kp", tvw::Child, key, text);
    nodes().Add({}, tvw::Next, "Kq", "Another");
    EXPECT_EQ(texts(nodes().roots()), (std::vector<std::string>{"Another", "Project"}));
    EXPECT_EQ(texts(nodes().Item("Kp")->childNodes()),
              (std::vector<std::string>{"stored procedures", "Tables", "Triggers", "Views"}));

    nodes().Item("K1")->setText("Aliases");  // a renamed node moves to its place
    EXPECT_EQ(nodes().Item("Kp")->Child()->Key(), "K1");

    tree.setSorted(false);  // later nodes go where they are put
    nodes().Add("Kp", tvw::Child, "K5", "AAA");
    EXPECT_EQ(nodes().Item("Kp")->childNodes().back()->Key(), "K5");
}

TEST_F(Tree, SortingLaterReordersExistingNodesAndEqualTextsKeepTheirOrder) {
    nodes().Add({}, tvw::Next, "Kb", "b");
    nodes().Add({}, tvw::Next, "Ka1", "a");
    nodes().Add({}, tvw::Next, "Ka2", "A");
    tree.setSorted(true);
    EXPECT_EQ(nodes().roots()[0]->Key(), "Ka1");  // "a" and "A" sort alike: the order of adding decides
    EXPECT_EQ(texts(nodes().roots()), (std::vector<std::string>{"a", "A", "b"}));
    EXPECT_EQ(nodes().Item(1)->Key(), "Kb") << "Index keeps the order of adding";
}

TEST_F(Tree, RemoveTakesTheSubtreeAndFreesItsKeys) {
    nodes().Add({}, tvw::Next, "Kp", "p");
    nodes().Add("Kp", tvw::Child, "Kc1", "c1");
    nodes().Add("Kp", tvw::Child, "Kc2", "c2");
    auto folder = nodes().Add("Kc1", tvw::Child, "Kf", "folder");
    nodes().Add("Kf", tvw::Child, "Kx", "x");

    nodes().Remove("Kc1");
    EXPECT_EQ(nodes().Count(), 2);
    for (const char* gone : {"Kc1", "Kf", "Kx"}) EXPECT_FALSE(nodes().find(gone)) << gone;
    EXPECT_EQ(texts(nodes().Item("Kp")->childNodes()), (std::vector<std::string>{"c2"}));
    EXPECT_EQ(nodes().Item("Kc2")->Index(), 2);
    // A reference held outside sees a detached node.
    EXPECT_EQ(folder->treeView(), nullptr);
    EXPECT_FALSE(folder->Parent());
    EXPECT_EQ(folder->Children(), 0);
    EXPECT_EQ(folder->Index(), 0);

    auto again = nodes().Add("Kc2", tvw::Child, "Kf", "folder again");
    EXPECT_EQ(nodes().Item("Kf"), again);
    nodes().Remove(1);  // by index: the root and everything
    EXPECT_EQ(nodes().Count(), 0);
}

TEST_F(Tree, RemovingTheSelectionHandsItOn) {
    nodes().Add({}, tvw::Next, "Kp", "p");
    for (const char* k : {"Ka", "Kb", "Kc"}) nodes().Add("Kp", tvw::Child, k, k);
    nodes().Add("Kb", tvw::Child, "Kb1", "b1");

    nodes().Item("Kb1")->setSelected(true);
    nodes().Remove("Kb");  // selection was inside the subtree: next sibling
    EXPECT_EQ(tree.SelectedItem()->Key(), "Kc");
    nodes().Remove("Kc");  // no next sibling: previous
    EXPECT_EQ(tree.SelectedItem()->Key(), "Ka");
    nodes().Remove("Ka");  // no sibling: parent
    EXPECT_EQ(tree.SelectedItem()->Key(), "Kp");
    nodes().Clear();
    EXPECT_FALSE(tree.SelectedItem());
}

TEST_F(Tree, HitTestFollowsTheRowLayoutOfVisibleNodes) {
    tree.setLineStyle(tvw::RootLines);
    nodes().Add({}, tvw::Next, "Kp", "p")->setExpanded(true);
    nodes().Add("Kp", tvw::Child, "Kc", "c");
    nodes().Add("Kc", tvw::Child, "Kh", "hidden under a collapsed node");
    nodes().Add({}, tvw::Next, "Kq", "q");
    const int row = TreeView::RowHeight, indent = TreeView::DefaultIndentation;

    const std::vector<std::tuple<int32_t, int32_t, const char*>> cases = {
        {indent, 0, "Kp"},                  // root, with root lines one indentation in (nullptr: nothing)
        {indent - 1, 10, nullptr},          // left of the root's item
        {2 * indent, row, "Kc"},            // second row, one level deeper
        {2 * indent - 1, row + 5, nullptr}, // in the child's indentation
        {2400, 2 * row + row - 1, "Kq"},    // third row: the collapsed child is not shown
        {indent, 3 * row, nullptr},         // below the last row
        {2500, 0, nullptr},                 // beyond the width
        {indent, -1, nullptr},
    };
    for (const auto& [x, y, key] : cases) {
        auto hit = tree.HitTest(x, y);
        EXPECT_EQ(hit ? hit->Key() : std::string("none"), key ? key : "none") << x << "," << y;
    }
    nodes().Item("Kc")->setExpanded(true);
    EXPECT_EQ(tree.HitTest(3 * indent, 2 * row)->Key(), "Kh");
    for (const char* key : {"Kp", "Kc", "Kh", "Kq"}) {
        auto [x, y] = *tree.pointOf(*nodes().Item(key));
        EXPECT_EQ(tree.HitTest(x, y)->Key(), key);
    }
}

TEST_F(Tree, ClickHelpersFireTheEventsInOrder) {
    nodes().Add({}, tvw::Next, "Kp", "p");
    auto child = nodes().Add("Kp", tvw::Child, "Kc", "c");
    std::vector<std::string> events;
    tree.onMouseDown = [&](int16_t b, int16_t, int32_t x, int32_t y) {
        events.push_back("down" + std::to_string(b));
        EXPECT_EQ(tree.HitTest(x, y)->Key(), "Kp");
    };
    tree.onMouseUp = [&](int16_t b, int16_t, int32_t, int32_t) { events.push_back("up" + std::to_string(b)); };
    tree.onNodeClick = [&](const NodePtr& n) { events.push_back("node " + n->Key() + (n->Selected() ? " selected" : "")); };
    tree.onDblClick = [&] { events.push_back("dbl"); };

    auto root = nodes().Item("Kp");
    tree.dblclick(root);
    EXPECT_EQ(events, (std::vector<std::string>{"down1", "node Kp selected", "up1", "dbl"}));
    events.clear();
    tree.setSelectedItem(nullptr);
    tree.rightclick(root);
    EXPECT_EQ(events, (std::vector<std::string>{"down2", "up2"}));
    EXPECT_FALSE(tree.SelectedItem()) << "a right-click does not select";
    EXPECT_EQ(errorNumberOf([&] { tree.click(child); }), 35601) << "a node under a collapsed parent cannot be clicked";
}

TEST_F(Tree, ImagesMustBeInTheImageList) {
    auto images = std::make_shared<ui::ImageList>();
    images->ListImages().Add(0, "WKFolder", ui::StoredPicture("WKFolder"));
    tree.setImageList(images);
    auto node = nodes().Add({}, tvw::Next, "Kp", "p", "WKFolder");
    EXPECT_EQ(node->Image(), "WKFolder");
    EXPECT_EQ(errorNumberOf([&] { node->setImage("NoSuchImage"); }), 35601);
    EXPECT_EQ(node->Image(), "WKFolder");
}

TEST_F(Tree, ClearDetachesEveryNodeHeldOutside) {
    auto root = nodes().Add({}, tvw::Next, "Kp", "p");
    auto child = nodes().Add(vb::Variant(std::static_pointer_cast<vb::Object>(root)), tvw::Child, "Kc", "c");
    EXPECT_EQ(child->Parent(), root) << "a node object names the relative too";
    child->setSelected(true);
    nodes().Clear();
    EXPECT_EQ(nodes().Count(), 0);
    EXPECT_FALSE(tree.SelectedItem());
    for (const auto& held : {root, child}) {
        EXPECT_EQ(held->treeView(), nullptr);
        EXPECT_FALSE(held->Parent());
        EXPECT_FALSE(held->Child());
        EXPECT_FALSE(held->Next());
    }
    EXPECT_EQ(errorNumberOf([&] { nodes().Add(vb::Variant(std::static_pointer_cast<vb::Object>(root)), tvw::Child, "Kx", "x"); }),
              35601)
        << "a node that left the tree is no relative";
    child->setText("still readable");
    EXPECT_EQ(child->Text(), "still readable");
}
