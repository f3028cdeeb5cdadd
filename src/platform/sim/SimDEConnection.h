// SimDEConnection: a connection of a simulated Data Environment.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/DEConnection.h"

#include <memory>
#include <string>
#include <utility>

namespace sim {

class SimDEConnection : public vbide::DEConnection {
public:
    SimDEConnection(std::shared_ptr<Journal> journal, std::string name) : journal_(std::move(journal)), name_(std::move(name)) {}

    std::string Name() override;
    std::string ConnectionSource() override;
    void setConnectionSource(const std::string& source) override;

    const std::string& name() const { return name_; }
    const std::string& source() const { return source_; }
    void setSourceDirect(const std::string& source) { source_ = source; }

private:
    std::shared_ptr<Journal> journal_;
    std::string name_;
    std::string source_;
};

} // namespace sim
