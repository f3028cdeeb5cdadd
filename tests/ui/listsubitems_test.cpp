// Sub-items set through SubItems(i) are kept as bare texts until asked for as objects: the objects,
// once made, must behave exactly as those ListSubItems.Add makes, and mixing both kinds must keep
// the collection's order, keys and errors.
#include "platform/ui/ListItem.h"

#include "ui_fixture.h"

#include <gtest/gtest.h>

namespace {

ui::ListItem row() { return ui::ListItem("K1", "PROC1"); }

TEST(SubItems, TextsSetByIndexBecomeOneObjectEachWhenAskedFor) {
    auto item = row();
    item.setSubItems(3, "SQL");  // cells 1 and 2 come into being empty
    item.setSubItems(1, "dbo");
    auto& cells = item.ListSubItems();
    ASSERT_EQ(cells.Count(), 3);
    EXPECT_EQ(item.SubItems(2), "");

    const auto first = cells.Item(1);
    EXPECT_EQ(first->Text(), "dbo");
    EXPECT_EQ(first->Key(), "");
    EXPECT_EQ(cells.Item(1), first);  // the same object every time

    first->setText("sys");
    EXPECT_EQ(item.SubItems(1), "sys");
    item.setSubItems(1, "app");  // and writing by index reaches the object
    EXPECT_EQ(first->Text(), "app");
    EXPECT_EQ(cells.Item(3)->Text(), "SQL");
}

TEST(SubItems, AddedAndIndexedCellsShareOneOrder) {
    auto item = row();
    item.setSubItems(2, "b");
    auto& cells = item.ListSubItems();
    cells.Add(1, "first", "a");  // before the bare texts
    cells.Add(0, {}, "c");       // after them
    ASSERT_EQ(cells.Count(), 4);
    EXPECT_EQ(item.SubItems(1), "a");
    EXPECT_EQ(item.SubItems(2), "");
    EXPECT_EQ(item.SubItems(3), "b");
    EXPECT_EQ(item.SubItems(4), "c");
    EXPECT_EQ(cells.Item("first")->Text(), "a");

    cells.Remove(2);
    EXPECT_EQ(item.SubItems(2), "b");
    EXPECT_EQ(cells.Count(), 3);
    cells.Clear();
    EXPECT_EQ(cells.Count(), 0);
    EXPECT_EQ(item.SubItems(1), "");
}

TEST(SubItems, KeysAndIndexesRaiseTheCollectionErrors) {
    auto item = row();
    item.setSubItems(2, "bare");
    auto& cells = item.ListSubItems();
    cells.Add(0, "k", "keyed");
    struct Case {
        const char* what;
        std::function<void()> fn;
        int32_t error;
    };
    const Case cases[] = {
        {"duplicate key", [&] { cells.Add(0, "k", "again"); }, 35602},
        {"numeric key", [&] { cells.Add(0, "12", "x"); }, 35603},
        {"key error before index error", [&] { cells.Add(9, "k", "x"); }, 35602},
        {"index past the end", [&] { cells.Add(5, {}, "x"); }, 35600},
        {"negative index", [&] { cells.Add(-1, {}, "x"); }, 35600},
        {"unknown key", [&] { cells.Item("nope"); }, 35601},
        {"empty key finds nothing", [&] { cells.Item(std::string()); }, 35601},
        {"item 0", [&] { cells.Item(0); }, 35600},
        {"item past the end", [&] { cells.Item(4); }, 35600},
        {"remove past the end", [&] { cells.Remove(4); }, 35600},
        {"SubItems(0)", [&] { item.setSubItems(0, "x"); }, 381},
    };
    for (const auto& c : cases) EXPECT_EQ(errorNumberOf(c.fn), c.error) << c.what;
    EXPECT_EQ(cells.Count(), 3);  // nothing half-done
    cells.Remove(3);
    EXPECT_EQ(cells.Add(0, "k", "free again")->Text(), "free again");
}

} // namespace
