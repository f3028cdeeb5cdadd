// SimDECommand: a command of a simulated Data Environment.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/DECommand.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class SimDECommand : public vbide::DECommand {
public:
    SimDECommand(std::shared_ptr<Journal> journal, std::string name) : journal_(std::move(journal)), name_(std::move(name)) {}

    std::string Name() override;
    int32_t CommandType() override;
    void setCommandType(int32_t type) override;
    std::string CommandText() override;
    void setCommandText(const std::string& text) override;
    std::string ConnectionName() override;
    void setConnectionName(const std::string& name) override;

    const std::string& name() const { return name_; }
    int32_t commandType() const { return type_; }
    const std::string& commandText() const { return text_; }
    const std::string& connectionName() const { return connectionName_; }
    void setDirect(int32_t type, const std::string& text, const std::string& connectionName) {
        type_ = type;
        text_ = text;
        connectionName_ = connectionName;
    }

private:
    void enter(const std::string& member, std::vector<std::string> args = {});

    std::shared_ptr<Journal> journal_;
    std::string name_;
    int32_t type_ = 1;  // adCmdText
    std::string text_;
    std::string connectionName_;
};

} // namespace sim
