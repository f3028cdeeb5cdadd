// The number of the VBError a call raises, 0 when it raises none.
#pragma once

#include "platform/error.h"

#include <functional>

inline int32_t errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vb::VBError& e) {
        return e.number();
    }
    return 0;
}
