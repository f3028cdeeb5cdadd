#include "platform/sim/SimAddIn.h"

namespace sim {

std::string SimAddIn::ProgId() {
    journal_->enter("AddIn.ProgId", progId_);
    return progId_;
}

std::string SimAddIn::Description() {
    journal_->enter("AddIn.Description", progId_);
    return description_;
}

bool SimAddIn::Connect() {
    journal_->enter("AddIn.Connect", progId_);
    return connected();
}

} // namespace sim
