// SimAddIn: the simulated IDE's record of one add-in and, while connected, the add-in's object.
#pragma once

#include "platform/sim/Journal.h"
#include "platform/vbide/AddIn.h"

#include <memory>
#include <string>

namespace sim {

class SimAddIn : public vbide::AddIn {
public:
    SimAddIn(std::shared_ptr<Journal> journal, std::string progId, std::string description)
        : journal_(std::move(journal)), progId_(std::move(progId)), description_(std::move(description)) {}

    std::string ProgId() override;
    std::string Description() override;
    bool Connect() override;

    const std::string& progId() const { return progId_; }
    bool connected() const { return object_ != nullptr; }
    // The add-in's connection object while connected.
    const std::shared_ptr<vb::Object>& object() const { return object_; }
    void setObject(std::shared_ptr<vb::Object> object) { object_ = std::move(object); }

private:
    std::shared_ptr<Journal> journal_;
    std::string progId_;
    std::string description_;
    std::shared_ptr<vb::Object> object_;
};

} // namespace sim
