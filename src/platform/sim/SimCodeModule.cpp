#include "platform/sim/SimCodeModule.h"

#include "platform/error.h"

namespace sim {

namespace {

[[noreturn]] void invalidCall() {
    throw vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
}

// "\r\n", "\n" and a lone "\r" each end a line, as the code editor reads pasted text.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

} // namespace

SimCodeModule::SimCodeModule(std::shared_ptr<Journal> journal, std::string componentName,
                             std::vector<std::string> lines)
    : journal_(std::move(journal)), componentName_(std::move(componentName)), lines_(std::move(lines)) {}

void SimCodeModule::enter(const std::string& member, std::vector<std::string> args) {
    journal_->enter("CodeModule." + member, componentName_, std::move(args));
}

int32_t SimCodeModule::CountOfLines() {
    enter("CountOfLines", {});
    return static_cast<int32_t>(lines_.size());
}

std::string SimCodeModule::Lines(int32_t startLine, int32_t count) {
    enter("Lines", {std::to_string(startLine), std::to_string(count)});
    const int64_t n = static_cast<int64_t>(lines_.size());
    if (startLine < 1 || count < 0 || startLine > n + 1 || int64_t{startLine} + count - 1 > n) {
        invalidCall();
    }
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        text += (i ? "\r\n" : "") + lines_[static_cast<std::size_t>(startLine - 1 + i)];
    }
    return text;
}

void SimCodeModule::InsertLines(int32_t line, const std::string& text) {
    enter("InsertLines", {std::to_string(line), text});
    if (line < 1 || int64_t{line} > static_cast<int64_t>(lines_.size()) + 1) {
        invalidCall();
    }
    auto added = splitLines(text);
    lines_.insert(lines_.begin() + (line - 1), added.begin(), added.end());
}

void SimCodeModule::DeleteLines(int32_t startLine, int32_t count) {
    enter("DeleteLines", {std::to_string(startLine), std::to_string(count)});
    if (startLine < 1 || count < 1 || int64_t{startLine} + count - 1 > static_cast<int64_t>(lines_.size())) {
        invalidCall();
    }
    auto first = lines_.begin() + (startLine - 1);
    lines_.erase(first, first + count);
}

} // namespace sim
