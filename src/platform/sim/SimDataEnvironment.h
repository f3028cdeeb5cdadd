// SimDataEnvironment: a simulated Data Environment designer with its connections and commands.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/DataEnvironment.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class SimDEConnection;
class SimDEConnections;
class SimDECommand;
class SimDECommands;

class SimDataEnvironment : public vbide::DataEnvironment {
public:
    // The ProgID of the designer, a component's DesignerID.
    static constexpr const char* designerId = "DEDesigner.DataEnvironment";

    SimDataEnvironment(std::shared_ptr<Journal> journal, std::string name);

    // vbide::DataEnvironment
    std::shared_ptr<vbide::DEConnections> Connections() override;
    std::shared_ptr<vbide::DECommands> Commands() override;

    // Builder: adds as the designer's Add does (same errors), without journal entries.
    std::shared_ptr<SimDEConnection> addConnection(const std::string& name, const std::string& source = {});
    std::shared_ptr<SimDECommand> addCommand(const std::string& name, int32_t commandType = 1,
                                             const std::string& text = {}, const std::string& connectionName = {});

    // Inspection (no journal entries).
    const std::string& name() const { return name_; }
    std::vector<std::shared_ptr<SimDEConnection>> connections() const;
    std::vector<std::shared_ptr<SimDECommand>> commands() const;

private:
    std::shared_ptr<Journal> journal_;
    std::string name_;
    std::shared_ptr<SimDEConnections> connections_;
    std::shared_ptr<SimDECommands> commands_;
};

} // namespace sim
