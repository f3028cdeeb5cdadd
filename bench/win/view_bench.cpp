// The server view's listing on real windows, under wine64 + Xvfb (run by `./dev bench`):
//   - a folder of N stored procedures (default 200,000), from the tick that fetches the engine's
//     folder-changed notification to the first painted frame of the real details list, beside the
//     same listing with no window observing the list (the model-only listing) in this same run;
//   - the process memory each listed procedure costs, native control included: private bytes after
//     the first listing and its first paint less before, per procedure, beside the bytes of the
//     rows' own strings.
// Each repetition times both listings side by side; the ratio is the median of the repetitions'
// ratios (other programs share the machine), the times the best of them. Beside each time the
// main thread's CPU time: on a loaded machine the wall clock also counts the waits for a core.
// This file holds only Win32 code.
#include "ViewWorld.h"

#include "platform/ui/ListView.h"
#include "serverview/svrViewCtl.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {

// The process's committed private memory: every region of its address space that is committed and
// private (heaps, the native controls' own allocations, stacks), summed. Wine reports no private
// usage through GetProcessMemoryInfo, so the address space is walked instead.
std::size_t privateBytes() {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto* at = static_cast<char*>(nullptr); VirtualQuery(at, &info, sizeof(info)) == sizeof(info);
         at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (info.RegionSize == 0) break;
    }
    return total;
}

// The calling thread's CPU time (user and kernel) in milliseconds: on a loaded machine it says what
// the work itself cost, where the wall clock also counts the time other programs had the cores.
double threadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

template <class F>
double msOf(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The heap bytes of the rows' texts: what each string holds beyond the string object (packed cells
// hold their texts in one block per row, counted whole).
std::size_t stringBytes(const ui::ListView& list) {
    std::size_t bytes = 0;
    for (const auto& item : list.ListItems().items()) {
        for (const std::string* s : {&item->Key(), &item->Text(), &item->SmallIcon()})
            bytes += s->size() > 15 ? s->size() + 1 : 0;
        for (int32_t i = 1; i <= item->ListSubItems().Count(); ++i) bytes += item->SubItems(i).size() + 1;
    }
    return bytes;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int run(int32_t n, int repetitions) {
    winviews::ViewWorld world(900, 520);
    auto& view = world.view();
    auto& list = *view.serverDetailsView;
    const int32_t folder = world.procedureFolder(n);
    world.settle();

    // The first listing and its first paint: what the process keeps for it.
    const std::size_t before = privateBytes();
    world.tick();
    world.settle();
    const std::size_t after = privateBytes();
    if (list.ListItems().Count() != n) throw std::runtime_error("the folder was not listed");
    const double perProcedure = static_cast<double>(after - before) / n;
    const double strings = static_cast<double>(stringBytes(list)) / n;

    std::vector<double> model, painted, ratios, modelCpu, paintedCpu;
    for (int r = 0; r < repetitions; ++r) {
        // Model only: no window observes the list while it is filled.
        list.ListItems().Clear();
        world.settle();
        list.setObserver(nullptr);
        world.queueFolderChanged(folder);
        const double cpu0 = threadCpuMs();
        const double m = msOf([&] { world.tick(); });
        const double mCpu = threadCpuMs() - cpu0;
        list.setObserver(&world.renderer());
        list.ListItems().Clear();
        world.settle();
        // Real windows: notification to the list's first painted frame.
        world.queueFolderChanged(folder);
        world.renderer().takeRowsAsked();
        const double cpu1 = threadCpuMs();
        const double p = msOf([&] {
            world.tick();
            world.settle();
        });
        const double pCpu = threadCpuMs() - cpu1;
        const int64_t rowsPainted = world.renderer().takeRowsAsked();
        if (list.ListItems().Count() != n || rowsPainted == 0) throw std::runtime_error("the list was not painted");
        model.push_back(m);
        painted.push_back(p);
        ratios.push_back(p / m);
        modelCpu.push_back(mCpu);
        paintedCpu.push_back(pCpu);
        std::printf("repetition %d: model only %.1f ms (thread CPU %.0f ms), first painted frame %.1f ms "
                    "(thread CPU %.0f ms, %lld cells asked)\n",
                    r + 1, m, mCpu, p, pCpu, static_cast<long long>(rowsPainted));
    }
    const double bestModel = *std::min_element(model.begin(), model.end());
    const double bestPainted = *std::min_element(painted.begin(), painted.end());
    const double ratio = median(ratios);
    std::printf("\nListing %d stored procedures, best of %d:\n", n, repetitions);
    std::printf("  model only (no window)                 %8.1f ms\n", bestModel);
    std::printf("  notification to first painted frame    %8.1f ms   target < 500 ms: %s\n", bestPainted,
                bestPainted < 500 ? "met" : "missed");
    std::printf("  ratio (median of repetitions)          %8.2f      target <= 1.30: %s\n", ratio,
                ratio <= 1.3 ? "met" : "missed");
    std::printf("  thread CPU, model only / painted       %8.0f / %.0f ms (best; the times above also count\n"
                "                                         waiting for a core while other programs run)\n",
                *std::min_element(modelCpu.begin(), modelCpu.end()),
                *std::min_element(paintedCpu.begin(), paintedCpu.end()));
    std::printf("Process memory per listed procedure (private bytes, first listing and paint):\n");
    std::printf("  all                                    %8.0f B\n", perProcedure);
    std::printf("  the rows' strings                      %8.0f B\n", strings);
    std::printf("  beyond the strings                     %8.0f B    target <= 1024 B: %s\n", perProcedure - strings,
                perProcedure - strings <= 1024 ? "met" : "missed");
    std::printf("RESULT done\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const int32_t n = argc > 1 ? std::atoi(argv[1]) : 200000;
        const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
        return run(n > 0 ? n : 200000, repetitions > 0 ? repetitions : 5);
    } catch (const std::exception& e) {
        std::printf("RESULT failed: %s\n", e.what());
        return 1;
    }
}
