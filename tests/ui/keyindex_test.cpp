// The key index behind every keyed collection, checked against a plain map through ListItems: keys
// added and removed in random order, the index grown, cleared and emptied, and every key looked up
// after each round - a removal that broke a probe run would lose keys that are still there.
#include "platform/ui/ListView.h"

#include "ui_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

void expectSame(const ui::ListItems& items, const std::map<std::string, std::string>& model, int keys) {
    ASSERT_EQ(items.Count(), static_cast<int32_t>(model.size()));
    for (int k = 0; k < keys; ++k) {
        const std::string key = "K" + std::to_string(k);
        auto it = model.find(key);
        auto found = items.find(key);
        if (it == model.end()) {
            ASSERT_EQ(found, nullptr) << key << " is still found after its removal";
        } else {
            ASSERT_NE(found, nullptr) << key << " was lost";
            ASSERT_EQ(found->Text(), it->second);
        }
    }
}

TEST(KeyIndex, RandomAddsAndRemovesKeepEveryKeyFindable) {
    constexpr int keys = 3000;
    ui::ListView list;
    auto& items = list.ListItems();
    std::map<std::string, std::string> model;
    std::mt19937 random(20261205);
    std::vector<int> order(keys);
    for (int k = 0; k < keys; ++k) order[k] = k;

    for (int round = 0; round < 8; ++round) {
        if (round == 6) {  // cleared: the index keeps its arrays, every old slot must read as empty
            items.Clear();
            model.clear();
        }
        std::shuffle(order.begin(), order.end(), random);
        for (int k : order) {  // add what is missing, remove about half of what is there
            const std::string key = "K" + std::to_string(k);
            if (!model.count(key)) {
                const std::string text = "item " + std::to_string(k) + " round " + std::to_string(round);
                items.Add(0, key, text);
                model[key] = text;
            } else if (random() % 2) {
                items.Remove(key);
                model.erase(key);
            }
        }
        expectSame(items, model, keys);
        EXPECT_EQ(errorNumberOf([&] { items.Add(0, model.begin()->first, "again"); }), 35602);
    }

    std::shuffle(order.begin(), order.end(), random);
    for (int k : order) {  // down to nothing, one by one
        const std::string key = "K" + std::to_string(k);
        if (model.erase(key)) items.Remove(key);
    }
    expectSame(items, model, keys);
    items.Add(0, "K7", "after emptying");
    items.Clear();
    EXPECT_EQ(items.find("K7"), nullptr);
    items.Add(0, "K7", "after clearing");
    EXPECT_EQ(items.Item("K7")->Text(), "after clearing");
}

} // namespace
