#include "HandleRegistry.h"

#include <limits>
#include <stdexcept>

namespace standin {

int32_t HandleRegistry::add(Target target) {
    // After two billion handles the numbering wraps; live handles are skipped so none is shared
    // (try_emplace leaves target untouched when the number is taken).
    for (int32_t tries = 0; tries < std::numeric_limits<int32_t>::max(); ++tries) {
        int32_t hdl = next_;
        next_ = next_ == std::numeric_limits<int32_t>::max() ? 1 : next_ + 1;
        if (targets_.try_emplace(hdl, std::move(target)).second)
            return hdl;
    }
    throw std::length_error("no engine handle is free");
}

void HandleRegistry::retire(int32_t hdl) {
    targets_.erase(hdl);
}

void HandleRegistry::reset() {
    targets_.clear();
    next_ = firstHandle;
}

} // namespace standin
