// The poll loop (notificationThreadFrm) against an engine whose every answer is hostile: arbitrary
// notification sequences, records, texts with and without NULs, absurd sizes, button descriptions,
// raised errors - with the simulated IDE, the real ModelUtilVB and the widget model behind it.
// Beyond surviving, the add-in must close every enumeration it opens, answer the engine only with
// buttons the person pressed, and leave the tree and list well formed (FuzzWorld::check).
#include "FuzzWorld.h"
#include "HostileEngine.h"

#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& engine = nimbfuzz::HostileEngine::instance();
    engine.begin(data, size);
    {
        nimbfuzz::FuzzWorld world(engine.input());
        // A tick costs the engine at least one byte until it is quiet; the bound only guards against
        // a poller whose timer stopped, which would leave bytes unread.
        for (size_t ticks = 0; ticks <= size; ++ticks) {
            world.tick();
            if (engine.exhausted())
                break;
        }
        if (!engine.exhausted())
            fail("the poller stopped polling");
        world.tick(); // a quiet engine: one call, nothing to do
        world.check();
        if (engine.observed().notificationsServed > size)
            fail("more notifications served than bytes given");
    }
    engine.end();
    return 0;
}
