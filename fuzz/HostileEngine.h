// HostileEngine: an engine behind the add-in's real wkapis function table whose every answer is
// drawn from the fuzzer's bytes. It keeps to the one promise no caller can check - it writes only
// inside the room the engine contract gives each string (the wrapper table's sizes; for strText the
// lTextSz it was handed) - and breaks every other one: strings with and without NULs, filling the
// whole buffer, slots set to null or pointed at its own memory, absurd text sizes and counts,
// arbitrary handles, kinds, types, results and raised errors.
//
// Once the bytes run out it turns quiet: no more notifications, empty enumerations, untouched
// records. A tick therefore ends after at most one notification per byte, which is why the fuzz
// targets need no bound on the poll loop (see fuzz/README.md).
//
// Besides answering, it notes what a correct add-in must make of its answers (observed()), so the
// targets can check more than "did not crash".
#pragma once

#include "engine/wkapis.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nimbfuzz {

class HostileEngine {
  public:
    // What the add-in asked and what it must have read back.
    struct Observed {
        std::size_t notificationsServed = 0;
        int enumerationsBegun = 0;
        int enumerationsEnded = 0;
        std::vector<int32_t> answers; // WKButtonDoAction results, in order
        // The last record call: each string slot as the add-in must read it (cut at the first NUL
        // inside the room the engine was given, empty without one, empty for null or foreign slots),
        // each number and Boolean (0/1) as written, and the call's result.
        int recordCalls = 0;
        std::map<std::string, std::string> strings;
        std::map<std::string, int32_t> numbers;
        int32_t result = 0;
        std::optional<int32_t> raised;  // number of the error the last call raised
        std::vector<int32_t> textSizes; // lTextSz as each text call left it
        // WKGetString/P1/P2: what the add-in must return for the last lookup.
        std::string lookedUp;
    };

    static HostileEngine& instance();

    // Points wkapis at this engine and takes its answers from the given bytes.
    void begin(const uint8_t* data, std::size_t size);
    // Back to the library; the bytes are forgotten.
    void end();

    FuzzedDataProvider& input() { return *input_; }
    bool exhausted() { return input_->remaining_bytes() == 0; }
    Observed& observed() { return observed_; }

    // ---- Drawing answers (used by the engine functions) ----
    // Raises a VBError now and then, as a Declare whose library fails would.
    void maybeRaise();
    // A handle: mostly from a small pool the targets' trees use, so that keys collide.
    int32_t handle();
    int32_t number(const char* name, int32_t& field);
    int32_t handleField(const char* name, int32_t& field);
    void flag(const char* name, int16_t& field);
    // Writes slot as described above; room is what the engine was promised. readable is how many
    // characters the add-in reads back (room, or room + 1 where its buffer has one more).
    void text(const char* name, char*& slot, std::size_t room, std::size_t readable);
    void text(const char* name, char*& slot, std::size_t room) { text(name, slot, room, room); }
    // An absurd or ordinary size for lTextSz.
    int32_t textSize(int32_t given);
    // The start of a record call: clears the last call's expectations.
    void startRecordCall();
    int16_t result16();
    int32_t result32();

    // Engine-side strings a slot may be pointed at (memory the add-in never allocated).
    static char foreign[64];

  private:
    std::optional<FuzzedDataProvider> input_;
    Observed observed_;
};

// The function table through which wkapis reaches the hostile engine.
nimb::wkapis::FunctionTable hostileTable();

} // namespace nimbfuzz
