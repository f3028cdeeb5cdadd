// CodeModule: the code of one component as numbered lines, 1-based.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <string>

namespace vbide {

class CodeModule : public vb::Object {
public:
    virtual int32_t CountOfLines() = 0;
    // count lines from startLine, joined by "\r\n". startLine outside 1..CountOfLines, a negative
    // count or a range past the last line raises 5 (invalid procedure call or argument).
    virtual std::string Lines(int32_t startLine, int32_t count) = 0;
    // Inserts text before line `line` (1..CountOfLines + 1; CountOfLines + 1 appends). "\r\n", "\n"
    // and a lone "\r" each end a line, so text with n breaks becomes n + 1 lines. A line outside
    // that range raises 5.
    virtual void InsertLines(int32_t line, const std::string& text) = 0;
    // Deletes count lines from startLine; a range outside the module or count < 1 raises 5.
    virtual void DeleteLines(int32_t startLine, int32_t count = 1) = 0;
};

} // namespace vbide
