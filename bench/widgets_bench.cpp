// The server view's controls at a size no real project reaches: 200,000 tree nodes and list items,
// filled, looked up by every key, and taken apart again. Each run must stay well under a second.
#include "platform/ui/ListView.h"
#include "platform/ui/TreeView.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kCount = 200000;
constexpr int kPerConnection = 1000;  // 200 connections of 1000 objects under one project

// prefix followed by n (appended: GCC 12 warns falsely on `"K" + std::to_string(n)` at -O3).
std::string numbered(const char* prefix, int n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

std::vector<std::string> makeKeys() {
    std::vector<std::string> keys;
    keys.reserve(kCount);
    for (int i = 0; i < kCount; ++i) keys.push_back(numbered("K", i));
    return keys;
}

const std::vector<std::string>& keys() {
    static const auto all = makeKeys();
    return all;
}

// Object texts in an order that is not the sorted one, so that sorted insertion does real work.
std::string textOf(int i) { return numbered("object ", (i * 7919) % kCount); }

void fillTree(ui::TreeView& tree) {
    tree.setSorted(true);
    auto& nodes = tree.Nodes();
    nodes.Add({}, ui::tvw::Next, "Kproject", "Project");
    std::string connection;
    for (int i = 0; i < kCount; ++i) {
        if (i % kPerConnection == 0) {
            connection = numbered("Kc", i / kPerConnection);
            nodes.Add("Kproject", ui::tvw::Child, connection, numbered("connection ", i));
        }
        nodes.Add(connection, ui::tvw::Child, keys()[i], textOf(i));
    }
}

void fillList(ui::ListView& list) {
    auto& items = list.ListItems();
    for (int i = 0; i < kCount; ++i) items.Add(0, keys()[i], textOf(i));
}

void BM_TreeFillAndLookUpEveryKey(benchmark::State& state) {
    for (auto _ : state) {
        ui::TreeView tree;
        fillTree(tree);
        for (const auto& key : keys()) benchmark::DoNotOptimize(tree.Nodes().Item(key));
        state.PauseTiming();  // tearing the tree down is not part of the measure
        tree.Nodes().Clear();
        state.ResumeTiming();
    }
    state.counters["nodes"] = kCount;
}
BENCHMARK(BM_TreeFillAndLookUpEveryKey)->Unit(benchmark::kMillisecond);

void BM_TreeRemoveEveryConnectionSubtree(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ui::TreeView tree;
        fillTree(tree);
        state.ResumeTiming();
        for (int c = 0; c < kCount / kPerConnection; ++c) tree.Nodes().Remove(numbered("Kc", c));
        benchmark::DoNotOptimize(tree.Nodes().Count());
    }
}
BENCHMARK(BM_TreeRemoveEveryConnectionSubtree)->Unit(benchmark::kMillisecond);

void BM_ListFillAndLookUpEveryKey(benchmark::State& state) {
    for (auto _ : state) {
        ui::ListView list;
        fillList(list);
        for (const auto& key : keys()) benchmark::DoNotOptimize(list.ListItems().Item(key));
        state.PauseTiming();
        list.ListItems().Clear();
        state.ResumeTiming();
    }
    state.counters["items"] = kCount;
}
BENCHMARK(BM_ListFillAndLookUpEveryKey)->Unit(benchmark::kMillisecond);

void BM_ListRemoveEveryItemByKey(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ui::ListView list;
        fillList(list);
        state.ResumeTiming();
        for (const auto& key : keys()) list.ListItems().Remove(key);
        benchmark::DoNotOptimize(list.ListItems().Count());
    }
}
BENCHMARK(BM_ListRemoveEveryItemByKey)->Unit(benchmark::kMillisecond);

} // namespace
