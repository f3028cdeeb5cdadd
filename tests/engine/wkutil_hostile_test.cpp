// Regressions found by fuzzing the record wrappers (fuzz/record_wrappers_fuzz.cpp): answers an engine
// may give that once made a wrapper read or write outside its buffers.
#include "engine/wkutil.h"
#include "support/EngineDouble.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace nimb;
using nimbtest::EngineDouble;
using nimbtest::Hostility;

// The first text call moves the other slots off our buffers and asks for more room; the second
// call is well behaved and writes those slots in full. They must still have their whole size then,
// not the size of what the first call left (nothing).
TEST(TextWrapperRetry, SlotsMovedInTheFirstCallGetTheirFullRoomInTheSecond) {
    for (Hostility first : {Hostility{.nullSlots = true, .textSize = 5000},
                            Hostility{.foreignSlots = true, .textSize = 5000}}) {
        EngineDouble engine;
        const std::string buttons(255, 'b');  // the most a 256-character slot holds with its NUL
        engine.put(7, twkText{.strText = std::string(4500, 't'), .lTextType = 1, .strButtons = buttons});
        engine.setHostility("WKGetText", first);
        engine.setReaction("WKGetText", [&] { engine.setHostility("WKGetText", {}); });
        twkText text;
        wkutil::wkGetText(7, text);
        EXPECT_EQ(engine.callsTo("WKGetText").size(), 2u);
        EXPECT_EQ(text.strText, std::string(4500, 't'));
        EXPECT_EQ(text.strButtons, buttons);
    }
}

} // namespace
