// Using an object reference: VB raises 91 when a member is called on Nothing, and the model
// service relies on that error (an unknown project or designer leaves a reference empty, and the
// first use of it is what fails).
#pragma once

#include "platform/error.h"

#include <memory>

namespace nimb {

template <class T>
T& use(const std::shared_ptr<T>& ref) {
    if (!ref) {
        throw vb::VBError(vb::err::ObjectVariableNotSet, "Object variable or With block variable not set");
    }
    return *ref;
}

} // namespace nimb
