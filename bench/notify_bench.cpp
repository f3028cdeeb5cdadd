// The notification path at database-catalogue scale, through the real run-time boundary and the
// stand-in engine (StandinWorld):
//   - listing a folder of N stored procedures, from the folder-changed notification to the filled
//     details list, beside a raw loop in this same program that only enumerates the engine;
//   - a storm of 100,000 object-changed notifications for listed procedures, drained in one tick;
//   - SQL text inserted into, and ADO code appended to, a 100,000-line code module.
// After Google Benchmark's own report a summary table gives the times, the ratio to the raw loop
// and the heap each listed procedure keeps (mallinfo2: bytes in use after the listing less before,
// malloc's chunk overhead included), with the targets they are held to. Every time is the best of
// five repetitions; every ratio the median of the five, each from times measured side by side.
#include "StandinWorld.h"

#include "engine/VSAConstants.h"
#include "engine/wkapis.h"
#include "notify/viewAPIs.h"
#include "platform/sim/SimCodeModule.h"
#include "platform/ui/ListView.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace nimb::VSAConstants;
using nimbbench::StandinWorld;

// Made in main and gone before the program exits: the engine library's own statics are destroyed
// at exit, and the world still talks to the engine when it goes.
std::unique_ptr<StandinWorld> theWorld;
StandinWorld& world() {
    return *theWorld;
}

void check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(what);
}

