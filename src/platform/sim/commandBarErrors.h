// The errors the simulated command bars raise, worded as Office words them.
#pragma once

#include "platform/error.h"

#include <string>

namespace sim::commandBarErrors {

// Office's failure of a member of a deleted (or otherwise unusable) object.
constexpr int32_t methodFailed = -2147467259;  // 0x80004005

inline vb::VBError failed(const std::string& member, const std::string& objectClass) {
    return vb::VBError(methodFailed, "Method '" + member + "' of object '" + objectClass + "' failed");
}

inline vb::VBError invalidArgument() {
    return vb::VBError(vb::err::InvalidProcedureCall, "Invalid procedure call or argument");
}

inline vb::VBError notSupported() {
    return vb::VBError(vb::err::ObjectDoesNotSupport, "Object doesn't support this property or method");
}

} // namespace sim::commandBarErrors
