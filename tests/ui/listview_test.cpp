#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/LoadResPicture.h"
#include "ui_fixture.h"

#include <string>
#include <vector>

using ui::ListView;
namespace lvw = ui::lvw;

namespace {

struct List : ::testing::Test {
    List() {
        list.Move(0, 0, 3000, 2000);
        for (int i = 1; i <= 5; ++i) list.ListItems().Add(0, "K" + std::to_string(i), "item " + std::to_string(i));
    }
    std::string keyAt(int32_t x, int32_t y) const {
        auto hit = list.HitTest(x, y);
        return hit ? hit->Key() : "none";
    }
    ListView list;
};

} // namespace

TEST_F(List, ItemsByKeyAndIndexWithTheControlsErrors) {
    auto& items = list.ListItems();
    EXPECT_EQ(items.Count(), 5);
    EXPECT_EQ(items.Item(3)->Key(), "K3");
    EXPECT_EQ(items.Item("K4")->Index(), 4);
    EXPECT_EQ(errorNumberOf([&] { items.Add(0, "K2", "again"); }), 35602);
    EXPECT_EQ(errorNumberOf([&] { items.Add(0, "7", "numeric"); }), 35603);
    EXPECT_EQ(errorNumberOf([&] { items.Item("K9"); }), 35601);
    EXPECT_EQ(errorNumberOf([&] { items.Item(6); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { items.Add(7, "K7", "beyond Count + 1"); }), 35600);
    EXPECT_EQ(errorNumberOf([&] { items.Add(0, "K8", "x", {}, "StoredProcedure"); }), 35613);
    EXPECT_EQ(items.Count(), 5);

    auto inserted = items.Add(1, "K0", "first");
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_EQ(items.Item("K5")->Index(), 6);
    auto removed = items.Item("K2");
    items.Remove("K2");
    items.Remove(1);
    EXPECT_EQ(items.Count(), 4);
    EXPECT_EQ(items.Item(1)->Key(), "K1");
    EXPECT_EQ(items.Item("K5")->Index(), 4);
    EXPECT_EQ(removed->listView(), nullptr);
    items.Add(0, "K2", "key free again");
    EXPECT_EQ(items.Item(5)->Key(), "K2");
}

TEST_F(List, SubItemsAreOneBasedCellsAfterTheFirstColumn) {
    auto item = list.ListItems().Item("K1");
    item->ListSubItems().Add(0, {}, "dbo");
    item->ListSubItems().Add(0, {}, "(a int)");
    EXPECT_EQ(item->ListSubItems().Count(), 2);
    EXPECT_EQ(item->ListSubItems().Item(2)->Text(), "(a int)");
    EXPECT_EQ(item->SubItems(1), "dbo");
    EXPECT_EQ(item->SubItems(4), "");
    item->setSubItems(4, "SQL");
    EXPECT_EQ(item->ListSubItems().Count(), 4);
    EXPECT_EQ(item->ListSubItems().Item(4)->Text(), "SQL");
    EXPECT_EQ(errorNumberOf([&] { item->SubItems(0); }), 381);
    EXPECT_EQ(errorNumberOf([&] { item->ListSubItems().Item(5); }), 35600);
}

TEST_F(List, ColumnsHaveTheDefaultWidthUntilSet) {
    auto& columns = list.ColumnHeaders();
    columns.Add(0, "Name", "Name");
    columns.Add(0, "Schema", "Schema", 2000.0f);
    EXPECT_FLOAT_EQ(columns.Item(1)->Width(), 1440.0f);
    EXPECT_FLOAT_EQ(columns.Item(2)->Width(), 2000.0f);
    columns.Item(1)->setWidth(777.4f);
    EXPECT_FLOAT_EQ(columns.Item("Name")->Width(), 777.4f);
    EXPECT_EQ(errorNumberOf([&] { columns.Item(1)->setWidth(-1); }), 380);
    EXPECT_EQ(errorNumberOf([&] { columns.Add(0, "Name", "again"); }), 35602);
    EXPECT_FLOAT_EQ(columns.totalWidth(), 2777.4f);
    auto kept = columns.Item(2);
    columns.Clear();
    EXPECT_EQ(columns.Count(), 0);
    EXPECT_EQ(kept->Index(), 0);
}

TEST_F(List, ReportViewHitsRowsUnderTheHeaderWithinTheColumns) {
    list.setView(lvw::Report);
    EXPECT_EQ(keyAt(100, 300), "none") << "no columns, nothing to hit";
    list.ColumnHeaders().Add(0, "a", "a", 1000.0f);
    list.ColumnHeaders().Add(0, "b", "b", 1000.0f);
    const int header = ListView::HeaderHeight, row = ListView::RowHeight;
    struct Case {
        int32_t x, y;
        const char* key;
    };
    for (const auto& c : std::vector<Case>{{0, header, "K1"},
                                           {1999, header + row - 1, "K1"},
                                           {10, header + row, "K2"},
                                           {10, header + 4 * row + 1, "K5"},
                                           {10, header - 1, "none"},
                                           {10, header + 5 * row, "none"},
                                           {2000, header, "none"},
                                           {-1, header, "none"}})
        EXPECT_EQ(keyAt(c.x, c.y), c.key) << c.x << "," << c.y;
}

TEST_F(List, IconViewHitsAGridAsWideAsTheControl) {
    list.setView(lvw::Icon);  // 3000 twips wide: two cells of 1080 a row
    const int cell = ListView::IconCell;
    EXPECT_EQ(keyAt(0, 0), "K1");
    EXPECT_EQ(keyAt(cell, 0), "K2");
    EXPECT_EQ(keyAt(2 * cell, 0), "none") << "no third cell in a row";
    EXPECT_EQ(keyAt(cell + 5, cell + 5), "K4");
    EXPECT_EQ(keyAt(0, 2 * cell), "K5");
    EXPECT_EQ(keyAt(cell, 2 * cell), "none");
    for (const auto& item : list.ListItems().items()) {
        auto [x, y] = *list.pointOf(*item);
        EXPECT_EQ(keyAt(x, y), item->Key());
    }
    EXPECT_EQ(errorNumberOf([&] { list.setView(4); }), 380);
}

TEST_F(List, ClickSelectsAndRightClickOnlyReportsTheMouse) {
    list.setView(lvw::Report);
    list.ColumnHeaders().Add(0, "a", "a");
    std::vector<std::string> events;
    list.onMouseDown = [&](int16_t b, int16_t, int32_t x, int32_t y) {
        events.push_back("down" + std::to_string(b) + " " + list.HitTest(x, y)->Key());
    };
    list.onItemClick = [&](const ui::ListItemPtr& item) { events.push_back("item " + item->Key()); };
    list.rightclick(list.ListItems().Item("K3"));
    EXPECT_FALSE(list.SelectedItem());
    list.click(list.ListItems().Item("K2"));
    EXPECT_EQ(events, (std::vector<std::string>{"down2 K3", "down1 K2", "item K2"}));
    EXPECT_TRUE(list.ListItems().Item("K2")->Selected());
    list.ListItems().Remove("K2");
    EXPECT_FALSE(list.SelectedItem()) << "the removed selection leaves nothing selected";
}

TEST_F(List, IconsMustBeInTheirImageLists) {
    auto images = std::make_shared<ui::ImageList>();
    images->ListImages().Add(0, "StoredProcedure", ui::StoredPicture("StoredProcedure"));
    list.setSmallIcons(images);
    auto item = list.ListItems().Add(0, "K10", "proc", {}, "StoredProcedure");
    EXPECT_EQ(errorNumberOf([&] { item->setSmallIcon("Dirty"); }), 35601);
    EXPECT_EQ(errorNumberOf([&] { item->setIcon("StoredProcedure"); }), 35613) << "Icons is not set";
    EXPECT_EQ(item->SmallIcon(), "StoredProcedure");
}
