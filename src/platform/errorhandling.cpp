#include "platform/errorhandling.h"

namespace vb {

void attemptEach(std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) {
        silently(step);
    }
}

} // namespace vb
