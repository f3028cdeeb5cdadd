// SimCodeModule: the code of a simulated component, kept as lines.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/CodeModule.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

class SimCodeModule : public vbide::CodeModule {
public:
    SimCodeModule(std::shared_ptr<Journal> journal, std::string componentName, std::vector<std::string> lines);

    // vbide::CodeModule
    int32_t CountOfLines() override;
    std::string Lines(int32_t startLine, int32_t count) override;
    void InsertLines(int32_t line, const std::string& text) override;
    void DeleteLines(int32_t startLine, int32_t count = 1) override;

    // Inspection and set-up (no journal entries).
    const std::vector<std::string>& lines() const { return lines_; }
    void setLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

private:
    void enter(const std::string& member, std::vector<std::string> args);

    std::shared_ptr<Journal> journal_;
    std::string componentName_;
    std::vector<std::string> lines_;
};

} // namespace sim
