/* A minimal engine library for the loader tests: it exports only WKGetString and WKTerminate, so a
 * call of any other engine function must fail with a missing entry point. */
#define WK_BUILDING_ENGINE
#include "engine/wkabi.h"

#include <stdio.h>

static int32_t terminateCalls;

/* Every id reads "stub <id>", so a test can tell the text came from this library. */
WKEXPORT int32_t WKAPI WKGetString(int32_t id, char* buffer, int32_t size) {
    if (size < 1) return 0;
    int n = snprintf(buffer, (size_t)size, "stub %d", (int)id);
    return n < size ? n : size - 1;
}

WKEXPORT int32_t WKAPI WKTerminate(void) { return ++terminateCalls; }