// Other programs share this machine's cores: every measure is repeated and its best run is the one
// reported (the time the work itself needs), beside Google Benchmark's mean and median.
void repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ComputeStatistics(
            "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}
void atScale(benchmark::internal::Benchmark* b) {
    repeated(b->Arg(1000)->Arg(20000)->Arg(200000));
}

// ---- Raw enumeration: what the engine alone costs --------------------------------------------

// Enumerates the folder with buffers of the wrappers' sizes, allocated once; nothing is kept.
int32_t rawEnumerate(int32_t folder) {
    static std::array<std::array<char, 1025>, 8> buffers{};
    twkProcedure_abi rec{};
    wkBool filtered = WK_FALSE;
    int32_t enumHdl = 0, count = 0;
    if (nimb::wkapis::WKProcedureEnumBegin(folder, &filtered, &enumHdl) != 0) {
        for (;;) {
            char** slots[] = {&rec.strSchema,   &rec.strName,       &rec.strSpecific, &rec.strParameters,
                              &rec.strLanguage, &rec.strSQLPackage, &rec.strComment,  &rec.strFileName};
            for (std::size_t i = 0; i < buffers.size(); ++i)
                *slots[i] = buffers[i].data();
            if (nimb::wkapis::WKProcedureEnumNext(enumHdl, &rec) == 0)
                break;
            ++count;
        }
    }
    nimb::wkapis::WKProcedureEnumEnd(enumHdl);
    return count;
}

// ---- Listing through the add-in --------------------------------------------------------------

// Bytes in use on the heap, malloc's own overhead included.
std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

// The heap bytes of the list's strings that do not fit in a std::string itself (15 characters).
std::size_t stringBytes(const ui::ListView& list) {
    std::size_t bytes = 0;
    auto count = [&](const std::string& s) { bytes += s.size() > 15 ? s.size() + 1 : 0; };
    for (const auto& item : list.ListItems().items()) {
        count(item->Key());
        count(item->Text());
        count(item->SmallIcon());
        count(item->Tag().toString());
        for (int32_t i = 1; i <= item->ListSubItems().Count(); ++i)
            count(item->SubItems(i));
    }
    return bytes;
}

void queueFolderChanged(int32_t folder) {
    world().engine().InjectNotification(WK_NOTIFY_FOLDER_CHANGED, world().projectHdl(),
                                        world().connectionHdl(), WK_OBJ_PROCEDURE_FOLDER, folder);
}

template <class F> double secondsOf(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The listing is timed from the tick that fetches the folder-changed notification to the filled
// list. The raw loop is timed in the same iteration, twice: first from the heap that clearing the
// previous listing leaves, as the listing starts from it, then at once again with nothing freed in
// between. Other programs share this machine and its speed drifts from second to second, so the
// ratios are taken within each repetition, from times measured side by side.
void BM_ListFolder(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    const int32_t folder = world().procedureFolder(n);
    world().tick(); // the generated folder's first listing

    // What a listing keeps: into a list that never held anything, so that its key index is counted.
    world().freshList();
    auto& list = world().list();
    queueFolderChanged(folder);
    const std::size_t before = heapInUse();
    world().tick();
    check(list.ListItems().Count() == n, "the folder was not listed again");
    state.counters["heap_B_per_obj"] = static_cast<double>(heapInUse() - before) / n;
    state.counters["string_B_per_obj"] = static_cast<double>(stringBytes(list)) / n;

    auto raw = [&] { check(rawEnumerate(folder) == n, "the raw loop missed objects"); };
    double rawSameHeap = 0, rawAlone = 0, listing = 0;
    for (auto _ : state) {
        list.ListItems().Clear();
        rawSameHeap += secondsOf(raw);
        rawAlone += secondsOf(raw);
        queueFolderChanged(folder);
        world().tick();
        list.ListItems().Clear();
        queueFolderChanged(folder);
        const double seconds = secondsOf([&] { world().tick(); });
        state.SetIterationTime(seconds);
        listing += seconds;
    }
    const auto perIteration = [&](double seconds) { return seconds * 1000 / static_cast<double>(state.iterations()); };
    state.counters["raw_same_ms"] = perIteration(rawSameHeap);
    state.counters["raw_alone_ms"] = perIteration(rawAlone);
    state.counters["ratio_same"] = listing / rawSameHeap;
    state.counters["ratio_alone"] = listing / rawAlone;
    check(list.ListItems().Count() == n && world().problems().empty(), "listing went wrong");
}
BENCHMARK(BM_ListFolder)->Apply(atScale)->UseManualTime();

// ---- A storm of object-changed notifications -------------------------------------------------

void BM_ObjectChangedStorm(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    auto& list = world().list();
    world().procedureFolder(n);
    world().tick();
    std::vector<int32_t> handles;
    for (const auto& item : list.ListItems().items())
        handles.push_back(nimb::viewAPIs::keyToHandle(item->Key()));
    check(static_cast<int32_t>(handles.size()) == n, "the folder was not listed");

    for (auto _ : state) {
        state.PauseTiming();
        for (int32_t hdl : handles)
            world().engine().InjectNotification(WK_NOTIFY_OBJECT_CHANGED, world().projectHdl(),
                                                world().connectionHdl(), WK_OBJ_PROCEDURE, hdl);
        state.ResumeTiming();
        world().tick();
    }
    check(world().engine().PendingNotifications() == 0 && world().problems().empty(),
          "the storm was not drained");
}
BENCHMARK(BM_ObjectChangedStorm)->Arg(100000)->Apply(repeated);

// ---- Code into a 100,000-line module ---------------------------------------------------------

std::string codeLines(int32_t n, const char* what) {
    std::string code;
    for (int32_t i = 1; i <= n; ++i)
        code += std::string(what) + " " + std::to_string(i) + "\r\n";
    return code;
}

template <class Queue> void intoModule(benchmark::State& state, Queue queue, int32_t linesAdded) {
    auto& module = world().module();
    for (auto _ : state) {
        state.PauseTiming();
        module.setLines(world().originalLines());
        queue();
        state.ResumeTiming();
        world().tick();
    }
    check(module.lines().size() == StandinWorld::moduleLines + static_cast<std::size_t>(linesAdded) &&
              world().problems().empty(),
          "the code did not arrive");
}

void BM_InsertSQLIntoModule(benchmark::State& state) {
    const std::string sql = codeLines(20, "    ' SELECT column"); // ends with a line break: 21 lines
    intoModule(
        state,
        [&] { world().engine().InjectSQLText("Project1", "Module1", 50000, 1, 50000, 1, sql.c_str()); }, 21);
}
BENCHMARK(BM_InsertSQLIntoModule)->Iterations(200)->Unit(benchmark::kMicrosecond);

void BM_AppendADOToModule(benchmark::State& state) {
    const std::string code = codeLines(20, "    ' cmd.Parameters.Append");
    intoModule(
        state, [&] { world().engine().InjectADOText("Project1", "Module1", code.c_str()); }, 21);
}
BENCHMARK(BM_AppendADOToModule)->Iterations(200)->Unit(benchmark::kMicrosecond);

// ---- Summary ----------------------------------------------------------------------------------

// Google Benchmark's console report, and the runs kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    struct Result {
        double ms = 0;                            // the best run
        std::map<std::string, double> counters;   // of the best run
        std::map<std::string, double> medians;    // of each counter over the repetitions
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.error_occurred)
                continue;
            const auto& name = run.run_name;
            Result& r = results[name.function_name + (name.args.empty() ? "" : "/" + name.args)];
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name == "median") {
                for (const auto& [counter, value] : run.counters)
                    r.medians[counter] = value.value;
                continue;
            }
            // Repeated measures are summed up by their best run; single ones stand as they are.
            if (!(aggregate && run.aggregate_name == "min") && !(!aggregate && run.repetitions <= 1))
                continue;
            r.ms = run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                   benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [counter, value] : run.counters)
                r.counters[counter] = value.value;
        }
    }

    std::map<std::string, Result> results;
};

const char* verdict(bool met) {
    return met ? "met" : "NOT MET";
}

void printListing(const std::map<std::string, SummaryReporter::Result>& results) {
    std::printf("\nListing N stored procedures (folder-changed notification to filled list); best of five,\n"
                "ratios the median of the five repetitions, each from times measured side by side\n");
    std::printf("%8s %11s %12s %13s %7s %7s %14s %17s %15s\n", "N", "listing ms", "raw ms same", "raw ms alone",
                "ratio", "ratio", "heap B/object", "strings B/object", "beyond strings");
    std::printf("%8s %11s %12s %13s %7s %7s\n", "", "", "heap", "", "same", "alone");
    for (const char* n : {"1000", "20000", "200000"}) {
        auto it = results.find(std::string("BM_ListFolder/") + n);
        if (it == results.end())
            continue;
        const auto& r = it->second;
        const auto& c = r.counters;
        std::printf("%8s %11.2f %12.2f %13.2f %7.2f %7.2f %14.0f %17.0f %15.0f\n", n, r.ms, c.at("raw_same_ms"),
                    c.at("raw_alone_ms"), r.medians.at("ratio_same"), r.medians.at("ratio_alone"),
                    c.at("heap_B_per_obj"), c.at("string_B_per_obj"), c.at("heap_B_per_obj") - c.at("string_B_per_obj"));
    }
}

void printSummary(const std::map<std::string, SummaryReporter::Result>& results) {
    auto at = [&](const std::string& name) -> const SummaryReporter::Result* {
        auto it = results.find(name);
        return it == results.end() ? nullptr : &it->second;
    };
    printListing(results);
    const auto* small = at("BM_ListFolder/20000");
    const auto* large = at("BM_ListFolder/200000");
    const auto* storm = at("BM_ObjectChangedStorm/100000");
    std::printf("\nTargets\n");
    if (large) {
        std::printf("  200,000 listed in under 500 ms:            %9.1f ms  %s\n", large->ms,
                    verdict(large->ms < 500));
        const double beyond = large->counters.at("heap_B_per_obj") - large->counters.at("string_B_per_obj");
        std::printf("  under 1024 B per procedure beyond strings: %9.0f B   %s\n", beyond,
                    verdict(beyond < 1024));
        for (const char* reading : {"same heap", "alone"}) {
            const double ratio = large->medians.at(reading[0] == 's' ? "ratio_same" : "ratio_alone");
            std::printf("  at most 3x the raw loop (%s):%*s%9.2f x   %s\n", reading, 16 - static_cast<int>(std::strlen(reading)), "", ratio,
                        verdict(ratio <= 3));
        }
    }
    if (large && small)
        std::printf("  200,000 vs 20,000 within 12x (linear):     %9.2f x   %s\n", large->ms / small->ms,
                    verdict(large->ms / small->ms <= 12));
    if (storm)
        std::printf("  100,000 object-changed in under 500 ms:    %9.1f ms  %s\n", storm->ms,
                    verdict(storm->ms < 500));
    for (const char* name : {"BM_InsertSQLIntoModule", "BM_AppendADOToModule"})
        if (const auto* r = at(name))
            std::printf("  %-42s %9.3f ms\n", name, r->ms);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    theWorld = std::make_unique<StandinWorld>();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    theWorld.reset();
    printSummary(reporter.results);
    benchmark::Shutdown();
    return 0;
}
